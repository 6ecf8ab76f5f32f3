#include "ui/common/WidgetBuilders.h"

#include "ui/common/UiHelpers.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace athanor::widgets {

QPushButton* button(QWidget* parent, const char* name, const char* cp1252Caption, EnterKey enter) {
    auto* b = named<QPushButton>(parent, name, fromCp(cp1252Caption));
    if (enter == EnterKey::Ignored) b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* cp1252Text, const char* name) {
    auto* l = new QLabel(fromCp(cp1252Text), parent);
    if (name) l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit* field(QWidget* parent, const char* name, int maxLength, bool readOnly) {
    auto* e = named<QLineEdit>(parent, name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setReadOnly(readOnly);
    return e;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, bool readOnly) {
    auto* m = named<QPlainTextEdit>(parent, name);
    m->setReadOnly(readOnly);
    return m;
}

QFrame* panel(QWidget* parent, const char* name, QFrame::Shape shape) {
    auto* f = named<QFrame>(parent, name);
    f->setFrameShape(shape);
    return f;
}

QGroupBox* group(QWidget* parent, const char* name, const char* cp1252Title) {
    return named<QGroupBox>(parent, name, fromCp(cp1252Title));
}

QFont monospace(int points) { return QFont("DejaVu Sans Mono", points); }

QListWidget* lineList(QWidget* parent, const char* name, int lines, int columns) {
    auto* l = named<QListWidget>(parent, name);
    l->setFont(monospace(9));
    l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics fm(l->font());
    l->setFixedHeight(fm.height() * lines + lines * 2 + 6);
    l->setFixedWidth(fm.horizontalAdvance(QString(columns, 'M')) + 12);
    return l;
}

QScrollBar* scrollBar(QWidget* parent, const char* name, Qt::Orientation orientation) {
    return named<QScrollBar>(parent, name, orientation);
}

QWidget* spinButton(QWidget* parent, const char* name, std::function<void()> up, std::function<void()> down) {
    auto* box = named<QWidget>(parent, name);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto arrow = [&](const char* suffix, Qt::ArrowType type, std::function<void()> fn) {
        auto* b = new QToolButton(box);
        b->setObjectName(QString::fromLatin1(name) + QString::fromLatin1(suffix));
        b->setArrowType(type);
        b->setAutoRepeat(true);
        b->setFixedSize(22, 14);
        QObject::connect(b, &QToolButton::clicked, box, [fn = std::move(fn)] { fn(); });
        layout->addWidget(b);
    };
    arrow("Up", Qt::UpArrow, std::move(up));
    arrow("Down", Qt::DownArrow, std::move(down));
    return box;
}

}  // namespace athanor::widgets

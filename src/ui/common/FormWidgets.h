#pragma once
#include "ui/common/UiHelpers.h"

#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace athanor::form {

// Small builders shared by the archive windows: every widget gets its component name.

inline QLineEdit* field(QWidget* parent, const char* name, int maxLength = 0, bool readOnly = false) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setReadOnly(readOnly);
    return e;
}

inline QPushButton* button(QWidget* parent, const char* name, const char* cp1252Caption) {
    auto* b = new QPushButton(fromCp(cp1252Caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// A list of fixed lines in a monospaced font, tall enough for `lines` lines.
inline QListWidget* lineList(QWidget* parent, const char* name, int lines, int columns) {
    auto* l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(QFont("DejaVu Sans Mono", 9));
    l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics fm(l->font());
    l->setFixedHeight(fm.height() * lines + lines * 2 + 6);
    l->setFixedWidth(fm.horizontalAdvance(QString(columns, 'M')) + 12);
    return l;
}

inline QScrollBar* scrollBar(QWidget* parent, const char* name) {
    auto* s = new QScrollBar(Qt::Vertical, parent);
    s->setObjectName(QString::fromLatin1(name));
    return s;
}

}  // namespace athanor::form

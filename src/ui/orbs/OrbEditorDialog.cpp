#include "ui/orbs/OrbEditorDialog.h"

#include "ui/common/UiHelpers.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace {

// Row stems of the field names, in display order.
constexpr std::array<const char*, kAspectKinds> kStems = {"Cong", "SSes", "Deci", "Novi", "SQua", "Sett", "Sest",
                                                           "Quin", "Quad", "Trig", "Sesq", "BiQu", "Quic", "Oppo"};

}  // namespace

QString OrbEditorDialog::fieldName(char column, int row) {
    return QStringLiteral("Edit%1%2").arg(kStems[static_cast<size_t>(row)]).arg(QChar(column));
}

OrbEditorDialog::OrbEditorDialog(Workstation& ws, std::function<void(const std::string&)> showCaption, QWidget* parent)
    : QDialog(parent), ws_(ws), showCaption_(std::move(showCaption)), editor_(ws.root) {
    setObjectName("FoOrbSpa");
    setWindowTitle(fromCp("Variaci\xF3n Aspecto de las \xD3rbitas"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    const char* heads[] = {"A (normali)", "B (personali)", "C (personali)"};
    for (int col = 0; col < 3; ++col) {
        auto* bevel = new QFrame(this);
        bevel->setObjectName(QStringLiteral("Bevel%1").arg(QChar('A' + col)));
        bevel->setFrameShape(QFrame::Box);
        bevel->setLineWidth(2);
        bevel->setStyleSheet("QFrame { border: 2px solid #1060c0; }");
        grid->addWidget(bevel, 0, col + 1, kAspectKinds + 2, 1);
        bevels_[static_cast<size_t>(col)] = bevel;
        auto* head = new QLabel(fromCp(heads[col]), this);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, col + 1);
    }
    for (int row = 0; row < kAspectKinds; ++row) {
        const auto r = static_cast<size_t>(row);
        grid->addWidget(new QLabel(fromCp(kAspectsByDisplay[r].editorName), this), row + 1, 0);
        auto makeField = [&](char column) {
            auto* e = new QLineEdit(this);
            e->setObjectName(fieldName(column, row));
            e->setFixedWidth(70);
            e->setAlignment(Qt::AlignRight);
            return e;
        };
        columnA_[r] = makeField('A');
        columnA_[r]->setReadOnly(true);
        columnA_[r]->setText(fromCp(OrbEditor::setAText(row)));
        columnA_[r]->setFocusPolicy(Qt::NoFocus);
        columnB_[r] = makeField('B');
        columnC_[r] = makeField('C');
        grid->addWidget(columnA_[r], row + 1, 1, Qt::AlignHCenter);
        grid->addWidget(columnB_[r], row + 1, 2, Qt::AlignHCenter);
        grid->addWidget(columnC_[r], row + 1, 3, Qt::AlignHCenter);
    }
    const char* adoptNames[] = {"BitBtn3", "BitBtn2", "BitBtn1"};
    for (int col = 0; col < 3; ++col) {
        auto* b = new QPushButton(fromCp("Adoptar"), this);
        b->setObjectName(adoptNames[col]);
        const char column = static_cast<char>('A' + col);
        connect(b, &QPushButton::clicked, this, [this, column] { adopt(column); });
        grid->addWidget(b, kAspectKinds + 1, col + 1, Qt::AlignHCenter);
    }

    parallel_ = new QLineEdit(this);
    parallel_->setObjectName("EditParal");
    parallel_->setFixedWidth(70);
    antiscia_ = new QLineEdit(this);
    antiscia_->setObjectName("EditAntis");
    antiscia_->setFixedWidth(70);
    auto* extras = new QHBoxLayout;
    extras->addWidget(new QLabel(fromCp("Paralelos de declinaci\xF3n"), this));
    extras->addWidget(parallel_);
    extras->addSpacing(16);
    extras->addWidget(new QLabel(fromCp("Antiscios"), this));
    extras->addWidget(antiscia_);
    extras->addStretch();

    auto* label = new QLabel(fromCp("\xD3rbita Actualmente Seleccionada = "), this);
    label->setObjectName("LabelOrbite");
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName("Edit1");
    edit1_->setReadOnly(true);
    edit1_->setFixedWidth(30);
    edit1_->setFocusPolicy(Qt::NoFocus);
    ritorna_ = new QPushButton(fromCp("Volver al Men\xFA "), this);
    ritorna_->setObjectName("BitBtnRitorna");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label);
    bottom->addWidget(edit1_);
    bottom->addStretch();
    bottom->addWidget(ritorna_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(extras);
    layout->addSpacing(6);
    layout->addLayout(bottom);

    for (int row = 0; row < kAspectKinds; ++row) {
        for (char column : {'B', 'C'}) {
            QLineEdit* e = (column == 'B' ? columnB_ : columnC_)[static_cast<size_t>(row)];
            connect(e, &QLineEdit::textEdited, this, [this, e, column, row] {
                editor_.setField(column, row, toCp(e->text()));
                IdleHandler::install(this, [this] { onIdle(); });
            });
        }
    }
    connect(parallel_, &QLineEdit::textEdited, this, [this] {
        editor_.setParallelField(toCp(parallel_->text()));
        IdleHandler::install(this, [this] { onIdle(); });
    });
    connect(antiscia_, &QLineEdit::textEdited, this, [this] {
        editor_.setAntisciaField(toCp(antiscia_->text()));
        IdleHandler::install(this, [this] { onIdle(); });
    });
    connect(ritorna_, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(sizeHint());
}

OrbEditorDialog::~OrbEditorDialog() { IdleHandler::remove(this); }

void OrbEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    closing_ = false;
    guarded(this, [&] { editor_.activate(ws_.orbs, ws_.chart); });
    editor_.validate();
    refresh();
    IdleHandler::install(this, [this] { onIdle(); });
}

void OrbEditorDialog::onIdle() {
    if (!isVisible()) return;
    editor_.validate();
    refresh();
}

void OrbEditorDialog::refresh() {
    auto show = [](QLineEdit* e, const std::string& text, FieldState state) {
        const QString t = fromCp(text);
        if (e->text() != t) e->setText(t);
        if (state == FieldState::Valid) setStateColour(e, StateColour::Aqua);
        if (state == FieldState::Invalid) setStateColour(e, StateColour::Red);
    };
    for (int row = 0; row < kAspectKinds; ++row) {
        const auto r = static_cast<size_t>(row);
        show(columnB_[r], editor_.field('B', row), editor_.fieldState('B', row));
        show(columnC_[r], editor_.field('C', row), editor_.fieldState('C', row));
    }
    show(parallel_, editor_.parallelField(), editor_.parallelState());
    show(antiscia_, editor_.antisciaField(), editor_.antisciaState());
    for (int col = 0; col < 3; ++col) bevels_[static_cast<size_t>(col)]->setVisible(editor_.visibleFrame() == 'A' + col);
    edit1_->setText(fromCp(editor_.edit1()));
    ritorna_->setEnabled(editor_.valid());
}

void OrbEditorDialog::adopt(char column) {
    guarded(this, [&] {
        const auto result = editor_.adopt(column, ws_.orbs, ws_.chart);
        if (!result.adopted) {
            showMessage(this, MessageKind::Error, fromCp(result.message));
            return;
        }
        if (showCaption_) showCaption_(result.comboCaption);
    });
    refresh();
}

void OrbEditorDialog::done(int result) {
    if (!closing_) {
        closing_ = true;
        guarded(this, [&] { editor_.close(ws_.orbs, ws_.chart); });
    }
    QDialog::done(result);
}

}  // namespace athanor

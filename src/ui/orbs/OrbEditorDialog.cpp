#include "ui/orbs/OrbEditorDialog.h"

#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoOrbSpa";
constexpr const char* kColumnFrames[3] = {"BevelA", "BevelB", "BevelC"};
constexpr const char* kAdopt[3] = {"BitBtn3", "BitBtn2", "BitBtn1"};
constexpr const char* kParallel = "EditParal";
constexpr const char* kAntiscia = "EditAntis";
constexpr const char* kSelectedLabel = "LabelOrbite";
constexpr const char* kSelected = "Edit1";
constexpr const char* kBack = "BitBtnRitorna";
}  // namespace names

namespace {

// Row stems of the field names, in display order.
constexpr std::array<const char*, kAspectKinds> kStems = {"Cong", "SSes", "Deci", "Novi", "SQua", "Sett", "Sest",
                                                          "Quin", "Quad", "Trig", "Sesq", "BiQu", "Quic", "Oppo"};

QLineEdit* orbField(QWidget* parent, const char* name) {
    QLineEdit* e = widgets::field(parent, name);
    e->setFixedWidth(70);
    e->setAlignment(Qt::AlignRight);
    return e;
}

}  // namespace

QString OrbEditorDialog::fieldName(char column, int row) {
    return QStringLiteral("Edit%1%2").arg(kStems[static_cast<size_t>(row)]).arg(QChar(column));
}

OrbEditorDialog::OrbEditorDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws), editor_(ws.root) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Variaci\xF3n Aspecto de las \xD3rbitas"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildSetColumns());
    layout->addSpacing(6);
    layout->addLayout(buildExtraOrbs());
    layout->addSpacing(6);
    layout->addLayout(buildBottomRow());
    connectFields();
    setFixedSize(sizeHint());
}

OrbEditorDialog::~OrbEditorDialog() { IdleHandler::remove(this); }

// ---- building ----------------------------------------------------------------------

// A row per aspect, a column per set, "Adoptar" under each column.
QGridLayout* OrbEditorDialog::buildSetColumns() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    const char* heads[] = {"A (normali)", "B (personali)", "C (personali)"};
    for (int col = 0; col < 3; ++col) {
        QFrame* frame = widgets::panel(this, names::kColumnFrames[col], QFrame::Box);
        frame->setLineWidth(2);
        frame->setStyleSheet("QFrame { border: 2px solid #1060c0; }");
        grid->addWidget(frame, 0, col + 1, kAspectKinds + 2, 1);
        columnFrames_[static_cast<size_t>(col)] = frame;
        auto* head = widgets::label(this, heads[col]);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, col + 1);
    }
    for (int row = 0; row < kAspectKinds; ++row) {
        const auto r = static_cast<size_t>(row);
        grid->addWidget(widgets::label(this, kAspectsByDisplay[r].editorName), row + 1, 0);
        columnA_[r] = orbField(this, fieldName('A', row).toLatin1().constData());
        columnA_[r]->setReadOnly(true);
        columnA_[r]->setText(fromCp(OrbEditor::setAText(row)));
        columnA_[r]->setFocusPolicy(Qt::NoFocus);
        columnB_[r] = orbField(this, fieldName('B', row).toLatin1().constData());
        columnC_[r] = orbField(this, fieldName('C', row).toLatin1().constData());
        grid->addWidget(columnA_[r], row + 1, 1, Qt::AlignHCenter);
        grid->addWidget(columnB_[r], row + 1, 2, Qt::AlignHCenter);
        grid->addWidget(columnC_[r], row + 1, 3, Qt::AlignHCenter);
    }
    for (int col = 0; col < 3; ++col) {
        auto* adopt = widgets::button(this, names::kAdopt[col], "Adoptar");
        const char column = static_cast<char>('A' + col);
        connect(adopt, &QPushButton::clicked, this, [this, column] { this->adopt(column); });
        grid->addWidget(adopt, kAspectKinds + 1, col + 1, Qt::AlignHCenter);
    }
    return grid;
}

QLayout* OrbEditorDialog::buildExtraOrbs() {
    parallelEdit_ = widgets::field(this, names::kParallel);
    parallelEdit_->setFixedWidth(70);
    antisciaEdit_ = widgets::field(this, names::kAntiscia);
    antisciaEdit_->setFixedWidth(70);
    auto* row = new QHBoxLayout;
    row->addWidget(widgets::label(this, "Paralelos de declinaci\xF3n"));
    row->addWidget(parallelEdit_);
    row->addSpacing(16);
    row->addWidget(widgets::label(this, "Antiscios"));
    row->addWidget(antisciaEdit_);
    row->addStretch();
    return row;
}

QLayout* OrbEditorDialog::buildBottomRow() {
    selectedSet_ = widgets::field(this, names::kSelected, 0, true);
    selectedSet_->setFixedWidth(30);
    selectedSet_->setFocusPolicy(Qt::NoFocus);
    backButton_ = widgets::button(this, names::kBack, "Volver al Men\xFA ");
    auto* row = new QHBoxLayout;
    row->addWidget(widgets::label(this, "\xD3rbita Actualmente Seleccionada = ", names::kSelectedLabel));
    row->addWidget(selectedSet_);
    row->addStretch();
    row->addWidget(backButton_);
    return row;
}

void OrbEditorDialog::connectFields() {
    for (int row = 0; row < kAspectKinds; ++row) {
        for (char column : {'B', 'C'}) {
            QLineEdit* e = (column == 'B' ? columnB_ : columnC_)[static_cast<size_t>(row)];
            connect(e, &QLineEdit::textEdited, this, [this, e, column, row] {
                editor_.setField(column, row, toCp(e->text()));
                IdleHandler::install(this, [this] { onIdle(); });
            });
        }
    }
    connect(parallelEdit_, &QLineEdit::textEdited, this, [this] {
        editor_.setParallelField(toCp(parallelEdit_->text()));
        IdleHandler::install(this, [this] { onIdle(); });
    });
    connect(antisciaEdit_, &QLineEdit::textEdited, this, [this] {
        editor_.setAntisciaField(toCp(antisciaEdit_->text()));
        IdleHandler::install(this, [this] { onIdle(); });
    });
    connect(backButton_, &QPushButton::clicked, this, &QDialog::accept);
}

// ---- opening, checking, adopting ---------------------------------------------------------

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
    show(parallelEdit_, editor_.parallelField(), editor_.parallelState());
    show(antisciaEdit_, editor_.antisciaField(), editor_.antisciaState());
    for (int col = 0; col < 3; ++col)
        columnFrames_[static_cast<size_t>(col)]->setVisible(editor_.visibleFrame() == 'A' + col);
    selectedSet_->setText(fromCp(editor_.edit1()));
    backButton_->setEnabled(editor_.valid());
}

void OrbEditorDialog::adopt(char column) {
    guarded(this, [&] {
        const auto result = editor_.adopt(column, ws_.orbs, ws_.chart);
        if (!result.adopted) {
            showMessage(this, MessageKind::Error, fromCp(result.message));
            return;
        }
        emit setAdopted(result.comboCaption);
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

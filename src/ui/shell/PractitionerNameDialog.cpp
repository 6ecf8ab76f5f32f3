#include "ui/shell/PractitionerNameDialog.h"

#include "app/Login.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoNomUte";
constexpr const char* kGroup = "GroupBox1";
constexpr const char* kFirstName = "EditNome";
constexpr const char* kSurname = "EditCognome";
constexpr const char* kNote = "Label3";
constexpr const char* kOk = "BitBtnOk";
constexpr const char* kCancel = "BitBtnAnnulla";
}  // namespace names

PractitionerNameDialog::PractitionerNameDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Cambiar Nombre del Usuario"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* group = widgets::group(this, names::kGroup, "Personalizaci\xF3n");
    firstNameEdit_ = widgets::field(group, names::kFirstName, 80);
    firstNameEdit_->setMinimumWidth(260);
    surnameEdit_ = widgets::field(group, names::kSurname, 80);
    auto* firstNameLabel = widgets::label(group, "Nombre del Usuario");
    firstNameLabel->setBuddy(firstNameEdit_);
    auto* surnameLabel = widgets::label(group, " Apellido del Usuario");
    surnameLabel->setBuddy(surnameEdit_);
    auto* grid = new QGridLayout(group);
    grid->addWidget(firstNameLabel, 0, 0);
    grid->addWidget(firstNameEdit_, 0, 1);
    grid->addWidget(surnameLabel, 1, 0);
    grid->addWidget(surnameEdit_, 1, 1);

    okButton_ = widgets::button(this, names::kOk, "OK");
    okButton_->setDefault(true);
    cancelButton_ = widgets::button(this, names::kCancel, "Anular");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(widgets::label(this, "La personalizaci\xF3n se puede variar a voluntad", names::kNote));
    layout->addWidget(group);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(firstNameEdit_, &QLineEdit::textEdited, this, [this] { changed_ = true; });
    connect(surnameEdit_, &QLineEdit::textEdited, this, [this] { changed_ = true; });
    connect(okButton_, &QPushButton::clicked, this, &PractitionerNameDialog::ok);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void PractitionerNameDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    firstNameEdit_->setText(fromCp(ws_.firstName));
    surnameEdit_->setText(fromCp(ws_.surname));
    changed_ = false;
    firstNameEdit_->setFocus();
}

void PractitionerNameDialog::ok() {
    if (changed_) {
        const std::string first = toCp(firstNameEdit_->text()).substr(0, 80);
        const std::string last = toCp(surnameEdit_->text()).substr(0, 80);
        if (!guarded(this, [&] { writePersonalName(ws_.root, first, last); })) return;
        ws_.firstName = first;
        ws_.surname = last;
    }
    accept();
}

}  // namespace athanor

#include "ui/shell/PractitionerNameDialog.h"

#include "app/Login.h"
#include "ui/common/UiHelpers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

PractitionerNameDialog::PractitionerNameDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FoNomUte");
    setWindowTitle(fromCp("Cambiar Nombre del Usuario"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* group = new QGroupBox(fromCp("Personalizaci\xF3n"), this);
    group->setObjectName("GroupBox1");
    editNome_ = new QLineEdit(group);
    editNome_->setObjectName("EditNome");
    editNome_->setMaxLength(80);
    editCognome_ = new QLineEdit(group);
    editCognome_->setObjectName("EditCognome");
    editCognome_->setMaxLength(80);
    auto* labelNome = new QLabel(fromCp("Nombre del Usuario"), group);
    labelNome->setBuddy(editNome_);
    auto* labelCognome = new QLabel(fromCp(" Apellido del Usuario"), group);
    labelCognome->setBuddy(editCognome_);
    auto* grid = new QGridLayout(group);
    grid->addWidget(labelNome, 0, 0);
    grid->addWidget(editNome_, 0, 1);
    grid->addWidget(labelCognome, 1, 0);
    grid->addWidget(editCognome_, 1, 1);
    editNome_->setMinimumWidth(260);

    auto* note = new QLabel(fromCp("La personalizaci\xF3n se puede variar a voluntad"), this);
    note->setObjectName("Label3");

    ok_ = new QPushButton(fromCp("OK"), this);
    ok_->setObjectName("BitBtnOk");
    ok_->setDefault(true);
    annulla_ = new QPushButton(fromCp("Anular"), this);
    annulla_->setObjectName("BitBtnAnnulla");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(annulla_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(editNome_, &QLineEdit::textEdited, this, [this] { changed_ = true; });
    connect(editCognome_, &QLineEdit::textEdited, this, [this] { changed_ = true; });
    connect(ok_, &QPushButton::clicked, this, &PractitionerNameDialog::ok);
    connect(annulla_, &QPushButton::clicked, this, &QDialog::reject);
}

void PractitionerNameDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    editNome_->setText(fromCp(ws_.firstName));
    editCognome_->setText(fromCp(ws_.surname));
    changed_ = false;
    editNome_->setFocus();
}

void PractitionerNameDialog::ok() {
    if (changed_) {
        const std::string first = toCp(editNome_->text()).substr(0, 80);
        const std::string last = toCp(editCognome_->text()).substr(0, 80);
        if (!guarded(this, [&] { writePersonalName(ws_.root, first, last); })) return;
        ws_.firstName = first;
        ws_.surname = last;
    }
    accept();
}

}  // namespace athanor

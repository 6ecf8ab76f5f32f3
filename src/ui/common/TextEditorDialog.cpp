#include "ui/common/TextEditorDialog.h"

#include "foundations/TextFile.h"
#include "ui/common/UiHelpers.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

TextEditorDialog::TextEditorDialog(DataRoot root, std::string relativePath, QWidget* parent)
    : QDialog(parent), root_(std::move(root)), path_(std::move(relativePath)) {
    setObjectName("TextEditorDialog");
    setWindowTitle(fromCp("Texto - " + path_));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowMinMaxButtonsHint);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("MemoTesto");
    text_->setFont(QFont("DejaVu Sans Mono", 10));
    save_ = new QPushButton(fromCp("Guardar"), this);
    save_->setObjectName("BBGuarda");
    close_ = new QPushButton(fromCp("Cerrar"), this);
    close_->setObjectName("BBChiudi");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    resize(640, 480);
    connect(save_, &QPushButton::clicked, this, [this] { save(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    load();
}

void TextEditorDialog::load() {
    guarded(this, [&] {
        const auto lines = readLines(root_.resolve(path_));
        std::string all;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i) all += '\n';
            all += lines[i];
        }
        text_->setPlainText(fromCp(all));
    });
}

bool TextEditorDialog::save() {
    return guarded(this, [&] {
        const std::string all = toCp(text_->toPlainText());
        writeLines(root_.resolveForWriting(path_), splitLines(all));
        text_->document()->setModified(false);
    });
}

}  // namespace athanor

#include "ui/common/TextEditorDialog.h"

#include "foundations/TextFile.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "TextEditorDialog";
constexpr const char* kText = "MemoTesto";
constexpr const char* kSave = "BBGuarda";
constexpr const char* kClose = "BBChiudi";
}  // namespace names

TextEditorDialog::TextEditorDialog(DataRoot root, std::string relativePath, QWidget* parent)
    : QDialog(parent), root_(std::move(root)), path_(std::move(relativePath)) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Texto - " + path_));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowMinMaxButtonsHint);
    text_ = widgets::memo(this, names::kText, false);
    text_->setFont(widgets::monospace(10));
    save_ = widgets::button(this, names::kSave, "Guardar");
    close_ = widgets::button(this, names::kClose, "Cerrar");
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

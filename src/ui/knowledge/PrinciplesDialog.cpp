#include "ui/knowledge/PrinciplesDialog.h"

#include "app/Workstation.h"
#include "foundations/FileError.h"
#include "knowledge/TextSearch.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoPrinci";
constexpr const char* kGenerate = "BBgenera";
constexpr const char* kShown = "MemoPrincipi";
constexpr const char* kBack = "BBritorna";
}  // namespace names

PrinciplesDialog::PrinciplesDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowTitle(QStringLiteral("PRINCIPI CURATIVI"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* about = widgets::label(this, "\"Genera archivio\" lee los quince principios de Principi.txt (cinco l\xEDneas "
                                       "cada uno) y escribe el archivo de principios Principi.sto, en may\xFAsculas y "
                                       "con 40 caracteres por l\xEDnea como m\xE1ximo.");
    about->setWordWrap(true);
    shown_ = widgets::memo(this, names::kShown);
    shown_->setFont(widgets::monospace(9));
    shown_->setMinimumSize(QFontMetrics(shown_->font()).horizontalAdvance(QString(46, 'M')), 380);
    generate_ = widgets::button(this, names::kGenerate, "Genera archivio");
    back_ = widgets::button(this, names::kBack, "&Ritorna al Menu");
    back_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(generate_);
    buttons->addStretch();
    buttons->addWidget(back_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(widgets::label(this, "Contenido del archivo de principios"));
    layout->addWidget(shown_, 1);
    layout->addLayout(buttons);

    resize(620, 640);

    connect(generate_, &QPushButton::clicked, this, &PrinciplesDialog::generate);
    connect(back_, &QPushButton::clicked, this, &QDialog::reject);
}

void PrinciplesDialog::load() { showArchive(); }

void PrinciplesDialog::showArchive() {
    shown_->clear();
    std::error_code ec;
    if (!std::filesystem::exists(ws_.root.resolve(kPrinciplesArchive), ec)) {
        shown_->setPlainText(fromCp("Todav\xED"
                                    "a no se ha generado el archivo de principios."));
        return;
    }
    guarded(this, [&] {
        QString text;
        int k = 0;
        for (const auto& record : readPrinciples(ws_.root)) {
            text += QStringLiteral("%1.\n").arg(++k);
            for (const auto& line : record) text += QStringLiteral("   ") + fromCp(line) + QLatin1Char('\n');
        }
        shown_->setPlainText(text);
    });
}

void PrinciplesDialog::generate() {
    bool ok = false;
    {
        BusyCursor busy;
        ok = guarded(this, [&] { generatePrinciples(ws_.root); });
    }
    showArchive();
    if (ok)
        showMessage(this, MessageKind::Information,
                    fromCp("Archivo de principios generado: quince principios en Principi.sto."));
}

}  // namespace athanor

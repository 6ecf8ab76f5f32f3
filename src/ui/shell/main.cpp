#include "foundations/FileError.h"
#include "app/FileMessages.h"
#include "app/ProgramFolder.h"
#include "foundations/Cp1252.h"
#include "ui/shell/MainWindow.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <iostream>

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = athanor::parseProgramOptions(args, error);
    if (!options) {
        std::cerr << "athanor: " << error << '\n';
        return 2;
    }
    if (options->showHelp || options->showVersion) {
        std::cout << (options->showHelp ? athanor::programHelpText() : athanor::programVersionText() + "\n");
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Athanor");
    QApplication::setApplicationVersion(ATHANOR_VERSION);
    // The desktop entry (athanor.desktop) and its icon belong to this program.
    QGuiApplication::setDesktopFileName("athanor");
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) icon.addFile(QString(":/icons/athanor-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    // Qt's own dialogs (files, calendar, printing) in Spanish, and Spanish dates and numbers.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QTranslator qtSpanish;
    if (qtSpanish.load("qtbase_es", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtSpanish);

    athanor::DataRoot root;
    try {
        root = athanor::openProgramFolder(*options);
    } catch (const athanor::FileError& e) {
        // The same Spanish message, naming the file and what to do, as inside the program.
        QMessageBox::critical(nullptr, "Athanor",
                              QString::fromStdString(athanor::cp1252ToUtf8(athanor::userMessage(e))));
        return 1;
    }

    athanor::MainWindow window(root);
    window.start();
    return app.exec();
}

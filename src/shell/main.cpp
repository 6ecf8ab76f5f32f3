#include "foundations/FileError.h"
#include "shell/ProgramFolder.h"
#include "shell/TFoSpagyr.h"

#include <QApplication>
#include <QMessageBox>

#include <iostream>

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = athanor::parseProgramOptions(args, error);
    if (!options) {
        std::cerr << "athanor: " << error << '\n';
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Athanor");

    athanor::DataRoot root;
    try {
        root = athanor::openProgramFolder(*options);
    } catch (const athanor::FileError& e) {
        QMessageBox::critical(nullptr, "Athanor", QString::fromLocal8Bit(e.what()));
        return 1;
    }

    athanor::TFoSpagyr window(root);
    window.start();
    return app.exec();
}

// Writes the main window's pictures into a folder: athanor-pictures FOLDER
#include "ui/common/JpegImage.h"
#include "ui/common/Pictures.h"

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: athanor-pictures CARPETA\n");
        return 2;
    }
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);
    const std::string jpeg = athanor::encodeJpeg(athanor::drawBanner(), 92);
    std::ofstream(dir / athanor::kBannerFile, std::ios::binary) << jpeg;
    const bool ok = athanor::drawExitPicture(false).save(
                        QString::fromStdString((dir / athanor::kExitPictureFile).string()), "BMP") &&
                    athanor::drawExitPicture(true).save(
                        QString::fromStdString((dir / athanor::kExitPressedPictureFile).string()), "BMP");
    if (!ok) {
        std::fprintf(stderr, "athanor-pictures: no se pudo escribir en %s\n", argv[1]);
        return 1;
    }
    return 0;
}

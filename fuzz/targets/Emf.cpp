// An enhanced metafile from the program folder, loaded as the glyph library loads it and
// drawn.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "foundations/FileError.h"
#include "graphics/EmfPlayer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace athanor::fuzz {

namespace {
void ensureApplication() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "athanor-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}
}  // namespace

void emfPlayer(const std::uint8_t* data, std::size_t size) {
    ensureApplication();
    const Scratch& s = Scratch::fresh();
    const auto file = s.write("Zodiaco\\SegM01.emf", std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        const auto picture = EmfPicture::load(file);
        QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        picture->draw(painter, QRectF(0, 0, 48, 48));
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz

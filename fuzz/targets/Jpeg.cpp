// The banner picture of the main window, decoded as the window decodes it.
#include "../Targets.h"

#include "ui/common/JpegImage.h"

#include <string>

namespace athanor::fuzz {

void jpegBanner(const std::uint8_t* data, std::size_t size) {
    // A picture libjpeg cannot read is a null image, never an exception.
    const QImage image = decodeJpeg(std::string(reinterpret_cast<const char*>(data), size));
    if (!image.isNull()) (void)image.pixel(image.width() - 1, image.height() - 1);
}

}  // namespace athanor::fuzz

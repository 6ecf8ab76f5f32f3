#include "ui/common/JpegImage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace athanor {
namespace {

std::string corpusFile(const std::string& name) {
    std::ifstream in(std::string(ATHANOR_SOURCE_DIR) + "/fuzz/corpus/jpeg/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Damaged header bytes claiming a picture of 65,000 pixels a side, or a progressive one that
// would take seconds and gigabytes, give no picture rather than the memory they ask for.
TEST(JpegImage, OversizedOrDamagedPicturesAreRefusedQuickly) {
    for (const char* name : {"jpeg-oom-12-9-gb.jpg", "jpeg-slow-progressive.jpg"}) {
        const std::string bytes = corpusFile(name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_TRUE(decodeJpeg(bytes).isNull()) << name;
    }
    // A picture within the limit still round-trips.
    QImage small(40, 20, QImage::Format_RGB888);
    small.fill(Qt::darkBlue);
    const QImage back = decodeJpeg(encodeJpeg(small));
    EXPECT_EQ(back.size(), small.size());
}

}  // namespace
}  // namespace athanor

#include "ui/common/JpegImage.h"

#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace athanor {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

void quiet(j_common_ptr, int) {}

}  // namespace

QImage decodeJpeg(const std::string& bytes) {
    if (bytes.empty()) return {};
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = quiet;
    // Everything that must survive a longjmp lives outside this frame's automatic
    // variables that change after setjmp.
    QImage* volatile result = new QImage();
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete result;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    // A few damaged header bytes can claim 65,000 pixels a side: refused before anything is
    // allocated, as is a picture the decoder would need more memory for than any banner.
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxJpegSide ||
        info.image_height > kMaxJpegSide) {
        jpeg_destroy_decompress(&info);
        delete result;
        return {};
    }
    info.mem->max_memory_to_use = 64L * 1024 * 1024;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *result = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    if (result->isNull()) {
        jpeg_destroy_decompress(&info);
        delete result;
        return {};
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage out = std::move(*result);
    delete result;
    return out;
}

QImage readJpegFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeJpeg(bytes);
}

std::string encodeJpeg(const QImage& image, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

}  // namespace athanor

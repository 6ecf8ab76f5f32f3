#include "graphics/EmfPlayer.h"

#include "foundations/FileError.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QThread>

#include <emf2svg.h>
#include <uemf.h>
#include <uemf_safe.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace athanor {

namespace {

int32_t i32(const QByteArray& b, int off) {
    int32_t v;
    std::memcpy(&v, b.constData() + off, 4);
    return v;  // little-endian host
}

uint32_t u32(const QByteArray& b, int off) { return static_cast<uint32_t>(i32(b, off)); }

// Every record inside the file and inside itself, with the library's own safety checks,
// the header's description within the header, and an end-of-file record last. The
// converter trusts what it reads, so nothing else may reach it.
bool recordsAreSafe(const QByteArray& bytes, uint32_t length) {
    // The checks read 32-bit fields in place: give them an aligned copy.
    std::vector<uint32_t> words((length + 3) / 4, 0);
    std::memcpy(words.data(), bytes.constData(), length);
    const char* base = reinterpret_cast<const char*>(words.data());
    const char* limit = base + length;

    const uint32_t headerSize = words[1];
    const uint32_t descriptionChars = words[15], descriptionOffset = words[16];
    if (descriptionChars > 0 && (descriptionOffset < 88 || descriptionOffset > headerSize ||
                                 descriptionChars > (headerSize - descriptionOffset) / 2))
        return false;

    const char* record = base;
    uint32_t type = 0;
    while (record < limit) {
        if (limit - record < 8) return false;
        uint32_t size = 0;
        std::memcpy(&type, record, 4);
        std::memcpy(&size, record + 4, 4);
        if (size < 8 || size % 4 != 0 || size > static_cast<uint32_t>(limit - record)) return false;
        if (!U_emf_record_safe(record)) return false;
        record += size;
        if (type == U_EMR_EOF) break;
    }
    return type == U_EMR_EOF;
}

}  // namespace

bool readEmfHeader(const QByteArray& b, EmfHeaderInfo& out) {
    // EMR_HEADER: type 1, the " EMF" signature at offset 40, at least 88 bytes.
    if (b.size() < 88 || u32(b, 0) != 1 || u32(b, 40) != 0x464D4520u) return false;
    const uint32_t headerSize = u32(b, 4);
    if (headerSize < 88 || headerSize > static_cast<uint32_t>(b.size())) return false;
    out.left = i32(b, 8);
    out.top = i32(b, 12);
    out.right = i32(b, 16);
    out.bottom = i32(b, 20);
    out.frameLeft = i32(b, 24);
    out.frameTop = i32(b, 28);
    out.frameRight = i32(b, 32);
    out.frameBottom = i32(b, 36);
    out.bytes = u32(b, 48);
    out.records = u32(b, 52);
    return true;
}

EmfPicture::~EmfPicture() = default;

std::shared_ptr<const EmfPicture> EmfPicture::fromBytes(const QByteArray& bytes) {
    EmfHeaderInfo h;
    if (!readEmfHeader(bytes, h)) throw std::runtime_error("not an enhanced metafile");
    if (h.bytes > static_cast<unsigned>(bytes.size())) throw std::runtime_error("enhanced metafile is cut short");
    if (h.bytes < 88 || !recordsAreSafe(bytes, h.bytes)) throw std::runtime_error("enhanced metafile is damaged");
    // Bounds or a frame whose span no int holds come from a damaged header, not a picture.
    const long long width = static_cast<long long>(h.right) - h.left + 1;
    const long long height = static_cast<long long>(h.bottom) - h.top + 1;
    const long long frameWidth = static_cast<long long>(h.frameRight) - h.frameLeft;
    const long long frameHeight = static_cast<long long>(h.frameBottom) - h.frameTop;
    for (const long long span : {width, height, frameWidth, frameHeight})
        if (span < std::numeric_limits<int>::min() || span > std::numeric_limits<int>::max())
            throw std::runtime_error("enhanced metafile is damaged");

    // The converter takes a mutable buffer.
    std::string copy(bytes.constData(), bytes.size());
    generatorOptions options{};
    options.nameSpace = nullptr;
    options.verbose = false;
    options.emfplus = false;
    options.svgDelimiter = true;
    char* out = nullptr;
    size_t outLength = 0;
    int ok = 0;
    {
        // The converter is not known to be reentrant.
        static std::mutex converter;
        const std::lock_guard lock(converter);
        ok = emf2svg(copy.data(), copy.size(), &out, &outLength, &options);
    }
    if (!ok || !out) {
        std::free(out);
        throw std::runtime_error("enhanced metafile cannot be played");
    }

    auto picture = std::shared_ptr<EmfPicture>(new EmfPicture());
    picture->svg_ = QByteArray(out, static_cast<qsizetype>(outLength));
    std::free(out);
    picture->size_ = QSize(static_cast<int>(width), static_cast<int>(height));
    picture->frame_ = QRectF(h.frameLeft, h.frameTop, static_cast<qreal>(frameWidth), static_cast<qreal>(frameHeight));
    picture->renderer_ = std::make_unique<QSvgRenderer>(picture->svg_);
    if (!picture->renderer_->isValid()) throw std::runtime_error("enhanced metafile cannot be played");
    // Loaded ahead on a helper thread, it still belongs with the pictures drawn by the interface.
    if (const QCoreApplication* app = QCoreApplication::instance(); app && QThread::currentThread() != app->thread())
        picture->renderer_->moveToThread(app->thread());

    // The SVG is in device units shifted by the bounds' origin. Play the picture frame
    // (in device units through the reference device) when the header gives one, the
    // bounds otherwise, as the system's player does.
    QRectF view(0, 0, picture->size_.width(), picture->size_.height());
    const int32_t devW = i32(bytes, 72), devH = i32(bytes, 76);
    const int32_t mmW = i32(bytes, 80), mmH = i32(bytes, 84);
    if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0 && h.frameRight > h.frameLeft && h.frameBottom > h.frameTop) {
        const double sx = double(devW) / (mmW * 100.0), sy = double(devH) / (mmH * 100.0);
        view = QRectF(h.frameLeft * sx - h.left, h.frameTop * sy - h.top, static_cast<double>(frameWidth) * sx,
                      static_cast<double>(frameHeight) * sy);
    }
    picture->renderer_->setViewBox(view);
    return picture;
}

std::shared_ptr<const EmfPicture> EmfPicture::load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw FileError::fromErrno(file, errno);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) throw FileError::fromErrno(file, errno);
    try {
        return fromBytes(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } catch (const std::runtime_error& e) {
        throw FileError(file, e.what(), FileFault::Damaged);
    }
}

void EmfPicture::draw(QPainter& painter, const QRectF& target) const { renderer_->render(&painter, target); }

GlyphLibrary& GlyphLibrary::shared() {
    static GlyphLibrary library;
    return library;
}

std::shared_ptr<const EmfPicture> GlyphLibrary::get(const std::filesystem::path& file) {
    std::error_code ec;
    const auto stamp = std::filesystem::last_write_time(file, ec);
    if (ec) throw FileError::fromErrorCode(file, ec);
    const std::string key = file.string();
    Loaded loaded;
    {
        const std::lock_guard lock(mutex_);
        auto it = entries_.find(key);
        if (it != entries_.end() && it->second.stamp == stamp) loaded = it->second.picture;
    }
    if (loaded.valid()) {
        try {
            return loaded.get();
        } catch (...) {
            // Loaded ahead and failed: load it here, where the failure is reported.
        }
    }
    auto picture = EmfPicture::load(file);
    std::promise<std::shared_ptr<const EmfPicture>> done;
    done.set_value(picture);
    const std::lock_guard lock(mutex_);
    entries_[key] = Entry{stamp, done.get_future().share()};
    return picture;
}

void GlyphLibrary::loadAhead(const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        std::error_code ec;
        const auto stamp = std::filesystem::last_write_time(file, ec);
        if (ec) continue;
        std::promise<std::shared_ptr<const EmfPicture>> done;
        {
            const std::lock_guard lock(mutex_);
            auto& entry = entries_[file.string()];
            if (entry.picture.valid() && entry.stamp == stamp) continue;
            entry = Entry{stamp, done.get_future().share()};
        }
        try {
            done.set_value(EmfPicture::load(file));
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    }
}

void GlyphLibrary::clear() {
    const std::lock_guard lock(mutex_);
    entries_.clear();
}

}  // namespace athanor

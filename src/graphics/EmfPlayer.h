#pragma once
#include <QByteArray>
#include <QRectF>
#include <QSize>

#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QPainter;
class QSvgRenderer;

namespace athanor {

// An enhanced metafile ready to be drawn: the records are translated once to SVG
// (libemf2svg) and drawn by QSvgRenderer, stretched over any rectangle.
class EmfPicture {
public:
    // Throws FileError when the file cannot be read or is not an enhanced metafile.
    static std::shared_ptr<const EmfPicture> load(const std::filesystem::path& file);
    // Throws std::runtime_error when the bytes are not an enhanced metafile.
    static std::shared_ptr<const EmfPicture> fromBytes(const QByteArray& bytes);

    ~EmfPicture();

    // The picture's bounds in its device units.
    QSize size() const { return size_; }
    // Frame of the header in hundredths of a millimetre.
    QRectF frameHundredthsMm() const { return frame_; }
    const QByteArray& svg() const { return svg_; }

    // Stretches the whole picture over `target` (painter coordinates).
    void draw(QPainter& painter, const QRectF& target) const;

private:
    EmfPicture() = default;
    QSize size_;
    QRectF frame_;
    QByteArray svg_;
    std::unique_ptr<QSvgRenderer> renderer_;
};

// Header facts of an enhanced metafile, read without playing it.
struct EmfHeaderInfo {
    int left = 0, top = 0, right = -1, bottom = -1;  // bounds, inclusive
    int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
    unsigned records = 0;
    unsigned bytes = 0;
};
// nullopt-like: returns false when the bytes do not start with an EMF header.
bool readEmfHeader(const QByteArray& bytes, EmfHeaderInfo& out);

// The loaded glyph files, kept by path and reloaded when a file changes on disk. Any thread
// may use it; a file another thread is loading is waited for, not loaded twice.
class GlyphLibrary {
public:
    static GlyphLibrary& shared();
    // Throws FileError when the file cannot be read or played.
    std::shared_ptr<const EmfPicture> get(const std::filesystem::path& file);
    // Loads the files not loaded yet, typically on a second thread before they are drawn. A file
    // that fails is left for get() to report.
    void loadAhead(const std::vector<std::filesystem::path>& files);
    void clear();

private:
    using Loaded = std::shared_future<std::shared_ptr<const EmfPicture>>;
    struct Entry {
        std::filesystem::file_time_type stamp;
        Loaded picture;
    };
    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

}  // namespace athanor

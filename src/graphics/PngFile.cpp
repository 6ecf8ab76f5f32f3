#include "graphics/PngFile.h"

#include "foundations/FileError.h"
#include "foundations/HelperThread.h"
#include "foundations/Pages.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <queue>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace athanor {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

void freePixels(void* pixels) { std::free(pixels); }

}  // namespace

QImage blankOpaqueImage(QSize size, const QColor& fill) {
    const std::size_t bytes = std::size_t(std::max(0, size.width())) * 4 * std::size_t(std::max(0, size.height()));
    void* pixels = nullptr;
    std::size_t rounded = 0;
    if (bytes >= kHugePage) {
        rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        pixels = std::aligned_alloc(kHugePage, rounded);
    }
    if (!pixels) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(fill);
        return image;
    }
#ifdef __linux__
    // Only a hint: where the system refuses huge pages, the pages are ordinary ones.
    ::madvise(pixels, rounded, MADV_HUGEPAGE);
#endif
    QImage image(static_cast<uchar*>(pixels), size.width(), size.height(), qsizetype(size.width()) * 4,
                 QImage::Format_RGB32, freePixels, pixels);
    image.fill(fill);
    return image;
}

namespace {

// ---------------------------------------------------------------------------------------
// Deflate for drawings. A drawing is mostly runs of one colour and stretches that repeat the
// row above, which a general compressor finds by hashing every byte. Here each pixel is
// compared with its left and upper neighbours only: a run becomes a copy at distance 3 (the
// pixel before) or one row back, anything else literal bytes; each block of tokens gets its
// own Huffman codes. Far less work than zlib's fastest level, for a file some 15 % larger.

constexpr int kMaxMatch = 258;
constexpr int kMaxPixelsPerMatch = kMaxMatch / 3;
constexpr int kEndOfBlock = 256;
constexpr std::size_t kTokensPerBlock = 1 << 15;

struct LengthCode {
    uint16_t symbol;
    uint8_t extraBits;
    uint16_t base;
};

struct Tables {
    std::array<LengthCode, kMaxMatch + 1> length{};  // by match length 3..258
    std::array<uint16_t, 30> distanceBase{};
    std::array<uint8_t, 30> distanceExtra{};

    Tables() {
        static constexpr uint16_t lengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static constexpr uint8_t lengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        for (int code = 0; code < 29; ++code) {
            const int last = code == 28 ? 258 : lengthBase[code] + (1 << lengthExtra[code]) - 1;
            for (int len = lengthBase[code]; len <= last && len <= kMaxMatch; ++len)
                length[len] = {static_cast<uint16_t>(257 + code), lengthExtra[code], lengthBase[code]};
        }
        int base = 1;
        for (int code = 0; code < 30; ++code) {
            distanceBase[code] = static_cast<uint16_t>(base);
            distanceExtra[code] = static_cast<uint8_t>(code < 4 ? 0 : code / 2 - 1);
            base += 1 << distanceExtra[code];
        }
    }
    int distanceSymbol(int distance) const {
        int code = 0;
        while (code < 29 && distanceBase[code + 1] <= distance) ++code;
        return code;
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    // At most 32 bits at a time, the first bit sent the lowest.
    void put(uint32_t bits, int count) {
        acc_ |= uint64_t(bits) << count_;
        count_ += count;
        if (count_ >= 32) {
            const char bytes[4] = {static_cast<char>(acc_), static_cast<char>(acc_ >> 8), static_cast<char>(acc_ >> 16),
                                   static_cast<char>(acc_ >> 24)};
            out_.append(bytes, 4);
            acc_ >>= 32;
            count_ -= 32;
        }
    }
    void alignToByte() {
        while (count_ > 0) {
            out_.push_back(static_cast<char>(acc_));
            acc_ >>= 8;
            count_ = std::max(0, count_ - 8);
        }
        acc_ = 0;
    }

private:
    std::string& out_;
    uint64_t acc_ = 0;
    int count_ = 0;
};

// Code lengths of an optimal prefix code no longer than `limit` bits. Symbols of frequency 0
// get none; at least two symbols get one, as every decoder accepts.
std::vector<uint8_t> codeLengths(std::vector<uint32_t> freq, int limit) {
    const int n = static_cast<int>(freq.size());
    std::vector<uint8_t> lengths(n, 0);
    int used = 0;
    for (uint32_t f : freq) used += f != 0;
    for (int i = 0; used < 2 && i < n; ++i)
        if (freq[i] == 0) {
            freq[i] = 1;
            ++used;
        }
    for (int shift = 0;; ++shift) {
        // Huffman's construction; `parent` of leaves 0..n-1 and inner nodes n...
        using Node = std::pair<uint64_t, int>;
        std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
        std::vector<int> parent(2 * n, -1);
        for (int i = 0; i < n; ++i)
            if (freq[i]) queue.push({std::max<uint64_t>(1, freq[i] >> shift), i});
        int next = n;
        while (queue.size() > 1) {
            const Node a = queue.top();
            queue.pop();
            const Node b = queue.top();
            queue.pop();
            parent[a.second] = parent[b.second] = next;
            queue.push({a.first + b.first, next++});
        }
        bool fits = true;
        for (int i = 0; i < n; ++i) {
            if (!freq[i]) continue;
            int depth = 0;
            for (int p = parent[i]; p != -1; p = parent[p]) ++depth;
            lengths[i] = static_cast<uint8_t>(depth);
            fits = fits && depth <= limit;
        }
        // Flattened frequencies give a shallower tree; a little size for a valid code.
        if (fits) return lengths;
    }
}

// Canonical codes, bit-reversed as deflate sends them.
std::vector<uint16_t> canonicalCodes(const std::vector<uint8_t>& lengths) {
    std::array<int, 16> count{};
    for (uint8_t l : lengths) ++count[l];
    count[0] = 0;
    std::array<int, 16> next{};
    int code = 0;
    for (int bits = 1; bits < 16; ++bits) {
        code = (code + count[bits - 1]) << 1;
        next[bits] = code;
    }
    std::vector<uint16_t> codes(lengths.size(), 0);
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const int len = lengths[i];
        if (!len) continue;
        int c = next[len]++, reversed = 0;
        for (int b = 0; b < len; ++b, c >>= 1) reversed = (reversed << 1) | (c & 1);
        codes[i] = static_cast<uint16_t>(reversed);
    }
    return codes;
}

// A match is kept as 0x80000000 | length << 16 | distance, a literal as its byte.
constexpr uint32_t kMatchFlag = 0x80000000u;

class BlockWriter {
public:
    explicit BlockWriter(std::string& out) : bits_(out) {
        tokens_.reserve(kTokensPerBlock);
        commitPages(tokens_.data(), kTokensPerBlock * sizeof(uint32_t));
    }

    void literal(uint8_t byte) {
        if (tokens_.size() == kTokensPerBlock) flush(false);
        tokens_.push_back(byte);
    }
    void match(int length, int distance) {
        if (tokens_.size() == kTokensPerBlock) flush(false);
        tokens_.push_back(kMatchFlag | uint32_t(length) << 16 | uint32_t(distance));
    }
    // Ends the stream, or for a part that others follow, ends on a byte boundary without
    // closing it (an empty stored block, as zlib's sync flush).
    void finish(bool final) {
        flush(final);
        if (!final) {
            bits_.put(0, 3);
            bits_.alignToByte();
            bits_.put(0x0000, 16);
            bits_.put(0xffff, 16);
        } else {
            bits_.alignToByte();
        }
    }

private:
    void flush(bool final) {
        const Tables& t = tables();
        // A drawing uses two distances, so the last one's symbol is nearly always the one.
        int lastDistance = -1, lastSymbol = 0;
        auto distanceSymbol = [&](int distance) {
            if (distance != lastDistance) {
                lastDistance = distance;
                lastSymbol = t.distanceSymbol(distance);
            }
            return lastSymbol;
        };
        std::vector<uint32_t> litFreq(286, 0), distFreq(30, 0);
        litFreq[kEndOfBlock] = 1;
        for (uint32_t token : tokens_) {
            if (token & kMatchFlag) {
                ++litFreq[t.length[(token >> 16) & 0x1ff].symbol];
                ++distFreq[distanceSymbol(token & 0xffff)];
            } else {
                ++litFreq[token];
            }
        }
        const std::vector<uint8_t> litLengths = codeLengths(litFreq, 15), distLengths = codeLengths(distFreq, 15);
        const std::vector<uint16_t> litCodes = canonicalCodes(litLengths), distCodes = canonicalCodes(distLengths);

        int hlit = 286, hdist = 30;
        while (hlit > 257 && litLengths[hlit - 1] == 0) --hlit;
        while (hdist > 1 && distLengths[hdist - 1] == 0) --hdist;
        std::vector<uint8_t> all(litLengths.begin(), litLengths.begin() + hlit);
        all.insert(all.end(), distLengths.begin(), distLengths.begin() + hdist);

        // The code lengths themselves, run-length coded: (symbol, extra value).
        std::vector<std::pair<uint8_t, uint8_t>> runs;
        for (std::size_t i = 0; i < all.size();) {
            std::size_t j = i;
            while (j < all.size() && all[j] == all[i]) ++j;
            std::size_t run = j - i;
            if (all[i] == 0) {
                while (run >= 11) {
                    const std::size_t k = std::min<std::size_t>(run, 138);
                    runs.push_back({18, static_cast<uint8_t>(k - 11)});
                    run -= k;
                }
                if (run >= 3) {
                    runs.push_back({17, static_cast<uint8_t>(run - 3)});
                    run = 0;
                }
            } else {
                runs.push_back({all[i], 0});
                --run;
                while (run >= 3) {
                    const std::size_t k = std::min<std::size_t>(run, 6);
                    runs.push_back({16, static_cast<uint8_t>(k - 3)});
                    run -= k;
                }
            }
            for (; run > 0; --run) runs.push_back({all[i], 0});
            i = j;
        }
        std::vector<uint32_t> clFreq(19, 0);
        for (const auto& r : runs) ++clFreq[r.first];
        const std::vector<uint8_t> clLengths = codeLengths(clFreq, 7);
        const std::vector<uint16_t> clCodes = canonicalCodes(clLengths);
        static constexpr int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        int hclen = 19;
        while (hclen > 4 && clLengths[order[hclen - 1]] == 0) --hclen;

        bits_.put(final ? 1 : 0, 1);
        bits_.put(2, 2);  // dynamic Huffman codes
        bits_.put(static_cast<uint32_t>(hlit - 257), 5);
        bits_.put(static_cast<uint32_t>(hdist - 1), 5);
        bits_.put(static_cast<uint32_t>(hclen - 4), 4);
        for (int i = 0; i < hclen; ++i) bits_.put(clLengths[order[i]], 3);
        for (const auto& [symbol, extra] : runs) {
            bits_.put(clCodes[symbol], clLengths[symbol]);
            if (symbol == 16) bits_.put(extra, 2);
            else if (symbol == 17) bits_.put(extra, 3);
            else if (symbol == 18) bits_.put(extra, 7);
        }

        for (uint32_t token : tokens_) {
            if (token & kMatchFlag) {
                const int length = (token >> 16) & 0x1ff, distance = token & 0xffff;
                const LengthCode& lc = t.length[length];
                bits_.put(litCodes[lc.symbol], litLengths[lc.symbol]);
                if (lc.extraBits) bits_.put(static_cast<uint32_t>(length - lc.base), lc.extraBits);
                const int ds = distanceSymbol(distance);
                bits_.put(distCodes[ds], distLengths[ds]);
                if (t.distanceExtra[ds])
                    bits_.put(static_cast<uint32_t>(distance - t.distanceBase[ds]), t.distanceExtra[ds]);
            } else {
                bits_.put(litCodes[token], litLengths[token]);
            }
        }
        bits_.put(litCodes[kEndOfBlock], litLengths[kEndOfBlock]);
        tokens_.clear();
    }

    BitWriter bits_;
    std::vector<uint32_t> tokens_;
};

// Rows [first, last) of the picture as unfiltered PNG scanlines, deflated. A part that does
// not end the picture ends on a byte boundary without closing the stream, so the next part's
// output follows it directly; no part refers back into another.
struct Part {
    int first = 0, last = 0;
    bool final = true;
    std::string out;
    uLong adler = 1;
    bool ok = false;
};

constexpr QRgb kColourBits = 0x00ffffff;

// Pixels from x on that equal `reference` pixel by pixel (the same pixel each time when
// `step` is 0); at most `limit`.
inline int runLength(const QRgb* row, int x, int limit, const QRgb* reference, int step) {
    int n = 0;
    while (n < limit && ((row[x + n] ^ reference[n * step]) & kColourBits) == 0) ++n;
    return n;
}

// The Adler-32 checksum of the scanlines, kept as it goes: a run of one pixel is added in a
// few multiplications instead of byte by byte, since most of a drawing is such runs.
class Adler {
public:
    static constexpr uint64_t kModulus = 65521;

    void pixel(QRgb p) {
        a_ += qRed(p);
        b_ += a_;
        a_ += qGreen(p);
        b_ += a_;
        a_ += qBlue(p);
        b_ += a_;
    }
    void byte(unsigned char v) {
        a_ += v;
        b_ += a_;
    }
    // `count` copies of pixel p: the bytes' sum, and their sum weighted by the number of
    // bytes from each to the end (which is what the second sum gains beyond count*3*a).
    void run(QRgb p, uint64_t count) {
        const uint64_t r = qRed(p), g = qGreen(p), bl = qBlue(p), length = 3 * count;
        const uint64_t weighted = (r + g + bl) * (count * length - 3 * count * (count - 1) / 2) - count * (g + 2 * bl);
        b_ = (b_ + length % kModulus * (a_ % kModulus) + weighted % kModulus) % kModulus;
        a_ = (a_ + count % kModulus * ((r + g + bl) % kModulus)) % kModulus;
    }
    // Called at least once a row, which keeps both sums far within 64 bits.
    void reduce() {
        a_ %= kModulus;
        b_ %= kModulus;
    }
    uLong value() {
        reduce();
        return static_cast<uLong>(b_ << 16 | a_);
    }

private:
    uint64_t a_ = 1, b_ = 0;
};

void deflateRowsUnguarded(const QImage& image, Part& part) {
    const int width = image.width();
    const std::size_t rowBytes = 1 + 3 * std::size_t(width);
    // A copy from the row above reaches back one whole scanline; deflate reaches 32 KB.
    const bool upward = rowBytes <= 32768;
    part.out.reserve(std::max<std::size_t>(64 << 10, rowBytes * (part.last - part.first) / 16));
    commitPages(part.out.data(), part.out.capacity());
    BlockWriter block(part.out);
    Adler adler;

    for (int y = part.first; y < part.last; ++y) {
        const QRgb* p = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const QRgb* up = upward && y > part.first ? reinterpret_cast<const QRgb*>(image.constScanLine(y - 1)) : nullptr;
        block.literal(0);  // no filter
        adler.byte(0);
        for (int x = 0; x < width;) {
            const int left = width - x;
            int across = x > 0 ? runLength(p, x, left, p + x - 1, 0) : 0;
            int down = 0;
            if (up && across < kMaxPixelsPerMatch) down = runLength(p, x, left, up + x, 1);
            // A lone pixel from the row above costs about as much as its three bytes.
            if (down < 2) down = 0;
            const int run = std::max(across, down);
            if (run == 0) {
                block.literal(static_cast<uint8_t>(qRed(p[x])));
                block.literal(static_cast<uint8_t>(qGreen(p[x])));
                block.literal(static_cast<uint8_t>(qBlue(p[x])));
                adler.pixel(p[x]);
                ++x;
                continue;
            }
            const bool sideways = across >= down;
            if (sideways) {
                adler.run(p[x - 1], static_cast<uint64_t>(run));
            } else {
                for (int i = 0; i < run; ++i) adler.pixel(p[x + i]);
            }
            const int distance = sideways ? 3 : static_cast<int>(rowBytes);
            for (int done = 0; done < run;) {
                const int n = std::min(kMaxPixelsPerMatch, run - done);
                block.match(3 * n, distance);
                done += n;
            }
            x += run;
        }
        adler.reduce();
    }
    block.finish(part.final);
    part.adler = adler.value();
    part.ok = true;
}

// Also the body of the helper thread, where an exception would end the program.
void deflateRows(const QImage& image, Part& part) noexcept {
    try {
        deflateRowsUnguarded(image, part);
    } catch (...) {
        part.ok = false;
    }
}

void putBigEndian(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v >> 24));
    s.push_back(static_cast<char>(v >> 16));
    s.push_back(static_cast<char>(v >> 8));
    s.push_back(static_cast<char>(v));
}

class PngOut {
public:
    explicit PngOut(const std::filesystem::path& file) : file_(file), f_(std::fopen(file.c_str(), "wb")) {
        if (!f_) throw FileError::fromErrno(file, errno);
    }
    ~PngOut() {
        if (f_) std::fclose(f_);
    }
    PngOut(const PngOut&) = delete;
    PngOut& operator=(const PngOut&) = delete;

    void raw(std::string_view bytes) {
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size())
            throw FileError::fromErrno(file_, errno ? errno : EIO);
    }
    // A chunk whose data is the pieces one after the other.
    void chunk(const char type[4], std::initializer_list<std::string_view> pieces) {
        std::size_t length = 0;
        for (auto p : pieces) length += p.size();
        std::string head;
        putBigEndian(head, static_cast<uint32_t>(length));
        head.append(type, 4);
        uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
        for (auto p : pieces) crc = crc32_z(crc, reinterpret_cast<const Bytef*>(p.data()), p.size());
        raw(head);
        for (auto p : pieces) raw(p);
        std::string tail;
        putBigEndian(tail, static_cast<uint32_t>(crc));
        raw(tail);
    }
    void close() {
        std::FILE* f = f_;
        f_ = nullptr;
        if (std::fclose(f) != 0) throw FileError::fromErrno(file_, errno);
    }

private:
    std::filesystem::path file_;
    std::FILE* f_;
};

}  // namespace

void writeOpaquePng(const QImage& source, const std::filesystem::path& file) {
    if (source.isNull()) throw FileError(file, "cannot write an empty picture", FileFault::NotWritten);
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const int height = image.height();
    const std::size_t rowBytes = 1 + 3 * std::size_t(image.width());

    // Two parts on two threads for a picture worth it.
    std::vector<Part> parts(
        rowBytes * height >= (1 << 20) && height >= 2 && std::thread::hardware_concurrency() > 1 ? 2 : 1);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        parts[i].first = static_cast<int>(height * i / parts.size());
        parts[i].last = static_cast<int>(height * (i + 1) / parts.size());
        parts[i].final = i + 1 == parts.size();
    }
    std::future<void> helper;
    if (parts.size() == 2) helper = HelperThread::shared().run([&] { deflateRows(image, parts[1]); });
    deflateRows(image, parts[0]);
    if (helper.valid()) helper.wait();
    for (const Part& p : parts)
        if (!p.ok) throw FileError(file, "cannot write the picture", FileFault::NotWritten);

    uLong adler = parts[0].adler;
    for (std::size_t i = 1; i < parts.size(); ++i)
        adler =
            adler32_combine(adler, parts[i].adler, static_cast<z_off_t>(rowBytes * (parts[i].last - parts[i].first)));

    std::string header;
    putBigEndian(header, static_cast<uint32_t>(image.width()));
    putBigEndian(header, static_cast<uint32_t>(height));
    header += std::string_view("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive filters, no interlace
    std::string resolution;
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        putBigEndian(resolution, static_cast<uint32_t>(image.dotsPerMeterX()));
        putBigEndian(resolution, static_cast<uint32_t>(image.dotsPerMeterY()));
        resolution.push_back(1);  // per metre
    }
    std::string checksum;
    putBigEndian(checksum, static_cast<uint32_t>(adler));
    const std::string_view zlibHeader("\x78\x01", 2);  // deflate, 32 KB window, fast compression

    PngOut out(file);
    out.raw("\x89PNG\r\n\x1a\n");
    out.chunk("IHDR", {header});
    if (!resolution.empty()) out.chunk("pHYs", {resolution});
    if (parts.size() == 1) {
        out.chunk("IDAT", {zlibHeader, parts[0].out, checksum});
    } else {
        out.chunk("IDAT", {zlibHeader, parts[0].out});
        out.chunk("IDAT", {parts[1].out, checksum});
    }
    out.chunk("IEND", {});
    out.close();
}

}  // namespace athanor

#include "engine/PrecisionSupplement.h"

#include "engine/Trig.h"
#include "foundations/Binary.h"
#include "foundations/FileError.h"
#include "foundations/RecordFile.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace athanor::supplement {

namespace {

// Header: signature, version, counts, sizes and offsets, and one CRC-32 over the header,
// the piece table and the block checksums.
constexpr char kSignature[8] = {'A', 'T', 'H', 'D', 'S', 'U', 'P', '1'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 64;
constexpr std::size_t kPieceSize = 64;
constexpr int kBlockBits = 12;
constexpr std::uint32_t kBlockSize = 1u << kBlockBits;
constexpr std::size_t kHeaderChecked = 56;  // bytes of the header under its checksum

constexpr int kMaxDegree = File::kMaxDegree;
constexpr int kSeriesBodies = File::kBodies;

constexpr std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[n] = c;
    }
    return t;
}
constexpr std::array<std::uint32_t, 256> kCrc = crcTable();

// CRC-32 (the polynomial of zip and PNG), continued from `crc`.
std::uint32_t crc32(const std::uint8_t* p, std::size_t n, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) crc = kCrc[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

long double floorOf(long double v) {
    long double t = trig::truncate(v);
    if (t > v) t -= 1.0L;
    return t;
}

bool validBody(int b) { return b == 1 || (b >= 3 && b <= 11) || (b >= 15 && b <= 19); }

int seriesIndex(int body, int coordinate) { return body * 2 + coordinate; }

// Monomial coefficients of the Lagrange basis on the nodes 0..p: the polynomial through
// values y_j at u = j is sum over k of u^k sum over j of M[p][k][j] y_j.
using Basis = std::array<std::array<double, kMaxDegree + 1>, kMaxDegree + 1>;
std::array<Basis, kMaxDegree + 1> lagrangeBases() {
    std::array<Basis, kMaxDegree + 1> bases{};
    for (int p = 1; p <= kMaxDegree; ++p)
        for (int j = 0; j <= p; ++j) {
            // prod over m != j of (u - m) / (j - m), expanded
            long double poly[kMaxDegree + 1] = {1};
            int degree = 0;
            long double denominator = 1;
            for (int m = 0; m <= p; ++m) {
                if (m == j) continue;
                for (int k = degree + 1; k >= 1; --k) poly[k] = poly[k - 1] - static_cast<long double>(m) * poly[k];
                poly[0] = -static_cast<long double>(m) * poly[0];
                ++degree;
                denominator *= static_cast<long double>(j - m);
            }
            for (int k = 0; k <= p; ++k)
                bases[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)][static_cast<std::size_t>(j)] =
                    static_cast<double>(poly[k] / denominator);
        }
    return bases;
}
const std::array<Basis, kMaxDegree + 1> kBases = lagrangeBases();

}  // namespace

Grid Grid::make(double from, double to, double origin, double cellLength, int degree) {
    Grid g;
    g.from = from;
    g.to = to;
    g.origin = origin;
    g.cellLength = cellLength;
    g.degree = degree;
    if (!(std::isfinite(from) && std::isfinite(to) && std::isfinite(origin) && cellLength > 0 &&
          std::isfinite(cellLength) && from < to && degree >= 1 && degree <= kMaxDegree))
        throw std::invalid_argument("supplement piece with an impossible grid");
    const long double first = floorOf((g.from - g.origin) / g.cellLength);
    long double last = -floorOf(-(g.to - g.origin) / g.cellLength) - 1.0L;  // ceil - 1
    if (last < first) last = first;
    if (!(last - first < 1.0e12L)) throw std::invalid_argument("supplement piece with too many cells");
    g.firstCell = static_cast<long long>(first);
    g.cellCount = static_cast<long long>(last - first) + 1;
    return g;
}

void Grid::bounds(long long i, long double& start, long double& end) const {
    start = i == 0 ? from : origin + static_cast<long double>(firstCell + i) * cellLength;
    end = i == cellCount - 1 ? to : origin + static_cast<long double>(firstCell + i + 1) * cellLength;
}

long double Grid::instant(long long n) const {
    if (n >= valueCount() - 1) return to;
    const long long cell = n / degree;
    const int j = static_cast<int>(n % degree);
    long double a, b;
    bounds(cell, a, b);
    return j == 0 ? a : a + (b - a) * static_cast<long double>(j) / static_cast<long double>(degree);
}

std::string encode(const std::vector<Piece>& pieces) {
    std::size_t valueBytes = 0;
    for (const Piece& p : pieces) {
        if (!validBody(p.body) || (p.coordinate != Longitude && p.coordinate != Latitude) ||
            (p.width != 2 && p.width != 4) || p.unit == 0)
            throw std::invalid_argument("supplement piece with an impossible description");
        const Grid g = p.grid();
        if (static_cast<long long>(p.values.size()) != g.valueCount())
            throw std::invalid_argument("supplement piece with " + std::to_string(p.values.size()) + " values for " +
                                        std::to_string(g.valueCount()) + " instants");
        for (std::int32_t v : p.values)
            if (p.width == 2 &&
                (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()))
                throw std::invalid_argument("supplement value outside its 16-bit field");
        valueBytes += p.values.size() * static_cast<std::size_t>(p.width);
    }
    const std::size_t blocks = (valueBytes + kBlockSize - 1) / kBlockSize;
    const std::size_t tableOffset = kHeaderSize;
    const std::size_t checksumOffset = tableOffset + pieces.size() * kPieceSize;
    const std::size_t dataOffset = checksumOffset + 4 * blocks;
    const std::size_t size = dataOffset + valueBytes;

    std::string bytes(size, '\0');
    auto* out = reinterpret_cast<std::uint8_t*>(bytes.data());
    std::size_t at = dataOffset;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        std::uint8_t* e = out + tableOffset + i * kPieceSize;
        putU8(e + 0, static_cast<std::uint8_t>(p.body));
        putU8(e + 1, static_cast<std::uint8_t>(p.coordinate));
        putU8(e + 2, static_cast<std::uint8_t>(p.degree));
        putU8(e + 3, static_cast<std::uint8_t>(p.width));
        putU8(e + 4, p.includesTo ? 1 : 0);
        putF64(e + 8, p.from);
        putF64(e + 16, p.to);
        putF64(e + 24, p.origin);
        putF64(e + 32, p.cellLength);
        putU32(e + 40, p.unit);
        putU64(e + 48, p.values.size());
        putU64(e + 56, at);
        for (std::int32_t v : p.values) {
            if (p.width == 2) putI16(out + at, static_cast<std::int16_t>(v));
            else putI32(out + at, v);
            at += static_cast<std::size_t>(p.width);
        }
    }
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t start = dataOffset + b * kBlockSize;
        putU32(out + checksumOffset + 4 * b, crc32(out + start, std::min<std::size_t>(kBlockSize, size - start)));
    }
    std::memcpy(out, kSignature, sizeof kSignature);
    putU32(out + 8, kVersion);
    putU32(out + 12, static_cast<std::uint32_t>(pieces.size()));
    putU32(out + 16, kBlockSize);
    putU32(out + 20, static_cast<std::uint32_t>(blocks));
    putU64(out + 24, size);
    putU64(out + 32, tableOffset);
    putU64(out + 40, checksumOffset);
    putU64(out + 48, dataOffset);
    const std::uint32_t crc = crc32(out + tableOffset, dataOffset - tableOffset, crc32(out, kHeaderChecked));
    putU32(out + 56, crc);
    return bytes;
}

// ---------------------------------------------------------------------------------------

struct File::Impl {
    struct Entry {
        Piece description;  // values left out
        Grid grid;
        double scale = 0;           // arc-seconds per stored unit
        std::size_t offset = 0;     // of the first value
        bool fromExcluded = false;  // `from` belongs to the previous piece
    };

    // The file stays open and its blocks of values are read when first needed, each checked
    // against its checksum once: a chart reads some thirty of the three thousand, and a read
    // costs a tenth of a page fault on a mapping. A file cut short while open is a damaged file,
    // not the end of the program.
    int fd = -1;
    std::size_t size = 0;
    std::size_t dataOffset = 0, checksumOffset = 0;
    std::size_t blocks = 0;
    std::vector<std::uint8_t> head;  // header, piece table and block checksums
    std::vector<Entry> entries;
    // First and one-past-last piece of each series; the piece the last lookup used.
    std::array<int, kSeriesBodies * 2> first{}, end{};
    mutable std::array<int, kSeriesBodies * 2> last{};
    mutable std::vector<std::unique_ptr<std::uint8_t[]>> loaded;  // verified blocks of values

    ~Impl() {
        if (fd >= 0) ::close(fd);
    }

    // Reads exactly n bytes at `offset`; a short read means the file changed under us.
    void readAt(const std::filesystem::path& path, std::uint8_t* out, std::size_t n, std::size_t offset) const {
        const ssize_t got = preadAll(fd, out, n, static_cast<off_t>(offset));
        if (got < 0) throw FileError::fromErrno(path, errno);
        if (static_cast<std::size_t>(got) < n) damaged(path, "el archivo se ha acortado desde que se abrió");
    }

    const std::uint8_t* block(const std::filesystem::path& path, std::size_t b) const {
        if (!loaded[b]) {
            const std::size_t start = dataOffset + b * kBlockSize;
            const std::size_t n = std::min<std::size_t>(kBlockSize, size - start);
            auto bytes = std::make_unique<std::uint8_t[]>(n);
            readAt(path, bytes.get(), n, start);
            if (crc32(bytes.get(), n) != getU32(head.data() + checksumOffset + 4 * b))
                damaged(path, "el bloque de valores " + std::to_string(b) + " no coincide con su suma de control");
            loaded[b] = std::move(bytes);
        }
        return loaded[b].get();
    }

    // The bytes [from, to) of the file's values, checked; `scratch` holds them when they
    // straddle two blocks.
    const std::uint8_t* values(const std::filesystem::path& path, std::size_t from, std::size_t to,
                               std::uint8_t* scratch) const {
        const std::size_t b = (from - dataOffset) >> kBlockBits, e = (to - 1 - dataOffset) >> kBlockBits;
        const std::size_t at = (from - dataOffset) & (kBlockSize - 1);
        if (b == e) return block(path, b) + at;
        std::size_t done = 0;
        for (std::size_t k = b; k <= e; ++k) {
            const std::size_t begin = k == b ? at : 0;
            const std::size_t stop = k == e ? ((to - 1 - dataOffset) & (kBlockSize - 1)) + 1 : kBlockSize;
            std::memcpy(scratch + done, block(path, k) + begin, stop - begin);
            done += stop - begin;
        }
        return scratch;
    }

    [[noreturn]] static void damaged(const std::filesystem::path& path, const std::string& what) {
        throw FileError(path, "suplemento de precision ilegible: " + what);
    }

    bool contains(const Entry& e, long double jd) const {
        const bool below = jd < e.grid.to || (e.description.includesTo && jd == e.grid.to);
        const bool above = jd > e.grid.from || (jd == e.grid.from && !e.fromExcluded);
        return below && above;
    }

    const Entry* find(int series, long double jd) const {
        int& cached = last[static_cast<std::size_t>(series)];
        if (cached >= 0 && contains(entries[static_cast<std::size_t>(cached)], jd))
            return &entries[static_cast<std::size_t>(cached)];
        for (int i = first[static_cast<std::size_t>(series)]; i < end[static_cast<std::size_t>(series)]; ++i)
            if (contains(entries[static_cast<std::size_t>(i)], jd)) {
                cached = i;
                return &entries[static_cast<std::size_t>(i)];
            }
        return nullptr;
    }
};

File::File(std::filesystem::path path) : path_(std::move(path)), impl_(std::make_unique<Impl>()) {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FileError::fromErrno(path_, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw FileError::fromErrno(path_, err);
    }
    Impl& m = *impl_;
    m.fd = fd;
    m.size = static_cast<std::size_t>(st.st_size);
    if (m.size < kHeaderSize) Impl::damaged(path_, "el archivo es demasiado corto");
    m.head.resize(kHeaderSize);
    m.readAt(path_, m.head.data(), kHeaderSize, 0);
    const std::uint8_t* h = m.head.data();

    if (std::memcmp(h, kSignature, sizeof kSignature) != 0 || getU32(h + 8) != kVersion)
        Impl::damaged(path_, "la cabecera no es la de este formato");
    const std::uint64_t declared = getU64(h + 24);
    if (declared != m.size)
        Impl::damaged(path_,
                      "mide " + std::to_string(m.size) + " bytes y su cabecera declara " + std::to_string(declared));
    const std::size_t pieces = getU32(h + 12);
    m.blocks = getU32(h + 20);
    const std::uint64_t tableOffset = getU64(h + 32);
    m.checksumOffset = getU64(h + 40);
    m.dataOffset = getU64(h + 48);
    if (getU32(h + 16) != kBlockSize || tableOffset != kHeaderSize ||
        m.checksumOffset != kHeaderSize + pieces * kPieceSize || m.dataOffset != m.checksumOffset + 4 * m.blocks ||
        m.dataOffset > m.size || m.blocks != (m.size - m.dataOffset + kBlockSize - 1) / kBlockSize)
        Impl::damaged(path_, "las medidas de la cabecera no concuerdan");
    m.head.resize(m.dataOffset);
    m.readAt(path_, m.head.data() + kHeaderSize, m.dataOffset - kHeaderSize, kHeaderSize);
    h = m.head.data();
    if (crc32(h + tableOffset, m.dataOffset - tableOffset, crc32(h, kHeaderChecked)) != getU32(h + 56))
        Impl::damaged(path_, "la cabecera o la tabla de piezas no coinciden con su suma de control");

    m.first.fill(0);
    m.end.fill(0);
    m.last.fill(-1);
    std::array<bool, kSeriesBodies * 2> seen{};
    int previous = -1;
    m.entries.reserve(pieces);
    for (std::size_t i = 0; i < pieces; ++i) {
        const std::uint8_t* e = h + tableOffset + i * kPieceSize;
        Impl::Entry entry;
        Piece& d = entry.description;
        d.body = getU8(e + 0);
        d.coordinate = getU8(e + 1);
        d.degree = getU8(e + 2);
        d.width = getU8(e + 3);
        d.includesTo = (getU8(e + 4) & 1) != 0;
        d.from = getF64(e + 8);
        d.to = getF64(e + 16);
        d.origin = getF64(e + 24);
        d.cellLength = getF64(e + 32);
        d.unit = getU32(e + 40);
        const std::uint64_t count = getU64(e + 48);
        entry.offset = getU64(e + 56);
        const std::string which = "la pieza " + std::to_string(i);
        if (!validBody(d.body) || d.coordinate > 1 || (d.width != 2 && d.width != 4) || d.unit == 0)
            Impl::damaged(path_, which + " describe una serie imposible");
        try {
            entry.grid = d.grid();
        } catch (const std::invalid_argument&) {
            Impl::damaged(path_, which + " tiene una rejilla imposible");
        }
        if (count != static_cast<std::uint64_t>(entry.grid.valueCount()) || entry.offset < m.dataOffset ||
            entry.offset > m.size || count > (m.size - entry.offset) / static_cast<std::uint64_t>(d.width))
            Impl::damaged(path_, which + " sale del archivo");
        entry.scale = static_cast<double>(d.unit) / 1.0e6;

        const int series = seriesIndex(d.body, d.coordinate);
        if (series == previous) {
            const Impl::Entry& before = m.entries.back();
            if (!(d.from >= before.description.to)) Impl::damaged(path_, which + " no sigue a la anterior");
            entry.fromExcluded = before.description.includesTo && d.from == before.description.to;
        } else {
            if (seen[static_cast<std::size_t>(series)]) Impl::damaged(path_, which + " no sigue a las de su serie");
            seen[static_cast<std::size_t>(series)] = true;
            m.first[static_cast<std::size_t>(series)] = static_cast<int>(i);
        }
        m.end[static_cast<std::size_t>(series)] = static_cast<int>(i) + 1;
        previous = series;
        m.entries.push_back(entry);
    }
    m.loaded.resize(m.blocks);
}

File::~File() = default;

bool File::lookupCell(int body, Coordinate coordinate, long double jd, double& arcseconds) const {
    arcseconds = 0;
    if (body < 0 || body >= kSeriesBodies || (coordinate != Longitude && coordinate != Latitude)) return false;
    const Impl::Entry* e = impl_->find(seriesIndex(body, coordinate), jd);
    if (!e) return false;

    const Grid& g = e->grid;
    long long k = static_cast<long long>(floorOf((jd - g.origin) / g.cellLength)) - g.firstCell;
    if (k < 0) k = 0;
    if (k > g.cellCount - 1) k = g.cellCount - 1;
    long double a, b;
    g.bounds(k, a, b);
    const int p = g.degree;
    const int width = e->description.width;
    const std::size_t at = e->offset + static_cast<std::size_t>(k * p) * static_cast<std::size_t>(width);
    std::uint8_t scratch[(kMaxDegree + 1) * 4];
    const std::uint8_t* stored =
        impl_->values(path_, at, at + static_cast<std::size_t>(p + 1) * static_cast<std::size_t>(width), scratch);
    double y[kMaxDegree + 1];
    for (int j = 0; j <= p; ++j) {
        const std::uint8_t* v = stored + static_cast<std::size_t>(j * width);
        y[j] = (width == 2 ? getI16(v) : getI32(v)) * e->scale;
    }
    Cell& cell = cells_[static_cast<std::size_t>(seriesIndex(body, coordinate))];
    const Basis& basis = kBases[static_cast<std::size_t>(p)];
    for (int i = 0; i <= p; ++i) {
        double sum = 0;
        for (int j = 0; j <= p; ++j) sum += basis[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] * y[j];
        cell.coefficient[i] = sum;
    }
    // Its ends, which may also end a piece, always take this way.
    cell.start = a;
    cell.end = b;
    cell.scale = static_cast<double>(static_cast<long double>(p) / (b - a));
    cell.degree = p;
    cell.last = p;
    arcseconds = cell.at(jd);
    return true;
}

std::vector<Piece> File::pieces() const {
    std::vector<Piece> out;
    for (const Impl::Entry& e : impl_->entries) out.push_back(e.description);
    return out;
}

std::int32_t File::storedValue(std::size_t piece, long long n) const {
    const Impl::Entry& e = impl_->entries.at(piece);
    if (n < 0 || n >= e.grid.valueCount()) throw std::out_of_range("supplement value beyond its piece");
    const std::size_t at = e.offset + static_cast<std::size_t>(n) * static_cast<std::size_t>(e.description.width);
    std::uint8_t scratch[4];
    const std::uint8_t* v = impl_->values(path_, at, at + static_cast<std::size_t>(e.description.width), scratch);
    return e.description.width == 2 ? getI16(v) : getI32(v);
}

// ---------------------------------------------------------------------------------------

namespace {

// 2 G M / c^2 of the Sun, in astronomical units: the deflection at one astronomical unit
// from the Sun, in radians, of a ray that grazes nothing.
constexpr double kSchwarzschild = 1.97412574336e-8;
// The Sun's radius seen from one astronomical unit, radians (959.63").
constexpr double kSolarRadius = 959.63 / 3600.0 * 3.14159265358979323846 / 180.0;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

// Share of the Sun's mass that deflects a ray passing at x solar radii from its centre:
// what lies within that radius seen along the line of sight. Two polytropes
// (1 - x^2)^6 and (1 - x^2)^29 weighted 0.37 and 0.63, fitted to the reference's deflection
// of planets seen through the disk (within 0.07").
double deflectingMass(double x) {
    const double u = 1.0 - x * x;
    const double u2 = u * u, u3 = u2 * u, u6 = u3 * u3;
    const double u12 = u6 * u6, u24 = u12 * u12;
    const double u29 = u24 * u3 * u2;
    return 1.0 - 0.37 * u6 - 0.63 * u29;
}

}  // namespace

// The deflection is at most a few arc-seconds and its geometry needs no more than a
// millionth: it is computed in double precision.
SunDirection SunDirection::at(long double longitude, long double distance) {
    SunDirection s;
    double sl, cl;
    trig::sinCosDeg(static_cast<double>(longitude), sl, cl);
    s.cosLongitude = static_cast<double>(cl);
    s.sinLongitude = static_cast<double>(sl);
    s.distance = static_cast<double>(distance);
    return s;
}

double deflectionWeight(double cosElongation) {
    constexpr double kCos10 = 0.984807753012208059;
    constexpr double kCos15 = 0.965925826289068287;
    if (cosElongation <= kCos15) return 0;
    if (cosElongation >= kCos10) return 1;
    const double t = (cosElongation - kCos15) / (kCos10 - kCos15);
    return t * t * (3.0 - 2.0 * t);
}

Deflection deflection(long double longitude, long double latitude, long double distance, const SunDirection& sun) {
    double sl, cl, sb, cb;
    trig::sinCosDeg(static_cast<double>(longitude), sl, cl);
    trig::sinCosDeg(static_cast<double>(latitude), sb, cb);
    const double sinL = static_cast<double>(sl), cosL = static_cast<double>(cl);
    const double sinB = static_cast<double>(sb), cosB = static_cast<double>(cb);
    // Unit vectors: the body from the Earth (p), the Sun from the Earth (s, in the
    // ecliptic), the body from the Sun (q); the Earth from the Sun is -s.
    const double px = cosB * cosL, py = cosB * sinL, pz = sinB;
    const double sx = sun.cosLongitude, sy = sun.sinLongitude;
    const double R = sun.distance, D = static_cast<double>(distance);
    const double hx = D * px - R * sx, hy = D * py - R * sy, hz = D * pz;
    const double inverse = 1.0 / std::sqrt(hx * hx + hy * hy + hz * hz);
    const double qx = hx * inverse, qy = hy * inverse, qz = hz * inverse;
    const double pq = px * qx + py * qy + pz * qz;
    const double ps = px * sx + py * sy;  // cosine of the elongation
    const double qs = qx * sx + qy * sy;
    const double denominator = R * (1.0 - qs);  // R (1 + q.e)
    Deflection d;
    if (!(denominator > 1.0e-15)) return d;  // exactly behind the Sun's centre: no direction
    double g = kSchwarzschild / denominator;
    // Through the disk: the elongation in solar radii.
    const double cross = py * sx - px * sy;
    const double sinE2 = cross * cross + pz * pz;
    const double radius = kSolarRadius / R;
    if (ps > 0 && sinE2 < radius * radius) g *= deflectingMass(std::sqrt(sinE2) / radius);
    // p' = p + g ((p.q) e - (e.p) q), e = -s
    const double dx = g * (ps * qx - pq * sx), dy = g * (ps * qy - pq * sy), dz = g * ps * qz;
    d.longitude = (cosL * dy - sinL * dx) / cosB / kDegToRad;
    d.latitude = (cosB * dz - sinB * (cosL * dx + sinL * dy)) / kDegToRad;
    return d;
}

}  // namespace athanor::supplement

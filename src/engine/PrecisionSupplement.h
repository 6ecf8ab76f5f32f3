#pragma once
// FilePosi\DSUP.rnd, the precision supplement: what is left between the sky and the
// engine's theories once the three correction files are applied, as piecewise polynomials
// of time, and the Sun's deflection of light, which is too sharp for any table. A folder
// without the file computes exactly what the theories and the three files give. The
// layout is described in docs/accuracy.md.
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace athanor::supplement {

inline constexpr const char* kFileName = "FilePosi\\DSUP.rnd";

enum Coordinate : int { Longitude = 0, Latitude = 1 };

// The cells of a piece: the cells of the grid origin + k cellLength that meet [from, to],
// the first one starting at `from` and the last one ending at `to`. Each cell holds its
// polynomial by its values at degree + 1 equally spaced instants, its ends included; a
// cell's last value is the next cell's first.
struct Grid {
    long double from = 0, to = 0, origin = 0, cellLength = 1;
    int degree = 1;
    long long firstCell = 0;  // grid index of the first cell
    long long cellCount = 1;

    static Grid make(double from, double to, double origin, double cellLength, int degree);
    long long valueCount() const { return 1 + cellCount * degree; }
    // Start and end of cell i (0-based within the piece).
    void bounds(long long i, long double& start, long double& end) const;
    // Instant of value n (0 .. valueCount() - 1).
    long double instant(long long n) const;
};

// One piece of a series, as the generator writes it.
struct Piece {
    int body = 0;  // engine body index: 1 Sun, 3..10, 11 true node, 15..19
    int coordinate = Longitude;
    int degree = 3;           // 1..7
    int width = 2;            // bytes per value: 2 or 4
    bool includesTo = false;  // the instant `to` belongs to this piece, not to the next
    double from = 0, to = 0;  // Julian days (UT)
    double origin = 0, cellLength = 1;
    std::uint32_t unit = 10000;        // micro-arcseconds per stored unit
    std::vector<std::int32_t> values;  // Grid::valueCount() of them

    Grid grid() const { return Grid::make(from, to, origin, cellLength, degree); }
};

// The bytes of a supplement file holding these pieces, in this order (each series' pieces
// consecutive and by date).
std::string encode(const std::vector<Piece>& pieces);

// The file, mapped into memory. Opening checks the header, the piece table and the size;
// each block of values is checked against its checksum the first time a lookup reads it.
// A damaged or truncated file throws FileError, naming the file. Not for two threads at once.
class File {
public:
    explicit File(std::filesystem::path path);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Arc-seconds to add to the coordinate of the body at jd; false (and 0) where no piece
    // covers jd. A chart asks some fifty times, mostly within the cell asked last.
    bool lookup(int body, Coordinate coordinate, long double jd, double& arcseconds) const {
        if (body >= 0 && body < kBodies && (coordinate == Longitude || coordinate == Latitude)) {
            const Cell& cell = cells_[static_cast<std::size_t>(body * 2 + coordinate)];
            if (cell.start < jd && jd < cell.end) {
                arcseconds = cell.at(jd);
                return true;
            }
        }
        return lookupCell(body, coordinate, jd, arcseconds);
    }

    // The layout, values left out (for the generator and the tests).
    std::vector<Piece> pieces() const;
    // Stored value n of piece i, as written.
    std::int32_t storedValue(std::size_t piece, long long n) const;

    const std::filesystem::path& path() const { return path_; }

    static constexpr int kMaxDegree = 7;
    static constexpr int kBodies = 25;

private:
    // The cell a series used last, as polynomial coefficients in u, the position in node
    // steps. Every value comes from a cell so prepared, whether just prepared or kept, so
    // results do not depend on what was looked up before. Corrections of at most a few
    // degrees wanted to a thousandth of an arc-second: double precision is ample.
    struct Cell {
        long double start = 0, end = 0;  // open interval served from here; empty at first
        double scale = 0;                // node steps per day
        double coefficient[kMaxDegree + 1] = {};
        int degree = 1;
        double last = 1;  // the degree, the last node
        double at(long double jd) const {
            double u = static_cast<double>(jd - start) * scale;
            if (u < 0) u = 0;
            if (u > last) u = last;
            const double* c = coefficient;
            switch (degree) {  // Horner, unrolled
            case 1:
                return c[0] + u * c[1];
            case 2:
                return c[0] + u * (c[1] + u * c[2]);
            case 3:
                return c[0] + u * (c[1] + u * (c[2] + u * c[3]));
            case 4:
                return c[0] + u * (c[1] + u * (c[2] + u * (c[3] + u * c[4])));
            case 5:
                return c[0] + u * (c[1] + u * (c[2] + u * (c[3] + u * (c[4] + u * c[5]))));
            case 6:
                return c[0] + u * (c[1] + u * (c[2] + u * (c[3] + u * (c[4] + u * (c[5] + u * c[6])))));
            default:
                return c[0] + u * (c[1] + u * (c[2] + u * (c[3] + u * (c[4] + u * (c[5] + u * (c[6] + u * c[7]))))));
            }
        }
    };
    bool lookupCell(int body, Coordinate coordinate, long double jd, double& arcseconds) const;

    struct Impl;
    std::filesystem::path path_;
    std::unique_ptr<Impl> impl_;
    mutable std::array<Cell, kBodies * 2> cells_{};
};

// The Sun's deflection of light, added to a body's apparent geocentric direction. Degrees,
// except the distances (AU): the body's geocentric distance and the Earth-Sun distance.
// Seen through the solar disk only the Sun's mass within the line of sight deflects.
struct Deflection {
    double longitude = 0, latitude = 0;
};
struct SunDirection {
    double cosLongitude = 1, sinLongitude = 0, distance = 1;
    static SunDirection at(long double longitude, long double distance);
};
Deflection deflection(long double longitude, long double latitude, long double distance, const SunDirection& sun);

// The share of the deflection the engine applies, by the cosine of the elongation: all of
// it within 10 degrees of the Sun, none beyond 15 degrees (where it is below 0.031"), a
// smooth step between, so that positions stay continuous.
double deflectionWeight(double cosElongation);

}  // namespace athanor::supplement

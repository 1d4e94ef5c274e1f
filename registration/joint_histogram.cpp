#include "registration/joint_histogram.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "core/planes.hpp"

#include "registration/joint_histogram_detail.hpp"

namespace nrx {

namespace detail {

const float jitter_table[97] = {
    0.656619f,  0.891183f,  0.488144f,  0.992646f,  0.373326f,   0.531378f,  0.181316f,  0.501944f,
    0.422195f,  0.660427f,  0.673653f,  0.95733f,   0.191866f,   0.111216f,  0.565054f,  0.969166f,
    0.0237439f, 0.870216f,  0.0268766f, 0.519529f,  0.192291f,   0.715689f,  0.250673f,  0.933865f,
    0.137189f,  0.521622f,  0.895202f,  0.942387f,  0.335083f,   0.437364f,  0.471156f,  0.14931f,
    0.135864f,  0.532498f,  0.725789f,  0.398703f,  0.358419f,   0.285279f,  0.868635f,  0.626413f,
    0.241172f,  0.978082f,  0.640501f,  0.229849f,  0.681335f,   0.665823f,  0.134718f,  0.0224933f,
    0.262199f,  0.116515f,  0.0693182f, 0.85293f,   0.180331f,   0.0324186f, 0.733926f,  0.536517f,
    0.27603f,   0.368458f,  0.0128863f, 0.889206f,  0.866021f,   0.254247f,  0.569481f,  0.159265f,
    0.594364f,  0.3311f,    0.658613f,  0.863634f,  0.567623f,   0.980481f,  0.791832f,  0.152594f,
    0.833027f,  0.191863f,  0.638987f,  0.669f,     0.772088f,   0.379818f,  0.441585f,  0.48306f,
    0.608106f,  0.175996f,  0.00202556f, 0.790224f, 0.513609f,   0.213229f,  0.10345f,   0.157337f,
    0.407515f,  0.407757f,  0.0526927f, 0.941815f,  0.149972f,   0.384374f,  0.311059f,  0.168534f,
    0.896648f,
};

}  // namespace detail

namespace {

// Trilinear value of the 8-bit volume f, which fills `grid`, at the
// one-based point (x, y, z), in double precision. The x and y weights are
// single precision, the z weight is exact. Requires 1 <= x < nx,
// 1 <= y < ny and 1 <= z < nz; makes no bounds test of its own.
double sample_trilinear(const Grid3& grid, const std::uint8_t* f, float x, float y, float z)
{
    // x, y, z >= 1: truncation is the floor.
    const std::int32_t ix = static_cast<std::int32_t>(x);
    const std::int32_t iy = static_cast<std::int32_t>(y);
    const std::int32_t iz = static_cast<std::int32_t>(z);
    const float dx1 = x - static_cast<float>(ix);
    const float dx2 = 1.0f - dx1;
    const float dy1 = y - static_cast<float>(iy);
    const float dy2 = 1.0f - dy1;
    const double dz1 = static_cast<double>(z) - iz;
    const double dz2 = 1.0 - dz1;

    const std::int64_t sx = grid.step({1, 0, 0});
    const std::int64_t sy = grid.step({0, 1, 0});
    const std::int64_t sz = grid.step({0, 0, 1});
    const std::uint8_t* v = f + grid.index(ix - 1, iy - 1, iz - 1);
    const double p0 = (v[0] * static_cast<double>(dx2) + v[sx] * static_cast<double>(dx1)) * dy2 +
                      (v[sy] * static_cast<double>(dx2) + v[sx + sy] * static_cast<double>(dx1)) * dy1;
    v += sz;
    const double p1 = (v[0] * static_cast<double>(dx2) + v[sx] * static_cast<double>(dx1)) * dy2 +
                      (v[sy] * static_cast<double>(dx2) + v[sx + sy] * static_cast<double>(dx1)) * dy1;
    return p0 * dz2 + p1 * dz1;
}

// The grid coordinate along an axis of d voxels with skip s runs while it is
// below d - s. The difference is taken in double: where it is not exact, s is
// so small beside d that no float lies between it and d - s, so a float
// coordinate compares with it as with the true difference.
double grid_end(std::int32_t d, float s) { return static_cast<double>(d) - static_cast<double>(s); }

// The grid coordinates along one axis, as the walk's single-precision loop
// reaches them.
std::vector<float> walk_coordinates(std::int32_t d, float s)
{
    std::vector<float> coordinates;
    const double end = grid_end(d, s);
    for (float c = 1.0f; c < end; c += s) coordinates.push_back(c);
    return coordinates;
}

// 1 <= c < n on every axis, z first; NaN fails.
bool inside(const Grid3& grid, float x, float y, float z)
{
    return z >= 1.0f && z < static_cast<double>(grid.nz) && y >= 1.0f && y < static_cast<double>(grid.ny) &&
           x >= 1.0f && x < static_cast<double>(grid.nx);
}

// One row of m applied to the point, summed in double, rounded to single.
float map_row(const double m[16], int r, float x, float y, float z)
{
    return static_cast<float>(m[r] * x + m[r + 4] * y + m[r + 8] * z + m[r + 12]);
}

// What one grid point adds to the histogram: 1 - f to element `cell`
// (row i, column j: i + 256j) and f to the row below, or nothing when cell
// is negative.
struct Contribution {
    std::int32_t cell;
    float f;
};

// Each axis's skip times each jitter table entry, in double, as the walk
// adds them to its coordinates; the table's first three entries are repeated
// after its end, so that entries p+1 .. p+3 for p < 97 are read without
// wrapping.
struct JitterSteps {
    double axis[3][97 + 3];

    explicit JitterSteps(const float s[3])
    {
        for (int k = 0; k < 3; ++k)
            for (int q = 0; q < 97 + 3; ++q) axis[k][q] = static_cast<double>(s[k]) * detail::jitter_table[q % 97];
    }
};

struct JointHistogramInputs {
    const double* m;
    const std::uint8_t* v1;
    Grid3 grid1;
    const std::uint8_t* v2;
    Grid3 grid2;
    JitterSteps jitter;
};

// The contribution of grid point (x, y, z), jittered by table entries p+1,
// p+2, p+3 (mod 97), for 0 <= p < 97.
Contribution contribution(const JointHistogramInputs& in, float x, float y, float z, int p)
{
    const float rx = static_cast<float>(x + in.jitter.axis[0][p + 1]);
    const float ry = static_cast<float>(y + in.jitter.axis[1][p + 2]);
    const float rz = static_cast<float>(z + in.jitter.axis[2][p + 3]);
    const Contribution none{-1, 0.0f};

    // The jittered point lies exactly below x + s, itself below the first
    // volume's size; only its rounding to single can carry it onto (or, on
    // axes longer than 2^24 voxels, past) the far face.
    if (!inside(in.grid1, rx, ry, rz)) return none;

    const float vx = map_row(in.m, 0, rx, ry, rz);
    const float vy = map_row(in.m, 1, rx, ry, rz);
    const float vz = map_row(in.m, 2, rx, ry, rz);
    if (!inside(in.grid2, vx, vy, vz)) return none;

    // Both interpolated values lie in [0, 255]: truncation is the floor.
    const float vf = static_cast<float>(sample_trilinear(in.grid2, in.v2, vx, vy, vz));
    const std::int32_t i = static_cast<std::int32_t>(vf);
    const float f = vf - static_cast<float>(i);
    const double vg = sample_trilinear(in.grid1, in.v1, rx, ry, rz);
    const std::int32_t j = static_cast<std::int32_t>(vg + 0.5);
    return {i + 256 * j, f};
}

// The walk's grid points, z outermost, x innermost; row r is the one at
// y[r % ny], z[r / ny].
struct Walk {
    std::vector<float> x, y, z;

    std::int64_t rows() const { return static_cast<std::int64_t>(z.size()) * static_cast<std::int64_t>(y.size()); }
    std::int64_t row_length() const { return static_cast<std::int64_t>(x.size()); }
};

// A place in the walk: point `ix` of row `row`.
struct WalkPosition {
    std::int64_t row;
    std::int64_t ix;

    WalkPosition ahead(std::int64_t points, std::int64_t row_length) const
    {
        const std::int64_t to = ix + points;
        return {row + to / row_length, to % row_length};
    }
};

// The contributions of up to `count` points from `from` on, as far as the
// walk goes; returns how many.
std::int64_t walk_contributions(const JointHistogramInputs& in, const Walk& walk, WalkPosition from,
                                std::int64_t count, Contribution* out)
{
    const std::int64_t rows = walk.rows(), row_length = walk.row_length();
    const std::int64_t ny = static_cast<std::int64_t>(walk.y.size());
    // Point n of the walk (from 0) takes table entries 3n+1 .. 3n+3.
    int p = static_cast<int>(3 * ((from.row % 97) * (row_length % 97) + from.ix % 97) % 97);
    std::int64_t done = 0;
    for (std::int64_t row = from.row; row < rows && done < count; ++row) {
        const float y = walk.y[row % ny];
        const float z = walk.z[row / ny];
        for (std::int64_t ix = row == from.row ? from.ix : 0; ix < row_length && done < count; ++ix) {
            out[done++] = contribution(in, walk.x[ix], y, z, p);
            p = p + 3 < 97 ? p + 3 : p + 3 - 97;
        }
    }
    return done;
}

// Grid points per piece of work.
constexpr std::int64_t piece_points = 4096;

// The pieces of the walk's next batch from `first`: at most batch_pieces.
std::int64_t batch_size(const Walk& walk, WalkPosition first, std::int64_t batch_pieces)
{
    const std::int64_t row_length = walk.row_length();
    const std::int64_t rows_left = walk.rows() - first.row;
    if (rows_left > batch_pieces * piece_points / row_length + 1) return batch_pieces;
    const std::int64_t points_left = rows_left * row_length - first.ix;
    return std::min(batch_pieces, (points_left + piece_points - 1) / piece_points);
}

// A piece's contributions: piece_points slots, the first `count` of them filled.
struct Piece {
    std::unique_ptr<Contribution[]> slots;  // left unset until the walk writes them
    std::int64_t count = 0;
};

void add_contributions(const Piece& piece, double h[256 * 256])
{
    for (std::int64_t k = 0; k < piece.count; ++k) {
        const Contribution& c = piece.slots[k];
        if (c.cell < 0) continue;
        h[c.cell] += 1.0 - c.f;
        if (c.cell % 256 < 255) h[c.cell + 1] += c.f;
    }
}

}  // namespace

namespace detail {

void joint_histogram_in_batches(const double m[16], const std::uint8_t* v1, const Grid3& grid1,
                                const std::uint8_t* v2, const Grid3& grid2, const float s[3], double h[256 * 256],
                                std::int64_t batch_pieces)
{
    std::fill(h, h + 256 * 256, 0.0);
    const JointHistogramInputs in{m, v1, grid1, v2, grid2, JitterSteps(s)};
    const Walk walk{walk_coordinates(grid1.nx, s[0]), walk_coordinates(grid1.ny, s[1]),
                    walk_coordinates(grid1.nz, s[2])};
    const std::int64_t row_length = walk.row_length();
    if (row_length == 0) return;

    // A piece's contributions live from its sampling, on any thread, until
    // the calling thread has added them, in walk order.
    for (WalkPosition first{0, 0}; first.row < walk.rows();
         first = first.ahead(batch_pieces * piece_points, row_length)) {
        std::vector<Piece> pieces(static_cast<std::size_t>(batch_size(walk, first, batch_pieces)));
        for_each_plane(
            static_cast<std::int64_t>(pieces.size()),
            [&](std::int64_t q) {
                Piece& piece = pieces[q];
                piece.slots.reset(new Contribution[piece_points]);
                piece.count = walk_contributions(in, walk, first.ahead(q * piece_points, row_length), piece_points,
                                                 piece.slots.get());
            },
            [&](std::int64_t q) {
                add_contributions(pieces[q], h);
                pieces[q].slots.reset();
                return true;
            });
    }
}

}  // namespace detail

void joint_histogram(const double m[16], const std::uint8_t* v1, const Grid3& grid1, const std::uint8_t* v2,
                     const Grid3& grid2, const float s[3], double h[256 * 256])
{
    // Scheduling pieces a batch at a time bounds the bookkeeping (a few bytes
    // per piece) of very long walks; each batch ends with every thread
    // waiting for its last piece, so the walks of any usual call (up to 2^28
    // points) are one batch.
    detail::joint_histogram_in_batches(m, v1, grid1, v2, grid2, s, h, std::int64_t{1} << 16);
}

bool grid_walk_ends(const Grid3& grid1, const float s[3])
{
    // z is the outermost loop: an axis without a grid point ends the walk
    // however the axes inside it behave.
    const std::int32_t size[3] = {grid1.nx, grid1.ny, grid1.nz};
    for (int k = 2; k >= 0; --k) {
        const double end = grid_end(size[k], s[k]);
        if (!(1.0 < end)) return true;
        // The largest coordinate the loop can reach is the largest float
        // below its end. Adding s moves every coordinate up to there only if
        // s is more than half the float spacing at it: exactly half rounds
        // an even coordinate back to itself, and the walk meets one.
        float last = static_cast<float>(end);
        if (last >= end) last = std::nextafter(last, -std::numeric_limits<float>::infinity());
        const float spacing = std::nextafter(last, std::numeric_limits<float>::infinity()) - last;
        if (!(s[k] > spacing / 2.0f)) return false;
    }
    return true;
}

}  // namespace nrx

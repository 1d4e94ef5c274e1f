#include "geometry/warp_jacobian.hpp"
#include "geometry/warp_jacobian_detail.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace {

struct Field {
    std::int32_t dim[3];
    std::vector<float> c[3];

    Field(std::int32_t nx, std::int32_t ny, std::int32_t nz) : dim{nx, ny, nz}
    {
        for (auto& v : c) v.assign(static_cast<std::size_t>(nx) * ny * nz, 0.0f);
    }
    std::size_t index(int i, int j, int k) const { return i + dim[0] * (j + static_cast<std::size_t>(dim[1]) * k); }
};

struct Result {
    std::vector<float> out;
    int planes = 0;
};

Result run(const Field& f, const float m[3][4], nrx::KeepGoing keep_going = nullptr, bool* finished = nullptr)
{
    Result r;
    r.out.assign(f.c[0].size(), 123.0f);
    const float* field[3] = {f.c[0].data(), f.c[1].data(), f.c[2].data()};
    const nrx::Grid3 grid{f.dim[0], f.dim[1], f.dim[2]};
    const bool done = nrx::jacobian_determinants(field, grid, m, r.out.data(), [&] { ++r.planes; }, keep_going);
    if (finished != nullptr) *finished = done;
    return r;
}

bool on_border(const Field& f, int i, int j, int k)
{
    return i == 0 || j == 0 || k == 0 || i == f.dim[0] - 1 || j == f.dim[1] - 1 || k == f.dim[2] - 1;
}

// A rotation, anisotropic scaling and translation. The kernel's single-precision
// products of field values (tens of units here) with the inverse corner
// matrices cancel the translation, which costs a few units in the fifth digit.
const float skewed_grid[3][4] = {{1.2f, 0.3f, 0.0f, -40.5f}, {-0.2f, 0.9f, 0.1f, 12.25f}, {0.0f, -0.15f, 2.1f, 7.0f}};

Field mapped_positions(std::int32_t nx, std::int32_t ny, std::int32_t nz, const float m[3][4], float scale)
{
    Field f(nx, ny, nz);
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i)
                for (int r = 0; r < 3; ++r)
                    f.c[r][f.index(i, j, k)] = scale * (m[r][0] * i + m[r][1] * j + m[r][2] * k + m[r][3]);
    return f;
}

TEST(WarpJacobian, MappedPositionsGiveOneInsideAndNanOnTheBorder)
{
    const Field f = mapped_positions(7, 6, 5, skewed_grid, 1.0f);
    const Result r = run(f, skewed_grid);
    EXPECT_EQ(r.planes, 3);
    for (int k = 0; k < 5; ++k)
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 7; ++i) {
                const float v = r.out[f.index(i, j, k)];
                if (on_border(f, i, j, k)) {
                    EXPECT_TRUE(std::isnan(v)) << i << "," << j << "," << k;
                } else {
                    EXPECT_NEAR(v, 1.0f, 2e-4f) << i << "," << j << "," << k;
                }
            }
}

TEST(WarpJacobian, DoubledFieldGivesEightAndSwappedComponentsFlipTheSign)
{
    Field f = mapped_positions(6, 5, 6, skewed_grid, 2.0f);
    const Result doubled = run(f, skewed_grid);
    std::swap(f.c[0], f.c[1]);
    const Result swapped = run(f, skewed_grid);
    for (int k = 1; k < 5; ++k)
        for (int j = 1; j < 4; ++j)
            for (int i = 1; i < 5; ++i) {
                EXPECT_NEAR(doubled.out[f.index(i, j, k)], 8.0f, 2e-3f);
                EXPECT_NEAR(swapped.out[f.index(i, j, k)], -8.0f, 2e-3f);
            }
}

// Straightforward double-precision reference built from the geometry of the
// alternating five-tetrahedra cut, not from the kernel's tables: in every
// cube the central tetrahedron joins the four corners with even index sum,
// and each odd-sum corner forms a corner tetrahedron with its three
// neighbours along the cube's edges.
double reference_value(const Field& f, const float m[3][4], int i, int j, int k)
{
    auto position = [&](int x, int y, int z, int r) {
        return static_cast<double>(m[r][0]) * x + static_cast<double>(m[r][1]) * y + static_cast<double>(m[r][2]) * z +
               m[r][3];
    };
    auto det3 = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    auto tetrahedron = [&](const int (*corner)[3], double& num, double& den) {
        double dp[3][3], dy[3][3];
        for (int q = 1; q < 4; ++q)
            for (int r = 0; r < 3; ++r) {
                dp[r][q - 1] = position(corner[q][0], corner[q][1], corner[q][2], r) -
                               position(corner[0][0], corner[0][1], corner[0][2], r);
                dy[r][q - 1] = static_cast<double>(f.c[r][f.index(corner[q][0], corner[q][1], corner[q][2])]) -
                               f.c[r][f.index(corner[0][0], corner[0][1], corner[0][2])];
            }
        const double volume = std::fabs(det3(dp)) / 6.0;
        num += det3(dy) / det3(dp) * volume;
        den += volume;
    };
    const bool even = (i + j + k) % 2 == 0;
    double num = 0.0, den = 0.0;
    for (int ox = -1; ox <= 0; ++ox)
        for (int oy = -1; oy <= 0; ++oy)
            for (int oz = -1; oz <= 0; ++oz) {
                const int cube[3] = {i + ox, j + oy, k + oz};
                std::vector<std::vector<int>> evens;
                std::vector<std::vector<int>> odds;
                for (int a = 0; a < 2; ++a)
                    for (int b = 0; b < 2; ++b)
                        for (int c = 0; c < 2; ++c) {
                            std::vector<int> p = {cube[0] + a, cube[1] + b, cube[2] + c};
                            ((p[0] + p[1] + p[2]) % 2 == 0 ? evens : odds).push_back(p);
                        }
                if (even) {
                    int central[4][3];
                    for (int q = 0; q < 4; ++q)
                        for (int r = 0; r < 3; ++r) central[q][r] = evens[q][r];
                    tetrahedron(central, num, den);
                }
                for (const auto& apex : odds) {
                    int tet[4][3] = {{apex[0], apex[1], apex[2]}};
                    int n = 1;
                    bool has_voxel = apex[0] == i && apex[1] == j && apex[2] == k;
                    for (const auto& e : evens) {
                        const int distance = std::abs(e[0] - apex[0]) + std::abs(e[1] - apex[1]) + std::abs(e[2] - apex[2]);
                        if (distance == 1) {
                            for (int r = 0; r < 3; ++r) tet[n][r] = e[r];
                            has_voxel = has_voxel || (e[0] == i && e[1] == j && e[2] == k);
                            ++n;
                        }
                    }
                    if (has_voxel) tetrahedron(tet, num, den);
                }
            }
    return num / den;
}

TEST(WarpJacobian, RandomNonAffineFieldMatchesTheGeometricReference)
{
    std::mt19937 generator(20261209);
    std::uniform_real_distribution<float> jitter(-0.3f, 0.3f);
    Field f = mapped_positions(6, 7, 6, skewed_grid, 1.0f);
    for (auto& component : f.c)
        for (float& v : component) v += jitter(generator);
    const Result r = run(f, skewed_grid);
    for (int k = 1; k < 5; ++k)
        for (int j = 1; j < 6; ++j)
            for (int i = 1; i < 5; ++i) {
                const double expected = reference_value(f, skewed_grid, i, j, k);
                EXPECT_NEAR(r.out[f.index(i, j, k)], expected, 1e-3 * std::fabs(expected))
                    << i << "," << j << "," << k;
            }
}

TEST(WarpJacobian, TablesGiveTheIdentityGridUnitCornerAndDoubleCentralVolumes)
{
    const float identity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    const nrx::Grid3 grid{10, 10, 10};
    using nrx::detail::even_voxel_tetrahedra, nrx::detail::odd_voxel_tetrahedra, nrx::detail::tetrahedron_record;
    for (int t = 0; t < 32; ++t) {
        const auto record = tetrahedron_record(grid, even_voxel_tetrahedra[t], identity);
        EXPECT_FLOAT_EQ(record.w, t % 4 == 3 ? 2.0f / 6.0f : 1.0f / 6.0f) << "even " << t;
    }
    for (int t = 0; t < 8; ++t) {
        const auto record = tetrahedron_record(grid, odd_voxel_tetrahedra[t], identity);
        EXPECT_FLOAT_EQ(record.w, 1.0f / 6.0f) << "odd " << t;
        EXPECT_EQ(record.o1, odd_voxel_tetrahedra[t][0][0] +
                                 10 * (odd_voxel_tetrahedra[t][0][1] + 10 * odd_voxel_tetrahedra[t][0][2]));
    }
}

TEST(WarpJacobian, VolumesWithoutInteriorAreAllNan)
{
    const float identity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    // Second dimension 2: planes are still walked (and reported), but hold no interior row.
    for (auto dims : std::vector<std::vector<int>>{{5, 2, 4}, {4, 4, 1}, {1, 5, 5}, {2, 3, 3}, {0, 4, 4}}) {
        const Field f = mapped_positions(dims[0], dims[1], dims[2], identity, 1.0f);
        const Result r = run(f, identity);
        EXPECT_EQ(r.planes, std::max(dims[2] - 2, 0));
        for (float v : r.out) EXPECT_TRUE(std::isnan(v));
    }
}

TEST(WarpJacobian, SingularGridMatrixMakesEveryVoxelNan)
{
    const float singular[3][4] = {{0, 0, 0, 1}, {0, 0, 0, 2}, {0, 0, 0, 3}};
    const Field f = mapped_positions(4, 4, 4, skewed_grid, 1.0f);
    const Result r = run(f, singular);
    for (float v : r.out) EXPECT_TRUE(std::isnan(v));
}

// Bit patterns, so that NaN signs and payloads count.
bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// One voxel at a time, every tetrahedron in table order: the arithmetic of
// the definition, which the lanes must reproduce bit for bit.
float voxel_by_voxel(const Field& f, const float m[3][4], int i, int j, int k)
{
    const nrx::Grid3 grid{f.dim[0], f.dim[1], f.dim[2]};
    const bool even = (i + j + k) % 2 == 0;
    const auto* table = even ? nrx::detail::even_voxel_tetrahedra : nrx::detail::odd_voxel_tetrahedra;
    const std::int64_t e = f.index(i, j, k);
    float num = 0.0f, den = 0.0f;
    for (int t = 0; t < (even ? 32 : 8); ++t) {
        const auto record = nrx::detail::tetrahedron_record(grid, table[t], m);
        const std::int64_t corner[4] = {e, e + record.o1, e + record.o2, e + record.o3};
        float l[3][3];
        for (int r = 0; r < 3; ++r)
            for (int s = 0; s < 3; ++s) {
                const float* b = record.B + 4 * s;
                const auto& y = f.c[r];
                l[r][s] = y[corner[0]] * b[0] + y[corner[1]] * b[1] + y[corner[2]] * b[2] + y[corner[3]] * b[3];
            }
        const float d = l[0][0] * (l[1][1] * l[2][2] - l[2][1] * l[1][2]) +
                        l[0][1] * (l[1][2] * l[2][0] - l[2][2] * l[1][0]) +
                        l[0][2] * (l[1][0] * l[2][1] - l[2][0] * l[1][1]);
        num = num + d * record.w;
        den = den + record.w;
    }
    return num / den;
}

// Odd sizes, rows of more than one 64-voxel lane block per parity, and a few
// NaN and infinite field values.
Field rough_field()
{
    Field f = mapped_positions(141, 7, 6, skewed_grid, 1.0f);
    std::mt19937 generator(5);
    std::uniform_real_distribution<float> jitter(-0.4f, 0.4f);
    for (auto& component : f.c)
        for (float& v : component) v += jitter(generator);
    // Infinities, and NaN with the bits of those the processor makes from
    // them: where two NaNs meet, which one an operation passes on depends on
    // the operand order the compiler picks, so only NaNs that all have one
    // pattern give results of defined bits.
    volatile float infinity = std::numeric_limits<float>::infinity();
    const float special[3] = {infinity - infinity, infinity, -infinity};
    std::uniform_int_distribution<std::size_t> place(0, f.c[0].size() - 1);
    for (int n = 0; n < 60; ++n) f.c[n % 3][place(generator)] = special[n / 3 % 3];
    return f;
}

TEST(WarpJacobian, EveryRowVariantGivesTheVoxelByVoxelBits)
{
    const Field f = rough_field();
    const nrx::Grid3 grid{f.dim[0], f.dim[1], f.dim[2]};
    using namespace nrx::detail;
    const ParityStencil stencils[2] = {parity_stencil(grid, even_voxel_tetrahedra, 32, skewed_grid),
                                       parity_stencil(grid, odd_voxel_tetrahedra, 8, skewed_grid)};
    EXPECT_EQ(stencils[0].corner_count, 19);
    EXPECT_EQ(stencils[1].corner_count, 7);
    std::vector<ParityRow> variants = {parity_row_baseline};
    if (nrx::runs(nrx::Vectors::avx2)) variants.push_back(parity_row_avx2);
    const float* field[3] = {f.c[0].data(), f.c[1].data(), f.c[2].data()};
    for (ParityRow variant : variants) {
        std::vector<float> out(f.c[0].size(), 0.0f);
        for (int k = 1; k < f.dim[2] - 1; ++k)
            for (int j = 1; j < f.dim[1] - 1; ++j)
                for (int i = 1; i <= 2; ++i) {
                    const std::int64_t e = f.index(i, j, k);
                    variant(field, e, (f.dim[0] - i) / 2, stencils[(i + j + k) % 2], out.data() + e);
                }
        for (int k = 1; k < f.dim[2] - 1; ++k)
            for (int j = 1; j < f.dim[1] - 1; ++j)
                for (int i = 1; i < f.dim[0] - 1; ++i)
                    ASSERT_TRUE(same_bits(out[f.index(i, j, k)], voxel_by_voxel(f, skewed_grid, i, j, k)))
                        << i << "," << j << "," << k;
    }
}

TEST(WarpJacobian, ThreadCountChangesNoBitAndTheHookStopsTheCallAfterAPlane)
{
    const Field f = rough_field();
    omp_set_num_threads(1);
    const Result one = run(f, skewed_grid);
    omp_set_num_threads(3);
    bool finished = false;
    const Result three = run(f, skewed_grid, [] { return true; }, &finished);
    EXPECT_TRUE(finished);
    EXPECT_EQ(three.planes, f.dim[2] - 2);
    for (std::size_t e = 0; e < one.out.size(); ++e) ASSERT_TRUE(same_bits(one.out[e], three.out[e])) << e;
    EXPECT_EQ(run(f, skewed_grid, [] { return false; }, &finished).planes, 1);
    EXPECT_FALSE(finished);
}

}  // namespace

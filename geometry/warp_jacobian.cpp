#include "geometry/warp_jacobian.hpp"

#include <algorithm>
#include <limits>

#include "core/planes.hpp"
#include "geometry/warp_jacobian_detail.hpp"

namespace nrx {

namespace {

float det3(float a, float b, float c, float d, float e, float f, float g, float h, float i)
{
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

// Cofactor (r, c) of the 4x4 matrix a: the signed determinant of a without
// row r and column c.
float cofactor(const float a[4][4], int r, int c)
{
    float minor[9];
    int n = 0;
    for (int rr = 0; rr < 4; ++rr) {
        if (rr == r) continue;
        for (int cc = 0; cc < 4; ++cc) {
            if (cc == c) continue;
            minor[n++] = a[rr][cc];
        }
    }
    const float d = det3(minor[0], minor[1], minor[2], minor[3], minor[4], minor[5], minor[6], minor[7],
                         minor[8]);
    return ((r + c) % 2 == 0) ? d : -d;
}

}  // namespace

namespace detail {

// The corner order gives all 40 tetrahedra of the two tables the same
// orientation.
const TetrahedronCorners odd_voxel_tetrahedra[8] = {
    {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},    {{-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
    {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}},  {{1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}},   {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
    {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},   {{0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
};

const TetrahedronCorners even_voxel_tetrahedra[32] = {
    {{1, 0, 0}, {1, 0, 1}, {1, 1, 0}},       {{0, 1, 1}, {1, 0, 1}, {0, 0, 1}},
    {{0, 1, 1}, {0, 1, 0}, {1, 1, 0}},       {{1, 1, 0}, {1, 0, 1}, {0, 1, 1}},
    {{-1, 0, 0}, {-1, 0, 1}, {-1, -1, 0}},   {{0, -1, 1}, {-1, 0, 1}, {0, 0, 1}},
    {{0, -1, 1}, {0, -1, 0}, {-1, -1, 0}},   {{-1, -1, 0}, {-1, 0, 1}, {0, -1, 1}},
    {{-1, 0, 0}, {-1, 0, -1}, {-1, 1, 0}},   {{0, 1, -1}, {-1, 0, -1}, {0, 0, -1}},
    {{0, 1, -1}, {0, 1, 0}, {-1, 1, 0}},     {{-1, 1, 0}, {-1, 0, -1}, {0, 1, -1}},
    {{1, 0, 0}, {1, 0, -1}, {1, -1, 0}},     {{0, -1, -1}, {1, 0, -1}, {0, 0, -1}},
    {{0, -1, -1}, {0, -1, 0}, {1, -1, 0}},   {{1, -1, 0}, {1, 0, -1}, {0, -1, -1}},
    {{-1, 0, 1}, {-1, 0, 0}, {-1, 1, 0}},    {{-1, 0, 1}, {0, 1, 1}, {0, 0, 1}},
    {{0, 1, 0}, {0, 1, 1}, {-1, 1, 0}},      {{-1, 0, 1}, {-1, 1, 0}, {0, 1, 1}},
    {{1, 0, 1}, {1, 0, 0}, {1, -1, 0}},      {{1, 0, 1}, {0, -1, 1}, {0, 0, 1}},
    {{0, -1, 0}, {0, -1, 1}, {1, -1, 0}},    {{1, 0, 1}, {1, -1, 0}, {0, -1, 1}},
    {{1, 0, -1}, {1, 0, 0}, {1, 1, 0}},      {{1, 0, -1}, {0, 1, -1}, {0, 0, -1}},
    {{0, 1, 0}, {0, 1, -1}, {1, 1, 0}},      {{1, 0, -1}, {1, 1, 0}, {0, 1, -1}},
    {{-1, 0, -1}, {-1, 0, 0}, {-1, -1, 0}},  {{-1, 0, -1}, {0, -1, -1}, {0, 0, -1}},
    {{0, -1, 0}, {0, -1, -1}, {-1, -1, 0}},  {{-1, 0, -1}, {-1, -1, 0}, {0, -1, -1}},
};

TetrahedronRecord tetrahedron_record(const Grid3& grid, const TetrahedronCorners& corners, const float m[3][4])
{
    // Rows of A: the four corners mapped by M, each followed by 1. Corner 0
    // is the voxel itself, offset (0, 0, 0).
    float a[4][4];
    for (int q = 0; q < 4; ++q) {
        const float dx = q == 0 ? 0.0f : static_cast<float>(corners[q - 1][0]);
        const float dy = q == 0 ? 0.0f : static_cast<float>(corners[q - 1][1]);
        const float dz = q == 0 ? 0.0f : static_cast<float>(corners[q - 1][2]);
        for (int r = 0; r < 3; ++r) {
            a[q][r] = m[r][0] * dx + m[r][1] * dy + m[r][2] * dz + m[r][3];
        }
        a[q][3] = 1.0f;
    }

    TetrahedronRecord record;
    float cof[4][4];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            cof[r][c] = cofactor(a, r, c);
        }
    }
    const float s = a[0][0] * cof[0][0] + a[0][1] * cof[0][1] + a[0][2] * cof[0][2] + a[0][3] * cof[0][3];
    const float reciprocal = 1.0f / s;
    // B = adjugate(A) / S; the adjugate is the transposed cofactor matrix.
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            record.B[4 * r + c] = cof[c][r] * reciprocal;
        }
    }
    record.w = s / 6.0f;

    auto offset = [&](int q) { return grid.step({corners[q][0], corners[q][1], corners[q][2]}); };
    record.o1 = offset(0);
    record.o2 = offset(1);
    record.o3 = offset(2);
    return record;
}

ParityStencil parity_stencil(const Grid3& grid, const TetrahedronCorners* table, int count, const float m[3][4])
{
    ParityStencil stencil;
    stencil.tetrahedron_count = count;
    stencil.corner_count = 1;
    stencil.corner_offsets[0] = 0;
    stencil.den = 0.0f;
    for (int t = 0; t < count; ++t) {
        const TetrahedronRecord record = tetrahedron_record(grid, table[t], m);
        stencil.tetrahedra[t] = record;
        stencil.den = stencil.den + record.w;
        const std::int64_t offsets[3] = {record.o1, record.o2, record.o3};
        for (int q = 0; q < 3; ++q) {
            std::int64_t* const known = stencil.corner_offsets + stencil.corner_count;
            std::int64_t* const found = std::find(stencil.corner_offsets, known, offsets[q]);
            if (found == known) stencil.corner_offsets[stencil.corner_count++] = offsets[q];
            stencil.corners[t][q] = static_cast<int>(found - stencil.corner_offsets);
        }
    }
    return stencil;
}

}  // namespace detail

void single_precision_rows(const double M[16], float m[3][4])
{
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            m[r][c] = static_cast<float>(M[r + 4 * c]);
        }
    }
}

bool jacobian_determinants(const float* const field[3], const Grid3& grid, const float m[3][4], float* out,
                           const std::function<void()>& plane_done, KeepGoing keep_going)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::int32_t nx = grid.nx, ny = grid.ny, nz = grid.nz;
    if (nz < 3) {
        std::fill(out, out + grid.count(), nan);
        return true;
    }
    std::fill(out, out + grid.step({0, 0, 1}), nan);
    std::fill(out + grid.index(0, 0, nz - 1), out + grid.count(), nan);

    // Index 0: voxels with an even index sum; 1: odd.
    const detail::ParityStencil stencils[2] = {
        detail::parity_stencil(grid, detail::even_voxel_tetrahedra, 32, m),
        detail::parity_stencil(grid, detail::odd_voxel_tetrahedra, 8, m)};
    const detail::ParityRow parity_row = detail::parity_row_for_this_cpu();

    auto interior_plane = [&](std::int32_t k) {
        for (std::int32_t j = 0; j < ny; ++j) {
            float* row = out + grid.index(0, j, k);
            if (j == 0 || j == ny - 1 || nx < 3) {
                std::fill(row, row + nx, nan);
                continue;
            }
            row[0] = nan;
            row[nx - 1] = nan;
            // The interior voxels from i = 1 and from i = 2, every other one.
            for (std::int32_t i = 1; i <= 2; ++i) {
                parity_row(field, grid.index(i, j, k), (nx - i) / 2, stencils[(i + j + k) % 2], row + i);
            }
        }
    };
    return for_each_plane(
        nz - 2, [&](std::int64_t q) { interior_plane(static_cast<std::int32_t>(q + 1)); },
        [&](std::int64_t) {
            plane_done();
            return should_go_on(keep_going);
        });
}

}  // namespace nrx

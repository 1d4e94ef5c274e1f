#include "geometry/warp_jacobian.hpp"

#include <algorithm>
#include <array>
#include <limits>

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

}  // namespace detail

namespace {

using detail::TetrahedronRecord;

template <std::size_t N>
std::array<TetrahedronRecord, N> tetrahedron_records(const Grid3& grid, const detail::TetrahedronCorners (&table)[N],
                                                     const float m[3][4])
{
    std::array<TetrahedronRecord, N> records;
    for (std::size_t t = 0; t < N; ++t) {
        records[t] = detail::tetrahedron_record(grid, table[t], m);
    }
    return records;
}

// The volume-weighted mean determinant over the tetrahedra voxel e is a
// corner of.
template <std::size_t N>
float voxel_value(const float* const field[3], std::int64_t e, const std::array<TetrahedronRecord, N>& tetrahedra)
{
    float num = 0.0f;
    float den = 0.0f;
    for (const TetrahedronRecord& t : tetrahedra) {
        float y[3][4];
        for (int c = 0; c < 3; ++c) {
            const float* f = field[c];
            y[c][0] = f[e];
            y[c][1] = f[e + t.o1];
            y[c][2] = f[e + t.o2];
            y[c][3] = f[e + t.o3];
        }
        float l[3][3];
        for (int r = 0; r < 3; ++r) {
            for (int s = 0; s < 3; ++s) {
                const float* b = t.B + 4 * s;
                l[r][s] = y[r][0] * b[0] + y[r][1] * b[1] + y[r][2] * b[2] + y[r][3] * b[3];
            }
        }
        const float d = l[0][0] * (l[1][1] * l[2][2] - l[2][1] * l[1][2]) +
                        l[0][1] * (l[1][2] * l[2][0] - l[2][2] * l[1][0]) +
                        l[0][2] * (l[1][0] * l[2][1] - l[2][0] * l[1][1]);
        num = num + d * t.w;
        den = den + t.w;
    }
    return num / den;
}

}  // namespace

void jacobian_determinants(const float* const field[3], const Grid3& grid, const float m[3][4], float* out,
                           const std::function<void()>& plane_done)
{
    const auto even_voxel_records = tetrahedron_records(grid, detail::even_voxel_tetrahedra, m);
    const auto odd_voxel_records = tetrahedron_records(grid, detail::odd_voxel_tetrahedra, m);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::int32_t nx = grid.nx, ny = grid.ny, nz = grid.nz;
    for (std::int32_t k = 0; k < nz; ++k) {
        if (k == 0 || k == nz - 1) {
            float* plane = out + grid.index(0, 0, k);
            std::fill(plane, plane + grid.step({0, 0, 1}), nan);
            continue;
        }
        for (std::int32_t j = 0; j < ny; ++j) {
            float* row = out + grid.index(0, j, k);
            if (j == 0 || j == ny - 1) {
                std::fill(row, row + nx, nan);
                continue;
            }
            if (nx == 0) {
                continue;
            }
            row[0] = nan;
            for (std::int32_t i = 1; i < nx - 1; ++i) {
                const std::int64_t e = grid.index(i, j, k);
                row[i] = ((i + j + k) % 2 == 0) ? voxel_value(field, e, even_voxel_records)
                                                : voxel_value(field, e, odd_voxel_records);
            }
            row[nx - 1] = nan;
        }
        plane_done();
    }
}

}  // namespace nrx

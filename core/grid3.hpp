// The size of a column-major 3-D grid and the arithmetic of its voxel indices.
//
// Every volume, map, image and kernel of the toolbox is such a grid: voxel
// (x, y, z), zero-based, lies at x + nx*(y + ny*z); a 2-D array is a grid with
// nz = 1. Callers guarantee that the voxel count fits in a signed 32-bit
// integer (the host readers refuse anything larger); index arithmetic is done
// in 64 bits all the same, so that a coordinate one step outside the grid, or
// a step across a whole grid, never overflows.
//
// Typical use:
//
//   const nrx::Grid3 grid{nx, ny, nz};
//   for (std::int32_t z = 0; z < grid.nz; ++z) ...
//       if (grid.contains(x + 1, y, z)) out[grid.index(x, y, z)] = in[grid.index(x + 1, y, z)];
#pragma once

#include <cstdint>

namespace nrx {

// A step from a voxel to a neighbour along the first, second and third axis.
struct Offset3 {
    std::int32_t dx, dy, dz;
};

struct Grid3 {
    std::int32_t nx = 1;
    std::int32_t ny = 1;
    std::int32_t nz = 1;

    // The number of voxels.
    std::int64_t count() const { return static_cast<std::int64_t>(nx) * ny * nz; }

    // The linear index of voxel (x, y, z); no bounds test.
    std::int64_t index(std::int64_t x, std::int64_t y, std::int64_t z) const { return x + nx * (y + ny * z); }

    bool contains(std::int64_t x, std::int64_t y, std::int64_t z) const
    {
        return x >= 0 && x < nx && y >= 0 && y < ny && z >= 0 && z < nz;
    }

    // How far apart in storage two voxels `offset` apart are.
    std::int64_t step(const Offset3& offset) const { return index(offset.dx, offset.dy, offset.dz); }

    bool operator==(const Grid3& other) const { return nx == other.nx && ny == other.ny && nz == other.nz; }
    bool operator!=(const Grid3& other) const { return !(*this == other); }
};

}  // namespace nrx

// Geodesic Voronoi labelling of the inside of a mask from seed points.
//
// Every inside voxel (image value > 0) gets the number of the seed nearest to
// it along paths that stay inside, and that distance. Paths step by the
// offsets of a chamfer mask, each step costing the mask's weight. The search
// is a bucket queue over the integer part of the distance: buckets are taken
// in increasing order, and within a bucket first in, first out, including
// entries appended while the bucket is being worked through. Sources are
// relaxed towards their neighbours in mask table order, and only a strictly
// shorter distance replaces a label, so a voxel keeps the label of the first
// source that reaches its final distance (seeds in seed order first).
//
// Typical use:
//
//   std::vector<double> labels(grid.count()), dists(grid.count());
//   if (nrx::grow_geodesic_parcels(img, grid, seeds, n, labels.data(), dists.data(), "d34")
//       != nrx::ParcelStatus::done) { ... }
#pragma once

#include <cstdint>

#include "core/grid3.hpp"

namespace nrx {

enum class ParcelStatus {
    done,
    unknown_distance_type,  // nothing written
    seed_outside_image,     // maps initialised, seeds before the offending one placed
};

// img: a grid of doubles; inside where > 0 (0, negative and NaN are outside).
// seeds: n x 3 doubles, column-major, row s the one-based coordinates of seed
// s; each becomes the integer part of value + 0.5, minus 1, and must then lie
// in the grid. dist_type: "d4" (faces, 1), "d8" (faces and edges, 1), "d34"
// (faces 3, edges 4, corners 5) or "d5711" (steps within 2 voxels: 5, 7, 9,
// 11, 12, 15), exactly.
//
// Writes every voxel of labels and dists (each the size of img, not in
// place): seed number 1..n and distance in mask units where a seed reaches,
// NaN and +Inf inside where none does, -1 and -1 outside. A seed counts as a
// source even on an outside voxel; a later seed on the same voxel takes over
// its number.
//
// The voxel count must fit in 32 bits. Cost: each voxel is relaxed once per
// time it is queued (usually once), each time over the whole mask; the queue
// holds one bucket per distance unit up to the largest weight ahead of the
// wave front; distances and labels are counted in two maps of 4 bytes per
// voxel (8 for the distances once the voxel count times the largest weight
// reaches 2^31) and written into labels and dists at the end.
ParcelStatus grow_geodesic_parcels(const double* img, const Grid3& grid, const double* seeds, std::int32_t n,
                                   double* labels, double* dists, const char* dist_type);

}  // namespace nrx

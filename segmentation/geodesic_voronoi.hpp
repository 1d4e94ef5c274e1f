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
//   std::vector<double> labels(m), dists(m);
//   if (nrx::geodesic_voronoi(img, dim, seeds, n, labels.data(), dists.data(), "d34")
//       != nrx::VoronoiStatus::done) { ... }
#pragma once

#include <array>
#include <cstdint>

namespace nrx {

// One step of a chamfer mask: offsets along the first, second and third axis,
// and the cost of the step in the mask's own units.
struct MaskEntry {
    std::int32_t dx, dy, dz;
    double weight;
};

// The four masks, in the entry order that settles ties. The first half of
// each of the three small tables lists offsets, the second half their
// negations in the same order.
extern const std::array<MaskEntry, 6> maskd4;       // "d4": faces, weight 1
extern const std::array<MaskEntry, 18> maskd8;      // "d8": faces and edges, weight 1
extern const std::array<MaskEntry, 26> maskd34;     // "d34": faces 3, edges 4, corners 5
// "d5711": the offsets in -2..2 whose components are not all even, in raster
// order (dz outermost, dx fastest); weights by sorted absolute components:
// (0,0,1) 5, (0,1,1) 7, (1,1,1) 9, (0,1,2) 11, (1,1,2) 12, (1,2,2) 15.
extern const std::array<MaskEntry, 98> maskd5711;

enum class VoronoiStatus {
    done,
    unknown_distance_type,  // nothing written
    seed_outside_image,     // maps initialised, seeds before the offending one placed
};

// img: dim[0] x dim[1] x dim[2] doubles, column-major; inside where > 0 (0,
// negative and NaN are outside). seeds: n x 3 doubles, column-major, row s the
// one-based coordinates of seed s; each becomes the integer part of value +
// 0.5, minus 1, and must then lie in the volume. dist_type: "d4", "d8", "d34"
// or "d5711", exactly.
//
// Writes every voxel of labels and dists (each the size of img): seed number
// 1..n and distance in mask units where a seed reaches, NaN and +Inf inside
// where none does, -1 and -1 outside. A seed counts as a source even on an
// outside voxel; a later seed on the same voxel takes over its number.
//
// The voxel count must fit in 32 bits. Cost: each voxel is relaxed once per
// time it is queued (usually once), each time over the whole mask; the queue
// holds one bucket per distance unit up to the largest weight ahead of the
// wave front.
VoronoiStatus geodesic_voronoi(const double* img, const std::int32_t dim[3], const double* seeds, std::int32_t n,
                               double* labels, double* dists, const char* dist_type);

}  // namespace nrx

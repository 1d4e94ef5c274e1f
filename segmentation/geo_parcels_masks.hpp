// The chamfer masks of the geodesic parcels: the steps a path may take and
// what each costs. Internal to that kernel (and its tests).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace nrx::detail {

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

struct Mask {
    const MaskEntry* entries;
    std::size_t size;
    double largest_weight;
};

// The mask of a distance type: "d4", "d8", "d34" or "d5711", matched exactly
// (terminator included); nothing for any other text.
std::optional<Mask> mask_named(const char* dist_type);

}  // namespace nrx::detail

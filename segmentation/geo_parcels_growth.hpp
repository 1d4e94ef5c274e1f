// The growth of the geodesic parcels with its distances counted in a chosen
// integer type: 32 bits where every distance fits (the fast case), 64 bits
// otherwise. Internal to that kernel (and its tests, which hold the two
// against each other).
#pragma once

#include <cstdint>

#include "core/grid3.hpp"
#include "segmentation/geo_parcels.hpp"
#include "segmentation/geo_parcels_masks.hpp"

namespace nrx::detail {

// grow_geodesic_parcels once the mask is known; Distance is std::int32_t or
// std::int64_t, and must hold the voxel count times the mask's largest weight.
template <typename Distance>
ParcelStatus grow_parcels(const double* img, const Grid3& grid, const double* seeds, std::int32_t n,
                          const Mask& mask, double* labels, double* dists);

}  // namespace nrx::detail

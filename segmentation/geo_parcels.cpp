#include "segmentation/geo_parcels.hpp"

#include <limits>
#include <optional>
#include <vector>

#include "core/int32.hpp"
#include "core/neighbourhood.hpp"
#include "segmentation/geo_parcels_masks.hpp"

namespace nrx {

namespace {

struct Voxel {
    std::int32_t x, y, z;
};

// The zero-based voxel of a one-based seed coordinate, if it lies in 0..size-1.
std::optional<std::int32_t> seed_coordinate(double value, std::int32_t size)
{
    const std::optional<std::int32_t> one_based = trunc_to_int32(value + 0.5);
    if (!one_based || *one_based < 1 || *one_based > size) {
        return std::nullopt;
    }
    return *one_based - 1;
}

std::vector<Offset3> steps_of(const detail::Mask& mask)
{
    std::vector<Offset3> offsets;
    offsets.reserve(mask.size);
    for (std::size_t t = 0; t < mask.size; ++t) {
        offsets.push_back({mask.entries[t].dx, mask.entries[t].dy, mask.entries[t].dz});
    }
    return offsets;
}

}  // namespace

ParcelStatus grow_geodesic_parcels(const double* img, const Grid3& grid, const double* seeds, std::int32_t n,
                                   double* labels, double* dists, const char* dist_type)
{
    const std::optional<detail::Mask> mask = detail::mask_named(dist_type);
    if (!mask) {
        return ParcelStatus::unknown_distance_type;
    }
    for (std::int64_t v = 0; v < grid.count(); ++v) {
        if (img[v] > 0) {
            dists[v] = std::numeric_limits<double>::infinity();
            labels[v] = std::numeric_limits<double>::quiet_NaN();
        } else {
            dists[v] = -1;
            labels[v] = -1;
        }
    }

    // Every weight is a whole number from 1 to largest_weight, so every
    // distance is whole and an entry of bucket b holds a voxel at distance b,
    // or less when the voxel has improved since, in which case its neighbours
    // were already relaxed from the better distance and nothing is appended.
    // Appends therefore go only to buckets b+1 .. b+largest_weight: a ring of
    // that many buckets plus the current one holds the whole queue, and the
    // memory follows the wave front.
    std::vector<std::vector<Voxel>> ring(static_cast<std::size_t>(mask->largest_weight) + 1);
    std::vector<Voxel>& first = ring[0];
    first.reserve(static_cast<std::size_t>(n));
    for (std::int32_t s = 0; s < n; ++s) {
        const std::optional<std::int32_t> x = seed_coordinate(seeds[s], grid.nx);
        const std::optional<std::int32_t> y = seed_coordinate(seeds[s + static_cast<std::ptrdiff_t>(n)], grid.ny);
        const std::optional<std::int32_t> z = seed_coordinate(seeds[s + 2 * static_cast<std::ptrdiff_t>(n)], grid.nz);
        if (!x || !y || !z) {
            return ParcelStatus::seed_outside_image;
        }
        first.push_back({*x, *y, *z});
        dists[grid.index(*x, *y, *z)] = 0;
        labels[grid.index(*x, *y, *z)] = s + 1;
    }

    const Neighbourhood around(grid, steps_of(*mask));
    // One more than the last bucket that holds or held an entry.
    std::int64_t bucket_count = 1;
    for (std::int64_t b = 0; b < bucket_count; ++b) {
        std::vector<Voxel>& bucket = ring[static_cast<std::size_t>(b) % ring.size()];
        for (std::size_t e = 0; e < bucket.size(); ++e) {
            const Voxel c = bucket[e];
            const std::int64_t source = grid.index(c.x, c.y, c.z);
            const double source_dist = dists[source];
            const double source_label = labels[source];
            around.for_each(c.x, c.y, c.z, source, [&](std::size_t t, std::int64_t i) {
                const double offered = source_dist + mask->entries[t].weight;
                // Outside voxels (-1) and seeds (0) are never changed; only a
                // strictly shorter distance replaces a label.
                if (!(dists[i] > 0) || !(dists[i] > offered)) {
                    return;
                }
                dists[i] = offered;
                labels[i] = source_label;
                const std::int64_t g = static_cast<std::int64_t>(offered);
                if (g >= bucket_count) {
                    bucket_count = g + 1;
                }
                const Offset3& step = around.offset(t);
                ring[static_cast<std::size_t>(g) % ring.size()].push_back(
                    {c.x + step.dx, c.y + step.dy, c.z + step.dz});
            });
        }
        bucket.clear();
    }
    return ParcelStatus::done;
}

}  // namespace nrx

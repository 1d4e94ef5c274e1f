#include "segmentation/geo_parcels.hpp"

#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "core/int32.hpp"
#include "core/neighbourhood.hpp"
#include "segmentation/geo_parcels_growth.hpp"

namespace nrx {

namespace {

// A queued voxel: its linear index and the label it spreads. Its distance is
// the number of its bucket (see below).
struct Entry {
    std::int32_t voxel;
    std::int32_t label;
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

// The growth, with distances and labels kept as whole numbers while it runs:
// distances of type Distance (-1 outside, 0 on a seed, `unreached` inside
// until a seed comes) and labels (-1 outside, 0 inside until a seed comes,
// else the seed's number). The distance map is read at every neighbour of
// every queued voxel and the label map written at every improvement: in 32
// bits, half the size of the doubles they become, they stay in cache far
// better.
template <typename Distance>
class Growth {
public:
    static constexpr Distance unreached = std::numeric_limits<Distance>::max();

    Growth(const double* img, const Grid3& grid, const detail::Mask& mask, double* labels, double* dists)
        : grid_(grid), mask_(mask), dist_(new Distance[static_cast<std::size_t>(grid.count())]),
          label_(new std::int32_t[static_cast<std::size_t>(grid.count())]), labels_(labels), dists_(dists)
    {
        Distance* dist = dist_.get();
        std::int32_t* label = label_.get();
        const std::int64_t count = grid.count();
        for (std::int64_t v = 0; v < count; ++v) {
            const bool inside = img[v] > 0;
            dist[v] = inside ? unreached : -1;
            label[v] = inside ? 0 : -1;
        }
    }

    // Grows the parcels from the n seeds, then writes the caller's maps.
    ParcelStatus run(const double* seeds, std::int32_t n)
    {
        const ParcelStatus status = grow(seeds, n);
        write_maps();
        return status;
    }

private:
    Grid3 grid_;
    detail::Mask mask_;
    std::unique_ptr<Distance[]> dist_;
    std::unique_ptr<std::int32_t[]> label_;
    double* labels_;
    double* dists_;

    // The caller's maps: +Inf and NaN inside where no seed came.
    void write_maps()
    {
        const Distance* dist = dist_.get();
        const std::int32_t* label = label_.get();
        double* dists = dists_;
        double* labels = labels_;
        const std::int64_t count = grid_.count();
        for (std::int64_t v = 0; v < count; ++v) {
            dists[v] = dist[v] == unreached ? std::numeric_limits<double>::infinity() : dist[v];
            labels[v] = label[v] == 0 ? std::numeric_limits<double>::quiet_NaN() : label[v];
        }
    }

    ParcelStatus grow(const double* seeds, std::int32_t n)
    {
        // Every weight is a whole number from 1 to largest_weight, so every
        // distance is whole, and bucket b holds the voxels queued at distance
        // b, in the order they were queued. A voxel is queued again only with
        // a strictly shorter distance, hence in an earlier bucket, where its
        // neighbours are relaxed first; its stale entry, met later, offers
        // them longer distances than they have and changes nothing. So an
        // entry can carry its label and take its bucket's number as its
        // distance, and the maps are read only where a neighbour is offered a
        // distance. Appends go only to buckets b+1 .. b+largest_weight: a ring
        // of that many buckets plus the current one holds the whole queue, and
        // the memory follows the wave front.
        std::vector<std::vector<Entry>> ring(static_cast<std::size_t>(mask_.largest_weight) + 1);
        std::vector<Entry>& first = ring[0];
        first.reserve(static_cast<std::size_t>(n));
        for (std::int32_t s = 0; s < n; ++s) {
            const std::optional<std::int32_t> x = seed_coordinate(seeds[s], grid_.nx);
            const std::optional<std::int32_t> y = seed_coordinate(seeds[s + static_cast<std::ptrdiff_t>(n)], grid_.ny);
            const std::optional<std::int32_t> z =
                seed_coordinate(seeds[s + 2 * static_cast<std::ptrdiff_t>(n)], grid_.nz);
            if (!x || !y || !z) {
                return ParcelStatus::seed_outside_image;
            }
            const std::int64_t v = grid_.index(*x, *y, *z);
            first.push_back({static_cast<std::int32_t>(v), 0});
            dist_[v] = 0;
            label_[v] = s + 1;
        }
        // A later seed on the same voxel has taken over its number.
        for (Entry& seed : first) {
            seed.label = label_[seed.voxel];
        }

        std::vector<Offset3> offsets;
        std::vector<Distance> weights;
        for (std::size_t t = 0; t < mask_.size; ++t) {
            const detail::MaskEntry& e = mask_.entries[t];
            offsets.push_back({e.dx, e.dy, e.dz});
            weights.push_back(static_cast<Distance>(e.weight));
        }
        const Neighbourhood around(grid_, std::move(offsets));
        const auto nx = static_cast<std::uint32_t>(grid_.nx), ny = static_cast<std::uint32_t>(grid_.ny);
        // One more than the last bucket that holds or held an entry.
        Distance bucket_count = 1;
        for (Distance b = 0; b < bucket_count; ++b) {
            std::vector<Entry>& bucket = ring[static_cast<std::size_t>(b) % ring.size()];
            for (std::size_t e = 0; e < bucket.size(); ++e) {
                const Entry source = bucket[e];
                const auto voxel = static_cast<std::uint32_t>(source.voxel);
                const std::uint32_t row = voxel / nx, x = voxel - row * nx;
                const std::uint32_t z = row / ny, y = row - z * ny;
                around.for_each(x, y, z, voxel, [&](std::size_t t, std::int64_t i) {
                    const Distance offered = b + weights[t];
                    // Outside voxels (-1) and seeds (0) are never changed;
                    // only a strictly shorter distance replaces a label.
                    if (dist_[i] <= 0 || dist_[i] <= offered) {
                        return;
                    }
                    dist_[i] = offered;
                    label_[i] = source.label;
                    if (offered >= bucket_count) {
                        bucket_count = offered + 1;
                    }
                    ring[static_cast<std::size_t>(offered) % ring.size()].push_back(
                        {static_cast<std::int32_t>(i), source.label});
                });
            }
            bucket.clear();
        }
        return ParcelStatus::done;
    }
};

}  // namespace

namespace detail {

template <typename Distance>
ParcelStatus grow_parcels(const double* img, const Grid3& grid, const double* seeds, std::int32_t n,
                          const Mask& mask, double* labels, double* dists)
{
    return Growth<Distance>(img, grid, mask, labels, dists).run(seeds, n);
}

template ParcelStatus grow_parcels<std::int32_t>(const double*, const Grid3&, const double*, std::int32_t,
                                                 const Mask&, double*, double*);
template ParcelStatus grow_parcels<std::int64_t>(const double*, const Grid3&, const double*, std::int32_t,
                                                 const Mask&, double*, double*);

}  // namespace detail

ParcelStatus grow_geodesic_parcels(const double* img, const Grid3& grid, const double* seeds, std::int32_t n,
                                   double* labels, double* dists, const char* dist_type)
{
    const std::optional<detail::Mask> mask = detail::mask_named(dist_type);
    if (!mask) {
        return ParcelStatus::unknown_distance_type;
    }
    // A shortest path visits a voxel at most once, so no distance offered
    // exceeds the voxel count times the largest weight.
    if (grid.count() * mask->largest_weight < std::numeric_limits<std::int32_t>::max()) {
        return detail::grow_parcels<std::int32_t>(img, grid, seeds, n, *mask, labels, dists);
    }
    return detail::grow_parcels<std::int64_t>(img, grid, seeds, n, *mask, labels, dists);
}

}  // namespace nrx

#include "segmentation/geodesic_voronoi.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "core/int32.hpp"

namespace nrx {

const std::array<MaskEntry, 6> maskd4 = {{
    {0, 0, -1, 1}, {0, -1, 0, 1}, {-1, 0, 0, 1},
    {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1},
}};

const std::array<MaskEntry, 18> maskd8 = {{
    {-1, -1, 0, 1}, {-1, 0, -1, 1}, {-1, 0, 0, 1}, {-1, 0, 1, 1}, {-1, 1, 0, 1},
    {0, -1, -1, 1}, {0, -1, 0, 1}, {0, 0, -1, 1}, {0, -1, 1, 1},
    {1, 1, 0, 1}, {1, 0, 1, 1}, {1, 0, 0, 1}, {1, 0, -1, 1}, {1, -1, 0, 1},
    {0, 1, 1, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {0, 1, -1, 1},
}};

const std::array<MaskEntry, 26> maskd34 = {{
    {-1, -1, -1, 5}, {-1, -1, 0, 4}, {-1, -1, 1, 5}, {-1, 0, -1, 4}, {-1, 0, 0, 3},
    {-1, 0, 1, 4}, {-1, 1, -1, 5}, {-1, 1, 0, 4}, {-1, 1, 1, 5}, {0, -1, -1, 4},
    {0, -1, 0, 3}, {0, 0, -1, 3}, {0, -1, 1, 4},
    {1, 1, 1, 5}, {1, 1, 0, 4}, {1, 1, -1, 5}, {1, 0, 1, 4}, {1, 0, 0, 3},
    {1, 0, -1, 4}, {1, -1, 1, 5}, {1, -1, 0, 4}, {1, -1, -1, 5}, {0, 1, 1, 4},
    {0, 1, 0, 3}, {0, 0, 1, 3}, {0, 1, -1, 4},
}};

namespace {

// Weight of a 5x5x5 offset from how many of its components are +-1 and how
// many +-2: (0,0,1) 5, (0,1,1) 7, (1,1,1) 9, (0,1,2) 11, (1,1,2) 12, (1,2,2) 15.
constexpr double d5711_weight(int dx, int dy, int dz)
{
    int ones = 0, twos = 0;
    for (int c : {dx, dy, dz}) {
        ones += c == 1 || c == -1;
        twos += c == 2 || c == -2;
    }
    if (twos == 0) return ones == 1 ? 5 : ones == 2 ? 7 : 9;
    if (twos == 1) return ones == 1 ? 11 : 12;
    return 15;
}

constexpr std::array<MaskEntry, 98> make_maskd5711()
{
    std::array<MaskEntry, 98> table{};
    std::size_t e = 0;
    for (int dz = -2; dz <= 2; ++dz) {
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                if (dx % 2 == 0 && dy % 2 == 0 && dz % 2 == 0) {
                    continue;  // the centre and the doubled unit steps
                }
                table[e++] = {dx, dy, dz, d5711_weight(dx, dy, dz)};
            }
        }
    }
    return table;
}

}  // namespace

const std::array<MaskEntry, 98> maskd5711 = make_maskd5711();

namespace {

struct Mask {
    const MaskEntry* entries;
    std::size_t size;
    double largest_weight;
};

template <std::size_t N>
Mask mask_of(const std::array<MaskEntry, N>& table)
{
    double largest = 0;
    for (const MaskEntry& entry : table) {
        largest = std::max(largest, entry.weight);
    }
    return {table.data(), N, largest};
}

// Each name must match exactly, terminator included.
std::optional<Mask> select_mask(const char* dist_type)
{
    if (std::strcmp(dist_type, "d4") == 0) return mask_of(maskd4);
    if (std::strcmp(dist_type, "d8") == 0) return mask_of(maskd8);
    if (std::strcmp(dist_type, "d34") == 0) return mask_of(maskd34);
    if (std::strcmp(dist_type, "d5711") == 0) return mask_of(maskd5711);
    return std::nullopt;
}

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

}  // namespace

VoronoiStatus geodesic_voronoi(const double* img, const std::int32_t dim[3], const double* seeds, std::int32_t n,
                               double* labels, double* dists, const char* dist_type)
{
    const std::optional<Mask> mask = select_mask(dist_type);
    if (!mask) {
        return VoronoiStatus::unknown_distance_type;
    }
    const std::int32_t count = dim[0] * dim[1] * dim[2];
    for (std::int32_t v = 0; v < count; ++v) {
        if (img[v] > 0) {
            dists[v] = std::numeric_limits<double>::infinity();
            labels[v] = std::numeric_limits<double>::quiet_NaN();
        } else {
            dists[v] = -1;
            labels[v] = -1;
        }
    }
    auto index = [dim](const Voxel& v) { return v.x + dim[0] * (v.y + dim[1] * v.z); };

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
        const std::optional<std::int32_t> x = seed_coordinate(seeds[s], dim[0]);
        const std::optional<std::int32_t> y = seed_coordinate(seeds[s + static_cast<std::ptrdiff_t>(n)], dim[1]);
        const std::optional<std::int32_t> z = seed_coordinate(seeds[s + 2 * static_cast<std::ptrdiff_t>(n)], dim[2]);
        if (!x || !y || !z) {
            return VoronoiStatus::seed_outside_image;
        }
        const Voxel seed{*x, *y, *z};
        first.push_back(seed);
        dists[index(seed)] = 0;
        labels[index(seed)] = s + 1;
    }

    // One more than the last bucket that holds or held an entry.
    std::int64_t bucket_count = 1;
    for (std::int64_t b = 0; b < bucket_count; ++b) {
        std::vector<Voxel>& bucket = ring[static_cast<std::size_t>(b) % ring.size()];
        for (std::size_t e = 0; e < bucket.size(); ++e) {
            const Voxel c = bucket[e];
            const double source_dist = dists[index(c)];
            const double source_label = labels[index(c)];
            for (std::size_t t = 0; t < mask->size; ++t) {
                const MaskEntry& step = mask->entries[t];
                // In 64 bits, so that a step past a 32-bit-sized axis cannot overflow.
                const std::int64_t x = std::int64_t{c.x} + step.dx;
                const std::int64_t y = std::int64_t{c.y} + step.dy;
                const std::int64_t z = std::int64_t{c.z} + step.dz;
                if (x < 0 || x >= dim[0] || y < 0 || y >= dim[1] || z < 0 || z >= dim[2]) {
                    continue;
                }
                const Voxel v{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                              static_cast<std::int32_t>(z)};
                const std::int32_t i = index(v);
                const double offered = source_dist + step.weight;
                // Outside voxels (-1) and seeds (0) are never changed; only a
                // strictly shorter distance replaces a label.
                if (!(dists[i] > 0) || !(dists[i] > offered)) {
                    continue;
                }
                dists[i] = offered;
                labels[i] = source_label;
                const std::int64_t g = static_cast<std::int64_t>(offered);
                if (g >= bucket_count) {
                    bucket_count = g + 1;
                }
                ring[static_cast<std::size_t>(g) % ring.size()].push_back(v);
            }
        }
        bucket.clear();
    }
    return VoronoiStatus::done;
}

}  // namespace nrx

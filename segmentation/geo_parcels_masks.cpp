#include "segmentation/geo_parcels_masks.hpp"

#include <algorithm>
#include <cstring>

namespace nrx::detail {

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

template <std::size_t N>
Mask mask_of(const std::array<MaskEntry, N>& table)
{
    double largest = 0;
    for (const MaskEntry& entry : table) {
        largest = std::max(largest, entry.weight);
    }
    return {table.data(), N, largest};
}

}  // namespace

const std::array<MaskEntry, 98> maskd5711 = make_maskd5711();

std::optional<Mask> mask_named(const char* dist_type)
{
    if (std::strcmp(dist_type, "d4") == 0) return mask_of(maskd4);
    if (std::strcmp(dist_type, "d8") == 0) return mask_of(maskd8);
    if (std::strcmp(dist_type, "d34") == 0) return mask_of(maskd34);
    if (std::strcmp(dist_type, "d5711") == 0) return mask_of(maskd5711);
    return std::nullopt;
}

}  // namespace nrx::detail

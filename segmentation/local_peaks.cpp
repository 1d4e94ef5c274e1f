#include "segmentation/local_peaks.hpp"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/neighbourhood.hpp"
#include "core/planes.hpp"
#include "segmentation/local_peaks_list.hpp"

namespace nrx {

namespace {

// The neighbours a connectivity compares, in groups: faces from 6, edges
// from 18, corners at 26. A greater face neighbour settles most candidates,
// so the edges and corners are only looked at after.
std::vector<Neighbourhood> neighbour_groups(const Grid3& grid, int connectivity)
{
    std::vector<Neighbourhood> groups;
    if (connectivity >= 6) {
        groups.emplace_back(grid, std::vector<Offset3>{
            {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}});
    }
    if (connectivity >= 18) {
        groups.emplace_back(grid, std::vector<Offset3>{
            {1, 1, 0}, {1, -1, 0}, {1, 0, 1}, {1, 0, -1}, {-1, 1, 0}, {-1, -1, 0},
            {-1, 0, 1}, {-1, 0, -1}, {0, 1, 1}, {0, 1, -1}, {0, -1, 1}, {0, -1, -1}});
    }
    if (connectivity == 26) {
        groups.emplace_back(grid, std::vector<Offset3>{
            {1, 1, 1}, {1, 1, -1}, {1, -1, 1}, {1, -1, -1}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, 1}, {-1, -1, -1}});
    }
    return groups;
}

// Whether one-based voxel (x, y, z) lies inside the volume with no greater
// neighbour.
bool is_peak(const double* volume, const Grid3& grid, const std::vector<Neighbourhood>& groups, std::int32_t x,
             std::int32_t y, std::int32_t z)
{
    const std::int64_t x0 = std::int64_t{x} - 1, y0 = std::int64_t{y} - 1, z0 = std::int64_t{z} - 1;
    if (!grid.contains(x0, y0, z0)) {
        return false;
    }
    const std::int64_t c = grid.index(x0, y0, z0);
    for (const Neighbourhood& group : groups) {
        bool greater = false;
        group.for_each(x0, y0, z0, c, [&](std::size_t, std::int64_t n) { greater = greater || volume[n] > volume[c]; });
        if (greater) {
            return false;
        }
    }
    return true;
}

// Candidates per piece of work handed to a thread.
constexpr std::int64_t candidates_per_piece = 4096;

}  // namespace

std::int32_t find_local_peaks(const double* volume, const Grid3& grid, const double* coords, std::int32_t n,
                              int connectivity, std::vector<std::uint32_t>& peaks)
{
    const std::vector<Neighbourhood> groups = neighbour_groups(grid, connectivity);
    // The candidates are tested piece by piece on every core, each piece
    // listing its maxima in order; the lists are then joined in order.
    const std::int64_t pieces = (std::int64_t{n} + candidates_per_piece - 1) / candidates_per_piece;
    std::vector<std::vector<std::uint32_t>> found(static_cast<std::size_t>(pieces));
    for_each_plane(
        pieces,
        [&](std::int64_t piece) {
            const std::int64_t last = std::min<std::int64_t>(n, (piece + 1) * candidates_per_piece);
            for (std::int64_t i = piece * candidates_per_piece; i < last; ++i) {
                const double* candidate = coords + 3 * i;
                const std::optional<std::int32_t> x = local_peaks::list_coordinate(candidate[0]);
                const std::optional<std::int32_t> y = local_peaks::list_coordinate(candidate[1]);
                const std::optional<std::int32_t> z = local_peaks::list_coordinate(candidate[2]);
                if (x && y && z && is_peak(volume, grid, groups, *x, *y, *z)) {
                    found[piece].push_back(static_cast<std::uint32_t>(i + 1));
                }
            }
        });
    peaks.clear();
    for (const std::vector<std::uint32_t>& piece : found) {
        peaks.insert(peaks.end(), piece.begin(), piece.end());
    }
    return static_cast<std::int32_t>(peaks.size());
}

}  // namespace nrx

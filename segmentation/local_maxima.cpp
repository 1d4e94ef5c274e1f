#include "segmentation/local_maxima.hpp"

#include "core/int32.hpp"

namespace nrx::local_peaks {

namespace {

struct Offset {
    std::int32_t dx, dy, dz;
};

const Offset faces[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};

const Offset edges[12] = {
    {1, 1, 0}, {1, -1, 0}, {1, 0, 1}, {1, 0, -1}, {-1, 1, 0}, {-1, -1, 0},
    {-1, 0, 1}, {-1, 0, -1}, {0, 1, 1}, {0, 1, -1}, {0, -1, 1}, {0, -1, -1},
};

const Offset corners[8] = {
    {1, 1, 1}, {1, 1, -1}, {1, -1, 1}, {1, -1, -1}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, 1}, {-1, -1, -1},
};

// Whether any neighbour of the group inside the volume is greater than f.
template <std::size_t N>
bool has_greater(const double* vol, const std::int32_t dim[3], std::int32_t x, std::int32_t y, std::int32_t z,
                 double f, const Offset (&group)[N])
{
    for (const Offset& o : group) {
        const std::int32_t n = get_index(std::int64_t{x} + o.dx, std::int64_t{y} + o.dy, std::int64_t{z} + o.dz, dim);
        if (n != -1 && vol[n] > f) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<std::int32_t> list_coordinate(double v) { return trunc_to_int32(v + 0.1); }

std::int32_t get_index(std::int64_t x, std::int64_t y, std::int64_t z, const std::int32_t dim[3])
{
    if (x <= 0 || x > dim[0] || y <= 0 || y > dim[1] || z <= 0 || z > dim[2]) {
        return -1;
    }
    return static_cast<std::int32_t>((x - 1) + dim[0] * ((y - 1) + dim[1] * (z - 1)));
}

int is_maxima(const double* vol, const std::int32_t dim[3], std::int32_t x, std::int32_t y, std::int32_t z,
              int conn)
{
    const std::int32_t c = get_index(x, y, z, dim);
    if (c == -1) {
        return 0;
    }
    const double f = vol[c];
    if (conn >= 6 && has_greater(vol, dim, x, y, z, f, faces)) return 0;
    if (conn >= 18 && has_greater(vol, dim, x, y, z, f, edges)) return 0;
    if (conn == 26 && has_greater(vol, dim, x, y, z, f, corners)) return 0;
    return 1;
}

std::int32_t get_maxima(const double* vol, const std::int32_t dim[3], const double* coords, std::int32_t n,
                        int conn, std::vector<std::uint32_t>& maxima)
{
    maxima.clear();
    for (std::int32_t i = 1; i <= n; ++i) {
        const double* candidate = coords + 3 * static_cast<std::ptrdiff_t>(i - 1);
        const std::optional<std::int32_t> x = list_coordinate(candidate[0]);
        const std::optional<std::int32_t> y = list_coordinate(candidate[1]);
        const std::optional<std::int32_t> z = list_coordinate(candidate[2]);
        if (x && y && z && is_maxima(vol, dim, *x, *y, *z, conn)) {
            maxima.push_back(static_cast<std::uint32_t>(i));
        }
    }
    return static_cast<std::int32_t>(maxima.size());
}

std::vector<double> with_unit_z(const double* xy, std::int32_t n)
{
    std::vector<double> coords(3 * static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        coords[3 * i] = xy[2 * i];
        coords[3 * i + 1] = xy[2 * i + 1];
        coords[3 * i + 2] = 1.0;
    }
    return coords;
}

bool all_in_first_plane(const double* coords, std::int32_t n)
{
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        if (list_coordinate(coords[3 * i + 2]) != 1) {
            return false;
        }
    }
    return true;
}

}  // namespace nrx::local_peaks

#include "segmentation/local_peaks_list.hpp"

namespace nrx::local_peaks {

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

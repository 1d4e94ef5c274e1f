#include "statistics/nan_count.hpp"

namespace nrx {

std::int32_t default_dimension(const std::vector<std::int32_t>& dims)
{
    const auto first_long = std::find_if(dims.begin(), dims.end(), [](std::int32_t size) { return size >= 2; });
    return static_cast<std::int32_t>(first_long - dims.begin());
}

std::vector<std::int32_t> reduced_shape(const std::vector<std::int32_t>& dims, std::int32_t d)
{
    std::vector<std::int32_t> q = dims;
    if (d < static_cast<std::int32_t>(q.size())) {
        q[d] = 1;
    }
    return q;
}

}  // namespace nrx

#include "statistics/nan_reduce.hpp"

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include "statistics/fibre_index.hpp"
#include "statistics/nan_reduce_detail.hpp"

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

template <typename T>
void nan_reduce(const T* x, const std::int32_t* dims, std::int32_t n, std::int32_t d, nan_count_t<T>* y)
{
    for (std::int32_t k = 0; k < n; ++k) {
        if (k != d && dims[k] == 0) {
            return;  // Y is empty
        }
    }
    const std::int32_t along = std::min(d, n);
    const std::int32_t before = stride(along, dims);
    const std::int32_t t = d < n ? dims[d] : 1;
    std::int32_t after = 1;
    for (std::int32_t k = along + 1; k < n; ++k) {
        after *= dims[k];
    }
    if (std::is_integral_v<T> || t == 0) {
        // No integer converts to NaN: every fibre counts its length.
        std::fill_n(y, static_cast<std::ptrdiff_t>(before) * after, nan_count_t<T>(t));
    } else if (before == 1) {
        detail::nan_reduce_contiguous(x, t, after, y);
    } else {
        detail::nan_reduce_runs(x, before, t, after, y);
    }
}

template void nan_reduce(const double*, const std::int32_t*, std::int32_t, std::int32_t, double*);
template void nan_reduce(const float*, const std::int32_t*, std::int32_t, std::int32_t, float*);
template void nan_reduce(const std::int8_t*, const std::int32_t*, std::int32_t, std::int32_t, double*);
template void nan_reduce(const std::uint8_t*, const std::int32_t*, std::int32_t, std::int32_t, double*);
template void nan_reduce(const std::int16_t*, const std::int32_t*, std::int32_t, std::int32_t, double*);
template void nan_reduce(const std::uint16_t*, const std::int32_t*, std::int32_t, std::int32_t, double*);
template void nan_reduce(const std::int32_t*, const std::int32_t*, std::int32_t, std::int32_t, double*);
template void nan_reduce(const std::uint32_t*, const std::int32_t*, std::int32_t, std::int32_t, double*);
template void nan_reduce(const std::int64_t*, const std::int32_t*, std::int32_t, std::int32_t, double*);
template void nan_reduce(const std::uint64_t*, const std::int32_t*, std::int32_t, std::int32_t, double*);

}  // namespace nrx

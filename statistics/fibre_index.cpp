#include "statistics/fibre_index.hpp"

namespace nrx {

std::int32_t stride(std::int32_t k, const std::int32_t* dims)
{
    std::int32_t product = 1;
    for (std::int32_t i = 0; i < k; ++i) {
        product *= dims[i];
    }
    return product;
}

void offset_to_index(std::int32_t offset, std::int32_t m, const std::int32_t* dims, std::int32_t* subscripts)
{
    std::int32_t rest = offset;
    for (std::int32_t k = m - 1; k >= 0; --k) {
        const std::int32_t step = stride(k, dims);
        subscripts[k] = rest / step;
        rest %= step;
    }
}

std::int32_t index_to_offset(std::int32_t m, const std::int32_t* subscripts, const std::int32_t* dims)
{
    std::int32_t offset = 0;
    for (std::int32_t k = 0; k < m; ++k) {
        offset += subscripts[k] * stride(k, dims);
    }
    return offset;
}

}  // namespace nrx

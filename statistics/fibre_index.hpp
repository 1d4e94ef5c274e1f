// Zero-based, column-major conversions between linear offsets and subscripts,
// in 32-bit signed arithmetic.
//
// The caller guarantees that every running product of the sizes it passes
// fits in 32 bits (as the host readers check), so no product overflows.
#pragma once

#include <cstdint>

namespace nrx {

// Product of dims[0] .. dims[k-1]: the distance between neighbours along
// dimension k. 1 for k = 0; reads k sizes.
std::int32_t stride(std::int32_t k, const std::int32_t* dims);

// Writes the m subscripts of a linear offset into `subscripts`, last
// dimension first: subscript[k] = rest / stride(k), rest = rest mod stride(k),
// starting from rest = offset. The offset must lie in the array.
void offset_to_index(std::int32_t offset, std::int32_t m, const std::int32_t* dims, std::int32_t* subscripts);

// The linear offset of m subscripts: the sum of subscript[k] * stride(k).
// 0 for m <= 0.
std::int32_t index_to_offset(std::int32_t m, const std::int32_t* subscripts, const std::int32_t* dims);

}  // namespace nrx

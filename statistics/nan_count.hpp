// Counting the elements that are not NaN along one dimension of an array.
//
// X is a column-major array of n >= 0 dimensions dims[0 .. n-1]; the caller
// guarantees that every running product of its sizes, and the element count
// of the result, fit in 32 bits. Reducing along the zero-based
// dimension d (any d >= 0; a dimension at or beyond n has length 1) gives Y
// of the shape `reduced_shape`: X's with dims[d] set to 1. Element e of Y is
// the number of elements of the fibre of X through e along d that compare
// equal to themselves after conversion to `nan_test<T>::type`. Integer
// elements never convert to NaN, so for them every element counts. Counts are
// exact integers, stored as double, or rounded to single for single X.
//
// Typical use:
//
//   const std::vector<std::int32_t> q = nrx::reduced_shape(dims, d);
//   std::vector<double> y(count of q);
//   nrx::nan_reduce(x, dims.data(), n, d, y.data());
//
// Cost: one read of every element of X, in memory order, and one write of
// every element of Y; scratch is a few subscripts and `run_length` counters
// on the stack. A fibre of length 0 counts 0.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "statistics/fibre_index.hpp"

namespace nrx {

// The smallest k with dims[k] >= 2, or n when there is none (a scalar, or an
// array with a dimension of 0 and the others 1): the dimension reduced when
// the caller names none.
std::int32_t default_dimension(const std::vector<std::int32_t>& dims);

// dims with dims[d] set to 1; dims unchanged when d >= n.
std::vector<std::int32_t> reduced_shape(const std::vector<std::int32_t>& dims, std::int32_t d);

// The floating-point type an element is converted to for the NaN test:
// itself for float and double, double for 64-bit integers, single for the
// other integers (exact up to 16 bits).
template <typename T>
struct nan_test {
    using type = float;
};
template <>
struct nan_test<double> {
    using type = double;
};
template <>
struct nan_test<std::int64_t> {
    using type = double;
};
template <>
struct nan_test<std::uint64_t> {
    using type = double;
};

// The type of the counts: single for single X, double otherwise.
template <typename T>
using nan_count_t = std::conditional_t<std::is_same_v<T, float>, float, double>;

// How many of the t elements x[0], x[step], ..., x[(t-1)*step] are not NaN.
template <typename T>
double nanstat(std::int32_t t, const T* x, std::int32_t step)
{
    std::int32_t count = 0;
    for (std::int32_t k = 0; k < t; ++k) {
        const typename nan_test<T>::type v = x[static_cast<std::ptrdiff_t>(k) * step];
        count += (v == v);
    }
    return count;
}

// The counting kernel of each element class. Logical arrays are counted as
// 8-bit and char arrays as 8- or 16-bit unsigned, by their element size.
inline constexpr auto& nanstat_double = nanstat<double>;
inline constexpr auto& nanstat_float = nanstat<float>;
inline constexpr auto& nanstat_int8_T = nanstat<std::int8_t>;
inline constexpr auto& nanstat_uint8_T = nanstat<std::uint8_t>;
inline constexpr auto& nanstat_int16_T = nanstat<std::int16_t>;
inline constexpr auto& nanstat_uint16_T = nanstat<std::uint16_t>;
inline constexpr auto& nanstat_int32_T = nanstat<std::int32_t>;
inline constexpr auto& nanstat_uint32_T = nanstat<std::uint32_t>;
inline constexpr auto& nanstat_int64_T = nanstat<std::int64_t>;
inline constexpr auto& nanstat_uint64_T = nanstat<std::uint64_t>;

// The two ways of walking X, exposed so that tests can hold them to each
// other; nan_reduce chooses between them. Both write every element of Y and
// need X non-empty along d (t >= 1) and Y non-empty.
//
// By fibres: for each e of Y in order, e's subscripts in the reduced shape
// give the start of its fibre in X, which nanstat counts. nan_reduce takes
// it when the fibres are contiguous (every dimension before d is 1), where
// it reads memory in order.
template <typename T>
void nan_reduce_fibres(const T* x, const std::int32_t* dims, std::int32_t n, std::int32_t d, nan_count_t<T>* y);

// By runs: X is a stack of `after` blocks of t rows of `before` contiguous
// elements, each fibre taking one element per row. Rows are read a run of
// up to `run_length` elements at a time, counting into one counter per
// element of the run, so memory is read in order whatever d is.
template <typename T>
void nan_reduce_runs(const T* x, std::int32_t before, std::int32_t t, std::int32_t after, nan_count_t<T>* y);

constexpr std::int32_t run_length = 2048;

// Writes into y (of reduced_shape(dims, d)) the count of each fibre of x
// along d; nothing when Y is empty, zeros when X's length along d is 0.
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
    if (t == 0) {
        std::fill_n(y, static_cast<std::ptrdiff_t>(before) * after, nan_count_t<T>(0));
    } else if (before == 1) {
        nan_reduce_fibres(x, dims, n, d, y);
    } else {
        nan_reduce_runs(x, before, t, after, y);
    }
}

template <typename T>
void nan_reduce_fibres(const T* x, const std::int32_t* dims, std::int32_t n, std::int32_t d, nan_count_t<T>* y)
{
    const std::vector<std::int32_t> q = reduced_shape(std::vector<std::int32_t>(dims, dims + n), d);
    const std::int32_t t = d < n ? dims[d] : 1;
    const std::int32_t step = stride(std::min(d, n), dims);
    const std::int32_t count = stride(n, q.data());
    std::vector<std::int32_t> subscripts(n);
    for (std::int32_t e = 0; e < count; ++e) {
        offset_to_index(e, n, q.data(), subscripts.data());
        const std::int32_t u = index_to_offset(n, subscripts.data(), dims);
        y[e] = static_cast<nan_count_t<T>>(nanstat(t, x + u, step));
    }
}

template <typename T>
void nan_reduce_runs(const T* x, std::int32_t before, std::int32_t t, std::int32_t after, nan_count_t<T>* y)
{
    using Test = typename nan_test<T>::type;
    std::int32_t counts[run_length];
    for (std::int32_t j = 0; j < after; ++j) {
        const T* block = x + static_cast<std::ptrdiff_t>(j) * t * before;
        nan_count_t<T>* out = y + static_cast<std::ptrdiff_t>(j) * before;
        for (std::int32_t start = 0; start < before; start += run_length) {
            const std::int32_t length = std::min(run_length, before - start);
            std::fill_n(counts, length, 0);
            for (std::int32_t k = 0; k < t; ++k) {
                const T* row = block + static_cast<std::ptrdiff_t>(k) * before + start;
                for (std::int32_t i = 0; i < length; ++i) {
                    const Test v = row[i];
                    counts[i] += (v == v);
                }
            }
            for (std::int32_t i = 0; i < length; ++i) {
                out[start + i] = static_cast<nan_count_t<T>>(counts[i]);
            }
        }
    }
}

}  // namespace nrx

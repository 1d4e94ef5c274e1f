// The counting and the two walks nan_reduce chooses between, exposed so that
// tests and benchmarks can hold them to each other.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "statistics/fibre_index.hpp"
#include "statistics/nan_reduce.hpp"

namespace nrx::detail {

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

// How many of the t elements x[0], x[step], ..., x[(t-1)*step] are not NaN.
template <typename T>
double count_not_nan(std::int32_t t, const T* x, std::int32_t step)
{
    std::int32_t count = 0;
    for (std::int32_t k = 0; k < t; ++k) {
        const typename nan_test<T>::type v = x[static_cast<std::ptrdiff_t>(k) * step];
        count += (v == v);
    }
    return count;
}

// Both walks write every element of Y and need X non-empty along d (t >= 1)
// and Y non-empty.
//
// By fibres: for each e of Y in order, e's subscripts in the reduced shape
// give the start of its fibre in X, which count_not_nan counts. nan_reduce
// takes it when the fibres are contiguous (every dimension before d is 1),
// where it reads memory in order.
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
        y[e] = static_cast<nan_count_t<T>>(count_not_nan(t, x + u, step));
    }
}

constexpr std::int32_t run_length = 2048;

// By runs: X is a stack of `after` blocks of t rows of `before` contiguous
// elements, each fibre taking one element per row. Rows are read a run of
// up to `run_length` elements at a time, counting into one counter per
// element of the run, so memory is read in order whatever d is.
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

}  // namespace nrx::detail

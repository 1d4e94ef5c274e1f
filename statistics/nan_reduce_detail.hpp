// The counting and the walks nan_reduce chooses between, and the general
// walk they are held to, exposed so that tests and benchmarks can compare
// them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "core/planes.hpp"
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

// The type a count is summed in: as wide as the tested type, so that tests
// and sums share vector lanes. Every count is exact in it: a double holds
// whole numbers up to 2^53, an int32 every length.
template <typename T>
using nan_counter = std::conditional_t<std::is_same_v<typename nan_test<T>::type, double>, double, std::int32_t>;

// How many of the t elements x[0], x[step], ..., x[(t-1)*step] are not NaN.
// The sum is of whole numbers, so exact in any order: the lanes may share it.
template <typename T>
double count_not_nan(std::int32_t t, const T* x, std::int32_t step)
{
    nan_counter<T> count = 0;
#pragma omp simd reduction(+ : count)
    for (std::int32_t k = 0; k < t; ++k) {
        const typename nan_test<T>::type v = x[static_cast<std::ptrdiff_t>(k) * step];
        count += static_cast<nan_counter<T>>(v == v);
    }
    return count;
}

// Each walk below writes every element of Y and needs X non-empty along d
// (t >= 1) and Y non-empty. The fast ones split their work into `items` items
// of `cost` elements of X each, and run pieces of about `piece_elements`
// elements on every thread: work(item) for each item of the piece. Each
// count is made by one thread alone, so the thread count cannot change it.
constexpr std::int64_t piece_elements = 1 << 16;

template <typename Work>
void for_each_item(std::int64_t items, std::int64_t cost, Work&& work)
{
    const std::int64_t per_piece = std::max<std::int64_t>(1, piece_elements / cost);
    for_each_plane(
        (items + per_piece - 1) / per_piece,
        [&](std::int64_t piece) {
            const std::int64_t last = std::min(items, (piece + 1) * per_piece);
            for (std::int64_t item = piece * per_piece; item < last; ++item) {
                work(item);
            }
        });
}

// By fibres, the general walk the others are held to: for each e of Y in
// order, e's subscripts in the reduced shape give the start of its fibre in
// X, which count_not_nan counts.
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

// By contiguous fibres: element e of Y counts x[e t .. e t + t - 1]; the
// fibres of X along d when every dimension before d is 1. nan_reduce takes it
// then.
template <typename T>
void nan_reduce_contiguous(const T* x, std::int32_t t, std::int32_t count, nan_count_t<T>* y)
{
    for_each_item(count, t, [&](std::int64_t e) {
        y[e] = static_cast<nan_count_t<T>>(count_not_nan(t, x + e * t, 1));
    });
}

constexpr std::int32_t run_length = 8192;

// By runs: X is a stack of `after` blocks of t rows of `before` contiguous
// elements, each fibre taking one element per row. Rows are read a run of
// up to `run_length` elements at a time, counting into one counter per
// element of the run, so memory is read in order whatever d is. An item is a
// run of a block.
template <typename T>
void nan_reduce_runs(const T* x, std::int32_t before, std::int32_t t, std::int32_t after, nan_count_t<T>* y)
{
    using Test = typename nan_test<T>::type;
    const std::int64_t runs = (before + run_length - 1) / run_length;
    for_each_item(after * runs, std::int64_t{t} * std::min(before, run_length), [&](std::int64_t item) {
        const std::int64_t j = item / runs;
        const std::int64_t start = item % runs * run_length;
        const std::int64_t length = std::min<std::int64_t>(run_length, before - start);
        const T* run = x + j * t * before + start;
        nan_counter<T> counts[run_length];
        std::fill_n(counts, length, nan_counter<T>(0));
        auto add = [](nan_counter<T>& count, Test v) { count += static_cast<nan_counter<T>>(v == v); };
        std::int64_t k = 0;
        // A run that is part of a longer row has its rows far apart: four at
        // a time keep more of them streaming in. (Whole rows follow each
        // other, and are best read one after another.)
        if (before > run_length) {
            for (; k + 4 <= t; k += 4) {
                const T* row = run + k * before;
#pragma omp simd
                for (std::int64_t i = 0; i < length; ++i) {
                    nan_counter<T> count = counts[i];
                    add(count, row[i]);
                    add(count, row[i + before]);
                    add(count, row[i + 2 * before]);
                    add(count, row[i + 3 * before]);
                    counts[i] = count;
                }
            }
        }
        for (; k < t; ++k) {
            const T* row = run + k * before;
#pragma omp simd
            for (std::int64_t i = 0; i < length; ++i) {
                add(counts[i], row[i]);
            }
        }
        nan_count_t<T>* out = y + j * before + start;
        for (std::int64_t i = 0; i < length; ++i) {
            out[i] = static_cast<nan_count_t<T>>(counts[i]);
        }
    });
}

}  // namespace nrx::detail

#include "statistics/nan_reduce_detail.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using Dims = std::vector<std::int32_t>;

const double nan = std::numeric_limits<double>::quiet_NaN();

std::int32_t element_count(const Dims& dims)
{
    std::int32_t count = 1;
    for (std::int32_t size : dims) count *= size;
    return count;
}

// Brute force: every element of X adds itself to the Y element with the
// same subscripts except along d.
std::vector<double> reference_counts(const std::vector<double>& x, const Dims& dims, std::int32_t d)
{
    const Dims q = nrx::reduced_shape(dims, d);
    std::vector<double> y(element_count(q), 0.0);
    for (std::int32_t e = 0; e < element_count(dims); ++e) {
        std::int32_t rest = e, target = 0, step = 1;
        for (std::size_t k = 0; k < dims.size(); ++k) {
            const std::int32_t subscript = rest % dims[k];
            rest /= dims[k];
            target += (static_cast<std::int32_t>(k) == d ? 0 : subscript) * step;
            step *= q[k];
        }
        y[target] += !std::isnan(x[e]);
    }
    return y;
}

std::vector<double> random_with_nans(std::int32_t count, std::mt19937& generator)
{
    std::bernoulli_distribution is_nan(0.3);
    std::uniform_real_distribution<double> value(-5.0, 5.0);
    std::vector<double> x(count);
    for (double& v : x) v = is_nan(generator) ? nan : value(generator);
    return x;
}

TEST(FibreIndex, OffsetsAndSubscriptsConvertBothWays)
{
    const Dims dims = {3, 4, 5};
    EXPECT_EQ(nrx::stride(0, dims.data()), 1);
    EXPECT_EQ(nrx::stride(2, dims.data()), 12);
    EXPECT_EQ(nrx::stride(3, dims.data()), 60);
    std::int32_t subscripts[3];
    nrx::offset_to_index(37, 3, dims.data(), subscripts);  // 37 = 1 + 3*0 + 12*3
    EXPECT_EQ(subscripts[0], 1);
    EXPECT_EQ(subscripts[1], 0);
    EXPECT_EQ(subscripts[2], 3);
    for (std::int32_t offset = 0; offset < 60; ++offset) {
        nrx::offset_to_index(offset, 3, dims.data(), subscripts);
        ASSERT_EQ(nrx::index_to_offset(3, subscripts, dims.data()), offset);
    }
    EXPECT_EQ(nrx::index_to_offset(0, subscripts, dims.data()), 0);
}

TEST(CountNotNan, CountsEveryStepthElementThatIsNotNan)
{
    const double x[] = {1, nan, nan, 2, 3, 4, nan, 0};
    EXPECT_EQ(nrx::detail::count_not_nan(4, x, 2), 2.0);   // 1, nan, 3, nan
    EXPECT_EQ(nrx::detail::count_not_nan(4, x + 1, 2), 3.0);
    EXPECT_EQ(nrx::detail::count_not_nan(0, x, 1), 0.0);
    const float f[] = {std::numeric_limits<float>::quiet_NaN(), -0.0f, std::numeric_limits<float>::infinity()};
    EXPECT_EQ(nrx::detail::count_not_nan(3, f, 1), 2.0);
    const std::int32_t i32[] = {std::numeric_limits<std::int32_t>::min(), 0, std::numeric_limits<std::int32_t>::max()};
    EXPECT_EQ(nrx::detail::count_not_nan(3, i32, 1), 3.0);
    const std::uint64_t u64[] = {std::numeric_limits<std::uint64_t>::max(), 1};
    EXPECT_EQ(nrx::detail::count_not_nan(2, u64, 1), 2.0);
}

TEST(NanReduce, BothWalksMatchBruteForceOnEveryDimension)
{
    std::mt19937 generator(11);
    // Shapes with singleton axes, and rows longer than one run.
    const std::int32_t run = nrx::detail::run_length;
    const std::vector<Dims> shapes = {{7},          {1, 9},         {4, 1, 3},      {3, 5, 2, 4}, {1, 1, 6},
                                      {2 * run + 5, 3}, {3, run + 1, 2}, {run + 3, 6, 2}};
    for (const Dims& dims : shapes) {
        const std::vector<double> x = random_with_nans(element_count(dims), generator);
        const auto n = static_cast<std::int32_t>(dims.size());
        for (std::int32_t d = 0; d <= n + 1; ++d) {
            const std::vector<double> expected = reference_counts(x, dims, d);
            const Dims q = nrx::reduced_shape(dims, d);
            const std::int32_t before = nrx::stride(std::min(d, n), dims.data());
            const std::int32_t t = d < n ? dims[d] : 1;
            std::vector<double> fibres(expected.size(), -1.0), runs(expected.size(), -1.0),
                chosen(expected.size(), -1.0);
            nrx::detail::nan_reduce_fibres(x.data(), dims.data(), n, d, fibres.data());
            nrx::detail::nan_reduce_runs(x.data(), before, t, element_count(q) / before, runs.data());
            nrx::nan_reduce(x.data(), dims.data(), n, d, chosen.data());
            if (before == 1) {
                std::vector<double> contiguous(expected.size(), -1.0);
                nrx::detail::nan_reduce_contiguous(x.data(), t, element_count(q), contiguous.data());
                EXPECT_EQ(contiguous, expected) << "shape " << ::testing::PrintToString(dims) << " d " << d;
            }
            EXPECT_EQ(fibres, expected) << "shape " << ::testing::PrintToString(dims) << " d " << d;
            EXPECT_EQ(runs, expected) << "shape " << ::testing::PrintToString(dims) << " d " << d;
            EXPECT_EQ(chosen, expected) << "shape " << ::testing::PrintToString(dims) << " d " << d;
        }
    }
}

// Arrays of many pieces, split over 1 and 3 threads, in double and in single
// (whose counters are integers) and from bytes (converted to single).
TEST(NanReduce, AnyThreadCountGivesTheBruteForceCounts)
{
    std::mt19937 generator(5);
    for (const Dims& dims : {Dims{181, 37, 29}, Dims{3, 9000, 7}, Dims{nrx::detail::run_length + 1, 9, 2}}) {
        const std::vector<double> x = random_with_nans(element_count(dims), generator);
        const std::vector<float> single(x.begin(), x.end());
        const std::vector<std::uint8_t> bytes(x.size(), 7);
        for (std::int32_t d = 0; d < 3; ++d) {
            const std::vector<double> expected = reference_counts(x, dims, d);
            for (int threads : {1, 3}) {
                omp_set_num_threads(threads);
                std::vector<double> y(expected.size()), from_bytes(expected.size());
                std::vector<float> y_single(expected.size());
                nrx::nan_reduce(x.data(), dims.data(), 3, d, y.data());
                nrx::nan_reduce(single.data(), dims.data(), 3, d, y_single.data());
                nrx::nan_reduce(bytes.data(), dims.data(), 3, d, from_bytes.data());
                EXPECT_EQ(y, expected) << "d " << d << ", " << threads << " threads";
                EXPECT_EQ(std::vector<double>(y_single.begin(), y_single.end()), expected) << "d " << d;
                EXPECT_EQ(from_bytes, std::vector<double>(expected.size(), dims[d])) << "d " << d;
            }
        }
    }
}

TEST(NanReduce, EmptyAlongTheDimensionCountsZeroAndEmptyResultWritesNothing)
{
    const double x[1] = {0};
    std::vector<double> y(3, -1.0);
    const Dims three_by_zero = {3, 0};
    nrx::nan_reduce(x, three_by_zero.data(), 2, 1, y.data());
    EXPECT_EQ(y, (std::vector<double>{0, 0, 0}));
    // 0 x 2 x 50000 x 50000 along dimension 2: Y would be 0 x 1 x ..., so
    // nothing is read or written and no size product overflows.
    const Dims huge_empty = {0, 2, 50000, 50000};
    y.assign(1, -1.0);
    nrx::nan_reduce(x, huge_empty.data(), 4, 1, y.data());
    EXPECT_EQ(y[0], -1.0);
}

}  // namespace

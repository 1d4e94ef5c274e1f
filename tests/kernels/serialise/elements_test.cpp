#include "serialise/elements.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

template <class To, class From>
std::vector<To> converted(const std::vector<From>& from)
{
    std::vector<To> to(from.size());
    nrx::copy_elements(nrx::Elements{nrx::element_type_of<From>(), from.data(), from.size()}, to.data());
    return to;
}

TEST(Elements, ToIntegersRoundToNearestAndSaturateAndNaNIsZero)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(converted<std::int8_t>(std::vector<double>{2.5, -2.5, 300, -1e300, NAN, inf, -0.4}),
              (std::vector<std::int8_t>{3, -3, 127, -128, 0, 127, 0}));
    EXPECT_EQ(converted<std::int64_t>(std::vector<double>{9.3e18, -9.3e18, 0x1p62}),
              (std::vector<std::int64_t>{INT64_MAX, INT64_MIN, std::int64_t{1} << 62}));
    EXPECT_EQ(converted<std::uint64_t>(std::vector<float>{2e19f, -1.0f}), (std::vector<std::uint64_t>{UINT64_MAX, 0}));
    EXPECT_EQ(converted<std::uint8_t>(std::vector<std::int16_t>{-5, 300, 7}), (std::vector<std::uint8_t>{0, 255, 7}));
    EXPECT_EQ(converted<std::int32_t>(std::vector<std::uint64_t>{UINT64_MAX, 5}), (std::vector<std::int32_t>{INT32_MAX, 5}));
    EXPECT_EQ(converted<std::int16_t>(std::vector<std::int64_t>{INT64_MIN, -7}), (std::vector<std::int16_t>{INT16_MIN, -7}));
}

TEST(Elements, ToFloatingPoint)
{
    const std::vector<float> singles = converted<float>(std::vector<double>{1e300, -1e300, 0.1, NAN});
    EXPECT_EQ(singles[0], std::numeric_limits<float>::infinity());
    EXPECT_EQ(singles[1], -std::numeric_limits<float>::infinity());
    EXPECT_EQ(singles[2], 0.1f);
    EXPECT_TRUE(std::isnan(singles[3]));
    EXPECT_EQ(converted<double>(std::vector<std::uint64_t>{UINT64_MAX}), (std::vector<double>{0x1p64}));
}

TEST(Elements, UnalignedSameTypeRunsCopyExactly)
{
    std::vector<unsigned char> bytes(1 + 3 * sizeof(double));
    const double values[3] = {-0.0, 1.5, NAN};
    std::memcpy(bytes.data() + 1, values, sizeof values);
    double out[3];
    nrx::copy_elements(nrx::Elements{nrx::ElementType::float64, bytes.data() + 1, 3}, out);
    EXPECT_EQ(std::memcmp(out, values, sizeof values), 0);
}

TEST(Elements, LogicalIsOneForEveryNonzeroIncludingNaN)
{
    const std::vector<double> from{0, -0.0, 2, NAN, -1e-300};
    std::vector<std::uint8_t> to(from.size());
    nrx::copy_as_logical(nrx::Elements{nrx::ElementType::float64, from.data(), from.size()}, to.data());
    EXPECT_EQ(to, (std::vector<std::uint8_t>{0, 0, 1, 1, 1}));
}

}  // namespace

#include "acquisition/packet_numbers.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using namespace nrx::acquisition;

constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();
const double nan = std::nan("");
const double inf = std::numeric_limits<double>::infinity();

TEST(AcquisitionNumbers, Int32ConversionTruncatesAndSendsTheRestToTheMostNegative)
{
    EXPECT_EQ(to_int32(3.9), 3);
    EXPECT_EQ(to_int32(-3.9), -3);
    EXPECT_EQ(to_int32(-0.5), 0);
    EXPECT_EQ(to_int32(2147483647.9), highest);
    EXPECT_EQ(to_int32(-2147483648.9), lowest);
    EXPECT_EQ(to_int32(2147483648.0), lowest);
    EXPECT_EQ(to_int32(-2147483649.0), lowest);
    EXPECT_EQ(to_int32(nan), lowest);
    EXPECT_EQ(to_int32(inf), lowest);
    EXPECT_EQ(to_int32(-inf), lowest);
}

TEST(AcquisitionNumbers, ReadIndexSubtractsOneBeforeTruncating)
{
    EXPECT_EQ(read_index(1.0), 0);
    EXPECT_EQ(read_index(0.5), 0);
    EXPECT_EQ(read_index(1.99), 0);
    EXPECT_EQ(read_index(600.0), 599);
    EXPECT_EQ(read_index(600.99), 599);
    EXPECT_EQ(read_index(601.0), 600);
    EXPECT_EQ(read_index(0.0), -1);
    EXPECT_EQ(read_index(nan), lowest);
    EXPECT_EQ(read_index(3e9), lowest);
    EXPECT_EQ(read_index(2147483648.5), highest);
}

TEST(AcquisitionNumbers, WriteIndexSubtractsOneAfterTruncatingAndWrapsTheMostNegative)
{
    EXPECT_EQ(write_index(1.0), 0);
    EXPECT_EQ(write_index(1.99), 0);
    EXPECT_EQ(write_index(600.9), 599);
    EXPECT_EQ(write_index(0.5), -1);
    EXPECT_EQ(write_index(0.0), -1);
    EXPECT_EQ(write_index(-0.9), -1);
    EXPECT_EQ(write_index(-2147483647.0), lowest);
    // NaN, out of range, and the most negative integer itself lie after the last packet.
    EXPECT_EQ(write_index(nan), highest);
    EXPECT_EQ(write_index(3e9), highest);
    EXPECT_EQ(write_index(-3e9), highest);
    EXPECT_EQ(write_index(-2147483648.0), highest);
}

TEST(AcquisitionNumbers, SampleCountIsClampedAfterConversion)
{
    EXPECT_EQ(clamped_sample_count(0.0), 0);
    EXPECT_EQ(clamped_sample_count(-5.0), 0);
    EXPECT_EQ(clamped_sample_count(0.99), 0);
    EXPECT_EQ(clamped_sample_count(10.7), 10);
    EXPECT_EQ(clamped_sample_count(28160.5), 28160);
    EXPECT_EQ(clamped_sample_count(1e6), 28160);
    EXPECT_EQ(clamped_sample_count(nan), 0);
    EXPECT_EQ(clamped_sample_count(inf), 0);
}

}  // namespace

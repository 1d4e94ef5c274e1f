// The copy routines on a plain buffer laid out like the segment.
#include "acquisition/packets.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace nrx::acquisition;

// Word w (zero-based) of packet p holds p * 100000 + w, so that any word read
// from the wrong place shows.
std::vector<std::int32_t> numbered_segment()
{
    std::vector<std::int32_t> segment(segment_bytes / sizeof(std::int32_t));
    for (std::int32_t p = 0; p < packet_count; ++p) {
        for (std::int32_t w = 0; w < packet_words; ++w) {
            packet(segment.data(), p)[w] = p * 100000 + w;
        }
    }
    return segment;
}

TEST(AcquisitionPackets, HeaderRowsHoldOneWordOfEveryPacket)
{
    const std::vector<std::int32_t> segment = numbered_segment();
    for (std::int32_t rows = 1; rows <= header_words; ++rows) {
        std::vector<std::int32_t> out(header_words * packet_count + 1, -1);
        std::int32_t* row[header_words];
        for (std::int32_t k = 0; k < header_words; ++k) row[k] = out.data() + k * packet_count;
        copy_headers(segment.data(), row, rows);
        for (std::int32_t k = 0; k < header_words; ++k) {
            for (std::int32_t p = 0; p < packet_count; ++p) {
                ASSERT_EQ(row[k][p], k < rows ? p * 100000 + k : -1) << "word " << k + 1 << " packet " << p + 1;
            }
        }
        EXPECT_EQ(out.back(), -1);
    }
}

TEST(AcquisitionPackets, SamplesComeFromTheRightPacketAndStopAtTheCount)
{
    const std::vector<std::int32_t> segment = numbered_segment();
    for (std::int32_t index : {0, 7, 599}) {
        std::vector<std::int32_t> out(packet_samples + 1, -1);
        copy_samples(segment.data(), index, packet_samples, out.data());
        EXPECT_EQ(out[0], index * 100000 + 5);
        EXPECT_EQ(out[packet_samples - 1], index * 100000 + 28164);
        EXPECT_EQ(out[packet_samples], -1);
    }
    std::vector<std::int32_t> out(11, -1);
    copy_samples(segment.data(), 3, 10, out.data());
    EXPECT_EQ(out[9], 300014);
    EXPECT_EQ(out[10], -1);
    copy_samples(segment.data(), 3, 0, nullptr);
}

TEST(AcquisitionPackets, WriteSetsHeaderAndLeadingSamplesOnly)
{
    std::vector<std::int32_t> segment = numbered_segment();
    const std::vector<std::int32_t> before = segment;
    const std::int32_t words[header_words] = {-1, -2, -3, -4, -5};
    const std::int32_t samples[3] = {7, 8, 9};
    write_packet(segment.data(), 599, words, samples, 3);
    const std::int32_t* last = packet(segment.data(), 599);
    const std::int32_t expected[8] = {-1, -2, -3, -4, -5, 7, 8, 9};
    for (int w = 0; w < 8; ++w) EXPECT_EQ(last[w], expected[w]);
    // Everything else, in this packet and the others, is as it was.
    for (std::size_t w = 0; w < segment.size(); ++w) {
        if (w < 599u * packet_words || w >= 599u * packet_words + 8) {
            ASSERT_EQ(segment[w], before[w]) << "word " << w;
        }
    }
    // No samples: only the header changes.
    write_packet(segment.data(), 0, words, nullptr, 0);
    EXPECT_EQ(segment[4], -5);
    EXPECT_EQ(segment[5], 5);
}

}  // namespace

// The stand-in's packets: their layout, and the promise that a reader can
// tell a whole packet from one being written, tested against a writer
// thread running beside the reader.
#include "acquisition/standin_packets.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <thread>
#include <vector>

#include "acquisition/packets.hpp"
#include "acquisition/segment.hpp"
#include "acquisition/standin_packets_detail.hpp"

namespace {

using namespace nrx::acquisition;
using detail::standin_packet_index;
using detail::standin_sample;

std::vector<std::int32_t> empty_segment() { return std::vector<std::int32_t>(segment_bytes / sizeof(std::int32_t)); }

TEST(StandinPackets, PacketHoldsItsNumbersAndCountingSamples)
{
    std::vector<std::int32_t> segment = empty_segment();
    write_standin_packet(segment.data(), 1, 0);
    write_standin_packet(segment.data(), 600, 17);
    write_standin_packet(segment.data(), 602, 99);
    const std::int32_t* first = packet(segment.data(), 0);
    const std::int32_t* second = packet(segment.data(), 1);
    const std::int32_t* last = packet(segment.data(), 599);
    const std::int32_t first_words[7] = {1, 1, 28160, 0, 1, 1, 2};
    const std::int32_t second_words[7] = {602, 2, 28160, 99, 602, 602, 603};
    const std::int32_t last_words[7] = {600, 600, 28160, 17, 600, 600, 601};
    for (int w = 0; w < 7; ++w) {
        EXPECT_EQ(first[w], first_words[w]) << "word " << w + 1;
        EXPECT_EQ(second[w], second_words[w]) << "word " << w + 1;
        EXPECT_EQ(last[w], last_words[w]) << "word " << w + 1;
    }
    EXPECT_EQ(last[packet_words - 1], 600 + 28159);
    EXPECT_EQ(packet(segment.data(), 2)[0], 0);
}

TEST(StandinPackets, SamplesWrapAsInt32)
{
    const std::int32_t highest = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(standin_sample(highest, 1), highest);
    EXPECT_EQ(standin_sample(highest, 2), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(standin_packet_index(highest), (highest - 1) % 600);
}

TEST(StandinPackets, LastSequenceIsTheLargestNumberInWordOneOrFive)
{
    std::vector<std::int32_t> segment = empty_segment();
    EXPECT_EQ(last_sequence(segment.data()), 0);
    for (std::int32_t s = 1; s <= 7; ++s) write_standin_packet(segment.data(), s, 0);
    EXPECT_EQ(last_sequence(segment.data()), 7);
    packet(segment.data(), 300)[4] = 9;  // a packet begun but not finished
    EXPECT_EQ(last_sequence(segment.data()), 9);
    packet(segment.data(), 301)[0] = -50;
    EXPECT_EQ(last_sequence(segment.data()), 9);
}

// A writer thread stores packets as fast as it can while this thread reads
// the way the scheme tells readers to. Whatever the timing, a packet accepted
// as whole must hold exactly the samples of its sequence number, and header
// words that agree in words 1 and 5 must belong together. The two threads
// share the buffer only through the atomic accesses of the copies, so a
// ThreadSanitizer build of this test checks that no access is a data race.
TEST(StandinPackets, ReaderNeverAcceptsAPacketBeingWritten)
{
    std::vector<std::int32_t> segment = empty_segment();
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (std::int32_t s = 1; !stop.load(std::memory_order_relaxed); s = s % 1000000 + 1) {
            write_standin_packet(segment.data(), s, s % 1000);
        }
    });
    struct StopWriter {
        std::atomic<bool>& stop;
        std::thread& writer;
        ~StopWriter()
        {
            stop = true;
            writer.join();
        }
    } stop_writer{stop, writer};

    std::vector<std::int32_t> rows(header_words * packet_count), again(header_words * packet_count);
    std::vector<std::int32_t> samples(packet_samples);
    auto header_rows = [](std::vector<std::int32_t>& buffer) {
        std::int32_t* row[header_words];
        for (std::int32_t k = 0; k < header_words; ++k) row[k] = buffer.data() + k * packet_count;
        return std::vector<std::int32_t*>(row, row + header_words);
    };
    const std::vector<std::int32_t*> before = header_rows(rows), after = header_rows(again);
    long accepted = 0, rejected = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    for (long round = 0; std::chrono::steady_clock::now() < end || accepted == 0; ++round) {
        copy_headers(segment.data(), before.data(), header_words);
        std::int32_t newest = 0;
        for (std::int32_t p = 0; p < packet_count; ++p) {
            const std::int32_t s = before[0][p];
            if (s > 0 && s == before[4][p]) {
                ASSERT_EQ(standin_packet_index(s), p);
                ASSERT_EQ(before[1][p], p + 1);
                ASSERT_EQ(before[2][p], packet_samples);
                ASSERT_EQ(before[3][p], s % 1000);
            }
            if (before[0][p] > before[0][newest]) newest = p;
        }
        // Alternately the newest packet and the next, which is about to change.
        const std::int32_t p = round % 2 ? (newest + 1) % packet_count : newest;
        copy_samples(segment.data(), p, packet_samples, samples.data());
        copy_headers(segment.data(), after.data(), header_words);
        const std::int32_t s = before[0][p];
        if (s > 0 && before[4][p] == s && after[0][p] == s && after[4][p] == s) {
            for (std::int32_t k = 1; k <= packet_samples; ++k) {
                ASSERT_EQ(samples[k - 1], standin_sample(s, k)) << "sequence " << s << " sample " << k;
            }
            ++accepted;
        } else {
            ++rejected;
        }
    }
    EXPECT_GT(accepted, 0);
    std::printf("%ld packets read whole, %ld caught while being written\n", accepted, rejected);
}

}  // namespace

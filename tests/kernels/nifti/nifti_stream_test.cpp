// Reading a NIfTI header and its voxels from byte sources: stored values in
// either version and byte order, .img files, and headers that claim more
// voxels than their source holds.
#include "nifti/nifti_stream.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename T>
void put(Bytes& bytes, std::size_t at, T value, bool swapped)
{
    std::memcpy(&bytes[at], &value, sizeof value);
    if (swapped) {
        std::reverse(&bytes[at], &bytes[at] + sizeof value);
    }
}

// A header with its extension flags, for `count` voxels of a type in a
// single file (voxels right after it) or a .hdr file (voxels at byte 0).
Bytes header(int version, bool swapped, bool single_file, std::int16_t datatype, std::int16_t bitpix,
             std::int64_t count)
{
    Bytes bytes(version == 1 ? 352 : 544, 0);
    if (version == 1) {
        put<std::int32_t>(bytes, 0, 348, swapped);
        for (int d = 0; d < 4; ++d) {
            put<std::int16_t>(bytes, 40 + 2 * d, d == 0 ? 3 : d == 1 ? std::int16_t(count) : 1, swapped);
        }
        put<std::int16_t>(bytes, 70, datatype, swapped);
        put<std::int16_t>(bytes, 72, bitpix, swapped);
        put<float>(bytes, 108, single_file ? 352 : 0, swapped);
        std::memcpy(&bytes[344], single_file ? "n+1" : "ni1", 4);
    } else {
        put<std::int32_t>(bytes, 0, 540, swapped);
        std::memcpy(&bytes[4], single_file ? "n+2\0\r\n\032\n" : "ni2\0\r\n\032\n", 8);
        put<std::int16_t>(bytes, 12, datatype, swapped);
        put<std::int16_t>(bytes, 14, bitpix, swapped);
        for (int d = 0; d < 4; ++d) {
            put<std::int64_t>(bytes, 16 + 8 * d, d == 0 ? 3 : d == 1 ? count : 1, swapped);
        }
        put<std::int64_t>(bytes, 168, single_file ? 544 : 0, swapped);
    }
    return bytes;
}

// A source that may hide its size, as a gzipped file does, and records what
// it is asked for.
class WatchedSource : public nrx::MemorySource {
public:
    WatchedSource(const Bytes& bytes, bool sized) : MemorySource(bytes.data(), bytes.size(), "file"), sized_(sized) {}
    std::size_t read(void* out, std::size_t n) override
    {
        largest_request = std::max(largest_request, n);
        return MemorySource::read(out, n);
    }
    std::optional<std::uint64_t> size() const override { return sized_ ? MemorySource::size() : std::nullopt; }
    std::size_t largest_request = 0;

private:
    bool sized_;
};

TEST(NiftiStream, ReadsStoredValuesInEitherVersionAndByteOrder)
{
    for (int version : {1, 2}) {
        for (bool swapped : {false, true}) {
            Bytes file = header(version, swapped, true, 16, 32, 4);
            const float values[] = {1.5f, -2.0f, NAN, -INFINITY};
            for (int v = 0; v < 4; ++v) {
                file.resize(file.size() + 4);
                put<float>(file, file.size() - 4, values[v], swapped);
            }
            for (bool sized : {false, true}) {
                WatchedSource source(file, sized);
                const nrx::NiftiData data = nrx::read_nifti(source);
                ASSERT_EQ(data.header.dims, (std::vector<std::int32_t>{4, 1, 1}));
                std::vector<float> read(4);
                std::memcpy(read.data(), data.voxels.data(), 16);
                // NaN and infinities read as 0, as the reference library reads them.
                EXPECT_EQ(read, (std::vector<float>{1.5f, -2.0f, 0.0f, 0.0f})) << version << swapped << sized;
            }
        }
    }
}

TEST(NiftiStream, ReadsTheVoxelsOfAHdrFileFromItsImgFile)
{
    const Bytes hdr = header(1, false, false, 2, 8, 3);
    const Bytes img = {7, 8, 9};
    WatchedSource source(hdr, true);
    const nrx::NiftiData data =
        nrx::read_nifti(source, [&] { return std::make_unique<nrx::MemorySource>(img.data(), img.size(), "img"); });
    EXPECT_EQ(data.voxels, img);
    WatchedSource single(hdr, true);
    EXPECT_THROW(nrx::read_nifti(single), nrx::NiftiError);  // ni1 is no single file's magic
}

TEST(NiftiStream, RefusesClaimsBeyondTheSourceBeforeAllocatingThem)
{
    // 2^31 - 1 doubles (16 GiB) claimed, 3 MiB present.
    Bytes file = header(2, false, true, 64, 64, std::numeric_limits<std::int32_t>::max());
    file.resize(file.size() + (3 << 20));
    for (bool sized : {false, true}) {
        WatchedSource source(file, sized);
        try {
            nrx::read_nifti(source);
            ADD_FAILURE() << "read";
        } catch (const nrx::NiftiError& error) {
            EXPECT_STREQ(error.what(), "Too few bytes in file: the NIfTI header places 17179869176 bytes of voxels at "
                                       "byte 544, the file holds 3146272");
        }
        // A source of known size is not read past the header; otherwise
        // the buffer grows to at most twice what has arrived.
        EXPECT_LE(source.largest_request, sized ? 540 : std::size_t(4) << 20);
    }
}

}  // namespace

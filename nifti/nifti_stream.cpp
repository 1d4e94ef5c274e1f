#include "nifti/nifti_stream.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace nrx {

namespace {

// Sources of unknown size are read in chunks that start at this size and
// then at most double what has arrived.
constexpr std::size_t first_chunk = std::size_t(1) << 16;

[[noreturn]] void too_few_bytes(const ByteSource& source, std::uint64_t bytes, std::uint64_t offset,
                                std::uint64_t size)
{
    throw NiftiError("Too few bytes in " + source.name() + ": the NIfTI header places " + std::to_string(bytes) +
                     " bytes of voxels at byte " + std::to_string(offset) + ", the file holds " +
                     std::to_string(size));
}

// Reads and drops up to n bytes; returns how many there were.
std::uint64_t skip(ByteSource& source, std::uint64_t n)
{
    std::uint8_t scratch[16384];
    std::uint64_t skipped = 0;
    while (skipped < n) {
        const std::size_t want = std::min<std::uint64_t>(n - skipped, sizeof scratch);
        const std::size_t got = source.read(scratch, want);
        skipped += got;
        if (got < want) {
            break;
        }
    }
    return skipped;
}

// Up to n bytes: in one piece from a source whose size has been checked,
// otherwise in chunks, so that the buffer never holds much more than what
// has arrived.
std::vector<std::uint8_t> read_growing(ByteSource& source, std::size_t n)
{
    const bool sized = source.size().has_value();
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < n) {
        const std::size_t have = bytes.size();
        const std::size_t want = sized ? n - have : std::min(n - have, std::max(have, first_chunk));
        bytes.resize(have + want);
        const std::size_t got = source.read(bytes.data() + have, want);
        bytes.resize(have + got);
        if (got < want) {
            break;
        }
    }
    return bytes;
}

// The voxel bytes of `header` from `source`, which has been read up to byte
// `position` (not beyond the voxel offset).
std::vector<std::uint8_t> read_voxels(ByteSource& source, std::uint64_t position, const NiftiHeader& header)
{
    const std::uint64_t bytes = header.voxel_bytes();
    const std::uint64_t offset = header.voxel_offset;
    const std::optional<std::uint64_t> size = source.size();
    if (size && (offset > *size || bytes > *size - offset)) {
        too_few_bytes(source, bytes, offset, *size);
    }
    const std::uint64_t skipped = skip(source, offset - position);
    if (skipped < offset - position) {
        too_few_bytes(source, bytes, offset, position + skipped);
    }
    std::vector<std::uint8_t> voxels = read_growing(source, static_cast<std::size_t>(bytes));
    if (voxels.size() < bytes) {
        too_few_bytes(source, bytes, offset, offset + voxels.size());
    }
    return voxels;
}

template <typename T>
void zero_non_finite(std::vector<std::uint8_t>& voxels)
{
    for (std::size_t at = 0; at < voxels.size(); at += sizeof(T)) {
        T value;
        std::memcpy(&value, &voxels[at], sizeof(T));
        if (!std::isfinite(value)) {
            value = 0;
            std::memcpy(&voxels[at], &value, sizeof(T));
        }
    }
}

void to_machine_values(const NiftiHeader& header, std::vector<std::uint8_t>& voxels)
{
    const std::size_t width = header.bytes_per_voxel;
    if (header.swapped && width > 1) {
        for (std::size_t at = 0; at < voxels.size(); at += width) {
            std::reverse(&voxels[at], &voxels[at] + width);
        }
    }
    if (header.type == VoxelType::float32) {
        zero_non_finite<float>(voxels);
    } else if (header.type == VoxelType::float64) {
        zero_non_finite<double>(voxels);
    }
}

}  // namespace

std::size_t MemorySource::read(void* out, std::size_t n)
{
    const std::size_t count = std::min(n, size_ - position_);
    std::memcpy(out, bytes_ + position_, count);
    position_ += count;
    return count;
}

NiftiData read_nifti(ByteSource& file, const ImageFileOpener& open_image_file)
{
    NiftiData data;
    // The NIfTI-1 size first: its first four bytes tell whether there are more.
    std::vector<std::uint8_t>& header_bytes = data.header_bytes;
    header_bytes.resize(348);
    std::size_t have = file.read(header_bytes.data(), header_bytes.size());
    const std::size_t size = have == header_bytes.size() ? nifti_header_size(header_bytes.data()) : 0;
    if (size > have) {
        header_bytes.resize(size);
        have += file.read(header_bytes.data() + have, size - have);
    }
    if (have < size || size == 0) {
        throw not_nifti(file.name());
    }
    data.header = parse_nifti_header(header_bytes.data(), !open_image_file, file.name());
    if (data.header.single_file) {
        data.voxels = read_voxels(file, size, data.header);
    } else {
        const std::unique_ptr<ByteSource> image_file = open_image_file();
        data.voxels = read_voxels(*image_file, 0, data.header);
    }
    to_machine_values(data.header, data.voxels);
    return data;
}

}  // namespace nrx

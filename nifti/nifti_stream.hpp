// A NIfTI header and the voxels it describes, read from byte sources: the
// header is checked before any voxel is read, and the voxel buffer grows only
// as bytes actually arrive, so a header that claims more than its file holds
// is refused without allocating what it claims.
//
// Typical use:
//   nrx::MemorySource file(bytes, size, "scan.nii");
//   nrx::NiftiData image = nrx::read_nifti(file);
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "nifti/nifti_header.hpp"

namespace nrx {

// Bytes read in order from the start of a file or buffer.
class ByteSource {
public:
    explicit ByteSource(std::string name) : name_(std::move(name)) {}
    virtual ~ByteSource() = default;

    // Copies the next n bytes into out, or fewer when the source ends
    // first; returns how many it copied. Throws NiftiError when the bytes
    // cannot be read.
    virtual std::size_t read(void* out, std::size_t n) = 0;

    // The total number of bytes, when known without reading them.
    virtual std::optional<std::uint64_t> size() const = 0;

    // The name that messages give the source.
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

// The bytes of a buffer that outlives the source.
class MemorySource : public ByteSource {
public:
    MemorySource(const std::uint8_t* bytes, std::size_t size, std::string name)
        : ByteSource(std::move(name)), bytes_(bytes), size_(size)
    {
    }
    std::size_t read(void* out, std::size_t n) override;
    std::optional<std::uint64_t> size() const override { return size_; }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t position_ = 0;
};

struct NiftiData {
    std::vector<std::uint8_t> header_bytes;  // as stored: 348 or 540 bytes
    NiftiHeader header;
    // header.voxel_count values of header.type, first dimension fastest, in
    // this machine's byte order. NaN and infinite floats read as 0, as the
    // reference NIfTI library reads them.
    std::vector<std::uint8_t> voxels;
};

// Opens the .img file of a header whose voxels are not in its own file.
using ImageFileOpener = std::function<std::unique_ptr<ByteSource>()>;

// Reads and checks the header at the start of `file`, then its voxels: from
// the rest of `file` when open_image_file is empty (a single file, .nii),
// otherwise from the source it returns (the .img file of a .hdr file). Throws
// NiftiError when the header does not hold up (parse_nifti_header) or the
// voxels' file ends before the last voxel.
NiftiData read_nifti(ByteSource& file, const ImageFileOpener& open_image_file = {});

}  // namespace nrx

// The checked facts of a NIfTI-1 or NIfTI-2 header that reading its voxels
// needs, taken from the header bytes alone (no file, no other library), so
// that nothing is allocated or read for a header that does not hold up.
//
// Typical use:
//   std::size_t size = nrx::nifti_header_size(bytes);   // 348, 540 or 0
//   nrx::NiftiHeader header = nrx::parse_nifti_header(bytes, true, "ch2.nii");
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace nrx {

// A file or header that cannot be read exactly; the text says what is wrong
// and names the file.
class NiftiError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The refusal of a file that cannot be opened or does not start with a
// NIfTI header.
NiftiError not_nifti(const std::string& name);

// Stored voxel types the reader hands on as they are.
enum class VoxelType { uint8, int8, uint16, int16, uint32, int32, uint64, int64, float32, float64 };

struct NiftiHeader {
    std::size_t size;        // bytes of header: 348 (NIfTI-1) or 540 (NIfTI-2)
    bool swapped;            // stored in the byte order opposite to this machine's
    bool single_file;        // voxels follow in the same file (.nii), not in an .img file (.hdr)
    std::vector<std::int32_t> dims;  // dim[1] .. dim[dim[0]], each at least 1
    std::int32_t voxel_count;        // their product
    VoxelType type;
    std::size_t bytes_per_voxel;
    std::uint64_t voxel_offset;      // byte of the first voxel in the file that holds the voxels

    std::uint64_t voxel_bytes() const { return std::uint64_t(voxel_count) * bytes_per_voxel; }
};

// The header size that the first four bytes (sizeof_hdr, in either byte
// order) announce: 348 or 540, or 0 when they announce neither and the bytes
// are not a NIfTI header.
std::size_t nifti_header_size(const std::uint8_t* first_four);

// Checks the header bytes (as many as nifti_header_size announces) of a
// single file or of a .hdr file: magic (n+1 or n+2 for a single file, ni1 or
// ni2 for a .hdr file), dimensions, voxel type and bits per voxel, voxel
// offset. Dimensions and the voxel count must fit in 32-bit signed integers;
// a single file's voxels start after the header and its four extension-flag
// bytes, an .img file's at any whole, non-negative offset. Throws NiftiError
// naming `name` otherwise (not_nifti when the first four bytes announce no
// header size).
NiftiHeader parse_nifti_header(const std::uint8_t* bytes, bool single_file, const std::string& name);

}  // namespace nrx

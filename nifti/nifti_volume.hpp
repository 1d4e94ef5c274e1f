// A NIfTI-1 or NIfTI-2 image file (optionally gzipped) read through the
// reference NIfTI library, as plain buffers.
//
// Typical use:
//   nrx::NiftiVolume volume("ch2.nii.gz");   // throws NiftiError when unreadable
//   std::vector<float> voxels(volume.voxel_count());
//   volume.copy_voxels(voxels.data());        // stored values, stored type
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace nrx {

class NiftiError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Stored voxel types the reader hands on as they are.
enum class VoxelType { uint8, int8, uint16, int16, uint32, int32, uint64, int64, float32, float64 };

class NiftiVolume {
public:
    // Reads header and voxels. Refuses files that cannot be read and voxel
    // types outside VoxelType (complex, RGB, 128-bit) with a NiftiError
    // whose text names the file or the type.
    explicit NiftiVolume(const std::string& path);
    ~NiftiVolume();
    NiftiVolume(const NiftiVolume&) = delete;
    NiftiVolume& operator=(const NiftiVolume&) = delete;

    // Sizes of the used dimensions, at least three (x, y, z, then t, ...).
    std::vector<std::int64_t> dims() const;
    std::int64_t voxel_count() const;
    VoxelType type() const { return type_; }
    std::size_t bytes_per_voxel() const;

    // Copies the stored voxel values (voxel_count() elements of type())
    // into out, first dimension fastest.
    void copy_voxels(void* out) const;

    // The 4x4 voxel-to-world matrix, column-major: it maps zero-based voxel
    // indices (i, j, k, 1) to world millimetres. The file's sform when it
    // has one, otherwise its qform (or the plain voxel sizes).
    void voxel_to_world(double out[16]) const;

    // Whether the file asks for its stored values to be scaled (a slope
    // other than 0, and not the identity slope 1 with intercept 0).
    bool is_scaled() const;

    // Writes slope * stored + inter for every voxel (the stored value
    // itself when the file asks for no scaling), as doubles.
    void copy_scaled(double* out) const;

private:
    struct Image;
    std::unique_ptr<Image> image_;
    VoxelType type_;
};

}  // namespace nrx

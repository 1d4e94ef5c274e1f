// A NIfTI-1 or NIfTI-2 image file (optionally gzipped, or a .hdr/.img pair)
// as plain buffers: the voxels exactly as stored, or a refusal that says what
// is wrong; the voxel-to-world matrix and the intensity scaling as the
// reference NIfTI library reads them from the checked header.
//
// Typical use:
//   nrx::NiftiVolume volume("ch2.nii.gz");   // throws NiftiError when unreadable
//   std::vector<float> voxels(volume.voxel_count());
//   volume.copy_voxels(voxels.data());        // stored values, stored type
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "nifti/nifti_stream.hpp"

namespace nrx {

class NiftiVolume {
public:
    // Reads the header of the file `path` names (find_header_file; no NUL
    // characters), checks it, then reads the voxels, never more than the
    // file holds. Refuses with a NiftiError whose text says what is wrong
    // and names the file: one that cannot be read or is not NIfTI, a header
    // that does not hold up (parse_nifti_header), voxel types outside
    // VoxelType (complex, RGB, 128-bit), a file shorter than its header says.
    explicit NiftiVolume(const std::string& path);
    ~NiftiVolume();
    NiftiVolume(const NiftiVolume&) = delete;
    NiftiVolume& operator=(const NiftiVolume&) = delete;

    // Sizes of the used dimensions, at least three (x, y, z, then t, ...).
    std::vector<std::int64_t> dims() const;
    std::int64_t voxel_count() const { return data_.header.voxel_count; }
    VoxelType type() const { return data_.header.type; }

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
    NiftiData data_;
    // The reference library's reading of the header (no voxels).
    struct Description;
    std::unique_ptr<Description> description_;
};

}  // namespace nrx

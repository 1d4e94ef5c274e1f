#include "nifti/nifti_volume.hpp"

#include <algorithm>
#include <cstring>

#include <nifti2_io.h>

namespace nrx {

struct NiftiVolume::Image {
    nifti_image* nim;
};

namespace {

VoxelType voxel_type(const nifti_image& nim, const std::string& path)
{
    switch (nim.datatype) {
    case DT_UINT8: return VoxelType::uint8;
    case DT_INT8: return VoxelType::int8;
    case DT_UINT16: return VoxelType::uint16;
    case DT_INT16: return VoxelType::int16;
    case DT_UINT32: return VoxelType::uint32;
    case DT_INT32: return VoxelType::int32;
    case DT_UINT64: return VoxelType::uint64;
    case DT_INT64: return VoxelType::int64;
    case DT_FLOAT32: return VoxelType::float32;
    case DT_FLOAT64: return VoxelType::float64;
    default:
        throw NiftiError("Unsupported voxel type " + std::string(nifti_datatype_string(nim.datatype)) + " in " +
                         path);
    }
}

}  // namespace

NiftiVolume::NiftiVolume(const std::string& path) : image_(std::make_unique<Image>())
{
    // The library reports its own failures on stderr; ours carry the message.
    nifti_set_debug_level(0);
    image_->nim = nifti_image_read(path.c_str(), 1);
    if (image_->nim == nullptr || image_->nim->data == nullptr) {
        if (image_->nim != nullptr) {
            nifti_image_free(image_->nim);
        }
        throw NiftiError("Cannot read a NIfTI image from " + path);
    }
    try {
        type_ = voxel_type(*image_->nim, path);
        // A header whose unused dimensions are not 1 holds more voxels than
        // its used dimensions describe; such a file is refused rather than
        // copied into an array of the smaller size.
        std::int64_t count = 1;
        for (std::int64_t size : dims()) {
            count *= size;
        }
        if (count != image_->nim->nvox) {
            throw NiftiError("Inconsistent dimensions in the NIfTI header of " + path);
        }
    } catch (...) {
        nifti_image_free(image_->nim);
        throw;
    }
}

NiftiVolume::~NiftiVolume() { nifti_image_free(image_->nim); }

std::vector<std::int64_t> NiftiVolume::dims() const
{
    const nifti_image& nim = *image_->nim;
    std::vector<std::int64_t> result(nim.dim + 1, nim.dim + 1 + std::max<std::int64_t>(nim.dim[0], 3));
    for (std::int64_t& size : result) {
        size = std::max<std::int64_t>(size, 1);
    }
    return result;
}

std::int64_t NiftiVolume::voxel_count() const { return image_->nim->nvox; }

std::size_t NiftiVolume::bytes_per_voxel() const { return static_cast<std::size_t>(image_->nim->nbyper); }

void NiftiVolume::copy_voxels(void* out) const
{
    std::memcpy(out, image_->nim->data, bytes_per_voxel() * static_cast<std::size_t>(voxel_count()));
}

void NiftiVolume::voxel_to_world(double out[16]) const
{
    const nifti_image& nim = *image_->nim;
    const nifti_dmat44& m = nim.sform_code > 0 ? nim.sto_xyz : nim.qto_xyz;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out[r + 4 * c] = m.m[r][c];
        }
    }
}

bool NiftiVolume::is_scaled() const
{
    const double slope = image_->nim->scl_slope;
    const double inter = image_->nim->scl_inter;
    return slope != 0.0 && !(slope == 1.0 && inter == 0.0);
}

namespace {

template <typename T>
void scale(const void* stored, std::int64_t count, double slope, double inter, double* out)
{
    const T* values = static_cast<const T*>(stored);
    for (std::int64_t v = 0; v < count; ++v) {
        out[v] = slope * static_cast<double>(values[v]) + inter;
    }
}

}  // namespace

void NiftiVolume::copy_scaled(double* out) const
{
    const nifti_image& nim = *image_->nim;
    const double slope = is_scaled() ? nim.scl_slope : 1.0;
    const double inter = is_scaled() ? nim.scl_inter : 0.0;
    const std::int64_t n = voxel_count();
    switch (type_) {
    case VoxelType::uint8: scale<std::uint8_t>(nim.data, n, slope, inter, out); break;
    case VoxelType::int8: scale<std::int8_t>(nim.data, n, slope, inter, out); break;
    case VoxelType::uint16: scale<std::uint16_t>(nim.data, n, slope, inter, out); break;
    case VoxelType::int16: scale<std::int16_t>(nim.data, n, slope, inter, out); break;
    case VoxelType::uint32: scale<std::uint32_t>(nim.data, n, slope, inter, out); break;
    case VoxelType::int32: scale<std::int32_t>(nim.data, n, slope, inter, out); break;
    case VoxelType::uint64: scale<std::uint64_t>(nim.data, n, slope, inter, out); break;
    case VoxelType::int64: scale<std::int64_t>(nim.data, n, slope, inter, out); break;
    case VoxelType::float32: scale<float>(nim.data, n, slope, inter, out); break;
    case VoxelType::float64: scale<double>(nim.data, n, slope, inter, out); break;
    }
}

}  // namespace nrx

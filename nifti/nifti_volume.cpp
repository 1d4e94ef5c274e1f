#include "nifti/nifti_volume.hpp"

#include <algorithm>
#include <cstring>

#include <nifti2_io.h>

#include "nifti/nifti_files.hpp"

namespace nrx {

static_assert(sizeof(nifti_1_header) == 348 && sizeof(nifti_2_header) == 540, "NIfTI header layouts");

struct NiftiVolume::Description {
    nifti_image* nim;
    ~Description() { nifti_image_free(nim); }
};

namespace {

// The library's reading of header bytes that have passed our checks, which
// are stricter than its own: it fails (and writes to stderr) on none of them.
nifti_image* describe(const NiftiData& data)
{
    nifti_set_debug_level(0);
    if (data.header.size == sizeof(nifti_1_header)) {
        nifti_1_header header;
        std::memcpy(&header, data.header_bytes.data(), sizeof header);
        return nifti_convert_n1hdr2nim(header, nullptr);
    }
    nifti_2_header header;
    std::memcpy(&header, data.header_bytes.data(), sizeof header);
    return nifti_convert_n2hdr2nim(header, nullptr);
}

NiftiData read_files(const std::string& path)
{
    const std::optional<HeaderFile> header_file = find_header_file(path);
    if (!header_file) {
        throw not_nifti(shown_file_name(path));
    }
    FileSource file(header_file->path);
    if (header_file->single_file) {
        return read_nifti(file);
    }
    return read_nifti(file, [&]() -> std::unique_ptr<ByteSource> {
        const std::optional<std::string> image_file = find_image_file(header_file->path);
        if (!image_file) {
            throw NiftiError("Cannot find the .img file of the NIfTI header " + file.name());
        }
        return std::make_unique<FileSource>(*image_file);
    });
}

template <typename T>
void scale(const std::vector<std::uint8_t>& stored, double slope, double inter, double* out)
{
    for (std::size_t v = 0; v < stored.size() / sizeof(T); ++v) {
        T value;
        std::memcpy(&value, &stored[v * sizeof(T)], sizeof(T));
        out[v] = slope * static_cast<double>(value) + inter;
    }
}

}  // namespace

NiftiVolume::NiftiVolume(const std::string& path)
    : data_(read_files(path)), description_(new Description{describe(data_)})
{
    if (description_->nim == nullptr) {
        throw not_nifti(shown_file_name(path));
    }
}

NiftiVolume::~NiftiVolume() = default;

std::vector<std::int64_t> NiftiVolume::dims() const
{
    std::vector<std::int64_t> result(data_.header.dims.begin(), data_.header.dims.end());
    result.resize(std::max<std::size_t>(result.size(), 3), 1);
    return result;
}

void NiftiVolume::copy_voxels(void* out) const { std::memcpy(out, data_.voxels.data(), data_.voxels.size()); }

void NiftiVolume::voxel_to_world(double out[16]) const
{
    const nifti_image& nim = *description_->nim;
    const nifti_dmat44& m = nim.sform_code > 0 ? nim.sto_xyz : nim.qto_xyz;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out[r + 4 * c] = m.m[r][c];
        }
    }
}

bool NiftiVolume::is_scaled() const
{
    const double slope = description_->nim->scl_slope;
    const double inter = description_->nim->scl_inter;
    return slope != 0.0 && !(slope == 1.0 && inter == 0.0);
}

void NiftiVolume::copy_scaled(double* out) const
{
    const nifti_image& nim = *description_->nim;
    const bool scaled = is_scaled();
    const double slope = scaled ? nim.scl_slope : 1.0;
    const double inter = scaled ? nim.scl_inter : 0.0;
    const std::vector<std::uint8_t>& stored = data_.voxels;
    switch (type()) {
    case VoxelType::uint8: scale<std::uint8_t>(stored, slope, inter, out); break;
    case VoxelType::int8: scale<std::int8_t>(stored, slope, inter, out); break;
    case VoxelType::uint16: scale<std::uint16_t>(stored, slope, inter, out); break;
    case VoxelType::int16: scale<std::int16_t>(stored, slope, inter, out); break;
    case VoxelType::uint32: scale<std::uint32_t>(stored, slope, inter, out); break;
    case VoxelType::int32: scale<std::int32_t>(stored, slope, inter, out); break;
    case VoxelType::uint64: scale<std::uint64_t>(stored, slope, inter, out); break;
    case VoxelType::int64: scale<std::int64_t>(stored, slope, inter, out); break;
    case VoxelType::float32: scale<float>(stored, slope, inter, out); break;
    case VoxelType::float64: scale<double>(stored, slope, inter, out); break;
    }
}

}  // namespace nrx

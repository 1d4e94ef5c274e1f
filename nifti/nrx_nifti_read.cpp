// [V, M] = nrx_nifti_read(filename): the voxels and the voxel-to-world
// matrix of a NIfTI-1 or NIfTI-2 image file (.nii or .nii.gz).
#include <algorithm>
#include <string>

#include "host/frame.hpp"
#include "host/text.hpp"
#include "nifti/nifti_volume.hpp"

namespace {

enum Input { FILE_NAME, INPUT_COUNT };
enum Output { VOXELS, MATRIX };

mxClassID class_of(nrx::VoxelType type)
{
    switch (type) {
    case nrx::VoxelType::uint8: return mxUINT8_CLASS;
    case nrx::VoxelType::int8: return mxINT8_CLASS;
    case nrx::VoxelType::uint16: return mxUINT16_CLASS;
    case nrx::VoxelType::int16: return mxINT16_CLASS;
    case nrx::VoxelType::uint32: return mxUINT32_CLASS;
    case nrx::VoxelType::int32: return mxINT32_CLASS;
    case nrx::VoxelType::uint64: return mxUINT64_CLASS;
    case nrx::VoxelType::int64: return mxINT64_CLASS;
    case nrx::VoxelType::float32: return mxSINGLE_CLASS;
    case nrx::VoxelType::float64: return mxDOUBLE_CLASS;
    }
    return mxDOUBLE_CLASS;
}

std::string read_file_name(const mxArray* array)
{
    if (!mxIsChar(array) || mxGetM(array) > 1) {
        nrx::host::refuse("The file name must be a character string.");
    }
    // The text stops at a NUL, which would name another file.
    const mxChar* chars = mxGetChars(array);
    if (std::find(chars, chars + mxGetNumberOfElements(array), mxChar(0)) != chars + mxGetNumberOfElements(array)) {
        nrx::host::refuse("The file name must not contain a NUL character.");
    }
    return nrx::host::read_text(array);
}

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    if (nrhs != INPUT_COUNT || nlhs > 2) {
        refuse("Usage: [V, M] = " + plugin_name() + "(filename)");
    }
    const std::string path = read_file_name(prhs[FILE_NAME]);

    try {
        const nrx::NiftiVolume volume(path);
        const std::vector<std::int64_t> sizes = volume.dims();
        const std::vector<mwSize> dims(sizes.begin(), sizes.end());
        // Stored values in their own class, or doubles when the file asks
        // for its intensities to be scaled.
        if (volume.is_scaled()) {
            plhs[VOXELS] = mxCreateUninitNumericArray(dims.size(), dims.data(), mxDOUBLE_CLASS, mxREAL);
            volume.copy_scaled(mxGetPr(plhs[VOXELS]));
        } else {
            plhs[VOXELS] = mxCreateUninitNumericArray(dims.size(), dims.data(), class_of(volume.type()), mxREAL);
            volume.copy_voxels(mxGetData(plhs[VOXELS]));
        }
        if (nlhs > 1) {
            plhs[MATRIX] = mxCreateDoubleMatrix(4, 4, mxREAL);
            volume.voxel_to_world(mxGetPr(plhs[MATRIX]));
        }
    } catch (const nrx::NiftiError& error) {
        refuse(error.what());
    }
}

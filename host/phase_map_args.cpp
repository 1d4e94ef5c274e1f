#include "host/phase_map_args.hpp"

#include <utility>

#include "host/arrays.hpp"
#include "host/double_image.hpp"
#include "host/frame.hpp"

namespace nrx::host {

PhaseMapArgs::PhaseMapArgs(std::string plugin, std::string usage)
    : plugin_(std::move(plugin)), usage_(std::move(usage))
{
}

void PhaseMapArgs::refuse(const std::string& text) const { host::refuse(plugin_ + ": " + text); }

void PhaseMapArgs::check_counts(int nrhs, int inputs, int nlhs, int outputs, const char* outputs_required) const
{
    if (nrhs == 0) {
        host::refuse(usage_);
    }
    if (nrhs != inputs) {
        refuse(std::to_string(inputs) + " input arguments required");
    }
    if (nlhs != outputs) {
        refuse(outputs_required);
    }
}

void PhaseMapArgs::require_real_full_double(const mxArray* array, const char* name) const
{
    if (!is_real_full_double(array)) {
        refuse(std::string(name) + " must be numeric, real, full and double");
    }
}

DoubleGrid PhaseMapArgs::read_grid(const mxArray* array, const char* name, const std::string& not_2d_or_3d) const
{
    const std::string prefix = plugin_ + ": ";
    const Volume volume =
        read_double_image(array, prefix + name + " must be numeric, real, full and double", prefix + not_2d_or_3d,
                          prefix + name + " is too large: dimensions and element count must fit in 32-bit integers");
    DoubleGrid grid{static_cast<const double*>(volume.data), {}};
    for (int axis = 0; axis < 3; ++axis) {
        grid.dim[axis] = static_cast<std::uint32_t>(volume.dim[axis]);
    }
    return grid;
}

DoubleGrid PhaseMapArgs::map(const mxArray* array, const char* name) const
{
    return read_grid(array, name, std::string(name) + " must be 2 or 3-dimensional");
}

const double* PhaseMapArgs::matching_map(const mxArray* array, const char* name, const mxArray* first,
                                         const char* first_name) const
{
    require_real_full_double(array, name);
    const mwSize ndims = mxGetNumberOfDimensions(array);
    if (ndims != mxGetNumberOfDimensions(first)) {
        refuse(std::string(first_name) + " and " + name + " must have same dimensionality");
    }
    const mwSize* dims = mxGetDimensions(array);
    const mwSize* first_dims = mxGetDimensions(first);
    for (mwSize axis = 0; axis < ndims; ++axis) {
        if (dims[axis] != first_dims[axis]) {
            refuse(std::string(first_name) + " and " + name + " must have same size");
        }
    }
    return mxGetPr(array);
}

DoubleGrid PhaseMapArgs::kernel(const mxArray* array, const char* name, const char* map_name) const
{
    // A 2-D kernel counts as 3-D, so only four or more dimensions differ from the map's.
    return read_grid(array, name, std::string(map_name) + " and " + name + " must have same dimensionality");
}

}  // namespace nrx::host

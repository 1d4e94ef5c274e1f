#include "phasemap/phase_map_arguments.hpp"

#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/sizes.hpp"

namespace nrx::host {

PhaseMapArgs::PhaseMapArgs(const char* outputs, const char* inputs)
    : usage_(std::string("usage: ") + outputs + plugin_name() + inputs)
{
}

void PhaseMapArgs::refuse(const std::string& text) const { host::refuse(with_plugin_name(text)); }

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

Grid3 PhaseMapArgs::read_grid(const mxArray* array, const char* name, const std::string& not_2d_or_3d) const
{
    return read_double_image(
        array, with_plugin_name(std::string(name) + " must be numeric, real, full and double"),
        with_plugin_name(not_2d_or_3d),
        with_plugin_name(std::string(name) + " is too large: dimensions and element count must fit in 32-bit integers"));
}

Grid3 PhaseMapArgs::map(const mxArray* array, const char* name) const
{
    return read_grid(array, name, std::string(name) + " must be 2 or 3-dimensional");
}

const double* PhaseMapArgs::matching_map(const mxArray* array, const char* name, const mxArray* first,
                                         const char* first_name) const
{
    if (!is_real_full_double(array)) {
        refuse(std::string(name) + " must be numeric, real, full and double");
    }
    if (!same_dimension_count(array, first)) {
        refuse(std::string(first_name) + " and " + name + " must have same dimensionality");
    }
    if (!same_size(array, first)) {
        refuse(std::string(first_name) + " and " + name + " must have same size");
    }
    return mxGetPr(array);
}

Grid3 PhaseMapArgs::kernel(const mxArray* array, const char* name, const char* map_name) const
{
    // A 2-D kernel counts as 3-D, so only four or more dimensions differ from the map's.
    return read_grid(array, name, std::string(map_name) + " and " + name + " must have same dimensionality");
}

}  // namespace nrx::host

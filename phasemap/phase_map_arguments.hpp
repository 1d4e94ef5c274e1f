// Argument checks shared by the phase-map plug-ins.
//
// The five plug-ins check their arguments alike and differ only in their call
// form and the names of their arguments. Every message begins with the
// plug-in's name, a colon and a blank (the host adds its own "<plug-in>: " in
// front of that).
#pragma once

#include <string>

#include "core/grid3.hpp"
#include "mex.h"

namespace nrx::host {

class PhaseMapArgs {
public:
    // The usage message, for a call without inputs, is "usage: " followed by
    // `outputs`, the plug-in's name and `inputs`.
    PhaseMapArgs(const char* outputs, const char* inputs);

    // A call without inputs gets the usage message; then the number of inputs
    // must be `inputs` ("<n> input arguments required") and the number of
    // outputs exactly `outputs` (else the message `outputs_required`).
    void check_counts(int nrhs, int inputs, int nlhs, int outputs, const char* outputs_required) const;

    // The phase map, or any first map: numeric, real, full and double, with
    // 2 or 3 dimensions, sizes within 32 bits.
    Grid3 map(const mxArray* array, const char* name) const;

    // A map that goes with `first`: numeric, real, full and double, with the
    // same number of dimensions as `first` and the same size, compared first
    // dimension to last. Returns its data.
    const double* matching_map(const mxArray* array, const char* name, const mxArray* first,
                               const char* first_name) const;

    // A filter kernel: numeric, real, full and double, with at most three
    // dimensions (a 2-D kernel counts as 3-D, like the 2-D map it may go
    // with, so only four or more dimensions are refused), sizes within 32
    // bits.
    Grid3 kernel(const mxArray* array, const char* name, const char* map_name) const;

    // Refuses the call with "<plug-in>: " followed by `text`.
    [[noreturn]] void refuse(const std::string& text) const;

private:
    Grid3 read_grid(const mxArray* array, const char* name, const std::string& not_2d_or_3d) const;

    std::string usage_;
};

}  // namespace nrx::host

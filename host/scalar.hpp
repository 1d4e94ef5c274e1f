// Numbers handed over as the first element of a host array.
#pragma once

#include <optional>

#include "mex.h"

namespace nrx::host {

// The first real element of a non-empty numeric, logical or char array, as a
// double. Nothing for an empty array or one of another class (cell, struct,
// function handle, ...), which the host cannot read as a number: each caller
// decides whether that is a refusal or an invalid value.
std::optional<double> scalar_value(const mxArray* array);

// The same, with NaN for an array the host cannot read as a number: for
// arguments whose NaN already has a meaning (no packet, no count).
double scalar_or_nan(const mxArray* array);

}  // namespace nrx::host

// The kernel plug-ins of each subsystem as functions of the extension module
// nrx._kernels, one binding per plug-in under the plug-in's name without its
// prefix. Each binding checks its arguments as the plug-in's gateway does, in
// the same order and with the same messages, then makes ONE kernel call with
// the GIL released. Argument names, defaults and help live in the Python
// package nrx, which calls these.
#pragma once

#include <pybind11/pybind11.h>

namespace nrx::python {

void bind_geometry(pybind11::module_& module);
void bind_registration(pybind11::module_& module);
void bind_phasemap(pybind11::module_& module);
void bind_segmentation(pybind11::module_& module);
void bind_statistics(pybind11::module_& module);
void bind_acquisition(pybind11::module_& module);

}  // namespace nrx::python

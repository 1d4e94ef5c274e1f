#include "python/src/bindings.hpp"

PYBIND11_MODULE(_kernels, module)
{
    module.doc() = "The nrx kernels for NumPy arrays; call them through the package nrx.";
    nrx::python::bind_geometry(module);
    nrx::python::bind_registration(module);
    nrx::python::bind_phasemap(module);
    nrx::python::bind_segmentation(module);
    nrx::python::bind_statistics(module);
    nrx::python::bind_acquisition(module);
}

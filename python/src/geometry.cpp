// warp_jacobian and warp_affine: the deformation-field plug-ins.
#include <cstdint>

#include "geometry/warp_affine.hpp"
#include "geometry/warp_jacobian.hpp"
#include "python/src/arguments.hpp"
#include "python/src/bindings.hpp"

namespace nrx::python {

namespace {

// The three components of a field, each as the plug-ins' reader takes it:
// single, real, full, at most three dimensions, all of the first one's grid.
Grid3 field_grid(Argument (&field)[3])
{
    Grid3 first;
    for (int c = 0; c < 3; ++c) {
        if (!is_real_full_of_class(field[c], Class::single)) {
            refuse_type("Data must be a single precision floating point multi-dimensional array.");
        }
        if (field[c].dims().size() > 3) {
            refuse_value("Too many dimensions in data.");
        }
        const Grid3 grid =
            grid_of(field[c], "Data too large: dimensions and element count must fit in 32-bit integers.");
        if (c == 0) {
            first = grid;
        } else if (grid != first) {
            refuse_value("Incompatible dimensions.");
        }
    }
    return first;
}

// The 4x4 matrix: numeric, real, full, double, 4 rows and 4 columns.
const double* affine_matrix(Argument& m)
{
    if (!is_plain_matrix(m, 4, 4)) {
        refuse_kind_or_value(is_real_full_double(m), "Affine transform matrix must be 4x4.");
    }
    return m.data<double>();
}

py::array warp_jacobian(py::handle y1, py::handle y2, py::handle y3, py::handle m)
{
    Argument field[3] = {Argument(y1), Argument(y2), Argument(y3)};
    const Grid3 grid = field_grid(field);
    Argument matrix(m);
    const double* M = affine_matrix(matrix);
    if (!(M[3] == 0.0 && M[7] == 0.0 && M[11] == 0.0 && M[15] == 1.0)) {
        refuse_value("No perspective projections allowed.");
    }
    float rows[3][4];
    nrx::single_precision_rows(M, rows);

    py::array_t<float, py::array::f_style> out(field[0].shape());
    const float* const components[3] = {field[0].data<float>(), field[1].data<float>(), field[2].data<float>()};
    float* J = out.mutable_data();
    {
        py::gil_scoped_release unlocked;
        nrx::jacobian_determinants(components, grid, rows, J, [] {});
    }
    return out;
}

void warp_affine(py::handle y1, py::handle y2, py::handle y3, py::handle m)
{
    Argument field[3] = {Argument(y1), Argument(y2), Argument(y3)};
    const Grid3 grid = field_grid(field);
    Argument matrix(m);
    const double* M = affine_matrix(matrix);

    float* x = in_place_data<float>(y1, "y1");
    float* y = in_place_data<float>(y2, "y2");
    float* z = in_place_data<float>(y3, "y3");
    py::gil_scoped_release unlocked;
    nrx::apply_affine_to_field(x, y, z, static_cast<std::int32_t>(grid.count()), M);
}

}  // namespace

void bind_geometry(py::module_& module)
{
    module.def("warp_jacobian", &warp_jacobian);
    module.def("warp_affine", &warp_affine);
}

}  // namespace nrx::python

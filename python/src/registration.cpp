// joint_histogram and mip_render: the registration and display plug-ins.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "python/src/arguments.hpp"
#include "python/src/bindings.hpp"
#include "registration/joint_histogram.hpp"
#include "registration/mip_render.hpp"

namespace nrx::python {

namespace {

// A uint8 volume with exactly three dimensions; `number` (1 or 2) names the
// argument in the messages.
Grid3 uint8_volume(const Argument& v, const std::string& number)
{
    if (!is_real_full_of_class(v, Class::uint8)) {
        refuse_type("Wrong sort of data (" + number + ").");
    }
    if (v.dims().size() != 3) {
        refuse_value("Wrong number of dims (" + number + ").");
    }
    return grid_of(v, "Volume too large (" + number + "): dimensions and element count must fit in 32-bit integers.");
}

// The skips, used in single precision: positive, and such that the grid walk
// over `grid` ends. (1, 1, 1) when none are given.
std::array<float, 3> skips_of(py::handle skips, const Grid3& grid)
{
    std::array<float, 3> s = {1.0f, 1.0f, 1.0f};
    if (!skips.is_none()) {
        Argument given(skips);
        if (!is_real_full_double(given) || !has_n_elements(given, 3)) {
            refuse_kind_or_value(is_real_full_double(given), "Invalid skips.");
        }
        const double* values = given.data<double>();
        for (int k = 0; k < 3; ++k) {
            s[k] = static_cast<float>(values[k]);
        }
    }
    if (!(s[0] > 0.0f && s[1] > 0.0f && s[2] > 0.0f) || !nrx::grid_walk_ends(grid, s.data())) {
        refuse_value("Invalid skips.");
    }
    return s;
}

py::array joint_histogram(py::handle v1, py::handle v2, py::handle m, py::handle skips)
{
    Argument volume1(v1), volume2(v2), map(m);
    const Grid3 grid1 = uint8_volume(volume1, "1");
    const Grid3 grid2 = uint8_volume(volume2, "2");
    if (!is_real_full_double(map)) {
        refuse_type("Wrong sort of matrix.");
    }
    if (!is_plain_matrix(map, 4, 4)) {
        refuse_value("Matrix must be 4x4.");
    }
    const std::array<float, 3> s = skips_of(skips, grid1);

    py::array_t<double, py::array::f_style> h({256, 256});
    const double* M = map.data<double>();
    const std::uint8_t* first = volume1.data<std::uint8_t>();
    const std::uint8_t* second = volume2.data<std::uint8_t>();
    double* H = h.mutable_data();
    {
        py::gil_scoped_release unlocked;
        nrx::joint_histogram(M, first, grid1, second, grid2, s.data(), H);
    }
    return h;
}

py::array mip_render(py::handle values, py::handle locations, py::handle dims, py::handle dxyz, py::handle cxyz)
{
    if (dxyz.is_none() != cxyz.is_none()) {
        refuse_type("Incorrect usage.");
    }
    const bool views_given = !dxyz.is_none();
    Argument point_values(values), point_locations(locations), sizes(dims);
    std::optional<Argument> extents, origins;
    if (views_given) {
        extents.emplace(dxyz);
        origins.emplace(cxyz);
    }
    for (const Argument* a : {&point_values, &point_locations, &sizes, extents ? &*extents : nullptr,
                              origins ? &*origins : nullptr}) {
        if (a != nullptr && !is_real_full_double(*a)) {
            refuse_type("Arguments must be numeric, real, full and double.");
        }
    }
    const std::int32_t n =
        count_as_int32(point_values, "Too many points: their number must fit in a 32-bit integer.");
    if (!is_plain_matrix(point_locations, 3, n)) {
        refuse_value("Incompatible size for locations matrix.");
    }
    if (!has_n_elements(sizes, 5)) {
        refuse_value("Incompatible size for dimensions vector.");
    }
    if (views_given) {
        if (!has_n_elements(*extents, 3)) {
            refuse_value("Incompatible size for DXYZ vector.");
        }
        if (!has_n_elements(*origins, 3)) {
            refuse_value("Incompatible size for CXYZ vector.");
        }
    }
    const double* D = sizes.data<double>();
    const std::optional<nrx::MipSize> size = nrx::mip_matrix_size(D);
    if (!size) {
        refuse_value("Wrong sized MIP matrix");
    }

    py::array_t<double, py::array::f_style> mip({size->rows, size->columns});
    const nrx::MipPoints points{point_values.data<double>(), point_locations.data<double>(), n};
    const double* DXYZ = views_given ? extents->data<double>() : nullptr;
    const double* CXYZ = views_given ? origins->data<double>() : nullptr;
    double* out = mip.mutable_data();
    nrx::MipLayout layout;
    {
        py::gil_scoped_release unlocked;
        layout = nrx::render_mip(points, D, DXYZ, CXYZ, *size, out);
    }
    if (layout == nrx::MipLayout::none) {
        refuse_value("Wrong sized MIP matrix");
    }
    return mip;
}

}  // namespace

void bind_registration(py::module_& module)
{
    module.def("joint_histogram", &joint_histogram);
    module.def("mip_render", &mip_render);
}

}  // namespace nrx::python

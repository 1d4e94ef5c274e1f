// label_relax, geo_parcels, local_peaks and morphology: the segmentation
// plug-ins.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "python/src/arguments.hpp"
#include "python/src/bindings.hpp"
#include "segmentation/geo_parcels.hpp"
#include "segmentation/label_relax.hpp"
#include "segmentation/label_relax_forms.hpp"
#include "segmentation/local_peaks.hpp"
#include "segmentation/local_peaks_list.hpp"
#include "segmentation/morphology.hpp"

namespace nrx::python {

namespace {

using Map = py::array_t<double, py::array::f_style>;

// label_relax ----------------------------------------------------------------

using Dims4 = std::array<std::int32_t, 4>;

const char* const relax_too_large = "Args too large: dimensions and element counts must fit in 32-bit integers.";

// The dimensions of an argument of at most four, padded with 1 to four.
Dims4 padded_dims(const Argument& a)
{
    Dims4 dims{1, 1, 1, 1};
    const std::vector<std::int32_t> given = dims_as_int32(a, relax_too_large);
    std::copy(given.begin(), given.end(), dims.begin());
    return dims;
}

// Which of the five interaction forms G is, by its shape and then its class.
nrx::Interaction interaction_form(const Argument& G, const Dims4& dm)
{
    const nrx::ElementClass element = G.class_id() == Class::single  ? nrx::ElementClass::single
                                      : G.class_id() == Class::uint8 ? nrx::ElementClass::uint8
                                                                     : nrx::ElementClass::other;
    const nrx::InteractionReading reading =
        nrx::read_interaction_form(dims_as_int32(G, relax_too_large), dm, element);
    if (reading.refusal) {
        reading.wrong_class ? refuse_type(reading.refusal) : refuse_value(reading.refusal);
    }
    return reading.form;
}

py::object label_relax(py::handle p, py::handle f, py::handle g, py::handle w, bool inplace)
{
    Argument P(p), F(f), G(g);
    if (!is_real_full_of_class(P, Class::uint8)) {
        refuse_type("First arg must be numeric, real, full and uint8.");
    }
    if (!is_real_full_of_class(F, Class::single)) {
        refuse_type("Second arg must be numeric, real, full and single.");
    }
    if (!is_real_full(G)) {
        refuse_type("Third arg must be numeric, real and full.");
    }
    if (!same_dimension_count(P, F) || P.dims().size() > 4) {
        refuse_value("First or second args have wrong number of dimensions.");
    }
    const Dims4 dm = padded_dims(P);
    if (dm[3] > nrx::max_classes) {
        refuse_value("Too many classes.");
    }
    if (padded_dims(F) != dm) {
        refuse_value("First and second args have incompatible dimensions.");
    }
    const nrx::Interaction code = interaction_form(G, dm);

    float weights[3] = {1.0f, 1.0f, 1.0f};
    if (!w.is_none()) {
        Argument W(w);
        if (!is_real_full_of_class(W, Class::single)) {
            refuse_type("Fourth arg must be numeric, real, full and single.");
        }
        if (!has_n_elements(W, 3)) {
            refuse_value("Fourth arg must contain three elements.");
        }
        std::copy_n(W.data<float>(), 3, weights);
    }

    // In place, the caller's own array is updated; otherwise P stays as it was.
    py::object result = py::none();
    const std::uint8_t* before;
    std::uint8_t* after;
    if (inplace) {
        after = in_place_data<std::uint8_t>(p, "p");
        before = after;
    } else {
        py::array_t<std::uint8_t, py::array::f_style> Q(P.shape());
        after = Q.mutable_data();
        before = P.data<std::uint8_t>();
        result = Q;
    }
    const float* likelihoods = F.data<float>();
    const void* interaction = code == nrx::Interaction::voxel_packed_u8
                                  ? static_cast<const void*>(G.data<std::uint8_t>())
                                  : static_cast<const void*>(G.data<float>());
    {
        py::gil_scoped_release unlocked;
        nrx::relax_labels({dm[0], dm[1], dm[2]}, dm[3], before, after, likelihoods, interaction, weights, code);
    }
    return result;
}

// geo_parcels ----------------------------------------------------------------

std::tuple<Map, Map> geo_parcels(py::handle img, py::handle seeds, py::handle dist)
{
    Argument image(img);
    const char* const not_image = "Input img must be a real double array.";
    const Grid3 grid = read_double_image(image, not_image, not_image,
                                         "Input img too large: dimensions and element count must fit in 32-bit integers.");

    Argument points(seeds);
    if (!is_real_full_double(points) || points.dims().size() != 2 || points.dims()[1] != 3) {
        refuse_kind_or_value(is_real_full_double(points), "Input seeds must be a real double array [n x 3].");
    }
    const std::int32_t n = dims_as_int32(
        points, "Input seeds too large: dimensions and element count must fit in 32-bit integers.")[0];

    const std::optional<std::string> dist_type = text_of(dist);
    if (!dist_type) {
        refuse_type("Input dist must be a string.");
    }

    Map labels(image.shape()), dists(image.shape());
    const double* I = image.data<double>();
    const double* S = points.data<double>();
    double* L = labels.mutable_data();
    double* D = dists.mutable_data();
    nrx::ParcelStatus status;
    {
        py::gil_scoped_release unlocked;
        status = nrx::grow_geodesic_parcels(I, grid, S, n, L, D, dist_type->c_str());
    }
    switch (status) {
    case nrx::ParcelStatus::unknown_distance_type:
        refuse_value("Unknown distance type.");
    case nrx::ParcelStatus::seed_outside_image:
        refuse_value("A seed appears to be outside image.");
    case nrx::ParcelStatus::done:
        break;
    }
    return {labels, dists};
}

// local_peaks ----------------------------------------------------------------

Map local_peaks(py::handle vol, py::handle l)
{
    using namespace nrx::local_peaks;
    const char* const plugin = "nrx_local_peaks";
    Argument volume(vol);
    const Grid3 grid = read_double_image(
        volume, with_plugin_name(plugin, "VOL must be numeric, real, full and double"),
        with_plugin_name(plugin, "VOL must 2- or 3-dimensional"),
        with_plugin_name(plugin, "VOL too large: dimensions and element count must fit in 32-bit integers"));
    const bool map_2d = volume.dims().size() == 2;

    Argument list(l);
    if (!is_real_full_double(list)) {
        refuse_type(with_plugin_name(plugin, "L must be numeric, real, full and double"));
    }
    const std::int64_t list_rows = rows(list);
    if (list_rows != 3 && !(list_rows == 2 && map_2d)) {
        refuse_value(with_plugin_name(plugin, "L must be 3xn (or 2xn) list of voxel coordinates"));
    }
    const std::int32_t n =
        count_as_int32(list, with_plugin_name(plugin, "L too large: dimensions and element count must fit in "
                                                      "32-bit integers")) /
        static_cast<std::int32_t>(list_rows);
    const double* coords = list.data<double>();
    if (list_rows == 3 && map_2d && !all_in_first_plane(coords, n)) {
        refuse_value(with_plugin_name(plugin, "z-coordinate must be 1 when using 3xn list with 2D map"));
    }
    std::vector<double> with_z;
    if (list_rows == 2) {
        with_z = with_unit_z(coords, n);
        coords = with_z.data();
    }

    // Faces and edges: a greater corner neighbour does not disqualify.
    constexpr int connectivity = 18;
    const double* V = volume.data<double>();
    std::vector<std::uint32_t> peaks;
    {
        py::gil_scoped_release unlocked;
        nrx::find_local_peaks(V, grid, coords, n, connectivity, peaks);
    }
    Map idx({py::ssize_t{1}, static_cast<py::ssize_t>(peaks.size())});
    std::copy(peaks.begin(), peaks.end(), idx.mutable_data());
    return idx;
}

// morphology -----------------------------------------------------------------

Map morphology(py::handle ima, py::handle kernel, py::handle function)
{
    const char* const plugin = "nrx_morphology";
    Argument image(ima);
    const Grid3 grid = read_double_image(
        image, with_plugin_name(plugin, "ima must be numeric, real, full and double"),
        with_plugin_name(plugin, "ima must be 2 or 3-dimensional"),
        with_plugin_name(plugin, "ima too large: dimensions and element count must fit in 32-bit integers"));

    Argument weights(kernel);
    if (!is_real_full_double(weights)) {
        refuse_type(with_plugin_name(plugin, "kernel must be numeric, real, full and double"));
    }
    if (!same_dimension_count(weights, image)) {
        refuse_value(with_plugin_name(plugin, "ima and kernel must have same dimensionality"));
    }
    const Grid3 kernel_grid = grid_of(
        weights,
        with_plugin_name(plugin, "kernel too large: dimensions and element count must fit in 32-bit integers"));

    if (!is_text_row(function)) {
        refuse_type(with_plugin_name(plugin, "function should be a string"));
    }
    const std::string chosen = *text_of(function);
    if (chosen != "dilate" && chosen != "erode") {
        refuse_value(with_plugin_name(plugin, "function must have value 'dilate' or 'erode'"));
    }

    Map out(image.shape());
    const double* I = image.data<double>();
    const double* K = weights.data<double>();
    double* O = out.mutable_data();
    {
        py::gil_scoped_release unlocked;
        nrx::dilate_or_erode(I, grid, K, kernel_grid, chosen == "dilate", O);
    }
    return out;
}

}  // namespace

void bind_segmentation(py::module_& module)
{
    module.def("label_relax", &label_relax);
    module.def("geo_parcels", &geo_parcels);
    module.def("local_peaks", &local_peaks);
    module.def("morphology", &morphology);
}

}  // namespace nrx::python

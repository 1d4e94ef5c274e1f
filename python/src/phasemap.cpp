// region_graph, ramp_fit, ramp_add, phase_fill and weighted_blur: the
// phase-map plug-ins, which check their maps and kernels alike and begin
// every message with their own name.
#include <algorithm>
#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include "phasemap/phase_fill.hpp"
#include "phasemap/ramps.hpp"
#include "phasemap/region_graph.hpp"
#include "phasemap/weighted_blur.hpp"
#include "python/src/arguments.hpp"
#include "python/src/bindings.hpp"

namespace nrx::python {

namespace {

using Map = py::array_t<double, py::array::f_style>;

// The family's argument checks (phasemap/phase_map_arguments.hpp).
class PhaseMapArgs {
public:
    explicit PhaseMapArgs(const char* plugin) : plugin_(plugin) {}

    // The phase map, or any first map.
    Grid3 map(const Argument& a, const std::string& name) const
    {
        return grid(a, name, name + " must be 2 or 3-dimensional");
    }

    // A map that goes with `first`: the same number of dimensions and size.
    void matching_map(const Argument& a, const std::string& name, const Argument& first,
                      const std::string& first_name) const
    {
        if (!is_real_full_double(a)) {
            refuse_type(with_plugin_name(plugin_, name + " must be numeric, real, full and double"));
        }
        if (!same_dimension_count(a, first)) {
            refuse_value(with_plugin_name(plugin_, first_name + " and " + name + " must have same dimensionality"));
        }
        if (!same_size(a, first)) {
            refuse_value(with_plugin_name(plugin_, first_name + " and " + name + " must have same size"));
        }
    }

    // A filter kernel: a 2-D kernel counts as 3-D, like the map it goes with.
    Grid3 kernel(const Argument& a, const std::string& name, const std::string& map_name) const
    {
        return grid(a, name, map_name + " and " + name + " must have same dimensionality");
    }

    // The ramp (gx, gy, gz): 3x1 or 1x3, shape tested before class.
    const double* ramps(Argument& a) const
    {
        if (!((rows(a) == 1 && columns(a) == 3) || (rows(a) == 3 && columns(a) == 1))) {
            refuse_value(with_plugin_name(plugin_, "ramps must be 3x1 or 1x3"));
        }
        if (!is_real_full_double(a)) {
            refuse_type(with_plugin_name(plugin_, "ramps must be numeric, real, full and double"));
        }
        return a.data<double>();
    }

private:
    Grid3 grid(const Argument& a, const std::string& name, const std::string& not_2d_or_3d) const
    {
        return read_double_image(
            a, with_plugin_name(plugin_, name + " must be numeric, real, full and double"),
            with_plugin_name(plugin_, not_2d_or_3d),
            with_plugin_name(plugin_, name + " is too large: dimensions and element count must fit in 32-bit integers"));
    }

    const char* plugin_;
};

py::tuple region_graph(py::handle rima, py::handle pm)
{
    const PhaseMapArgs args("nrx_region_graph");
    Argument labels(rima), phases(pm);
    const Grid3 grid = args.map(labels, "rima");
    args.matching_map(phases, "pm", labels, "rima");

    const double* L = labels.data<double>();
    const double* P = phases.data<double>();
    std::vector<double> lists[4];
    std::size_t count;
    {
        py::gil_scoped_release unlocked;
        count = nrx::region_border_pairs(L, P, grid, lists[0], lists[1], lists[2], lists[3]);
    }
    const auto rows = static_cast<py::ssize_t>(count);
    py::tuple columns(4);
    for (int k = 0; k < 4; ++k) {
        Map column({rows, py::ssize_t{1}});
        std::copy_n(lists[k].data(), count, column.mutable_data());
        columns[k] = column;
    }
    return columns;
}

std::tuple<Map, Map> ramp_fit(py::handle pm, py::handle mask)
{
    const PhaseMapArgs args("nrx_ramp_fit");
    Argument phases(pm), inside(mask);
    const Grid3 grid = args.map(phases, "pm");
    args.matching_map(inside, "mask", phases, "pm");

    Map ramp({3, 1});
    Map flat(phases.shape());
    const double* P = phases.data<double>();
    const double* M = inside.data<double>();
    double* R = ramp.mutable_data();
    double* out = flat.mutable_data();
    {
        py::gil_scoped_release unlocked;
        nrx::fit_ramp(P, M, grid, R, out);
    }
    return {ramp, flat};
}

Map ramp_add(py::handle pm, py::handle mask, py::handle ramps)
{
    const PhaseMapArgs args("nrx_ramp_add");
    Argument phases(pm), inside(mask), ramp(ramps);
    const Grid3 grid = args.map(phases, "pm");
    args.matching_map(inside, "mask", phases, "pm");
    const double* R = args.ramps(ramp);

    Map ramped(phases.shape());
    const double* P = phases.data<double>();
    const double* M = inside.data<double>();
    double* out = ramped.mutable_data();
    {
        py::gil_scoped_release unlocked;
        nrx::add_ramp(P, M, grid, R, out);
    }
    return ramped;
}

std::tuple<Map, Map> phase_fill(py::handle pm, py::handle wmap, py::handle kernel)
{
    const PhaseMapArgs args("nrx_phase_fill");
    Argument phases(pm), weights(wmap), box(kernel);
    const Grid3 grid = args.map(phases, "pm");
    args.matching_map(weights, "wmap", phases, "pm");
    const Grid3 kernel_grid = args.kernel(box, "kernel", "pm");

    Map filled(phases.shape()), filled_weights(phases.shape());
    const double* P = phases.data<double>();
    const double* W = weights.data<double>();
    const double* K = box.data<double>();
    double* out = filled.mutable_data();
    double* out_weights = filled_weights.mutable_data();
    {
        py::gil_scoped_release unlocked;
        nrx::fill_empty_phase(P, W, grid, K, kernel_grid, out, out_weights);
    }
    return {filled, filled_weights};
}

Map weighted_blur(py::handle pm, py::handle wmap, py::handle kernel)
{
    const PhaseMapArgs args("nrx_weighted_blur");
    Argument phases(pm), weights(wmap), box(kernel);
    const Grid3 grid = args.map(phases, "pm");
    args.matching_map(weights, "wmap", phases, "pm");
    const Grid3 kernel_grid = args.kernel(box, "kernel", "pm");

    Map smoothed(phases.shape());
    const double* P = phases.data<double>();
    const double* W = weights.data<double>();
    const double* K = box.data<double>();
    double* out = smoothed.mutable_data();
    {
        py::gil_scoped_release unlocked;
        nrx::weighted_blur(P, W, grid, K, kernel_grid, out);
    }
    return smoothed;
}

}  // namespace

void bind_phasemap(py::module_& module)
{
    module.def("region_graph", &region_graph);
    module.def("ramp_fit", &ramp_fit);
    module.def("ramp_add", &ramp_add);
    module.def("phase_fill", &phase_fill);
    module.def("weighted_blur", &weighted_blur);
}

}  // namespace nrx::python

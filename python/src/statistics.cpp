// nan_reduce and gamma_sampler: the statistics plug-ins, and GammaState, a
// generator state of its own for each sampler.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

#include "core/int32.hpp"
#include "python/src/arguments.hpp"
#include "python/src/bindings.hpp"
#include "statistics/gamma_sampler.hpp"
#include "statistics/nan_reduce.hpp"

namespace nrx::python {

namespace {

// nan_reduce -----------------------------------------------------------------

const char* const reduce_too_large = "Array too large: dimensions and element counts must fit in 32-bit integers!";

// The counts of one plane of X (its values, or the real or imaginary parts of
// complex ones) along zero-based dimension d, in Y's NumPy shape.
template <typename T>
py::array_t<nrx::nan_count_t<T>, py::array::f_style> count_plane(Argument& plane, const std::vector<std::int32_t>& dims,
                                                                 std::int32_t d,
                                                                 const std::vector<std::int32_t>& reduced)
{
    using Count = nrx::nan_count_t<T>;
    py::array_t<Count, py::array::f_style> y(std::vector<py::ssize_t>(reduced.begin(), reduced.end()));
    // Integer counts never read X: no column-major copy of it is made.
    const T* x = std::is_floating_point_v<T> ? plane.data<T>() : nullptr;
    Count* counts = y.mutable_data();
    const auto n = static_cast<std::int32_t>(dims.size());
    {
        py::gil_scoped_release unlocked;
        nrx::nan_reduce(x, dims.data(), n, d, counts);
    }
    return y;
}

// The counts of X: for complex X, those of the real parts in Y's real parts
// and those of the imaginary parts in its imaginary parts.
template <typename T>
py::array count_planes(Argument& x, const std::vector<std::int32_t>& dims, std::int32_t d,
                       const std::vector<std::int32_t>& reduced)
{
    if constexpr (std::is_floating_point_v<T>) {
        if (x.is_complex()) {
            using Count = nrx::nan_count_t<T>;
            Argument real(x.array().attr("real")), imaginary(x.array().attr("imag"));
            const auto real_counts = count_plane<T>(real, dims, d, reduced);
            const auto imaginary_counts = count_plane<T>(imaginary, dims, d, reduced);
            py::array_t<std::complex<Count>, py::array::f_style> y(
                std::vector<py::ssize_t>(reduced.begin(), reduced.end()));
            std::complex<Count>* counts = y.mutable_data();
            for (py::ssize_t e = 0; e < y.size(); ++e) {
                counts[e] = {real_counts.data()[e], imaginary_counts.data()[e]};
            }
            return y;
        }
    }
    return count_plane<T>(x, dims, d, reduced);
}

py::array nan_reduce(py::handle object, py::handle dimension)
{
    Argument x(object);
    // A sparse matrix holds only its stored elements, not the dense planes
    // the counting walks.
    if (x.is_sparse()) {
        refuse_type("Sparse arrays are not supported!");
    }
    // Y takes X's NumPy shape; counting along a dimension beyond it is what
    // the host does for its own trailing dimensions of 1.
    const std::vector<std::int32_t> dims = as_int32({x.array().shape(), x.array().shape() + x.array().ndim()},
                                                    reduce_too_large);
    std::int32_t d = nrx::default_dimension(dims);
    if (!dimension.is_none()) {
        // NaN, out-of-range and unreadable values (empty, text, ...) count as 0.
        const std::int32_t dim = nrx::trunc_to_int32(scalar_value(dimension).value_or(0.0)).value_or(0);
        if (dim <= 0) {
            refuse_value("Invalid value for dimension (argument 2)!");
        }
        d = dim - 1;
    }
    const std::vector<std::int32_t> reduced = nrx::reduced_shape(dims, d);

    switch (x.class_id()) {
    case Class::double_: return count_planes<double>(x, dims, d, reduced);
    case Class::single: return count_planes<float>(x, dims, d, reduced);
    case Class::int8: return count_planes<std::int8_t>(x, dims, d, reduced);
    case Class::uint8: return count_planes<std::uint8_t>(x, dims, d, reduced);
    case Class::int16: return count_planes<std::int16_t>(x, dims, d, reduced);
    case Class::uint16: return count_planes<std::uint16_t>(x, dims, d, reduced);
    case Class::int32: return count_planes<std::int32_t>(x, dims, d, reduced);
    case Class::uint32: return count_planes<std::uint32_t>(x, dims, d, reduced);
    case Class::int64: return count_planes<std::int64_t>(x, dims, d, reduced);
    case Class::uint64: return count_planes<std::uint64_t>(x, dims, d, reduced);
    // NumPy keeps a bool in one byte, so the plug-in's guess at the host's
    // layout (and its warning) has no place here.
    case Class::logical: return count_planes<std::uint8_t>(x, dims, d, reduced);
    case Class::other: break;
    }
    // Raised at the first output element: an empty result has none.
    py::array_t<double, py::array::f_style> empty(std::vector<py::ssize_t>(reduced.begin(), reduced.end()));
    if (empty.size() != 0) {
        refuse_type("Unsupported type!");
    }
    return empty;
}

// gamma_sampler --------------------------------------------------------------

// A generator state with its lock: one sampler may be called from several
// threads at once, each call drawing its numbers in one piece.
struct GammaState {
    nrx::WichmannHill generator;
    std::mutex lock;
};

const char* const sizes_too_large = "Sizes too large: each size and their product must fit in 32-bit integers.";

// A size, truncated toward zero. NaN and negative sizes count as 0.
std::int32_t size_of(py::handle argument)
{
    const std::optional<double> size = scalar_value(argument);
    if (!size) {
        refuse_type("Sizes must be non-empty numeric values.");
    }
    if (std::isnan(*size) || *size < 0.0) {
        return 0;
    }
    const std::optional<std::int32_t> whole = nrx::trunc_to_int32(*size);
    if (!whole) {
        refuse_value(sizes_too_large);
    }
    return *whole;
}

double parameter_of(py::handle argument)
{
    const std::optional<double> value = scalar_value(argument);
    if (!value) {
        refuse_type("Shape and scale must be non-empty numeric values.");
    }
    return *value;
}

// Without sizes one sample; a single size m makes an m x 1 column.
py::array gamma_sampler(GammaState& state, py::handle a, py::handle b, const py::tuple& sizes)
{
    std::vector<std::int64_t> shape;
    for (const py::handle size : sizes) {
        shape.push_back(size_of(size));
    }
    shape.resize(std::max<std::size_t>(shape.size(), 2), 1);
    const double shape_parameter = parameter_of(a);
    const double scale = parameter_of(b);
    as_int32(shape, sizes_too_large);

    py::array_t<double, py::array::f_style> r(std::vector<py::ssize_t>(shape.begin(), shape.end()));
    double* out = r.mutable_data();
    const auto n = static_cast<std::int32_t>(r.size());
    {
        py::gil_scoped_release unlocked;
        const std::lock_guard<std::mutex> only_this_call(state.lock);
        nrx::gamma_fill(state.generator, shape_parameter, scale, out, n);
    }
    return r;
}

}  // namespace

void bind_statistics(py::module_& module)
{
    module.def("nan_reduce", &nan_reduce);
    py::class_<GammaState>(module, "GammaState").def(py::init<>());
    module.def("gamma_sampler", &gamma_sampler);
}

}  // namespace nrx::python

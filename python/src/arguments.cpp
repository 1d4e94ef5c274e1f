#include "python/src/arguments.hpp"

#include <algorithm>
#include <limits>

namespace nrx::python {

namespace {

Class class_of(const py::dtype& dtype)
{
    const auto size = dtype.itemsize();
    switch (dtype.kind()) {
    case 'f':
    case 'c': {
        const auto real_size = dtype.kind() == 'c' ? size / 2 : size;
        return real_size == 8 ? Class::double_ : real_size == 4 ? Class::single : Class::other;
    }
    case 'i':
        return size == 1 ? Class::int8 : size == 2 ? Class::int16 : size == 4 ? Class::int32 : Class::int64;
    case 'u':
        return size == 1 ? Class::uint8 : size == 2 ? Class::uint16 : size == 4 ? Class::uint32 : Class::uint64;
    case 'b':
        return Class::logical;
    default:
        return Class::other;
    }
}

// Only a program that has loaded scipy.sparse can hold one of its matrices.
bool is_scipy_sparse(py::handle object)
{
    const py::dict modules = py::module_::import("sys").attr("modules");
    if (!modules.contains("scipy.sparse")) {
        return false;
    }
    return modules["scipy.sparse"].attr("issparse")(object).cast<bool>();
}

}  // namespace

Argument::Argument(py::handle object)
    : array_(py::isinstance<py::array>(object) ? py::reinterpret_borrow<py::array>(object)
                                               : py::array(numpy().attr("asarray")(object)))
{
    class_ = class_of(array_.dtype());
    complex_ = array_.dtype().kind() == 'c' && class_ != Class::other;
    sparse_ = is_scipy_sparse(object);
    dims_.assign(array_.shape(), array_.shape() + array_.ndim());
    dims_.resize(std::max<std::size_t>(dims_.size(), 2), 1);
    while (dims_.size() > 2 && dims_.back() == 1) {
        dims_.pop_back();
    }
}

std::vector<py::ssize_t> Argument::shape() const { return {array_.shape(), array_.shape() + array_.ndim()}; }

py::module_ Argument::numpy() { return py::module_::import("numpy"); }

void refuse_type(const std::string& message) { throw py::type_error(message); }

void refuse_value(const std::string& message) { throw py::value_error(message); }

void refuse_kind_or_value(bool kind_ok, const std::string& message)
{
    if (kind_ok) {
        refuse_value(message);
    }
    refuse_type(message);
}

std::string with_plugin_name(const char* plugin, const std::string& text) { return std::string(plugin) + ": " + text; }

bool is_numeric(const Argument& a) { return a.class_id() != Class::logical && a.class_id() != Class::other; }

bool is_real_full(const Argument& a) { return is_numeric(a) && !a.is_complex() && !a.is_sparse(); }

bool is_real_full_of_class(const Argument& a, Class class_id) { return is_real_full(a) && a.class_id() == class_id; }

bool is_real_full_double(const Argument& a) { return is_real_full_of_class(a, Class::double_); }

std::int64_t rows(const Argument& a) { return a.dims()[0]; }

std::int64_t columns(const Argument& a)
{
    std::int64_t product = 1;
    for (std::size_t k = 1; k < a.dims().size(); ++k) {
        product *= a.dims()[k];
    }
    return product;
}

bool is_plain_matrix(const Argument& a, std::int64_t rows_, std::int64_t columns_)
{
    return is_real_full_double(a) && rows(a) == rows_ && columns(a) == columns_;
}

bool has_n_elements(const Argument& a, std::int64_t count) { return a.count() == count; }

bool is_2d_or_3d(const Argument& a) { return a.dims().size() <= 3; }

bool same_dimension_count(const Argument& a, const Argument& b) { return a.dims().size() == b.dims().size(); }

bool same_size(const Argument& a, const Argument& b) { return a.dims() == b.dims(); }

std::vector<std::int32_t> as_int32(const std::vector<std::int64_t>& dims, const std::string& too_large)
{
    constexpr std::int64_t int32_max = std::numeric_limits<std::int32_t>::max();
    std::vector<std::int32_t> result;
    std::int64_t count = 1;
    for (const std::int64_t size : dims) {
        if (size > int32_max) {
            refuse_value(too_large);
        }
        // Each factor and the running count are below 2^31: no overflow.
        count *= size;
        if (count > int32_max) {
            refuse_value(too_large);
        }
        result.push_back(static_cast<std::int32_t>(size));
    }
    return result;
}

std::vector<std::int32_t> dims_as_int32(const Argument& a, const std::string& too_large)
{
    return as_int32(a.dims(), too_large);
}

std::int32_t count_as_int32(const Argument& a, const std::string& too_large)
{
    std::int32_t count = 1;
    for (const std::int32_t size : dims_as_int32(a, too_large)) {
        count *= size;
    }
    return count;
}

Grid3 grid_of(const Argument& a, const std::string& too_large)
{
    const std::vector<std::int32_t> dims = dims_as_int32(a, too_large);
    return {dims[0], dims[1], dims.size() == 3 ? dims[2] : 1};
}

Grid3 read_double_image(const Argument& a, const std::string& not_double, const std::string& not_2d_or_3d,
                        const std::string& too_large)
{
    if (!is_real_full_double(a)) {
        refuse_type(not_double);
    }
    if (!is_2d_or_3d(a)) {
        refuse_value(not_2d_or_3d);
    }
    return grid_of(a, too_large);
}

std::optional<std::string> text_of(py::handle object)
{
    if (!py::isinstance<py::str>(object)) {
        return std::nullopt;
    }
    const std::string text = object.cast<std::string>();
    return text.substr(0, text.find('\0'));
}

bool is_text_row(py::handle object) { return py::isinstance<py::str>(object) && py::len(object) > 0; }

std::optional<double> scalar_value(py::handle object)
{
    const Argument a(object);
    if ((!is_numeric(a) && a.class_id() != Class::logical) || a.count() == 0) {
        return std::nullopt;
    }
    return a.array().attr("flat")[py::int_(0)].attr("real").cast<double>();
}

double scalar_or_nan(py::handle object)
{
    return scalar_value(object).value_or(std::numeric_limits<double>::quiet_NaN());
}

void* in_place_buffer(py::handle object, const char* name)
{
    const std::string refused = std::string(name) + " cannot be changed in place: ";
    if (!py::isinstance<py::array>(object)) {
        refuse_type(refused + "it is not a NumPy array.");
    }
    auto array = py::reinterpret_borrow<py::array>(object);
    if (!array.dtype().attr("isnative").cast<bool>()) {
        refuse_value(refused + "its byte order is not the machine's.");
    }
    if (!(array.flags() & py::array::f_style)) {
        refuse_value(refused + "it is not Fortran-contiguous (numpy.asfortranarray gives such a copy).");
    }
    if (!array.attr("flags").attr("aligned").cast<bool>()) {
        refuse_value(refused + "its elements are not aligned.");
    }
    if (!array.writeable()) {
        refuse_value(refused + "it is read-only.");
    }
    return array.mutable_data();
}

}  // namespace nrx::python

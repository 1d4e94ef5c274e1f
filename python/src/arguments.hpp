// Python arguments read the way the plug-ins' gateways read host arrays.
//
// A gateway checks each input's class (double, single, uint8, ...), whether
// it is real and full, and its dimensions, of which the host keeps at least
// two and drops trailing ones of 1 after the second. An Argument gives any
// Python object that NumPy can take as an array the same reading, with a 1-D
// array of n counted as n x 1 (its one axis is the first), so that the
// bindings check in the gateways' order with the gateways' messages and refuse
// exactly what the plug-ins refuse. Its data reach a kernel column-major in the
// machine's byte order, through a copy only when the object holds them
// otherwise.
//
// Typical binding, read like its gateway:
//
//   Argument ima(object);
//   if (!is_real_full_double(ima)) refuse_type("nrx_morphology: ima must be ...");
//   const Grid3 grid = grid_of(ima, "nrx_morphology: ima too large: ...");
//   py::array_t<double, py::array::f_style> out(ima.shape());
//   const double* in = ima.data<double>();
//   { py::gil_scoped_release unlocked; nrx::some_kernel(in, grid, out.mutable_data()); }
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/grid3.hpp"

namespace nrx::python {

namespace py = pybind11;

// The host's numeric classes and its logical class; `other` is every dtype
// the host has none for (half and extended precision, text, objects, ...).
enum class Class { double_, single, int8, uint8, int16, uint16, int32, uint32, int64, uint64, logical, other };

class Argument {
public:
    explicit Argument(py::handle object);

    Class class_id() const { return class_; }
    bool is_complex() const { return complex_; }
    // A scipy.sparse matrix (which NumPy takes as one opaque object).
    bool is_sparse() const { return sparse_; }

    // The dimensions the host would report.
    const std::vector<std::int64_t>& dims() const { return dims_; }
    // The NumPy shape, for outputs of the argument's size.
    std::vector<py::ssize_t> shape() const;
    std::int64_t count() const { return array_.size(); }
    const py::array& array() const { return array_; }

    // The data of the class the caller has checked to hold T, column-major,
    // aligned and in the machine's byte order; valid while this Argument
    // lives, with or without the GIL.
    template <typename T>
    const T* data()
    {
        if (!column_major_) {
            column_major_ = numpy().attr("require")(array_, py::dtype::of<T>(), py::make_tuple("F", "A"));
        }
        return static_cast<const T*>(py::reinterpret_borrow<py::array>(column_major_).data());
    }

    static py::module_ numpy();

private:
    py::array array_;
    py::object column_major_;  // null until data() is first asked for
    std::vector<std::int64_t> dims_;
    Class class_ = Class::other;
    bool complex_ = false;
    bool sparse_ = false;
};

// A refused call: the gateway's message, raised as TypeError when the
// argument is of the wrong kind (class, text or not), as ValueError otherwise.
[[noreturn]] void refuse_type(const std::string& message);
[[noreturn]] void refuse_value(const std::string& message);
// For a message that covers both an argument's kind and its size: TypeError
// unless `kind_ok`.
[[noreturn]] void refuse_kind_or_value(bool kind_ok, const std::string& message);

// "<plug-in>: <text>", for the plug-ins that name themselves in their messages.
std::string with_plugin_name(const char* plugin, const std::string& text);

// The host's named tests (host/checks.hpp), on Arguments.
bool is_numeric(const Argument& a);
bool is_real_full(const Argument& a);
bool is_real_full_of_class(const Argument& a, Class class_id);
bool is_real_full_double(const Argument& a);
// Rows: the first dimension; columns: the product of every later one.
std::int64_t rows(const Argument& a);
std::int64_t columns(const Argument& a);
bool is_plain_matrix(const Argument& a, std::int64_t rows, std::int64_t columns);
bool has_n_elements(const Argument& a, std::int64_t count);
bool is_2d_or_3d(const Argument& a);
bool same_dimension_count(const Argument& a, const Argument& b);
bool same_size(const Argument& a, const Argument& b);

// The host's size readers (host/sizes.hpp): sizes as 32-bit integers, or a
// refusal with `too_large` (a ValueError).
std::vector<std::int32_t> as_int32(const std::vector<std::int64_t>& dims, const std::string& too_large);
std::vector<std::int32_t> dims_as_int32(const Argument& a, const std::string& too_large);
std::int32_t count_as_int32(const Argument& a, const std::string& too_large);
// For at most three dimensions, checked by the caller first.
Grid3 grid_of(const Argument& a, const std::string& too_large);
// A real, full double image of 2 or 3 dimensions (not_double a TypeError,
// not_2d_or_3d a ValueError), sizes within 32 bits.
Grid3 read_double_image(const Argument& a, const std::string& not_double, const std::string& not_2d_or_3d,
                        const std::string& too_large);

// A text argument: a str, up to its first NUL character as the host's
// C-string copy gives it; nothing for any other object. `row`: a str of at
// least one character (the host's one-row char array).
std::optional<std::string> text_of(py::handle object);
bool is_text_row(py::handle object);

// The host's scalar readers (host/scalar.hpp): the first element of a
// non-empty numeric or logical argument as a double (the real part of a
// complex one); nothing for an empty one or any other object.
std::optional<double> scalar_value(py::handle object);
double scalar_or_nan(py::handle object);

// The buffer of an array that a function changes in place, whose class the
// plug-in's checks have passed: the object itself, which must be a NumPy
// array in the machine's byte order, Fortran-contiguous and writeable. It is
// refused otherwise, naming the argument, rather than copied (the caller
// would never see the change).
void* in_place_buffer(py::handle object, const char* name);
template <typename T>
T* in_place_data(py::handle object, const char* name)
{
    return static_cast<T*>(in_place_buffer(object, name));
}

}  // namespace nrx::python

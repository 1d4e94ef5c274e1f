// acq_read and acq_write: copies out of and into the acquisition segment,
// attached for each call and detached before it returns, also when it ends
// in an error.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "acquisition/packet_numbers.hpp"
#include "acquisition/packets.hpp"
#include "acquisition/segment.hpp"
#include "python/src/arguments.hpp"
#include "python/src/bindings.hpp"

namespace nrx::python {

namespace {

using namespace nrx::acquisition;

using Row = py::array_t<std::int32_t, py::array::f_style>;

// A failed system call, named as the plug-ins name it, with its errno.
[[noreturn]] void refuse_system_call(const char* call)
{
    PyErr_SetObject(PyExc_OSError, py::make_tuple(errno, call).ptr());
    throw py::error_already_set();
}

void attach(Attachment& segment)
{
    if (const char* failed = segment.attach()) {
        refuse_system_call(failed);
    }
}

void detach(Attachment& segment)
{
    if (const char* failed = segment.detach()) {
        refuse_system_call(failed);
    }
}

// Without a packet number, the five header rows; otherwise the first samples
// of that packet (all of them without a count).
py::object acq_read(py::handle p, py::handle n)
{
    Attachment segment;
    attach(segment);

    py::object result;
    if (p.is_none()) {
        Row rows[header_words];
        std::int32_t* row[header_words];
        for (int k = 0; k < header_words; ++k) {
            rows[k] = Row({py::ssize_t{1}, py::ssize_t{packet_count}});
            row[k] = rows[k].mutable_data();
        }
        {
            py::gil_scoped_release unlocked;
            copy_headers(segment.words(), row, header_words);
        }
        result = py::make_tuple(rows[0], rows[1], rows[2], rows[3], rows[4]);
    } else {
        const std::int32_t count = n.is_none() ? packet_samples : clamped_sample_count(scalar_or_nan(n));
        const std::int32_t index = read_index(scalar_or_nan(p));
        if (index < 0) {
            refuse_value("Cannot read before the first packet");
        }
        if (index >= packet_count) {
            refuse_value("Cannot read after the last packet");
        }
        Row samples({py::ssize_t{1}, py::ssize_t{count}});
        std::int32_t* out = samples.mutable_data();
        {
            py::gil_scoped_release unlocked;
            copy_samples(segment.words(), index, count, out);
        }
        result = samples;
    }

    detach(segment);
    return result;
}

void acq_write(py::handle p, py::handle w1, py::handle w2, py::handle w3, py::handle w4, py::handle w5,
               py::handle d)
{
    Attachment segment;
    attach(segment);

    const std::int32_t index = write_index(scalar_or_nan(p));
    Argument data(d);
    if (data.class_id() != Class::int32) {
        refuse_type("Invalid type of data, should be int32");
    }
    if (index < 0) {
        refuse_value("Cannot write before the first packet");
    }
    if (index >= packet_count) {
        refuse_value("Cannot write after the last packet");
    }
    const auto count = std::min<std::size_t>(static_cast<std::size_t>(data.count()), packet_samples);

    // Every word is read before the packet changes: a word that is not a
    // number ends the call with the packet as it was.
    std::int32_t words[header_words];
    const py::handle given[header_words] = {w1, w2, w3, w4, w5};
    for (int k = 0; k < header_words; ++k) {
        const std::optional<double> word = scalar_value(given[k]);
        if (!word) {
            refuse_type("Header words must be numbers");
        }
        words[k] = to_int32(*word);
    }
    const std::int32_t* samples = data.data<std::int32_t>();
    {
        py::gil_scoped_release unlocked;
        write_packet(segment.words(), index, words, samples, count);
    }

    detach(segment);
}

}  // namespace

void bind_acquisition(py::module_& module)
{
    module.def("acq_read", &acq_read);
    module.def("acq_write", &acq_write);
}

}  // namespace nrx::python

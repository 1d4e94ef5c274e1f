#include "serialise/pack.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "serialise/elements.hpp"
#include "serialise/mat_format.hpp"
#include "serialise/text.hpp"

namespace nrx {

namespace {

using namespace mat;

// Free text, which by custom begins with the format and its version.
constexpr char header_text[] = "MATLAB 5.0 MAT-file, written by nrx";
constexpr std::string_view variable_name = "value";
constexpr std::uint64_t element_limit = std::numeric_limits<std::uint32_t>::max();

[[noreturn]] void too_large()
{
    throw FormatError(
        "Cannot pack the value: an array in it would take 4 GiB or more, beyond what the packed form can hold.");
}

// Packing runs twice over the same code: once with a ByteCounter, which
// finds the size (and refuses what cannot be packed) before anything is
// allocated, then with a ByteWriter into memory of exactly that size.
class ByteCounter {
public:
    std::uint64_t position() const { return size_; }
    void put(const void*, std::uint64_t nbytes) { size_ += nbytes; }
    void zeros(std::uint64_t nbytes) { size_ += nbytes; }
    void set_u32(std::uint64_t, std::uint32_t) {}

private:
    std::uint64_t size_ = 0;
};

class ByteWriter {
public:
    explicit ByteWriter(std::uint8_t* out) : out_(out) {}
    std::uint64_t position() const { return position_; }
    void put(const void* data, std::uint64_t nbytes)
    {
        if (nbytes > 0) {
            std::memcpy(out_ + position_, data, nbytes);
        }
        position_ += nbytes;
    }
    void zeros(std::uint64_t nbytes)
    {
        std::memset(out_ + position_, 0, nbytes);
        position_ += nbytes;
    }
    void set_u32(std::uint64_t at, std::uint32_t value) { std::memcpy(out_ + at, &value, sizeof value); }

private:
    std::uint8_t* out_;
    std::uint64_t position_ = 0;
};

// One data element, in the small form when its data fit in the tag.
template <class Sink>
void put_element(Sink& sink, std::uint32_t type, const void* data, std::uint64_t nbytes)
{
    if (nbytes > element_limit) {
        too_large();
    }
    if (nbytes > 0 && nbytes <= small_data_limit) {
        const std::uint32_t tag = type | static_cast<std::uint32_t>(nbytes) << 16;
        sink.put(&tag, sizeof tag);
        sink.put(data, nbytes);
        sink.zeros(small_data_limit - nbytes);
        return;
    }
    const std::uint32_t tag[2] = {type, static_cast<std::uint32_t>(nbytes)};
    sink.put(tag, sizeof tag);
    sink.put(data, nbytes);
    sink.zeros(padded(nbytes) - nbytes);
}

template <class Sink>
void put_elements(Sink& sink, const Elements& elements)
{
    const std::uint64_t size = element_size(elements.type);
    if (elements.count > element_limit / size) {
        too_large();
    }
    put_element(sink, data_type_of(elements.type), elements.data, elements.count * size);
}

template <class Sink>
void put_int32s(Sink& sink, const std::int32_t* values, std::uint64_t count)
{
    put_elements(sink, Elements{ElementType::int32, values, count});
}

// Array flags, dimensions and name: the start of every array element.
template <class Sink>
void put_array_start(Sink& sink, std::uint32_t class_and_flags, std::uint32_t sparse_capacity,
                     const std::int32_t* dims, std::uint64_t ndims, std::string_view name)
{
    const std::uint32_t flags[2] = {class_and_flags, sparse_capacity};
    put_element(sink, mi_uint32, flags, sizeof flags);
    put_int32s(sink, dims, ndims);
    put_element(sink, mi_int8, name.data(), name.size());
}

template <class Sink>
void put_array(Sink& sink, const Value& value, std::string_view name);

template <class Sink>
void put_char(Sink& sink, const Value& value, std::string_view name)
{
    // An empty row stays UTF-8: some readers take empty UTF-16 text for 0x0.
    const bool row = value.dims.size() == 2 && value.dims[0] == 1 && !value.text.empty();
    if (const std::optional<std::u16string> units = row ? utf16_from_utf8(value.text) : std::nullopt) {
        // No more code units than bytes, so the count fits the dimension.
        const std::int32_t dims[2] = {1, static_cast<std::int32_t>(units->size())};
        put_array_start(sink, mx_char, 0, dims, 2, name);
        put_element(sink, mi_utf16, units->data(), units->size() * sizeof(char16_t));
        return;
    }
    put_array_start(sink, mx_char, 0, value.dims.data(), value.dims.size(), name);
    put_element(sink, mi_utf8, value.text.data(), value.text.size());
}

template <class Sink>
void put_numeric(Sink& sink, const Value& value, std::string_view name)
{
    std::uint32_t flags = value.complex ? flag_complex : 0;
    if (value.value_class == ValueClass::logical) {
        flags |= flag_logical;
    }
    if (value.sparse) {
        const std::int32_t stored = value.column_start.back();
        put_array_start(sink, mx_sparse | flags, static_cast<std::uint32_t>(std::max(stored, 1)),
                        value.dims.data(), value.dims.size(), name);
        put_int32s(sink, value.row_index.data(), static_cast<std::uint64_t>(stored));
        put_int32s(sink, value.column_start.data(), value.column_start.size());
    } else {
        const ArrayClass array_class =
            value.value_class == ValueClass::logical ? mx_uint8 : array_class_of_numeric(value.value_class);
        put_array_start(sink, array_class | flags, 0, value.dims.data(), value.dims.size(), name);
    }
    put_elements(sink, value.real);
    if (value.complex) {
        put_elements(sink, value.imag);
    }
}

template <class Sink>
void put_struct(Sink& sink, const Value& value, std::string_view name)
{
    put_array_start(sink, mx_struct, 0, value.dims.data(), value.dims.size(), name);
    std::uint64_t longest = 0;
    for (const std::string& field : value.field_names) {
        longest = std::max<std::uint64_t>(longest, field.size());
    }
    // Each name and its terminating NUL fill one slot.
    const std::uint64_t slot = longest < customary_field_slot ? customary_field_slot : padded(longest + 1);
    if (slot > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) ||
        value.field_names.size() > element_limit / slot) {
        too_large();
    }
    const auto slot32 = static_cast<std::int32_t>(slot);
    put_int32s(sink, &slot32, 1);
    std::string names(value.field_names.size() * slot, '\0');
    for (std::size_t f = 0; f < value.field_names.size(); ++f) {
        names.replace(f * slot, value.field_names[f].size(), value.field_names[f]);
    }
    put_element(sink, mi_int8, names.data(), names.size());
    for (const Value& element : value.elements) {
        put_array(sink, element, {});
    }
}

template <class Sink>
void put_array(Sink& sink, const Value& value, std::string_view name)
{
    const std::uint64_t start = sink.position();
    const std::uint32_t tag[2] = {mi_matrix, 0};  // byte count set once known
    sink.put(tag, sizeof tag);
    switch (value.value_class) {
    case ValueClass::character:
        put_char(sink, value, name);
        break;
    case ValueClass::cell:
        put_array_start(sink, mx_cell, 0, value.dims.data(), value.dims.size(), name);
        for (const Value& element : value.elements) {
            put_array(sink, element, {});
        }
        break;
    case ValueClass::structure:
        put_struct(sink, value, name);
        break;
    default:
        put_numeric(sink, value, name);
        break;
    }
    const std::uint64_t nbytes = sink.position() - start - tag_size;
    if (nbytes > element_limit) {
        too_large();
    }
    sink.set_u32(start + 4, static_cast<std::uint32_t>(nbytes));
}

template <class Sink>
void put_file(Sink& sink, const Value& value)
{
    char text[header_text_size];
    std::memset(text, ' ', sizeof text);
    std::memcpy(text, header_text, sizeof header_text - 1);
    sink.put(text, sizeof text);
    sink.zeros(version_offset - header_text_size);  // no subsystem data
    const std::uint16_t marks[2] = {version, byte_order_mark};
    sink.put(marks, sizeof marks);
    put_array(sink, value, variable_name);
}

}  // namespace

std::uint64_t packed_size(const Value& value)
{
    ByteCounter counter;
    put_file(counter, value);
    return counter.position();
}

void write_packed(const Value& value, std::uint8_t* out)
{
    ByteWriter writer(out);
    put_file(writer, value);
}

}  // namespace nrx

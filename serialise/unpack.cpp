#include "serialise/unpack.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "serialise/char_rows.hpp"
#include "serialise/elements.hpp"
#include "serialise/mat_format.hpp"
#include "serialise/text.hpp"

namespace nrx {

namespace {

using namespace mat;

constexpr char supported_classes[] = "only numeric, logical, char, cell and struct arrays can be unpacked.";

[[noreturn]] void malformed(const std::string& what) { throw FormatError("Not a packed value: " + what + "."); }

[[noreturn]] void unsupported(const std::string& what) { throw FormatError("Cannot unpack " + what); }

std::string at(std::uint64_t offset) { return " at byte " + std::to_string(offset); }

template <class T>
T load(const std::uint8_t* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// One data element: where its tag starts, its type and its data.
struct Element {
    std::uint64_t at;
    std::uint32_t type;
    const std::uint8_t* data;
    std::uint32_t nbytes;
    bool small;  // data share the tag's 8 bytes
};

// Walks the data elements that fill bytes [begin, end) of the input.
class ElementReader {
public:
    ElementReader(const std::uint8_t* base, std::uint64_t begin, std::uint64_t end)
        : base_(base), position_(begin), end_(end)
    {
    }

    bool done() const { return position_ == end_; }
    std::uint64_t position() const { return position_; }
    std::uint64_t end() const { return end_; }
    std::uint64_t remaining() const { return end_ - position_; }

    // Continues after an array that ended at `position` (at most end()),
    // at the next multiple of 8 bytes from the start of the input.
    void resume_after(std::uint64_t position) { position_ = std::min(padded(position), end_); }

    // The next element, which the array being read must have (`what` names
    // it). The reader stops after the tag of an array element: where the
    // array ends is found by reading it (see read_array).
    Element next(const char* what)
    {
        if (done()) {
            malformed(std::string("the array ending") + at(position_) + " has no " + what);
        }
        if (remaining() < tag_size) {
            malformed("the data element tag" + at(position_) + " is cut short");
        }
        const std::uint8_t* tag = base_ + position_;
        const auto first = load<std::uint32_t>(tag);
        Element element{position_, first, tag + small_data_limit, first >> 16, true};
        if (element.nbytes != 0) {
            // Small form: type and byte count share the first word.
            element.type = first & 0xFFFF;
            if (element.nbytes > small_data_limit) {
                malformed("the small data element" + at(position_) + " declares " +
                          std::to_string(element.nbytes) + " bytes; at most 4 fit");
            }
            position_ += tag_size;
            return element;
        }
        element.nbytes = load<std::uint32_t>(tag + 4);
        element.data = tag + tag_size;
        element.small = false;
        if (element.type == mi_matrix) {
            position_ += tag_size;
            return element;
        }
        const std::uint64_t room = remaining() - tag_size;
        if (element.nbytes > room) {
            malformed("the data element" + at(position_) + " declares " + std::to_string(element.nbytes) +
                      " bytes, but only " + std::to_string(room) + " follow");
        }
        // Padding may be missing after the last element of an array.
        position_ += tag_size + std::min(padded(element.nbytes), room);
        return element;
    }

private:
    const std::uint8_t* base_;
    std::uint64_t position_;
    std::uint64_t end_;
};

class ArrayReader {
public:
    explicit ArrayReader(const std::uint8_t* base) : base_(base) {}

    // Reads the next element of `outer` as an array and moves `outer` past it.
    Value read_array(ElementReader& outer, const char* what, int depth);

private:
    std::uint64_t offset(const std::uint8_t* p) const { return static_cast<std::uint64_t>(p - base_); }

    Value read_contents(ElementReader& reader, std::uint64_t array_at, int depth);
    void read_numeric(Value& value, ElementReader& reader, bool complex, bool logical);
    void read_sparse(Value& value, const std::vector<Element>& parts);
    void read_char(Value& value, ElementReader& reader);
    void read_cell(Value& value, ElementReader& reader, int depth);
    void read_struct(Value& value, ElementReader& reader, int depth);

    const std::uint8_t* base_;
    // Char arrays read so far whose data are 3 or 4 bytes of UTF-8 in the
    // small form: the host's own writer declares 4 bytes too many for each
    // of them, in the array and in every array around it (other writers
    // declare the right size).
    std::uint64_t miscounted_arrays_ = 0;
};

Elements numeric_part(const Element& part, const char* what)
{
    const std::optional<ElementType> type = element_type_of(part.type);
    if (!type) {
        malformed(std::string("the ") + what + at(part.at) + " has data type " + std::to_string(part.type) +
                  ", which is not numeric");
    }
    const std::size_t size = element_size(*type);
    if (part.nbytes % size != 0) {
        malformed(std::string("the ") + what + at(part.at) + " holds " + std::to_string(part.nbytes) +
                  " bytes, not a whole number of elements");
    }
    return Elements{*type, part.data, part.nbytes / size};
}

Elements integer_part(const Element& part, const char* what)
{
    const Elements elements = numeric_part(part, what);
    if (elements.type == ElementType::float32 || elements.type == ElementType::float64) {
        malformed(std::string("the ") + what + at(part.at) + " are not integers");
    }
    return elements;
}

// A numeric part that must hold exactly `count` elements.
Elements counted_part(const Element& part, const char* what, std::uint64_t count)
{
    const Elements elements = numeric_part(part, what);
    if (elements.count != count) {
        malformed(std::string("the ") + what + at(part.at) + " holds " + std::to_string(elements.count) +
                  " elements where the array has " + std::to_string(count));
    }
    return elements;
}

std::vector<std::int32_t> read_dims(const Element& part)
{
    if (part.type != mi_int32 || part.nbytes % 4 != 0 || part.nbytes < 8) {
        malformed("the dimensions" + at(part.at) + " are not two or more int32 values");
    }
    std::vector<std::int32_t> dims(part.nbytes / 4);
    std::memcpy(dims.data(), part.data, part.nbytes);
    for (std::int32_t d : dims) {
        if (d < 0) {
            malformed("the dimensions" + at(part.at) + " include a negative size");
        }
    }
    return dims;
}

Value ArrayReader::read_array(ElementReader& outer, const char* what, int depth)
{
    const Element element = outer.next(what);
    if (element.type == mi_compressed) {
        unsupported("compressed data (as save -v7 writes); save with -v6 instead.");
    }
    if (element.type != mi_matrix) {
        malformed("the data element" + at(element.at) + " has type " + std::to_string(element.type) +
                  " where an array was expected");
    }
    if (depth > max_nesting_depth) {
        unsupported("arrays nested more than " + std::to_string(max_nesting_depth) + " deep.");
    }
    // The contents are read in the order their class fixes, within the
    // declared size but never past the enclosing element; the declared size
    // must then match what was read, but for the miscounts of the host's
    // own writer.
    const std::uint64_t begin = offset(element.data);
    const std::uint64_t declared_end = begin + element.nbytes;
    ElementReader reader(base_, begin, std::min(declared_end, outer.end()));
    const std::uint64_t miscounted_before = miscounted_arrays_;
    // An array element with no data stands for [] (0x0 double).
    Value value = element.nbytes == 0 ? Value{} : read_contents(reader, element.at, depth);
    const std::uint64_t excess = declared_end - reader.position();
    if (excess != 0 && excess != 4 * (miscounted_arrays_ - miscounted_before)) {
        malformed("the array" + at(element.at) + " declares " + std::to_string(element.nbytes) +
                  " bytes, but its contents take " + std::to_string(reader.position() - begin));
    }
    outer.resume_after(reader.position());
    return value;
}

Value ArrayReader::read_contents(ElementReader& reader, std::uint64_t array_at, int depth)
{
    const Element flags = reader.next("array flags");
    if (flags.type != mi_uint32 || flags.nbytes != 8) {
        malformed("the array flags" + at(flags.at) + " are not two uint32 words");
    }
    const auto flag_word = load<std::uint32_t>(flags.data);
    const std::uint32_t array_class = flag_word & 0xFF;
    const bool complex = flag_word & flag_complex;
    const bool logical = flag_word & flag_logical;

    Value value;
    value.dims = read_dims(reader.next("dimensions"));
    const Element name = reader.next("name");
    if (name.type != mi_int8 && name.type != mi_uint8) {
        malformed("the array name" + at(name.at) + " is not int8 text");
    }
    if ((complex || logical) && (array_class == mx_char || array_class == mx_cell || array_class == mx_struct)) {
        malformed("the " + std::string(array_class == mx_char ? "char" : array_class == mx_cell ? "cell" : "struct") +
                  " array" + at(array_at) + " is marked complex or logical");
    }
    if (complex && logical) {
        malformed("the array" + at(array_at) + " is marked both complex and logical");
    }

    switch (array_class) {
    case mx_char:
        read_char(value, reader);
        break;
    case mx_cell:
        read_cell(value, reader, depth);
        break;
    case mx_struct:
        read_struct(value, reader, depth);
        break;
    case mx_sparse: {
        if (value.dims.size() != 2) {
            malformed("the sparse array" + at(array_at) + " has " + std::to_string(value.dims.size()) +
                      " dimensions, not 2");
        }
        value.value_class = logical ? ValueClass::logical : ValueClass::float64;
        value.complex = complex;
        std::vector<Element> parts{reader.next("row indices"), reader.next("column starts"),
                                   reader.next("real part")};
        if (complex) {
            parts.push_back(reader.next("imaginary part"));
        }
        read_sparse(value, parts);
        break;
    }
    case mx_object:
    case mx_opaque:
        unsupported(std::string("an object: ") + supported_classes);
    case mx_function:
        unsupported(std::string("a function handle: ") + supported_classes);
    default: {
        const std::optional<ValueClass> numeric = numeric_class_of(array_class);
        if (!numeric) {
            malformed("the array flags" + at(flags.at) + " give the unknown class " + std::to_string(array_class));
        }
        value.value_class = logical ? ValueClass::logical : *numeric;
        read_numeric(value, reader, complex, logical);
        break;
    }
    }
    // The packer's limit, for every array: a struct without fields has no
    // bytes that bound its size, and a sparse array's elements are not stored.
    const std::uint64_t count = element_count(value.dims);
    if (!value.sparse && count > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        unsupported("the array" + at(array_at) + ": it has " + std::to_string(count) +
                    " elements, more than 2^31 - 1.");
    }
    return value;
}

void ArrayReader::read_numeric(Value& value, ElementReader& reader, bool complex, bool logical)
{
    const Element real = reader.next("real part");
    if (logical && !reader.done() && value.dims.size() == 2) {
        // Row indices, column starts and values: the host's own writer
        // stores sparse logical arrays so, with the class of their values.
        read_sparse(value, {real, reader.next("column starts"), reader.next("values")});
        return;
    }
    const std::uint64_t count = element_count(value.dims);
    value.complex = complex;
    value.real = counted_part(real, "real part", count);
    if (complex) {
        value.imag = counted_part(reader.next("imaginary part"), "imaginary part", count);
    }
}

// parts: row indices, column starts, real part and, when value.complex, the
// imaginary part.
void ArrayReader::read_sparse(Value& value, const std::vector<Element>& parts)
{
    value.sparse = true;
    const std::int32_t rows = value.dims[0];
    const std::int32_t columns = value.dims[1];

    const Elements starts = integer_part(parts[1], "column starts");
    if (starts.count != static_cast<std::uint64_t>(columns) + 1) {
        malformed("the column starts" + at(parts[1].at) + " number " + std::to_string(starts.count) + " for " +
                  std::to_string(columns) + " columns");
    }
    value.column_start.resize(starts.count);
    copy_elements(starts, value.column_start.data());
    if (value.column_start[0] != 0) {
        malformed("the column starts" + at(parts[1].at) + " do not begin at 0");
    }
    for (std::int32_t j = 0; j < columns; ++j) {
        if (value.column_start[j + 1] < value.column_start[j]) {
            malformed("the column starts" + at(parts[1].at) + " decrease");
        }
    }
    const auto stored = static_cast<std::uint64_t>(value.column_start[columns]);

    Elements row_indices = integer_part(parts[0], "row indices");
    Elements real = numeric_part(parts[2], "real part");
    Elements imag = value.complex ? numeric_part(parts[3], "imaginary part") : Elements{};
    if (row_indices.count < stored || real.count < stored || (value.complex && imag.count < stored)) {
        malformed("the sparse array" + at(parts[0].at) + " stores fewer row indices or values than its " +
                  std::to_string(stored) + " elements");
    }
    // Any further entries are unused capacity.
    row_indices.count = real.count = stored;
    value.row_index.resize(stored);
    copy_elements(row_indices, value.row_index.data());
    for (std::int32_t j = 0; j < columns; ++j) {
        for (std::int32_t k = value.column_start[j]; k < value.column_start[j + 1]; ++k) {
            const std::int32_t row = value.row_index[k];
            if (row < 0 || row >= rows || (k > value.column_start[j] && row <= value.row_index[k - 1])) {
                malformed("the row indices" + at(parts[0].at) + " of column " + std::to_string(j + 1) +
                          " are out of range or not increasing");
            }
        }
    }
    value.real = real;
    if (value.complex) {
        imag.count = stored;
        value.imag = imag;
    }
}

// The characters of a char array, one code unit or code point per element,
// become the Value's UTF-8 rows (char_rows.hpp).
void ArrayReader::read_char(Value& value, ElementReader& reader)
{
    value.value_class = ValueClass::character;
    const Element part = reader.next("char data");
    const std::uint64_t count = element_count(value.dims);
    std::vector<std::uint32_t> characters;
    bool utf16 = false;
    switch (part.type) {
    case mi_utf8: {
        if (part.small && part.nbytes >= 3) {
            ++miscounted_arrays_;
        }
        const std::string_view bytes(reinterpret_cast<const char*>(part.data), part.nbytes);
        if (part.nbytes == count) {
            value.text = bytes;  // one byte per element: the host's own form
            return;
        }
        const std::optional<std::vector<char32_t>> points = decode_utf8(bytes);
        if (!points) {
            malformed("the char data" + at(part.at) + " are not valid UTF-8");
        }
        characters.assign(points->begin(), points->end());
        break;
    }
    case mi_utf16:
    case mi_uint16:
    case mi_uint8:
    case mi_utf32: {
        // Code units stored as plain unsigned integers of the same width.
        Element units = part;
        units.type = part.type == mi_utf16 ? mi_uint16 : part.type == mi_utf32 ? mi_uint32 : part.type;
        const Elements elements = numeric_part(units, "char data");
        characters.resize(elements.count);
        copy_elements(elements, characters.data());
        utf16 = part.type == mi_utf16 || part.type == mi_uint16;
        break;
    }
    default:
        malformed("the char data" + at(part.at) + " have data type " + std::to_string(part.type));
    }
    if (characters.size() != count) {
        malformed("the char data" + at(part.at) + " hold " + std::to_string(characters.size()) +
                  " characters where the array has " + std::to_string(count));
    }
    if (count == 0) {
        return;
    }
    Rows<char> rows = utf8_rows(characters, value.dims, utf16);
    switch (rows.problem) {
    case RowsProblem::none: break;
    case RowsProblem::bad_row:
        malformed("the char data" + at(part.at) + " hold the invalid character code " + std::to_string(rows.invalid));
    case RowsProblem::row_too_long:
        unsupported("a char array whose rows take more than 2^31 - 1 bytes as UTF-8.");
    case RowsProblem::unequal_rows:
        unsupported(
            "a char array whose rows differ in length as UTF-8 text: the host holds each row of a "
            "char array as the same number of bytes.");
    }
    value.text = std::move(rows.units);
    value.dims[1] = rows.length;
}

void ArrayReader::read_cell(Value& value, ElementReader& reader, int depth)
{
    value.value_class = ValueClass::cell;
    const std::uint64_t count = element_count(value.dims);
    // Every element takes at least a tag.
    if (count > reader.remaining() / tag_size) {
        malformed("the cell array" + at(reader.position()) + " has " + std::to_string(count) +
                  " elements, more than the remaining " + std::to_string(reader.remaining()) + " bytes can hold");
    }
    value.elements.reserve(count);
    for (std::uint64_t k = 0; k < count; ++k) {
        value.elements.push_back(read_array(reader, "cell element", depth + 1));
    }
}

void ArrayReader::read_struct(Value& value, ElementReader& reader, int depth)
{
    value.value_class = ValueClass::structure;
    const Element slot_part = reader.next("field name length");
    if (slot_part.type != mi_int32 || slot_part.nbytes != 4) {
        malformed("the field name length" + at(slot_part.at) + " is not one int32");
    }
    const auto slot = load<std::int32_t>(slot_part.data);
    const Element names = reader.next("field names");
    if (names.type != mi_int8 && names.type != mi_uint8) {
        malformed("the field names" + at(names.at) + " are not int8 text");
    }
    if (names.nbytes > 0 && (slot <= 0 || names.nbytes % slot != 0)) {
        malformed("the field names" + at(names.at) + " do not fill slots of " + std::to_string(slot) + " bytes");
    }
    const std::uint64_t field_count = names.nbytes == 0 ? 0 : names.nbytes / slot;
    for (std::uint64_t f = 0; f < field_count; ++f) {
        const char* start = reinterpret_cast<const char*>(names.data) + f * slot;
        const void* end = std::memchr(start, '\0', slot);
        value.field_names.emplace_back(start, end ? static_cast<const char*>(end) - start : slot);
    }
    std::vector<std::string> sorted = value.field_names;
    std::sort(sorted.begin(), sorted.end());
    const auto twice = std::adjacent_find(sorted.begin(), sorted.end());
    if (twice != sorted.end()) {
        malformed("the field name \"" + *twice + "\"" + at(names.at) + " appears twice");
    }

    std::uint64_t count;
    if (__builtin_mul_overflow(element_count(value.dims), field_count, &count) ||
        count > reader.remaining() / tag_size) {
        malformed("the struct array" + at(reader.position()) + " has more field values than the remaining " +
                  std::to_string(reader.remaining()) + " bytes can hold");
    }
    value.elements.reserve(count);
    for (std::uint64_t k = 0; k < count; ++k) {
        value.elements.push_back(read_array(reader, "field value", depth + 1));
    }
}

}  // namespace

Value unpack_value(const std::uint8_t* bytes, std::uint64_t length)
{
    if (length < header_size) {
        malformed(std::to_string(length) + " bytes are fewer than the 128 of a MAT-file header");
    }
    const auto file_version = load<std::uint16_t>(bytes + version_offset);
    const auto order = load<std::uint16_t>(bytes + version_offset + 2);
    if (order == static_cast<std::uint16_t>(byte_order_mark >> 8 | byte_order_mark << 8)) {
        unsupported("data written in the other byte order: only this machine's byte order can be read.");
    }
    if (order != byte_order_mark) {
        malformed("the bytes do not begin with a MAT-file version 5 header");
    }
    if (file_version == hdf5_version) {
        unsupported("a version 7.3 (HDF5) MAT-file; save with -v6 instead.");
    }
    if (file_version != version) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%04X", file_version);
        malformed(std::string("the header gives the unknown version ") + hex);
    }
    ElementReader reader(bytes, header_size, length);
    if (reader.done()) {
        malformed("no array follows the MAT-file header");
    }
    Value value = ArrayReader(bytes).read_array(reader, "value", 1);
    if (!reader.done()) {
        const std::uint64_t tag = reader.position();
        if (reader.remaining() >= 4 && load<std::uint32_t>(bytes + tag) == mi_matrix) {
            unsupported("a MAT-file of several variables: a packed value holds exactly one.");
        }
        malformed(std::to_string(reader.remaining()) + " bytes follow the array" + at(tag));
    }
    return value;
}

}  // namespace nrx

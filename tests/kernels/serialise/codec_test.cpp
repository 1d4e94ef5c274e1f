// Packing and unpacking: the byte layout, round trips, and bytes built by
// hand that other writers produce or that must be refused.
#include "serialise/elements.hpp"
#include "serialise/pack.hpp"
#include "serialise/unpack.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

template <class T>
Bytes raw(std::initializer_list<T> values)
{
    Bytes bytes(values.size() * sizeof(T));
    std::memcpy(bytes.data(), values.begin(), bytes.size());
    return bytes;
}

Bytes raw(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A data element in the full form, padded to 8 bytes; `declared` overrides
// the byte count in the tag.
Bytes element(std::uint32_t type, const Bytes& data, std::int64_t declared = -1)
{
    Bytes bytes = raw<std::uint32_t>({type, static_cast<std::uint32_t>(declared < 0 ? data.size() : declared)}) + data;
    bytes.resize((bytes.size() + 7) / 8 * 8);
    return bytes;
}

Bytes small_element(std::uint16_t type, const Bytes& data)
{
    Bytes bytes = raw<std::uint16_t>({type, static_cast<std::uint16_t>(data.size())}) + data;
    bytes.resize(8);
    return bytes;
}

enum : std::uint32_t { int8 = 1, uint8 = 2, int16 = 3, uint16 = 4, int32 = 5, uint32 = 6, float64 = 9, matrix = 14 };
enum : std::uint32_t { cell = 1, structure = 2, character = 4, sparse = 5, dbl = 6, i8 = 8, u8 = 9 };
constexpr std::uint32_t complex_flag = 0x800, logical_flag = 0x200;

Bytes array(std::uint32_t flags, std::initializer_list<std::int32_t> dims, const Bytes& contents,
            std::int64_t declared_extra = 0)
{
    const Bytes body = element(uint32, raw<std::uint32_t>({flags, 0})) + element(int32, raw<std::int32_t>(dims)) +
                       element(int8, {}) + contents;
    return element(matrix, body, static_cast<std::int64_t>(body.size()) + declared_extra);
}

Bytes file(const Bytes& value)
{
    Bytes header(128, ' ');
    const std::string text = "MATLAB 5.0 MAT-file, test";
    std::copy(text.begin(), text.end(), header.begin());
    const Bytes marks = raw<std::uint8_t>({0x00, 0x01, 'I', 'M'});  // version 0x0100, byte order
    std::copy(marks.begin(), marks.end(), header.begin() + 124);
    return header + value;
}

nrx::Value unpack(const Bytes& bytes) { return nrx::unpack_value(bytes.data(), bytes.size()); }

Bytes pack(const nrx::Value& value)
{
    Bytes bytes(nrx::packed_size(value));
    nrx::write_packed(value, bytes.data());
    return bytes;
}

template <class T>
std::vector<T> elements_of(const nrx::Elements& run)
{
    std::vector<T> values(run.count);
    nrx::copy_elements(run, values.data());
    return values;
}

std::string refusal(const Bytes& bytes)
{
    try {
        unpack(bytes);
    } catch (const nrx::FormatError& error) {
        return error.what();
    }
    return "(unpacked)";
}

TEST(Pack, WritesTheMatFileLayout)
{
    const double data[3] = {1, 2, 3};
    nrx::Value value;
    value.dims = {1, 3};
    value.real = {nrx::ElementType::float64, data, 3};
    const Bytes bytes = pack(value);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 19), "MATLAB 5.0 MAT-file");
    const Bytes expected_array =
        element(matrix, element(uint32, raw<std::uint32_t>({dbl, 0})) + element(int32, raw<std::int32_t>({1, 3})) +
                            element(int8, raw("value")) + element(float64, raw<double>({1, 2, 3})));
    EXPECT_EQ(Bytes(bytes.begin() + 124, bytes.end()), raw<std::uint8_t>({0, 1, 'I', 'M'}) + expected_array);
}

TEST(Pack, TextRowsAreUtf16AndOtherCharArraysTheirBytes)
{
    nrx::Value row;
    row.value_class = nrx::ValueClass::character;
    row.dims = {1, 3};
    row.text = "\xC3\xA9x";
    const Bytes bytes = pack(row);
    const Bytes tail = element(int32, raw<std::int32_t>({1, 2})) + element(int8, raw("value")) +
                       small_element(17, raw<std::uint16_t>({0xE9, 'x'}));
    EXPECT_EQ(Bytes(bytes.end() - tail.size(), bytes.end()), tail);
    EXPECT_EQ(unpack(bytes).text, row.text);
    EXPECT_EQ(unpack(bytes).dims, row.dims);

    nrx::Value rows = row;
    rows.dims = {3, 1};
    const Bytes raw_bytes = pack(rows);
    EXPECT_EQ(Bytes(raw_bytes.end() - 8, raw_bytes.end()), small_element(16, raw(row.text)));
}

TEST(Pack, RefusesArraysOfFourGibibytes)
{
    nrx::Value value;  // never written: the size is found first
    value.dims = {1, 1 << 29};
    value.real = {nrx::ElementType::float64, nullptr, std::uint64_t{1} << 29};
    EXPECT_THROW(nrx::packed_size(value), nrx::FormatError);
    value.real.count = (std::uint64_t{1} << 29) - 16;
    nrx::Value outer;
    outer.value_class = nrx::ValueClass::cell;
    outer.dims = {1, 2};
    outer.elements = {value, value};  // each fits, the cell around them does not
    EXPECT_NO_THROW(nrx::packed_size(value));
    EXPECT_THROW(nrx::packed_size(outer), nrx::FormatError);
}

TEST(Codec, RoundTripKeepsSparseStructureAndLongFieldNames)
{
    const double values[3] = {1, -2, 3};
    nrx::Value sparse_value;
    sparse_value.dims = {4, 3};
    sparse_value.sparse = true;
    sparse_value.column_start = {0, 2, 2, 3};
    sparse_value.row_index = {0, 3, 1};
    sparse_value.real = {nrx::ElementType::float64, values, 3};
    nrx::Value value;
    value.value_class = nrx::ValueClass::structure;
    value.dims = {1, 1};
    value.field_names = {std::string(100, 'f'), "s"};
    value.elements = {nrx::Value{}, sparse_value};

    const Bytes bytes = pack(value);  // the unpacked value's elements point into these
    const nrx::Value back = unpack(bytes);
    EXPECT_EQ(back.field_names, value.field_names);
    const nrx::Value& s = back.elements[1];
    EXPECT_TRUE(s.sparse);
    EXPECT_EQ(s.column_start, sparse_value.column_start);
    EXPECT_EQ(s.row_index, sparse_value.row_index);
    EXPECT_EQ(elements_of<double>(s.real), (std::vector<double>{1, -2, 3}));
}

TEST(Codec, RoundTripKeepsComplexIntegers)
{
    const std::int16_t re[2] = {1, -2}, im[2] = {INT16_MIN, 7};
    nrx::Value value;
    value.value_class = nrx::ValueClass::int16;
    value.dims = {2, 1};
    value.complex = true;
    value.real = {nrx::ElementType::int16, re, 2};
    value.imag = {nrx::ElementType::int16, im, 2};
    const Bytes bytes = pack(value);
    const nrx::Value back = unpack(bytes);
    EXPECT_EQ(back.value_class, nrx::ValueClass::int16);
    EXPECT_TRUE(back.complex);
    EXPECT_EQ(elements_of<std::int16_t>(back.imag), (std::vector<std::int16_t>{INT16_MIN, 7}));
}

TEST(Unpack, ConvertsStoredTypesAndReadsOtherWritersForms)
{
    // A double array stored as uint8, an int8 array stored as doubles.
    EXPECT_EQ(elements_of<double>(unpack(file(array(dbl, {1, 2}, element(uint8, raw<std::uint8_t>({7, 200}))))).real),
              (std::vector<double>{7, 200}));
    EXPECT_EQ(elements_of<std::int8_t>(unpack(file(array(i8, {1, 2}, element(float64, raw<double>({300, -2.5}))))).real),
              (std::vector<std::int8_t>{127, -3}));
    // Text as a UTF-8 stream of one code point per element, and as Latin-1.
    EXPECT_EQ(unpack(file(array(character, {1, 2}, element(16, raw("\xC3\xA9\xE2\x82\xAC"))))).text,
              "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(unpack(file(array(character, {1, 1}, element(uint8, raw<std::uint8_t>({0xE9}))))).text, "\xC3\xA9");
    // Rows of UTF-16, one with a surrogate pair, of equal UTF-8 length:
    // the rows' bytes are interleaved column-major as any char array's.
    const nrx::Value rows =
        unpack(file(array(character, {2, 2}, element(17, raw<std::uint16_t>({0xD83D, 0xE9, 0xDE00, 0xE9})))));
    EXPECT_EQ(rows.dims, (std::vector<std::int32_t>{2, 4}));
    EXPECT_EQ(rows.text, "\xF0\xC3\x9F\xA9\x98\xC3\x80\xA9");
    // An array element without data is [].
    const nrx::Value c = unpack(file(array(cell, {1, 1}, element(matrix, {}))));
    EXPECT_EQ(c.elements[0].dims, (std::vector<std::int32_t>{0, 0}));
    // Sparse logical in the layout of the host's own writer.
    const nrx::Value s = unpack(file(array(u8 | logical_flag, {2, 2},
                                           element(int32, raw<std::int32_t>({0, 1})) +
                                               element(int32, raw<std::int32_t>({0, 1, 2})) +
                                               element(float64, raw<double>({1, 1})))));
    EXPECT_TRUE(s.sparse);
    EXPECT_EQ(s.value_class, nrx::ValueClass::logical);
}

TEST(Unpack, AcceptsTheSizeMiscountOfTheHostsOwnWriter)
{
    // 4 bytes of UTF-8 in the small form: the writer declares 4 bytes more,
    // in the char array and in the cell around it.
    const Bytes text = array(character, {2, 2}, small_element(16, raw("acbd")), 4);
    const Bytes seven = array(dbl, {1, 1}, element(float64, raw<double>({7})));
    const Bytes bytes = file(array(cell, {1, 2}, text + seven, 4));
    const nrx::Value value = unpack(bytes);
    EXPECT_EQ(value.elements[0].text, "acbd");
    EXPECT_EQ(elements_of<double>(value.elements[1].real), (std::vector<double>{7}));
    EXPECT_EQ(refusal(file(array(cell, {1, 2}, text + seven, 8))),
              "Not a packed value: the array at byte 128 declares 168 bytes, but its contents take 160.");
}

TEST(Unpack, RefusesInconsistentStructure)
{
    const Bytes ir = element(int32, raw<std::int32_t>({0, 1}));
    const Bytes pr = element(float64, raw<double>({1, 2}));
    EXPECT_EQ(refusal(file(array(sparse, {2, 2}, ir + element(int32, raw<std::int32_t>({0, 2, 1})) + pr))),
              "Not a packed value: the column starts at byte 192 decrease.");
    EXPECT_EQ(refusal(file(array(sparse, {2, 2}, element(int32, raw<std::int32_t>({1, 0})) +
                                                   element(int32, raw<std::int32_t>({0, 2, 2})) + pr))),
              "Not a packed value: the row indices at byte 176 of column 1 are out of range or not increasing.");
    EXPECT_EQ(refusal(file(array(sparse, {2, 2}, ir + element(int32, raw<std::int32_t>({0, 2, 3})) + pr))),
              "Not a packed value: the sparse array at byte 176 stores fewer row indices or values than its 3 "
              "elements.");
    const Bytes names = small_element(int32, raw<std::int32_t>({4})) + element(int8, raw(std::string("ab\0\0ab\0\0", 8)));
    EXPECT_EQ(refusal(file(array(structure, {0, 0}, names))),
              "Not a packed value: the field name \"ab\" at byte 184 appears twice.");
    EXPECT_EQ(refusal(file(array(character, {2, 2}, element(17, raw<std::uint16_t>({0xE9, 'a', 'b', 'c'}))))),
              "Cannot unpack a char array whose rows differ in length as UTF-8 text: the host holds each row of a "
              "char array as the same number of bytes.");
    EXPECT_EQ(refusal(file(array(character, {1, 1}, small_element(17, raw<std::uint16_t>({0xDC00}))))),
              "Not a packed value: the char data at byte 176 hold the invalid character code 56320.");
    EXPECT_EQ(refusal(file(array(dbl | complex_flag, {1, 1}, element(float64, raw<double>({1}))))),
              "Not a packed value: the array ending at byte 192 has no imaginary part.");
}

TEST(Unpack, RefusesCountsBeyondTheBytesBeforeAllocating)
{
    EXPECT_EQ(refusal(file(array(cell, {65536, 65536}, element(matrix, {})))),
              "Not a packed value: the cell array at byte 176 has 4294967296 elements, more than the remaining 8 "
              "bytes can hold.");
    const Bytes names =
        small_element(int32, raw<std::int32_t>({4})) + small_element(int8, raw(std::string("abc\0", 4)));
    EXPECT_EQ(refusal(file(array(structure, {1 << 30, 1 << 30}, names))),
              "Not a packed value: the struct array at byte 192 has more field values than the remaining 0 bytes "
              "can hold.");
    EXPECT_EQ(refusal(file(element(matrix, {}, 0xFFFFFFF0))),
              "Not a packed value: the array ending at byte 136 has no array flags.");
    // A struct without fields stores nothing, whatever its size.
    const Bytes no_fields = small_element(int32, raw<std::int32_t>({4})) + element(int8, {});
    EXPECT_EQ(refusal(file(array(structure, {65536, 65536}, no_fields))),
              "Cannot unpack the array at byte 128: it has 4294967296 elements, more than 2^31 - 1.");
    EXPECT_EQ(refusal(file(array(structure, {1 << 21, 1 << 21, 1 << 21}, no_fields))),
              "Cannot unpack the array at byte 128: it has 9223372036854775808 elements, more than 2^31 - 1.");
    EXPECT_NO_THROW(unpack(file(array(structure, {65536, 32767}, no_fields))));
}

TEST(Unpack, BoundsNesting)
{
    Bytes nested = array(dbl, {0, 0}, element(float64, {}));
    for (int depth = 2; depth <= nrx::max_nesting_depth; ++depth) {
        nested = array(cell, {1, 1}, nested);
    }
    EXPECT_NO_THROW(unpack(file(nested)));
    EXPECT_EQ(refusal(file(array(cell, {1, 1}, nested))), "Cannot unpack arrays nested more than 256 deep.");
    // Ten thousand levels of cells: refused at level 257, not by running
    // out of stack.
    const int levels = 10000;
    const Bytes level = array(cell, {1, 1}, {});  // tag, flags, dims, name
    Bytes bomb;
    for (int k = levels; k > 0; --k) {
        Bytes start = level;
        const auto declared = static_cast<std::uint32_t>(level.size() - 8 + (k - 1) * level.size() + 8);
        std::memcpy(start.data() + 4, &declared, 4);
        bomb = bomb + start;
    }
    bomb = bomb + element(matrix, {});
    EXPECT_EQ(refusal(file(bomb)), "Cannot unpack arrays nested more than 256 deep.");
}

TEST(Unpack, RefusesWhatThePackedFormDoesNotCover)
{
    const Bytes one = array(dbl, {1, 1}, element(float64, raw<double>({1})));
    EXPECT_EQ(refusal(file(one + one)), "Cannot unpack a MAT-file of several variables: a packed value holds exactly one.");
    EXPECT_EQ(refusal(file(element(15, raw("zlib")))),
              "Cannot unpack compressed data (as save -v7 writes); save with -v6 instead.");
    EXPECT_EQ(refusal(file(array(16, {1, 1}, {}))),
              "Cannot unpack a function handle: only numeric, logical, char, cell and struct arrays can be unpacked.");
    EXPECT_EQ(refusal(file(array(3, {1, 1}, {}))),
              "Cannot unpack an object: only numeric, logical, char, cell and struct arrays can be unpacked.");
    Bytes swapped = file(one);
    std::swap(swapped[126], swapped[127]);
    EXPECT_EQ(refusal(swapped),
              "Cannot unpack data written in the other byte order: only this machine's byte order can be read.");
    EXPECT_EQ(refusal(Bytes(127, 0)), "Not a packed value: 127 bytes are fewer than the 128 of a MAT-file header.");
    EXPECT_EQ(refusal(file({})), "Not a packed value: no array follows the MAT-file header.");
}

}  // namespace

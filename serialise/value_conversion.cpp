#include "serialise/value_conversion.hpp"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "host/sizes.hpp"
#include "host/frame.hpp"
#include "serialise/elements.hpp"
#include "serialise/host_chars.hpp"

namespace nrx::host {

namespace {

struct ArrayClass {
    mxClassID host;
    ValueClass value;
    ElementType element;
};

constexpr ArrayClass numeric_classes[] = {
    {mxDOUBLE_CLASS, ValueClass::float64, ElementType::float64},
    {mxSINGLE_CLASS, ValueClass::float32, ElementType::float32},
    {mxINT8_CLASS, ValueClass::int8, ElementType::int8},
    {mxUINT8_CLASS, ValueClass::uint8, ElementType::uint8},
    {mxINT16_CLASS, ValueClass::int16, ElementType::int16},
    {mxUINT16_CLASS, ValueClass::uint16, ElementType::uint16},
    {mxINT32_CLASS, ValueClass::int32, ElementType::int32},
    {mxUINT32_CLASS, ValueClass::uint32, ElementType::uint32},
    {mxINT64_CLASS, ValueClass::int64, ElementType::int64},
    {mxUINT64_CLASS, ValueClass::uint64, ElementType::uint64},
    {mxLOGICAL_CLASS, ValueClass::logical, ElementType::uint8},
};

template <class Match>
const ArrayClass* find_class(Match match)
{
    const auto* found = std::find_if(std::begin(numeric_classes), std::end(numeric_classes), match);
    return found == std::end(numeric_classes) ? nullptr : found;
}

const std::string too_large =
    "Cannot pack the value: an array in it has a dimension or element count beyond 2^31 - 1.";

// A sparse array stores only its nonzeros: its dimensions and their number
// must fit 32 bits, not its element count (100000 x 100000 is fine).
void describe_sparse(const mxArray* array, const ArrayClass& numeric, Value& value)
{
    constexpr mwSize int32_max = std::numeric_limits<std::int32_t>::max();
    const mwSize rows = mxGetM(array);
    const mwSize columns = mxGetN(array);
    if (rows > int32_max || columns > int32_max || mxGetJc(array)[columns] > int32_max) {
        refuse(too_large);
    }
    // Every index and column start is now below 2^31.
    const mwIndex* column_start = mxGetJc(array);
    const mwIndex* row_index = mxGetIr(array);
    const auto stored = static_cast<std::uint64_t>(column_start[columns]);
    value.value_class = numeric.value;
    value.dims = {static_cast<std::int32_t>(rows), static_cast<std::int32_t>(columns)};
    value.sparse = true;
    value.complex = mxIsComplex(array);
    value.column_start.assign(column_start, column_start + columns + 1);
    value.row_index.assign(row_index, row_index + stored);
    value.real = Elements{numeric.element, mxGetData(array), stored};
    if (value.complex) {
        value.imag = Elements{numeric.element, mxGetImagData(array), stored};
    }
}

Value describe(const mxArray* array, int depth)
{
    if (depth > max_nesting_depth) {
        refuse("Cannot pack a value nested more than " + std::to_string(max_nesting_depth) + " deep.");
    }
    Value value;
    if (array == nullptr) {
        return value;  // an element never set reads as [], as it does in the host
    }
    const mxClassID id = mxGetClassID(array);
    const ArrayClass* numeric = find_class([id](const ArrayClass& c) { return c.host == id; });
    if (!numeric && id != mxCHAR_CLASS && id != mxCELL_CLASS && id != mxSTRUCT_CLASS) {
        refuse(std::string("Cannot pack a value of class ") + mxGetClassName(array) +
               ": only numeric, logical, char, cell and struct arrays can be packed.");
    }
    if (numeric && mxIsSparse(array)) {
        describe_sparse(array, *numeric, value);
        return value;
    }
    value.dims = dims_as_int32(array, too_large);
    const std::size_t count = element_count(value.dims);  // within 32 bits, as dims_as_int32 checked

    if (numeric) {
        value.value_class = numeric->value;
        value.complex = mxIsComplex(array);
        value.real = Elements{numeric->element, mxGetData(array), count};
        if (value.complex) {
            value.imag = Elements{numeric->element, mxGetImagData(array), count};
        }
    } else if (id == mxCHAR_CLASS) {
        value.value_class = ValueClass::character;
        value.text = text_of_host_chars(mxGetChars(array), value.dims);
    } else if (id == mxCELL_CLASS) {
        value.value_class = ValueClass::cell;
        value.elements.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            value.elements.push_back(describe(mxGetCell(array, i), depth + 1));
        }
    } else {
        value.value_class = ValueClass::structure;
        const int fields = mxGetNumberOfFields(array);
        for (int f = 0; f < fields; ++f) {
            value.field_names.emplace_back(mxGetFieldNameByNumber(array, f));
        }
        value.elements.reserve(count * fields);
        for (std::size_t i = 0; i < count; ++i) {
            for (int f = 0; f < fields; ++f) {
                value.elements.push_back(describe(mxGetFieldByNumber(array, i, f), depth + 1));
            }
        }
    }
    return value;
}

mxArray* create_sparse(const Value& value)
{
    const mwSize stored = value.column_start.back();
    const mwSize capacity = std::max<mwSize>(stored, 1);
    const bool logical = value.value_class == ValueClass::logical;
    mxArray* array = logical ? mxCreateSparseLogicalMatrix(value.dims[0], value.dims[1], capacity)
                             : mxCreateSparse(value.dims[0], value.dims[1], capacity, value.complex ? mxCOMPLEX : mxREAL);
    std::copy(value.row_index.begin(), value.row_index.end(), mxGetIr(array));
    std::copy(value.column_start.begin(), value.column_start.end(), mxGetJc(array));
    if (logical) {
        copy_as_logical(value.real, mxGetLogicals(array));
    } else {
        copy_elements(value.real, mxGetPr(array));
        if (value.complex) {
            copy_elements(value.imag, mxGetPi(array));
        }
    }
    return array;
}

using Dims = std::vector<mwSize>;

mxArray* create(const Value& value);

mxArray* create_char(const Value& value)
{
    std::vector<std::int32_t> dims = value.dims;
    const std::vector<mxChar> units = host_chars_of_text<mxChar>(value.text, dims);
    const Dims host_dims(dims.begin(), dims.end());
    mxArray* array = mxCreateCharArray(host_dims.size(), host_dims.data());
    std::copy(units.begin(), units.end(), mxGetChars(array));
    return array;
}

mxArray* create_cell(const Value& value, const Dims& dims)
{
    mxArray* array = mxCreateCellArray(dims.size(), dims.data());
    for (std::size_t i = 0; i < value.elements.size(); ++i) {
        mxSetCell(array, i, create(value.elements[i]));
    }
    return array;
}

mxArray* create_struct(const Value& value, const Dims& dims)
{
    std::vector<const char*> names;
    for (const std::string& name : value.field_names) {
        names.push_back(name.c_str());
    }
    const int fields = static_cast<int>(names.size());
    mxArray* array = mxCreateStructArray(dims.size(), dims.data(), fields, names.data());
    const std::size_t count = fields == 0 ? 0 : value.elements.size() / fields;
    for (std::size_t i = 0; i < count; ++i) {
        for (int f = 0; f < fields; ++f) {
            mxSetFieldByNumber(array, i, f, create(value.elements[i * fields + f]));
        }
    }
    return array;
}

mxArray* create_full(const Value& value, const Dims& dims)
{
    if (value.value_class == ValueClass::logical) {
        mxArray* array = mxCreateLogicalArray(dims.size(), dims.data());
        copy_as_logical(value.real, mxGetLogicals(array));
        return array;
    }
    const ArrayClass* numeric = find_class([&](const ArrayClass& c) { return c.value == value.value_class; });
    const bool integer = numeric->element != ElementType::float32 && numeric->element != ElementType::float64;
    if (value.complex && integer) {
        refuse(std::string("Cannot unpack a complex ") + class_name(value.value_class) +
               " array: this host has no complex integers.");
    }
    mxArray* array =
        mxCreateUninitNumericArray(dims.size(), dims.data(), numeric->host, value.complex ? mxCOMPLEX : mxREAL);
    copy_elements_as(numeric->element, value.real, mxGetData(array));
    if (value.complex) {
        copy_elements_as(numeric->element, value.imag, mxGetImagData(array));
    }
    return array;
}

mxArray* create(const Value& value)
{
    const Dims dims(value.dims.begin(), value.dims.end());
    switch (value.value_class) {
    case ValueClass::character: return create_char(value);
    case ValueClass::cell: return create_cell(value, dims);
    case ValueClass::structure: return create_struct(value, dims);
    default: return value.sparse ? create_sparse(value) : create_full(value, dims);
    }
}

}  // namespace

Value value_of_array(const mxArray* array) { return describe(array, 1); }

mxArray* array_of_value(const Value& value) { return create(value); }

}  // namespace nrx::host

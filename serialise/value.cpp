#include "serialise/elements.hpp"
#include "serialise/value.hpp"

#include <algorithm>
#include <limits>

namespace nrx {

const char* class_name(ValueClass value_class)
{
    switch (value_class) {
    case ValueClass::float64: return "double";
    case ValueClass::float32: return "single";
    case ValueClass::int8: return "int8";
    case ValueClass::uint8: return "uint8";
    case ValueClass::int16: return "int16";
    case ValueClass::uint16: return "uint16";
    case ValueClass::int32: return "int32";
    case ValueClass::uint32: return "uint32";
    case ValueClass::int64: return "int64";
    case ValueClass::uint64: return "uint64";
    case ValueClass::logical: return "logical";
    case ValueClass::character: return "char";
    case ValueClass::cell: return "cell";
    case ValueClass::structure: return "struct";
    }
    return "unknown";
}

std::size_t element_size(ElementType type)
{
    switch (type) {
    case ElementType::int8:
    case ElementType::uint8: return 1;
    case ElementType::int16:
    case ElementType::uint16: return 2;
    case ElementType::int32:
    case ElementType::uint32:
    case ElementType::float32: return 4;
    case ElementType::int64:
    case ElementType::uint64:
    case ElementType::float64: return 8;
    }
    return 8;
}

std::uint64_t element_count(const std::vector<std::int32_t>& dims)
{
    if (std::find(dims.begin(), dims.end(), 0) != dims.end()) {
        return 0;  // even when the other dimensions multiply beyond 64 bits
    }
    std::uint64_t count = 1;
    for (std::int32_t d : dims) {
        if (__builtin_mul_overflow(count, static_cast<std::uint64_t>(d), &count)) {
            return std::numeric_limits<std::uint64_t>::max();
        }
    }
    return count;
}

}  // namespace nrx

// Copying runs of stored elements into typed arrays.
//
// Packed bytes may store an array's elements in another type than its class
// (a double array of small whole numbers as uint8, say), and never promise
// alignment. copy_elements reads each element through memcpy and converts it
// as the host language's own conversion functions do:
//   - to an integer class: rounded to nearest (halves away from zero), then
//     saturated at the class's limits; NaN becomes 0;
//   - to single: a double beyond single's range becomes an infinity of its
//     sign, anything else is rounded as usual;
//   - to double: exact, except integers beyond 2^53, which are rounded.
// A run already of the target type is copied with one memcpy.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

#include "serialise/value.hpp"

namespace nrx {

// Bytes per element of `type`.
std::size_t element_size(ElementType type);

template <class T> constexpr ElementType element_type_of();
template <> constexpr ElementType element_type_of<std::int8_t>() { return ElementType::int8; }
template <> constexpr ElementType element_type_of<std::uint8_t>() { return ElementType::uint8; }
template <> constexpr ElementType element_type_of<std::int16_t>() { return ElementType::int16; }
template <> constexpr ElementType element_type_of<std::uint16_t>() { return ElementType::uint16; }
template <> constexpr ElementType element_type_of<std::int32_t>() { return ElementType::int32; }
template <> constexpr ElementType element_type_of<std::uint32_t>() { return ElementType::uint32; }
template <> constexpr ElementType element_type_of<std::int64_t>() { return ElementType::int64; }
template <> constexpr ElementType element_type_of<std::uint64_t>() { return ElementType::uint64; }
template <> constexpr ElementType element_type_of<float>() { return ElementType::float32; }
template <> constexpr ElementType element_type_of<double>() { return ElementType::float64; }

// One element converted to To, with the rules above; never undefined.
template <class To, class From>
To convert_element(From v)
{
    using Limits = std::numeric_limits<To>;
    if constexpr (std::is_same_v<To, From>) {
        return v;
    } else if constexpr (std::is_same_v<To, float> && std::is_same_v<From, double>) {
        if (v > Limits::max()) return Limits::infinity();
        if (v < Limits::lowest()) return -Limits::infinity();
        return static_cast<float>(v);
    } else if constexpr (std::is_floating_point_v<To>) {
        return static_cast<To>(v);
    } else if constexpr (std::is_floating_point_v<From>) {
        if (std::isnan(v)) return 0;
        const From r = std::round(v);
        // Both limits are powers of two (or one less), so the comparisons are
        // exact at the boundary: anything that passes converts without overflow.
        if (r <= static_cast<From>(Limits::lowest())) return Limits::lowest();
        if (r >= static_cast<From>(Limits::max())) return Limits::max();
        return static_cast<To>(r);
    } else {
        if constexpr (std::is_signed_v<From>) {
            if (v < 0) {
                return static_cast<std::int64_t>(v) < static_cast<std::int64_t>(Limits::lowest())
                           ? Limits::lowest()
                           : static_cast<To>(v);
            }
        }
        return static_cast<std::uint64_t>(v) > static_cast<std::uint64_t>(Limits::max()) ? Limits::max()
                                                                                           : static_cast<To>(v);
    }
}

namespace detail {

template <class From, class To, class Convert>
void convert_run(const Elements& from, To* to, Convert convert)
{
    const auto* bytes = static_cast<const unsigned char*>(from.data);
    for (std::uint64_t i = 0; i < from.count; ++i) {
        From v;
        std::memcpy(&v, bytes + i * sizeof(From), sizeof(From));
        to[i] = convert(v);
    }
}

// Calls convert_run with From set to the stored type of `from`.
template <class To, class Convert>
void convert_elements(const Elements& from, To* to, Convert convert)
{
    switch (from.type) {
    case ElementType::int8: return convert_run<std::int8_t>(from, to, convert);
    case ElementType::uint8: return convert_run<std::uint8_t>(from, to, convert);
    case ElementType::int16: return convert_run<std::int16_t>(from, to, convert);
    case ElementType::uint16: return convert_run<std::uint16_t>(from, to, convert);
    case ElementType::int32: return convert_run<std::int32_t>(from, to, convert);
    case ElementType::uint32: return convert_run<std::uint32_t>(from, to, convert);
    case ElementType::int64: return convert_run<std::int64_t>(from, to, convert);
    case ElementType::uint64: return convert_run<std::uint64_t>(from, to, convert);
    case ElementType::float32: return convert_run<float>(from, to, convert);
    case ElementType::float64: return convert_run<double>(from, to, convert);
    }
}

}  // namespace detail

// Writes from.count elements of type To at `to`.
template <class To>
void copy_elements(const Elements& from, To* to)
{
    if (from.count == 0) {
        return;
    }
    if (from.type == element_type_of<To>()) {
        std::memcpy(to, from.data, from.count * sizeof(To));
        return;
    }
    detail::convert_elements(from, to, [](auto v) { return convert_element<To>(v); });
}

// copy_elements with the target type chosen at run time: `to` holds
// from.count elements of type `to_type`.
inline void copy_elements_as(ElementType to_type, const Elements& from, void* to)
{
    switch (to_type) {
    case ElementType::int8: return copy_elements(from, static_cast<std::int8_t*>(to));
    case ElementType::uint8: return copy_elements(from, static_cast<std::uint8_t*>(to));
    case ElementType::int16: return copy_elements(from, static_cast<std::int16_t*>(to));
    case ElementType::uint16: return copy_elements(from, static_cast<std::uint16_t*>(to));
    case ElementType::int32: return copy_elements(from, static_cast<std::int32_t*>(to));
    case ElementType::uint32: return copy_elements(from, static_cast<std::uint32_t*>(to));
    case ElementType::int64: return copy_elements(from, static_cast<std::int64_t*>(to));
    case ElementType::uint64: return copy_elements(from, static_cast<std::uint64_t*>(to));
    case ElementType::float32: return copy_elements(from, static_cast<float*>(to));
    case ElementType::float64: return copy_elements(from, static_cast<double*>(to));
    }
}

// Writes from.count truth values (1 for every nonzero element, NaN included).
inline void copy_as_logical(const Elements& from, std::uint8_t* to)
{
    detail::convert_elements(from, to, [](auto v) -> std::uint8_t { return v != 0; });
}

}  // namespace nrx

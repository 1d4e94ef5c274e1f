// Vector lanes for the phase-map kernels.
//
// A kernel that does the same operations on neighbouring voxels writes them
// once for a type V: Vector, whose lanes are neighbouring voxels, or plain
// double for a single voxel. GCC's vector extensions apply each arithmetic
// operator to every lane as that IEEE operation on the lane, so a voxel gets
// the same bits either way (no fused multiply-add: the build keeps
// -ffp-contract=off). Comparisons give lane masks (all bits set where they
// hold) that & and | combine and ?: selects with, as they do bools.
//
// Only the NaN an operation passes on when both its operands are NaN is not
// fixed by IEEE: x86 passes on its instruction's first operand's, and which
// operand of + or * comes first is the compiler's choice. A NaN that meets
// another ends as a NaN result, so the kernels compute with plain + and *
// and redo each voxel whose result is NaN with plus and times taking
// `first_nan`: a NaN `first` is then passed on whatever the other operand.
#pragma once

#include <cstring>

namespace nrx::detail {

using Vector = double __attribute__((vector_size(16)));  // the width every x86-64 CPU has
constexpr int vector_width = sizeof(Vector) / sizeof(double);

template <bool first_nan, typename A, typename B>
auto plus(const A& first, const B& second)
{
    if constexpr (first_nan) {
        return first != first ? first + first : first + second;
    } else {
        return first + second;
    }
}

template <bool first_nan, typename A, typename B>
auto times(const A& first, const B& second)
{
    if constexpr (first_nan) {
        return first != first ? first * first : first * second;
    } else {
        return first * second;
    }
}

template <typename V>
V load(const double* p)
{
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename V>
void store(double* p, const V& v)
{
    std::memcpy(p, &v, sizeof v);
}

}  // namespace nrx::detail

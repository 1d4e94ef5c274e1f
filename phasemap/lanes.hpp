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
// operand of + or * comes first is the compiler's choice. plus and times fix
// it for a single voxel (plain double): a NaN `first` is passed on whatever
// the other operand. For Vector lanes they leave it open; a NaN that meets
// another ends as a NaN result, and the kernels redo the lanes whose result
// is NaN one voxel at a time.
#pragma once

#include <cstring>

namespace nrx::detail {

using Vector = double __attribute__((vector_size(16)));  // the width every x86-64 CPU has
constexpr int vector_width = sizeof(Vector) / sizeof(double);

inline double plus(double first, double second) { return first != first ? first + first : first + second; }
inline double times(double first, double second) { return first != first ? first * first : first * second; }

template <typename A, typename B>
auto plus(const A& first, const B& second)
{
    return first + second;
}

template <typename A, typename B>
auto times(const A& first, const B& second)
{
    return first * second;
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

// One sweep of a Markov-random-field update of class probabilities.
//
// P holds K class probabilities per voxel as bytes (255 stands for 1); F the
// K class likelihoods; G says how strongly the classes of face neighbours
// attract or repel each other. Voxels are visited in the two colours of a 3-D
// checkerboard: first those with an even index sum i+j+k, then the odd ones,
// each pass k outermost, then j, then i ascending in steps of 2. A visited
// voxel is rewritten at once, so the even pass reads the odd voxels as they
// came in and the odd pass reads the even voxels as the even pass left them.
//
// Typical use (one sweep of a three-class volume with one interaction matrix,
// in place):
//
//   const float w[3] = {1, 1, 1};
//   nrx::relax_labels(grid, 3, P, P, F, G, w, nrx::Interaction::matrix);
#pragma once

#include <cstdint>

#include "core/grid3.hpp"
#include "core/planes.hpp"

namespace nrx {

// The most classes the plug-in accepts; the kernel itself has no limit.
constexpr std::int32_t max_classes = 1024;

// The five forms of the interaction data G. m = grid.count() voxels, idx the
// voxel's linear index grid.index(i, j, k), K classes.
enum class Interaction {
    matrix = 1,           // float K x K, G(d, c) at d + K*c, the same for every voxel
    vector = 2,           // float K, G(c), the same for every voxel
    voxel_matrix = 3,     // float, G(d, c) of voxel idx at idx + m*(d + K*c)
    voxel_packed = 4,     // float, symmetric with zero diagonal, pair t of voxel idx at idx + m*t
    voxel_packed_u8 = 5,  // as voxel_packed, bytes 0..255 used as penalties of 1/16
};

// Writes into `after` the probabilities `before` become in one sweep, both
// passes. before and after: uint8, grid x K, class c of voxel idx at
// idx + m*c; after is written in full. They may be the same buffer (the
// update is then in place); otherwise they must not overlap, and after
// starts as a copy of before. F: float likelihoods, laid out as P. w = (w0,
// w1, w2) weighs the neighbours along the first, second and third axis. The
// packed forms number the pairs (a, b), a < b, as a = 0..K-2 then
// b = a+1..K-1, and pair t couples a and b both ways.
//
// For each voxel, all float unless stated, every sum rounded to float:
//   q[c] = sum over the existing face neighbours, in the order k-1, k+1, j-1,
//          j+1, i-1, i+1, of weight * P(neighbour, c); then q[c] / 1530 (a
//          border voxel is not renormalised);
//   e[c] = sum_d q[d]*G(d, c) (matrix, voxel_matrix), q[c]*G(c) (vector), or
//          for each pair t = (a, b): e[a] += g*q[b], then e[b] += g*q[a];
//   p[c] = exp(e[c]) * F(c), or exp(-0.0625*e[c]) * F(c) for voxel_packed_u8,
//          with exp and the product in double, rounded to float;
//   s    = sum_c p[c], f = 255 / s;
//   P(c) = integer part of (f*p[c] + 0.5 in double), saturated to 0..255 with
//          NaN as 0 (a voxel whose s is 0, infinite or NaN becomes all 0).
//
// grid.count() times K, and the element count of G, must fit in 32 bits.
// Empty volumes and K = 0 change nothing. Costs per voxel 6*K neighbour
// reads, K exponentials, and K*K products for the two matrix forms (K*(K-1)
// for the packed ones), each pass spread over every core (the result does not
// depend on the thread count); allocates, per plane, three floats per class
// for every other voxel of a row.
//
// keep_going is asked on the calling thread before anything is written and,
// when after is not before, between planes too; once it says no, false is
// returned (after is then partly updated) and nothing more is written. In
// place, a sweep that has begun always ends. Returns true when both passes
// are complete.
bool relax_labels(const Grid3& grid, std::int32_t classes, const std::uint8_t* before, std::uint8_t* after,
                  const float* F, const void* G, const float w[3], Interaction code, KeepGoing keep_going = nullptr);

}  // namespace nrx

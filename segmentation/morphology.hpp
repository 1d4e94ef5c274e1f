// Grey-level dilation and erosion with a weighted structuring kernel.
//
// Each output voxel is the maximum (dilation) or minimum (erosion) of the
// voxel's own value and of kernel weight times image value over the kernel's
// neighbourhood. Only non-zero weights take part (a NaN weight does), and
// neighbours outside the image are ignored. The kernel's centre along each
// axis is its element floor(size / 2): the middle one for odd sizes, the
// upper of the two middle ones for even sizes.
//
// Typical use:
//
//   std::copy_n(ima, count, out);   // out starts as the image
//   nrx::morphology::do_it(ima, idim, kernel, kdim, true, out);
#pragma once

#include <cstdint>

namespace nrx::morphology {

// Linear index x + d[0]*(y + d[1]*z) of zero-based (x, y, z), or -1 when a
// coordinate is negative or not less than its size.
std::int32_t get_index(std::int64_t x, std::int64_t y, std::int64_t z, const std::int32_t d[3]);

// ima: idim[0] x idim[1] x idim[2] doubles; kernel: kdim[0] x kdim[1] x
// kdim[2] doubles, any size (larger than the image too); out: the size of
// ima, holding a copy of ima on entry. For every voxel c and then for every
// kernel element in the order kx, ky, kz (kz fastest) with a non-zero weight w
// and its neighbour n inside the image, p = w * ima[n] (the input, never out)
// and
//   dilation: out[c] = p unless out[c] > p;
//   erosion:  out[c] = p if out[c] > p.
// That comparison settles NaN: in dilation a NaN product replaces the running
// value and a later product replaces a NaN one, so the last product after a
// NaN decides; in erosion a NaN product is never taken and a NaN voxel stays
// NaN. Both voxel counts must fit in 32 bits. Cost: one pass over the image
// per non-zero weight; keeps a list of the non-zero weights.
void do_it(const double* ima, const std::int32_t idim[3], const double* kernel, const std::int32_t kdim[3],
           bool dilate, double* out);

}  // namespace nrx::morphology

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
//   nrx::dilate_or_erode(image, image_grid, kernel, kernel_grid, true, out);
#pragma once

#include "core/grid3.hpp"
#include "core/planes.hpp"

namespace nrx {

// image: a grid of doubles; kernel: a kernel_grid of doubles, any size
// (larger than the image too); out: the size of image, written in full (not
// in place: out must not overlap image). Each out[c] starts as image[c]; then
// for every kernel element in the order kx, ky, kz (kz fastest) with a
// non-zero weight w and its neighbour n inside the image, p = w * image[n]
// (the input, never out) and
//   dilation: out[c] = p unless out[c] > p;
//   erosion:  out[c] = p if out[c] > p.
// That comparison settles NaN: in dilation a NaN product replaces the running
// value and a later product replaces a NaN one, so the last product after a
// NaN decides; in erosion a NaN product is never taken and a NaN voxel stays
// NaN. An empty kernel copies the image. Both voxel counts must fit in 32
// bits. Cost: one product per voxel and non-zero weight (a box of ones,
// about one comparison per voxel and box element along each of its three
// sides), spread over every core (the result does not depend on the thread
// count); keeps a list of the non-zero weights and a few rows of doubles per
// piece of work.
//
// keep_going is asked on the calling thread after each few rows; once it
// says no, no further rows are started and false is returned (out is then
// partly written). Returns true when every voxel is written.
bool dilate_or_erode(const double* image, const Grid3& image_grid, const double* kernel, const Grid3& kernel_grid,
                     bool dilate, double* out, KeepGoing keep_going = nullptr);

}  // namespace nrx

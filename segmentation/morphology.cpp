#include "segmentation/morphology.hpp"

#include <vector>

#include "core/neighbourhood.hpp"

namespace nrx {

namespace {

// The kernel elements that take part (non-zero weights), in kernel order.
struct Taps {
    std::vector<BoxElement> elements;
    std::vector<double> weights;
};

Taps taps_of(const double* kernel, const Grid3& kernel_grid)
{
    Taps taps;
    for (const BoxElement& e : box_elements(kernel_grid)) {
        if (kernel[e.element] != 0) {
            taps.elements.push_back(e);
            taps.weights.push_back(kernel[e.element]);
        }
    }
    return taps;
}

template <bool dilate>
void apply(const double* image, const Grid3& grid, const Taps& taps, double* out)
{
    const Neighbourhood around(grid, offsets_of(taps.elements));
    // Each voxel's result depends only on the input image and its own running
    // value, so the voxels are visited in storage order; only the order of the
    // kernel elements, which settles NaN, matters.
    for (std::int32_t z = 0; z < grid.nz; ++z) {
        for (std::int32_t y = 0; y < grid.ny; ++y) {
            for (std::int32_t x = 0; x < grid.nx; ++x) {
                const std::int64_t c = grid.index(x, y, z);
                double value = image[c];
                around.for_each(x, y, z, c, [&](std::size_t k, std::int64_t n) {
                    const double p = taps.weights[k] * image[n];
                    if (dilate ? !(value > p) : value > p) {
                        value = p;
                    }
                });
                out[c] = value;
            }
        }
    }
}

}  // namespace

void dilate_or_erode(const double* image, const Grid3& image_grid, const double* kernel, const Grid3& kernel_grid,
                     bool dilate, double* out)
{
    const Taps taps = taps_of(kernel, kernel_grid);
    if (dilate) {
        apply<true>(image, image_grid, taps, out);
    } else {
        apply<false>(image, image_grid, taps, out);
    }
}

}  // namespace nrx

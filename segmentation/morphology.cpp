#include "segmentation/morphology.hpp"

#include <vector>

namespace nrx::morphology {

namespace {

// A kernel element that takes part: its offset from the centre and weight.
struct Tap {
    std::int32_t dx, dy, dz;
    double weight;
};

// The non-zero elements of the kernel in the order they are applied.
std::vector<Tap> taps_of(const double* kernel, const std::int32_t kdim[3])
{
    std::vector<Tap> taps;
    for (std::int32_t kx = 0; kx < kdim[0]; ++kx) {
        for (std::int32_t ky = 0; ky < kdim[1]; ++ky) {
            for (std::int32_t kz = 0; kz < kdim[2]; ++kz) {
                const double w = kernel[get_index(kx, ky, kz, kdim)];
                if (w != 0) {
                    taps.push_back({kx - kdim[0] / 2, ky - kdim[1] / 2, kz - kdim[2] / 2, w});
                }
            }
        }
    }
    return taps;
}

template <bool dilate>
void apply(const double* ima, const std::int32_t idim[3], const std::vector<Tap>& taps, double* out)
{
    // Each voxel's result depends only on the input image and its own running
    // value, so the voxels are visited in storage order; only the order of the
    // kernel elements, which settles NaN, matters.
    for (std::int32_t z = 0; z < idim[2]; ++z) {
        for (std::int32_t y = 0; y < idim[1]; ++y) {
            for (std::int32_t x = 0; x < idim[0]; ++x) {
                const std::int32_t c = get_index(x, y, z, idim);
                double value = out[c];
                for (const Tap& tap : taps) {
                    const std::int32_t n =
                        get_index(std::int64_t{x} + tap.dx, std::int64_t{y} + tap.dy, std::int64_t{z} + tap.dz, idim);
                    if (n == -1) {
                        continue;
                    }
                    const double p = tap.weight * ima[n];
                    if (dilate ? !(value > p) : value > p) {
                        value = p;
                    }
                }
                out[c] = value;
            }
        }
    }
}

}  // namespace

std::int32_t get_index(std::int64_t x, std::int64_t y, std::int64_t z, const std::int32_t d[3])
{
    if (x < 0 || x > d[0] - 1 || y < 0 || y > d[1] - 1 || z < 0 || z > d[2] - 1) {
        return -1;
    }
    return static_cast<std::int32_t>(x + d[0] * (y + d[1] * z));
}

void do_it(const double* ima, const std::int32_t idim[3], const double* kernel, const std::int32_t kdim[3],
           bool dilate, double* out)
{
    const std::vector<Tap> taps = taps_of(kernel, kdim);
    if (dilate) {
        apply<true>(ima, idim, taps, out);
    } else {
        apply<false>(ima, idim, taps, out);
    }
}

}  // namespace nrx::morphology

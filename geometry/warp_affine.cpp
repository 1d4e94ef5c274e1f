#include "geometry/warp_affine.hpp"

namespace nrx {

void apply_affine_to_field(float* x, float* y, float* z, std::int32_t n, const double m[16])
{
    // Each point is read and written by one thread only, so the split does
    // not matter; there is nothing to stop between points, so a call always
    // transforms every point.
#pragma omp parallel for schedule(static)
    for (std::int32_t e = 0; e < n; ++e) {
        const double px = x[e];
        const double py = y[e];
        const double pz = z[e];
        const double w = static_cast<float>(px * m[3] + py * m[7] + pz * m[11] + m[15]);
        const float qx = static_cast<float>((px * m[0] + py * m[4] + pz * m[8] + m[12]) / w);
        const float qy = static_cast<float>((px * m[1] + py * m[5] + pz * m[9] + m[13]) / w);
        const float qz = static_cast<float>((px * m[2] + py * m[6] + pz * m[10] + m[14]) / w);
        x[e] = qx;
        y[e] = qy;
        z[e] = qz;
    }
}

}  // namespace nrx

// [labels, dists] = nrx_geo_parcels(img, seeds[, dist]): geodesic Voronoi
// labelling of the inside of img (> 0) from n seeds, with chamfer distances.
#include <memory>
#include <string>

#include "host/argument_counts.hpp"
#include "host/checks.hpp"
#include "host/frame.hpp"
#include "host/outputs.hpp"
#include "host/sizes.hpp"
#include "host/text.hpp"
#include "segmentation/geo_parcels.hpp"

namespace {

enum Input { IMAGE, SEEDS, DISTANCE_TYPE };

// A map the call created: destroyed unless handed to the caller. (A deleter
// that calls the host, rather than a pointer to the host function, keeps the
// plug-in loadable before the host's symbols are bound.)
struct DestroyArray {
    void operator()(mxArray* array) const { mxDestroyArray(array); }
};
using Map = std::unique_ptr<mxArray, DestroyArray>;

Map new_map(const nrx::Grid3& image) { return Map(nrx::host::create_grid(image, mxDOUBLE_CLASS, nrx::host::Contents::unset)); }

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    check_argument_counts(nrhs, 2, 3, nlhs, 0, 2);
    const mxArray* img = prhs[IMAGE];
    const char* const not_image = "Input img must be a real double array.";
    const nrx::Grid3 image = read_double_image(
        img, not_image, not_image, "Input img too large: dimensions and element count must fit in 32-bit integers.");

    const mxArray* seeds = prhs[SEEDS];
    if (!is_real_full_double(seeds) || mxGetNumberOfDimensions(seeds) != 2 || mxGetN(seeds) != 3) {
        refuse("Input seeds must be a real double array [n x 3].");
    }
    const std::int32_t n =
        dims_as_int32(seeds, "Input seeds too large: dimensions and element count must fit in 32-bit integers.")[0];

    std::string dist_type = "d34";
    if (nrhs > DISTANCE_TYPE) {
        if (!mxIsChar(prhs[DISTANCE_TYPE])) {
            refuse("Input dist must be a string.");
        }
        dist_type = read_text(prhs[DISTANCE_TYPE]);
    }

    Map dists = new_map(image);
    Map labels = new_map(image);
    switch (nrx::grow_geodesic_parcels(data_of<double>(img), image, data_of<double>(seeds), n,
                                       data_of<double>(labels.get()), data_of<double>(dists.get()),
                                       dist_type.c_str())) {
    case nrx::ParcelStatus::unknown_distance_type:
        refuse("Unknown distance type.");
    case nrx::ParcelStatus::seed_outside_image:
        refuse("A seed appears to be outside image.");
    case nrx::ParcelStatus::done:
        break;
    }

    // The host gives max(nlhs, 1) output slots; with no output asked for,
    // neither map is returned.
    if (nlhs >= 1) plhs[0] = labels.release();
    if (nlhs >= 2) plhs[1] = dists.release();
}

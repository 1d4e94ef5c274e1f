// B = nrx_pack_value(V): the bytes of a MAT-file version 5 image holding V,
// as a uint8 row vector.
#include <cstdint>
#include <limits>
#include <new>

#include "host/frame.hpp"
#include "serialise/value_conversion.hpp"
#include "serialise/pack.hpp"

namespace {

enum Input { VALUE };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    // A plain statement packs nothing; inputs after the first are ignored.
    if (nlhs == 0 || nrhs == 0) {
        return;
    }
    try {
        const nrx::Value value = value_of_array(prhs[VALUE]);
        const std::uint64_t size = nrx::packed_size(value);
        if (size > static_cast<std::uint64_t>(std::numeric_limits<mwSize>::max())) {
            throw std::bad_alloc();  // more bytes than this host can count
        }
        plhs[0] = mxCreateUninitNumericMatrix(1, static_cast<mwSize>(size), mxUINT8_CLASS, mxREAL);
        nrx::write_packed(value, static_cast<std::uint8_t*>(mxGetData(plhs[0])));
    } catch (const nrx::FormatError& error) {
        refuse(error.what());
    }
}

// V = nrx_unpack_value(B): the value held by B, the bytes of a MAT-file
// version 5 image as nrx_pack_value returns them.
#include <cstdint>
#include <string>

#include "host/frame.hpp"
#include "serialise/value_conversion.hpp"
#include "serialise/unpack.hpp"

namespace {

enum Input { PACKED };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::host;

    // A plain statement unpacks nothing; inputs after the first are ignored.
    if (nlhs == 0 || nrhs == 0) {
        return;
    }
    // The element count is taken as the byte count, so the elements must be
    // single bytes.
    const mxArray* packed = prhs[PACKED];
    if (!mxIsUint8(packed) && !mxIsInt8(packed)) {
        refuse("Packed bytes must be a uint8 or int8 array, as nrx_pack_value returns; got a " +
               std::string(mxGetClassName(packed)) + " array.");
    }
    const auto* bytes = static_cast<const std::uint8_t*>(mxGetData(packed));
    const auto length = static_cast<std::uint64_t>(mxGetNumberOfElements(packed));
    try {
        plhs[0] = array_of_value(nrx::unpack_value(bytes, length));
    } catch (const nrx::FormatError& error) {
        refuse(error.what());
    }
}

// nrx_acq_read: copies out of the acquisition segment.
//
//   [H1, H2, H3, H4, H5] = nrx_acq_read()   header words of all 600 packets
//   S = nrx_acq_read(P)                      all samples of packet P
//   S = nrx_acq_read(P, N)                   its first N samples
//
// The segment is obtained and attached on every call and detached before the
// call returns, also when it ends in an error.
#include <algorithm>
#include <cstdint>

#include "acquisition/packet_numbers.hpp"
#include "acquisition/packets.hpp"
#include "acquisition/segment.hpp"
#include "host/frame.hpp"
#include "host/scalar.hpp"
#include "host/sizes.hpp"

namespace {

enum Input { PACKET, SAMPLE_COUNT };

}  // namespace

void nrx_gateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::acquisition;
    using nrx::host::data_of;
    using nrx::host::refuse;
    using nrx::host::scalar_or_nan;

    Attachment segment;
    if (const char* failed = segment.attach()) {
        refuse(failed);
    }

    if (nrhs == 0) {
        // One row per header word, but only as many as the host has output
        // slots for (it provides one even when no output was asked for). All
        // rows exist before any is filled.
        const int rows = std::min(std::max(nlhs, 1), static_cast<int>(header_words));
        std::int32_t* row[header_words];
        for (int k = 0; k < rows; ++k) {
            plhs[k] = mxCreateNumericMatrix(1, packet_count, mxINT32_CLASS, mxREAL);
        }
        for (int k = 0; k < rows; ++k) {
            row[k] = data_of<std::int32_t>(plhs[k]);
        }
        copy_headers(segment.words(), row, rows);
    } else {
        // Inputs after the second are ignored; the count is read only when
        // there are exactly two. A value that is not a number counts as NaN.
        const std::int32_t count =
            nrhs == 2 ? clamped_sample_count(scalar_or_nan(prhs[SAMPLE_COUNT])) : packet_samples;
        const std::int32_t index = read_index(scalar_or_nan(prhs[PACKET]));
        if (index < 0) {
            refuse("Cannot read before the first packet");
        }
        if (index >= packet_count) {
            refuse("Cannot read after the last packet");
        }
        plhs[0] = mxCreateNumericMatrix(1, count, mxINT32_CLASS, mxREAL);
        copy_samples(segment.words(), index, count, data_of<std::int32_t>(plhs[0]));
    }

    if (const char* failed = segment.detach()) {
        refuse(failed);
    }
}

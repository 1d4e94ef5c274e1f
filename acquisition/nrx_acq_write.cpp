// nrx_acq_write(P, W1, W2, W3, W4, W5, D): stores five header words and the
// int32 samples D into packet P of the acquisition segment.
//
// The segment is obtained and attached on every call and detached before the
// call returns, also when it ends in an error.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "acquisition/packet_numbers.hpp"
#include "acquisition/packets.hpp"
#include "acquisition/segment.hpp"
#include "host/frame.hpp"
#include "host/scalar.hpp"
#include "host/sizes.hpp"

namespace {

enum Input { PACKET, WORD_1, WORD_2, WORD_3, WORD_4, WORD_5, DATA, INPUT_COUNT };

}  // namespace

void nrx_gateway(int /*nlhs*/, mxArray* /*plhs*/[], int nrhs, const mxArray* prhs[])
{
    using namespace nrx::acquisition;
    using nrx::host::data_of;
    using nrx::host::refuse;
    using nrx::host::scalar_or_nan;
    using nrx::host::scalar_value;

    Attachment segment;
    if (const char* failed = segment.attach()) {
        refuse(failed);
    }
    // Inputs after the seventh are ignored.
    if (nrhs < INPUT_COUNT) {
        refuse("Not enough input arguments");
    }
    // A packet number that is not a number at all counts as NaN.
    const std::int32_t index = write_index(scalar_or_nan(prhs[PACKET]));
    if (mxGetClassID(prhs[DATA]) != mxINT32_CLASS) {
        refuse("Invalid type of data, should be int32");
    }
    if (index < 0) {
        refuse("Cannot write before the first packet");
    }
    if (index >= packet_count) {
        refuse("Cannot write after the last packet");
    }
    const std::size_t count = std::min<std::size_t>(mxGetNumberOfElements(prhs[DATA]), packet_samples);

    // Every word (only its first element) is read before the packet changes:
    // a word that is not a number ends the call with the packet as it was.
    std::int32_t words[header_words];
    for (int k = 0; k < header_words; ++k) {
        const std::optional<double> word = scalar_value(prhs[WORD_1 + k]);
        if (!word) {
            refuse("Header words must be numbers");
        }
        words[k] = to_int32(*word);
    }
    write_packet(segment.words(), index, words, data_of<const std::int32_t>(prhs[DATA]), count);

    if (const char* failed = segment.detach()) {
        refuse(failed);
    }
}

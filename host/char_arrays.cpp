#include "host/char_arrays.hpp"

#include <vector>

namespace nrx::host {

std::string read_text(const mxArray* chars)
{
    // Room for every character and the terminator, so nothing is cut off.
    std::vector<char> buffer(mxGetNumberOfElements(chars) + 1, '\0');
    mxGetString(chars, buffer.data(), buffer.size());
    return buffer.data();
}

}  // namespace nrx::host

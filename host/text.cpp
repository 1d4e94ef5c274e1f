#include "host/text.hpp"

#include <vector>

namespace nrx::host {

std::string read_text(const mxArray* chars)
{
    // Room for every character and the terminator, so nothing is cut off.
    std::vector<char> buffer(mxGetNumberOfElements(chars) + 1, '\0');
    mxGetString(chars, buffer.data(), buffer.size());
    return buffer.data();
}

int text_choice(const mxArray* chars, std::initializer_list<const char*> choices)
{
    const std::string text = read_text(chars);
    int position = 0;
    for (const char* choice : choices) {
        if (text == choice) {
            return position;
        }
        ++position;
    }
    return -1;
}

}  // namespace nrx::host

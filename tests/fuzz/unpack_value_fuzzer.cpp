// libFuzzer target of the unpacker. Arbitrary bytes must either unpack or be
// refused with a FormatError (anything else, or a crash, hang, leak or
// sanitizer report, is a finding); a value that unpacks must pack into bytes
// that unpack again and pack to the very same bytes.
#include <cstdint>
#include <vector>

#include "serialise/pack.hpp"
#include "serialise/unpack.hpp"

namespace {

std::vector<std::uint8_t> pack(const nrx::Value& value)
{
    std::vector<std::uint8_t> bytes(nrx::packed_size(value));
    nrx::write_packed(value, bytes.data());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    nrx::Value value;
    try {
        value = nrx::unpack_value(data, size);
    } catch (const nrx::FormatError&) {
        return 0;
    }
    const std::vector<std::uint8_t> packed = pack(value);
    const nrx::Value again = nrx::unpack_value(packed.data(), packed.size());
    if (pack(again) != packed) {
        __builtin_trap();
    }
    return 0;
}

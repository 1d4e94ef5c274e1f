// libFuzzer target of the NIfTI header-and-voxel reader, in memory. Arbitrary
// bytes, read as a single file and as a .hdr file whose .img file holds the
// same bytes, must either be read or be refused with a NiftiError (anything
// else, or a crash, hang, leak, large allocation or sanitizer report, is a
// finding). Read through a source that hides its size, as a gzipped file
// does, they must give the very same voxels or the very same message.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "nifti/nifti_stream.hpp"

namespace {

class UnsizedSource : public nrx::MemorySource {
public:
    using MemorySource::MemorySource;
    std::optional<std::uint64_t> size() const override { return std::nullopt; }
};

std::variant<nrx::NiftiData, std::string> read(const std::uint8_t* data, std::size_t size, bool single_file,
                                               bool sized)
{
    const auto open = [=]() -> std::unique_ptr<nrx::ByteSource> {
        if (sized) {
            return std::make_unique<nrx::MemorySource>(data, size, "input");
        }
        return std::make_unique<UnsizedSource>(data, size, "input");
    };
    try {
        const std::unique_ptr<nrx::ByteSource> file = open();
        return single_file ? nrx::read_nifti(*file) : nrx::read_nifti(*file, open);
    } catch (const nrx::NiftiError& error) {
        return error.what();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (bool single_file : {true, false}) {
        const auto sized = read(data, size, single_file, true);
        const auto unsized = read(data, size, single_file, false);
        if (sized.index() != unsized.index()) {
            __builtin_trap();
        }
        if (const auto* image = std::get_if<nrx::NiftiData>(&sized)) {
            if (image->voxels != std::get<nrx::NiftiData>(unsized).voxels ||
                image->voxels.size() != image->header.voxel_bytes()) {
                __builtin_trap();
            }
        } else if (std::get<std::string>(sized) != std::get<std::string>(unsized)) {
            __builtin_trap();
        }
    }
    return 0;
}

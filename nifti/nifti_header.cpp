#include "nifti/nifti_header.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <locale>
#include <sstream>

namespace nrx {

namespace {

constexpr std::size_t nifti1_size = 348;
constexpr std::size_t nifti2_size = 540;

// A field of the header in this machine's byte order.
template <typename T>
T field(const std::uint8_t* bytes, std::size_t offset, bool swapped)
{
    std::uint8_t copy[sizeof(T)];
    std::memcpy(copy, bytes + offset, sizeof(T));
    if (swapped) {
        std::reverse(copy, copy + sizeof(T));
    }
    T value;
    std::memcpy(&value, copy, sizeof(T));
    return value;
}

// The header fields this reader checks, as each version stores them.
struct Layout {
    std::size_t magic_at;
    const char* single_magic;  // as many bytes as the version's magic has, NUL included
    const char* pair_magic;
    std::size_t magic_size;
    std::size_t datatype_at, bitpix_at, dim_at, vox_offset_at;
    const char* version;
};

const Layout nifti1{344, "n+1", "ni1", 4, 70, 72, 40, 108, "NIfTI-1"};
const Layout nifti2{4, "n+2\0\r\n\032\n", "ni2\0\r\n\032\n", 8, 12, 14, 16, 168, "NIfTI-2"};

struct TypeCode {
    std::int16_t code;
    const char* name;
    int bits;
    bool supported;
    VoxelType type;
};

// Every voxel type the format defines, with the name the reference NIfTI
// library gives it.
const TypeCode type_codes[] = {
    {2, "UINT8", 8, true, VoxelType::uint8},          {256, "INT8", 8, true, VoxelType::int8},
    {512, "UINT16", 16, true, VoxelType::uint16},     {4, "INT16", 16, true, VoxelType::int16},
    {768, "UINT32", 32, true, VoxelType::uint32},     {8, "INT32", 32, true, VoxelType::int32},
    {1280, "UINT64", 64, true, VoxelType::uint64},    {1024, "INT64", 64, true, VoxelType::int64},
    {16, "FLOAT32", 32, true, VoxelType::float32},    {64, "FLOAT64", 64, true, VoxelType::float64},
    {1, "BINARY", 1, false, {}},                       {32, "COMPLEX64", 64, false, {}},
    {128, "RGB24", 24, false, {}},                     {1536, "FLOAT128", 128, false, {}},
    {1792, "COMPLEX128", 128, false, {}},              {2048, "COMPLEX256", 256, false, {}},
    {2304, "RGBA32", 32, false, {}},
};

[[noreturn]] void refuse(const std::string& problem, const std::string& name)
{
    throw NiftiError(problem + " in the NIfTI header of " + name);
}

std::string number(double value)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text.precision(9);  // every float in full
    text << value;
    return text.str();
}

void check_magic(const std::uint8_t* bytes, const Layout& layout, bool single_file, const std::string& name)
{
    const char* magic = single_file ? layout.single_magic : layout.pair_magic;
    if (std::memcmp(bytes + layout.magic_at, magic, layout.magic_size) != 0) {
        throw NiftiError("No " + std::string(layout.version) + " magic (" + magic +
                         (single_file ? ", for a single file" : ", for a .hdr/.img pair") + ") in the header of " +
                         name);
    }
}

template <typename Dim>
void read_dims(const std::uint8_t* bytes, const Layout& layout, NiftiHeader& header, const std::string& name)
{
    const Dim count = field<Dim>(bytes, layout.dim_at, header.swapped);
    if (count < 1 || count > 7) {
        refuse("Dimension count " + std::to_string(count) + " (not 1 to 7)", name);
    }
    std::vector<std::int64_t> dims;
    for (Dim d = 1; d <= count; ++d) {
        dims.push_back(field<Dim>(bytes, layout.dim_at + d * sizeof(Dim), header.swapped));
        if (dims.back() < 1) {
            refuse("Size " + std::to_string(dims.back()) + " of dimension " + std::to_string(d) + " (below 1)", name);
        }
    }
    // The running product, held at 2^31 once it gets there.
    constexpr std::int64_t too_many = std::int64_t(1) << 31;
    std::int64_t voxels = 1;
    std::string sizes;
    for (std::int64_t size : dims) {
        voxels = std::min(voxels * std::min(size, too_many), too_many);
        sizes += (sizes.empty() ? "" : " x ") + std::to_string(size);
    }
    if (voxels == too_many) {
        throw NiftiError("The image in " + name + " is too large (" + sizes +
                         "): dimensions and element count must fit in 32-bit integers");
    }
    header.dims.assign(dims.begin(), dims.end());
    header.voxel_count = static_cast<std::int32_t>(voxels);
}

void read_type(const std::uint8_t* bytes, const Layout& layout, NiftiHeader& header, const std::string& name)
{
    const std::int16_t code = field<std::int16_t>(bytes, layout.datatype_at, header.swapped);
    const TypeCode* type = std::find_if(std::begin(type_codes), std::end(type_codes),
                                        [code](const TypeCode& known) { return known.code == code; });
    if (type == std::end(type_codes)) {
        refuse("Unknown voxel type code " + std::to_string(code), name);
    }
    if (!type->supported) {
        throw NiftiError("Unsupported voxel type " + std::string(type->name) + " in " + name);
    }
    const std::int16_t bitpix = field<std::int16_t>(bytes, layout.bitpix_at, header.swapped);
    if (bitpix != type->bits) {
        refuse("Bits per voxel " + std::to_string(bitpix) + " (not " + std::to_string(type->bits) + " for " +
                   type->name + ")",
               name);
    }
    header.type = type->type;
    header.bytes_per_voxel = static_cast<std::size_t>(type->bits / 8);
}

// The voxel offset as a whole number of bytes. NIfTI-1 stores it as a float,
// NIfTI-2 as a 64-bit integer.
std::uint64_t voxel_offset(const std::uint8_t* bytes, const Layout& layout, const NiftiHeader& header,
                           const std::string& name)
{
    std::string shown;
    std::uint64_t offset;
    if (header.size == nifti1_size) {
        const float stored = field<float>(bytes, layout.vox_offset_at, header.swapped);
        shown = number(stored);
        if (!std::isfinite(stored) || stored != std::trunc(stored)) {
            refuse("Voxel offset " + shown + " (not a whole number of bytes)", name);
        }
        if (stored < 0) {
            refuse("Negative voxel offset " + shown, name);
        }
        // No file reaches 2^63 bytes, where NIfTI-2 offsets end.
        if (stored >= 9223372036854775808.0f) {
            refuse("Voxel offset " + shown + " (beyond any file)", name);
        }
        offset = static_cast<std::uint64_t>(stored);
    } else {
        const std::int64_t stored = field<std::int64_t>(bytes, layout.vox_offset_at, header.swapped);
        shown = std::to_string(stored);
        if (stored < 0) {
            refuse("Negative voxel offset " + shown, name);
        }
        offset = static_cast<std::uint64_t>(stored);
    }
    // A single file holds the header and four extension-flag bytes first.
    const std::uint64_t header_end = header.size + 4;
    if (header.single_file && offset < header_end) {
        refuse("Voxel offset " + shown + " (inside the " + std::to_string(header_end) +
                   " bytes of header and extension flags)",
               name);
    }
    return offset;
}

}  // namespace

NiftiError not_nifti(const std::string& name) { return NiftiError("Cannot read a NIfTI image from " + name); }

std::size_t nifti_header_size(const std::uint8_t* first_four)
{
    for (bool swapped : {false, true}) {
        const std::int32_t size = field<std::int32_t>(first_four, 0, swapped);
        if (size == std::int32_t(nifti1_size) || size == std::int32_t(nifti2_size)) {
            return static_cast<std::size_t>(size);
        }
    }
    return 0;
}

NiftiHeader parse_nifti_header(const std::uint8_t* bytes, bool single_file, const std::string& name)
{
    NiftiHeader header{};
    header.size = nifti_header_size(bytes);
    if (header.size == 0) {
        throw not_nifti(name);
    }
    header.swapped = field<std::int32_t>(bytes, 0, false) != std::int32_t(header.size);
    const Layout& layout = header.size == nifti1_size ? nifti1 : nifti2;
    header.single_file = single_file;
    check_magic(bytes, layout, single_file, name);
    if (header.size == nifti1_size) {
        read_dims<std::int16_t>(bytes, layout, header, name);
    } else {
        read_dims<std::int64_t>(bytes, layout, header, name);
    }
    read_type(bytes, layout, header, name);
    header.voxel_offset = voxel_offset(bytes, layout, header, name);
    return header;
}

}  // namespace nrx

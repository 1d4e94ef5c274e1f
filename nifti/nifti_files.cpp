#include "nifti/nifti_files.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <initializer_list>

#include <zlib.h>

namespace nrx {

namespace {

struct SplitName {
    std::string base;
    std::string extension;  // lower case, empty when the name has none of the NIfTI extensions
    bool upper;             // the name spells it in upper case
};

std::string upper_case(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

SplitName split_name(const std::string& path)
{
    for (const std::string extension : {".nii.gz", ".hdr.gz", ".img.gz", ".nii", ".hdr", ".img"}) {
        if (path.size() > extension.size()) {
            const std::string tail = path.substr(path.size() - extension.size());
            if (tail == extension || tail == upper_case(extension)) {
                return {path.substr(0, path.size() - extension.size()), extension, tail != extension};
            }
        }
    }
    return {path, "", false};
}

bool exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

std::optional<std::string> first_existing(const SplitName& name, std::initializer_list<const char*> extensions)
{
    for (const std::string extension : extensions) {
        const std::string path = name.base + (name.upper ? upper_case(extension) : extension);
        if (exists(path)) {
            return path;
        }
    }
    return std::nullopt;
}

std::optional<HeaderFile> header_file(const std::optional<std::string>& path)
{
    if (!path) {
        return std::nullopt;
    }
    return HeaderFile{*path, split_name(*path).extension.compare(0, 4, ".nii") == 0};
}

// Whether byte `at` of text starts a UTF-8 character.
bool starts_character(const std::string& text, std::size_t at) { return (text[at] & 0xC0) != 0x80; }

}  // namespace

std::optional<HeaderFile> find_header_file(const std::string& path)
{
    const SplitName name = split_name(path);
    const bool image = name.extension.compare(0, 4, ".img") == 0;
    if (!name.extension.empty() && !image && exists(path)) {
        return header_file(path);
    }
    if (image) {
        return header_file(first_existing(name, {".hdr", ".hdr.gz", ".nii", ".nii.gz"}));
    }
    return header_file(first_existing(name, {".nii", ".nii.gz", ".hdr", ".hdr.gz"}));
}

std::optional<std::string> find_image_file(const std::string& header_file)
{
    return first_existing(split_name(header_file), {".img", ".img.gz"});
}

std::string shown_file_name(const std::string& path)
{
    constexpr std::size_t kept = 120;
    if (path.size() <= 2 * kept + 3) {
        return path;
    }
    std::size_t head = kept;
    while (head > 0 && !starts_character(path, head)) {
        --head;
    }
    std::size_t tail = path.size() - kept;
    while (tail < path.size() && !starts_character(path, tail)) {
        ++tail;
    }
    return path.substr(0, head) + "..." + path.substr(tail);
}

FileSource::FileSource(const std::string& path) : ByteSource(shown_file_name(path)), file_(gzopen(path.c_str(), "rb"))
{
    if (file_ == nullptr) {
        throw not_nifti(name());
    }
    // Plain bytes pass through as they are, and then the file's size is theirs.
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (gzdirect(file_) && !error) {
        size_ = bytes;
    }
}

FileSource::~FileSource() { gzclose(file_); }

std::size_t FileSource::read(void* out, std::size_t n)
{
    std::size_t done = 0;
    while (done < n) {
        const unsigned want = static_cast<unsigned>(std::min<std::size_t>(n - done, INT_MAX));
        const int got = gzread(file_, static_cast<char*>(out) + done, want);
        if (got < 0) {
            const int system_error = errno;
            int code = Z_OK;
            gzerror(file_, &code);
            throw NiftiError(not_nifti(name()).what() + std::string(": ") +
                             (code == Z_ERRNO ? std::strerror(system_error) : zError(code)));
        }
        done += static_cast<std::size_t>(got);
        if (static_cast<unsigned>(got) < want) {
            break;
        }
    }
    return done;
}

}  // namespace nrx

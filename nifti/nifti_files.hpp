// NIfTI files on disk: a header and its .img file found by name, and files
// read (gzipped or plain) as byte sources.
#pragma once

#include <optional>
#include <string>

#include "nifti/nifti_stream.hpp"

struct gzFile_s;

namespace nrx {

struct HeaderFile {
    std::string path;
    bool single_file;  // a .nii file, not a .hdr file whose voxels are in an .img file
};

// The file that holds the header `path` names: path itself when it exists
// and ends in .nii or .hdr (optionally .gz), otherwise the first that exists
// of base.nii, base.nii.gz, base.hdr, base.hdr.gz (the .hdr names first when
// path ends in .img or .img.gz), where base is path without its extension.
// Extensions are all lower case or all upper case, as in path. Nothing when
// none of them exists.
std::optional<HeaderFile> find_header_file(const std::string& path);

// The existing base.img or base.img.gz of a header file base.hdr, base.nii
// or either gzipped; nothing when neither exists.
std::optional<std::string> find_image_file(const std::string& header_file);

// A file name as messages show it: names longer than 243 bytes keep only
// their first and last 120 bytes or so (whole UTF-8 characters), joined by
// "...".
std::string shown_file_name(const std::string& path);

// The bytes of a file, decompressed when it is gzipped. Its size is known
// when it is not.
class FileSource : public ByteSource {
public:
    // Throws not_nifti when the file cannot be opened.
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t read(void* out, std::size_t n) override;
    std::optional<std::uint64_t> size() const override { return size_; }

private:
    gzFile_s* file_;
    std::optional<std::uint64_t> size_;
};

}  // namespace nrx

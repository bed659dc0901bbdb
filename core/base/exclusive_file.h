#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tf {

// A file held open with sharing denied: neither another process nor a second open in this
// process can take it while this object lives. Opening never truncates. Replacing the
// content writes a complete new image beside the file and renames it over, so a failure
// part-way leaves the previous content intact; the new file is held from then on.
class ExclusiveFile {
  public:
    enum class Mode {
        ReadOnly,         // existing file, read only
        ReadWrite,        // existing file
        ReadWriteCreate,  // created when missing
    };

    static std::optional<ExclusiveFile> open(const std::filesystem::path& path, Mode mode);

    ExclusiveFile(ExclusiveFile&& other) noexcept;
    ExclusiveFile& operator=(ExclusiveFile&& other) noexcept;
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;
    ~ExclusiveFile();

    const std::filesystem::path& path() const { return path_; }

    // The whole content, or nothing when it cannot be read.
    std::optional<std::string> readAll() const;

    // True while the handle still refers to a file that can be positioned.
    bool positionable() const;

    // Afterwards the file holds exactly `image`. False when anything failed; the previous
    // content is then untouched and still held.
    bool replaceContent(std::string_view image);

  private:
    ExclusiveFile(int handle, std::filesystem::path path)
        : handle_(handle), path_(std::move(path)) {}
    void close();

    int handle_ = -1;
    std::filesystem::path path_;
};

}  // namespace tf

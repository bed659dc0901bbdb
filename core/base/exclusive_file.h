#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/base/byte_stream.h"

namespace tf {

// A file held open with sharing denied: neither another process nor a second open in this
// process can take it while this object lives. Opening never truncates.
class ExclusiveFile {
  public:
    enum class Mode {
        ReadOnly,   // read only
        ReadWrite,  // read and write
    };
    // Why a file could not be opened, in the system's terms.
    enum class Refusal { Missing, Held, NoPermission, NotAFile, Other };

    static std::optional<ExclusiveFile> open(const std::filesystem::path& path, Mode mode,
                                             Refusal* why = nullptr);
    // A new file holding `image`, held for reading and writing: the image is written beside the
    // name and put in place whole, so a first save killed midway leaves no empty or partial
    // file. Nothing when the name is taken (Held), nothing can be made in the folder (Missing
    // or NoPermission) or the image could not be written (Other).
    static std::optional<ExclusiveFile> create(const std::filesystem::path& path,
                                               std::string_view image, Refusal* why = nullptr);
    // Where safety copies of files rewritten in place are kept (the user's cache folder);
    // the system's temporary folder until the program says otherwise.
    static void setSafetyCopyFolder(std::filesystem::path folder);

    ExclusiveFile(ExclusiveFile&& other) noexcept;
    ExclusiveFile& operator=(ExclusiveFile&& other) noexcept;
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;
    ~ExclusiveFile();

    const std::filesystem::path& path() const { return path_; }

    // The whole content, or nothing when it cannot be read.
    std::optional<std::string> readAll() const;
    // The content read front to back through a window; nothing when its size is unknown.
    // This object must outlive the stream.
    std::optional<ByteStream> stream() const;

    // True while the handle still refers to a file that can be positioned.
    bool positionable() const;
    // Held for writing: the content can be replaced.
    bool writable() const { return handle_ >= 0 && mode_ != Mode::ReadOnly; }

    // A rewrite in place of this file that a crash cut short is put right: a file that holds
    // neither its old nor its new content gets the old one back from its safety copy
    // (Restored), or cannot when the copy is gone or damaged (Unrecoverable). The journals and
    // copies of rewrites that ended are swept, and so are copies that no journal names.
    enum class Recovery { Nothing, Restored, Unrecoverable };
    Recovery recoverInterruptedRewrite();

    // Afterwards the file holds exactly `image`. A complete new image is written beside the
    // file (same mode, group and extended attributes) and renamed over it, and the new file is
    // held from then on; where a rename would break the user's file (it has other hard links,
    // belongs to another user, or no file can be made in its folder) the content is rewritten
    // through this handle instead, behind a safety copy and its journal that restore it when
    // the write fails, or when the file is next opened after a crash. Nothing is written when
    // the path no longer names the held file (replaced, or a link re-targeted meanwhile).
    // False when anything failed, or at once for a file held for reading only; the previous
    // content is then whole and still held.
    bool replaceContent(std::string_view image);

  private:
    ExclusiveFile(int handle, std::filesystem::path path, Mode mode)
        : handle_(handle), path_(std::move(path)), mode_(mode) {}
    void close();
    bool namesHeldFile(const std::filesystem::path& path) const;
    bool renameOver(const std::filesystem::path& target, std::string_view image);
    bool rewriteInPlace(std::string_view image);

    int handle_ = -1;
    std::filesystem::path path_;
    Mode mode_ = Mode::ReadOnly;
};

}  // namespace tf

#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/base/prompter.h"

namespace tf {

enum class WriteOutcome {
    Written,
    Held,    // another holder has the file locked: nothing was written
    Failed,  // the file could not be written; the old one is as it was
};

// A new content written and flushed to a temporary file beside its file, not yet in the
// file's place: several files can be made ready first and then replaced together. Dropped
// without commit(), the temporary file goes and the file stays as it was.
class StagedFile {
  public:
    // Stages `bytes` for the file at `path` (through links, with the file's permissions);
    // outcome() tells whether that worked.
    StagedFile(const std::filesystem::path& path, std::string_view bytes);
    ~StagedFile();
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Written when the content is ready to go in; Held or Failed, and nothing staged, else.
    WriteOutcome outcome() const { return outcome_; }
    // Moves the content over the file; false (the file as it was) when it cannot.
    bool commit();

  private:
    WriteOutcome outcome_ = WriteOutcome::Failed;
    std::filesystem::path target_;
    std::string tempName_;
    int temp_ = -1;
};

// Writes `bytes` as the whole new content of the file at `path`, the one way every file the
// program produces is written: a file that another holder has locked is refused; otherwise
// the bytes go to a temporary file in the same folder, which is flushed and renamed over the
// target, so that on any failure the old file stays whole and nothing is left behind.
WriteOutcome writeFileSafely(const std::filesystem::path& path, std::string_view bytes);

// Whether a file can be made in the folder, tried by making (and removing) one.
bool canCreateFilesIn(const std::filesystem::path& folder);

// Writes a file the user asked for (an export, a structure or print file) and tells why when
// it cannot: "文件被占用，无法写入！" for a held file, "保存失败，请重新再试！" otherwise.
// True when written.
bool writeFileTelling(const std::filesystem::path& path, std::string_view bytes,
                      Prompter& prompter);

}  // namespace tf

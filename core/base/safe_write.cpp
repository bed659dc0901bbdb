#include "core/base/safe_write.h"

#include <string>
#include <system_error>
#include <utility>

#include "core/base/safe_write_io.h"
#include "core/base/system_fault.h"
#include "core/base/temporary_file.h"

namespace tf {

bool canCreateFilesIn(const std::filesystem::path& folder) {
    std::string name;
    const int fd = createTemporaryFile(folder, name);
    if (fd < 0) {
        return false;
    }
    discardTemporaryFile(fd, name);
    return true;
}

StagedFile::StagedFile(const std::filesystem::path& path, std::string_view bytes) {
    if (detail::heldByAnother(path)) {
        outcome_ = WriteOutcome::Held;
        return;
    }
    std::error_code ec;
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    target_ = ec ? path : resolved;
    // A short name in the same folder, so that a long target name still leaves room for it.
    temp_ = createTemporaryFile(target_.parent_path(), tempName_);
    if (temp_ < 0) {
        return;
    }
    detail::giveModeOf(target_, temp_);
    if (!writeFully(temp_, bytes) || !flushToDisk(temp_)) {
        discardTemporaryFile(std::exchange(temp_, -1), tempName_);
        return;
    }
    outcome_ = WriteOutcome::Written;
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : outcome_(other.outcome_),
      target_(std::move(other.target_)),
      tempName_(std::move(other.tempName_)),
      temp_(std::exchange(other.temp_, -1)) {}

StagedFile::~StagedFile() {
    if (temp_ >= 0) {
        discardTemporaryFile(temp_, tempName_);
    }
}

bool StagedFile::commit() {
    if (temp_ < 0 || !moveOver(tempName_, target_)) {
        return false;
    }
    closeDescriptor(std::exchange(temp_, -1));
    return true;
}

WriteOutcome writeFileSafely(const std::filesystem::path& path, std::string_view bytes) {
    StagedFile staged(path, bytes);
    if (staged.outcome() != WriteOutcome::Written) {
        return staged.outcome();
    }
    return staged.commit() ? WriteOutcome::Written : WriteOutcome::Failed;
}

bool writeFileTelling(const std::filesystem::path& path, std::string_view bytes,
                      Prompter& prompter) {
    clearSystemFault();
    switch (writeFileSafely(path, bytes)) {
        case WriteOutcome::Written:
            return true;
        case WriteOutcome::Held:
            prompter.message("文件被占用，无法写入！", Captions::kWarning, MessageFlags::kWarning);
            return false;
        case WriteOutcome::Failed:
            break;
    }
    prompter.message(withSystemFault("保存失败，请重新再试！"), Captions::kError,
                     MessageFlags::kError);
    return false;
}

}  // namespace tf

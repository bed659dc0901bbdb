#include "core/base/safe_write.h"

#include <string>
#include <system_error>

#include "core/base/safe_write_io.h"
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

WriteOutcome writeFileSafely(const std::filesystem::path& path, std::string_view bytes) {
    if (detail::heldByAnother(path)) {
        return WriteOutcome::Held;
    }
    std::error_code ec;
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    const std::filesystem::path target = ec ? path : resolved;
    // A short name in the same folder, so that a long target name still leaves room for it.
    std::string tempName;
    const int temp = createTemporaryFile(target.parent_path(), tempName);
    if (temp < 0) {
        return WriteOutcome::Failed;
    }
    detail::giveModeOf(target, temp);
    if (!writeFully(temp, bytes) || !flushToDisk(temp) || !moveOver(tempName, target)) {
        discardTemporaryFile(temp, tempName);
        return WriteOutcome::Failed;
    }
    closeDescriptor(temp);
    return WriteOutcome::Written;
}

bool writeFileTelling(const std::filesystem::path& path, std::string_view bytes,
                      Prompter& prompter) {
    switch (writeFileSafely(path, bytes)) {
        case WriteOutcome::Written:
            return true;
        case WriteOutcome::Held:
            prompter.message("文件被占用，无法写入！", Captions::kWarning, MessageFlags::kWarning);
            return false;
        case WriteOutcome::Failed:
            break;
    }
    prompter.message("保存失败，请重新再试！", Captions::kError, MessageFlags::kError);
    return false;
}

}  // namespace tf

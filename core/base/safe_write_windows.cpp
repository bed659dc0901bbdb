#include "core/base/safe_write.h"

#include <io.h>

#include "core/base/path_text.h"
#include "core/base/temporary_file.h"
#include "core/base/windows_handles.h"

namespace tf {
namespace {

// True when another holder has the file open with sharing denied.
bool heldByAnother(const std::filesystem::path& path) {
    const HANDLE handle =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    }
    ::CloseHandle(handle);
    return false;
}

}  // namespace

bool canCreateFilesIn(const std::filesystem::path& folder) {
    std::string name;
    const int fd = createTemporaryFile(folder, name);
    if (fd < 0) {
        return false;
    }
    ::_close(fd);
    ::DeleteFileW(pathFromUtf8(name).c_str());
    return true;
}

WriteOutcome writeFileSafely(const std::filesystem::path& path, std::string_view bytes) {
    if (heldByAnother(path)) {
        return WriteOutcome::Held;
    }
    std::error_code ec;
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    const std::filesystem::path target = ec ? path : resolved;
    std::string tempName;
    const int temp = createTemporaryFile(target.parent_path(), tempName);
    if (temp < 0) {
        return WriteOutcome::Failed;
    }
    const std::filesystem::path tempPath = pathFromUtf8(tempName);
    const bool ok = writeFully(temp, bytes) && ::FlushFileBuffers(detail::handleOf(temp)) &&
                    ::MoveFileExW(tempPath.c_str(), target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    ::_close(temp);
    if (!ok) {
        ::DeleteFileW(tempPath.c_str());
    }
    return ok ? WriteOutcome::Written : WriteOutcome::Failed;
}

}  // namespace tf

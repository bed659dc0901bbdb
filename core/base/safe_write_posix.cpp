#include "core/base/safe_write.h"

#include "core/base/temporary_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace tf {
namespace {

// True when another open file description holds a lock on the file.
bool heldByAnother(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

}  // namespace

bool canCreateFilesIn(const std::filesystem::path& folder) {
    std::string name;
    const int fd = createTemporaryFile(folder, name);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(name.c_str());
    return true;
}

WriteOutcome writeFileSafely(const std::filesystem::path& path, std::string_view bytes) {
    if (heldByAnother(path)) {
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
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(temp, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(temp, 0666 & ~mask);
    }
    const bool ok = writeFully(temp, bytes) && ::fsync(temp) == 0 &&
                    ::rename(tempName.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempName.c_str());
    }
    ::close(temp);
    return ok ? WriteOutcome::Written : WriteOutcome::Failed;
}

}  // namespace tf

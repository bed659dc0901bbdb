#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/base/safe_write_io.h"

namespace tf::detail {

// Another open file description holds a lock on the file.
bool heldByAnother(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

void giveModeOf(const std::filesystem::path& target, int temp) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(temp, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(temp, 0666 & ~mask);
    }
}

}  // namespace tf::detail

#include "core/base/temporary_file.h"

#include "core/base/system_fault.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tf {
namespace detail {
extern thread_local SystemFault lastFault;
}  // namespace detail

void noteSystemFault() {
    switch (errno) {
        case ENOSPC:
        case EDQUOT:
            detail::lastFault = SystemFault::DiskFull;
            break;
        case EFBIG:
            detail::lastFault = SystemFault::TooLarge;
            break;
        case EROFS:
        case EACCES:
        case EPERM:
            detail::lastFault = SystemFault::ReadOnly;
            break;
        case ENAMETOOLONG:
            detail::lastFault = SystemFault::NameTooLong;
            break;
        case ENOENT:
        case ENOTDIR:
            detail::lastFault = SystemFault::FolderMissing;
            break;
        default:
            detail::lastFault = SystemFault::Other;
            break;
    }
}

void closeDescriptor(int fd) {
    ::close(fd);
}

bool writeFully(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            noteSystemFault();
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool flushToDisk(int fd) {
    if (::fsync(fd) == 0) {
        return true;
    }
    noteSystemFault();
    return false;
}

bool moveOver(const std::string& name, const std::filesystem::path& target) {
    if (::rename(name.c_str(), target.c_str()) == 0) {
        return true;
    }
    noteSystemFault();
    return false;
}

bool moveToNew(const std::string& name, const std::filesystem::path& target) {
    // A second name, then the temporary one gone: link never replaces what is there.
    if (::link(name.c_str(), target.c_str()) == 0) {
        ::unlink(name.c_str());
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EXDEV) {
        noteSystemFault();
        return false;
    }
    // A file system without hard links: a rename, once nothing has the name.
    std::error_code ec;
    return !std::filesystem::exists(std::filesystem::symlink_status(target, ec)) &&
           moveOver(name, target);
}

int createTemporaryFile(const std::filesystem::path& folder, std::string& name) {
    // The file exists a moment before it is locked, and another process sweeping the folder
    // may take it for a leftover then: lock it, or unlink it, first. Either is seen here
    // (the lock refused, or the file locked but gone), and another name is tried.
    constexpr int kTries = 8;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        name = (folder / (std::string(detail::kTemporaryPrefix) +
                          std::string(detail::kTemporaryRandomLength, 'X') +
                          std::string(detail::kTemporarySuffix)))
                   .string();
        const int fd =
            ::mkostemps(name.data(), static_cast<int>(detail::kTemporarySuffix.size()), O_CLOEXEC);
        if (fd < 0) {
            noteSystemFault();
            return -1;
        }
        struct stat info {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0) {
            return fd;
        }
        ::close(fd);
    }
    return -1;
}

void sweepStaleTemporaryFiles(const std::filesystem::path& folder,
                              const std::set<std::string>& keep) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().native();
        if (!detail::isTemporaryName(std::string_view(name)) || keep.contains(name)) {
            continue;
        }
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(entry.path().c_str());
        }
        ::close(fd);
    }
}

}  // namespace tf

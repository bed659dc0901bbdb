#include "core/base/exclusive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <utility>

#include "core/base/exclusive_file_io.h"
#include "core/base/system_fault.h"
#include "core/base/temporary_file.h"

namespace tf {
namespace {

// flock locks belong to the open file description, so they conflict between two opens in
// one process too (classic fcntl locks would not).
bool lockExclusive(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

ExclusiveFile::Refusal refusalOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return ExclusiveFile::Refusal::Missing;
        case EACCES:
        case EPERM:
        case EROFS:
            return ExclusiveFile::Refusal::NoPermission;
        case EWOULDBLOCK:
            return ExclusiveFile::Refusal::Held;
        case EISDIR:
            return ExclusiveFile::Refusal::NotAFile;
        default:
            return ExclusiveFile::Refusal::Other;
    }
}

bool writeAt(int fd, std::string_view data, off_t offset) {
    while (!data.empty()) {
        const ssize_t n = ::pwrite(fd, data.data(), data.size(), offset);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

// The extended attributes of one file onto another (tags, labels, what a desktop keeps about
// a file); any the system will not copy are left behind.
void copyExtendedAttributes(int from, int to) {
    const ssize_t listed = ::flistxattr(from, nullptr, 0);
    if (listed <= 0) {
        return;
    }
    std::string names(static_cast<std::size_t>(listed), '\0');
    const ssize_t got = ::flistxattr(from, names.data(), names.size());
    if (got <= 0) {
        return;
    }
    names.resize(static_cast<std::size_t>(got));
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        at += std::strlen(name) + 1;
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0) {
            continue;
        }
        std::string value(static_cast<std::size_t>(size), '\0');
        const ssize_t read = ::fgetxattr(from, name, value.data(), value.size());
        if (read >= 0) {
            ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(read), 0);
        }
    }
}

void syncFolder(const std::filesystem::path& folder) {
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

std::optional<ExclusiveFile> ExclusiveFile::open(const std::filesystem::path& path, Mode mode,
                                                 Refusal* why) {
    const int flags = O_CLOEXEC | (mode == Mode::ReadOnly ? O_RDONLY : O_RDWR);
    const auto refuse = [why](Refusal refusal) -> std::optional<ExclusiveFile> {
        if (why != nullptr) {
            *why = refusal;
        }
        return std::nullopt;
    };
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        noteSystemFault();
        return refuse(refusalOf(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return refuse(Refusal::NotAFile);
    }
    if (!lockExclusive(fd)) {
        ::close(fd);
        noteSystemFault(SystemFault::Held);
        return refuse(Refusal::Held);
    }
    return ExclusiveFile(fd, detail::heldName(path), mode);
}

void ExclusiveFile::close() {
    if (handle_ >= 0) {
        ::close(handle_);
        handle_ = -1;
    }
}

namespace detail {

std::filesystem::path heldName(const std::filesystem::path& path) {
    // The absolute name, unless it is longer than the system takes: then the name as given,
    // which works as long as the working folder stays.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return !ec && absolute.native().size() < PATH_MAX ? absolute : path;
}

bool overwriteHeldFile(int handle, std::string_view content) {
    if (writeAt(handle, content, 0) &&
        ::ftruncate(handle, static_cast<off_t>(content.size())) == 0 && ::fsync(handle) == 0) {
        return true;
    }
    noteSystemFault();
    return false;
}

std::optional<FileIdentity> heldFileIdentity(int handle) {
    struct stat info {};
    if (::fstat(handle, &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

std::optional<std::uint64_t> heldFileSize(int handle) {
    struct stat info {};
    if (::fstat(handle, &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::size_t> readHeldFile(int handle, std::uint64_t offset, std::span<char> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(handle, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

}  // namespace detail

bool ExclusiveFile::positionable() const {
    return handle_ >= 0 && ::lseek(handle_, 0, SEEK_CUR) >= 0;
}

bool ExclusiveFile::namesHeldFile(const std::filesystem::path& path) const {
    struct stat named {};
    struct stat held {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(handle_, &held) == 0 &&
           named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

bool ExclusiveFile::replaceContent(std::string_view image) {
    // Resolve a link so the new image replaces the file it points at, not the link.
    std::error_code ec;
    const auto resolved = std::filesystem::weakly_canonical(path_, ec);
    const std::filesystem::path target = ec ? path_ : resolved;
    // Never write over a stranger, into a file no name leads to, or over a file the user may
    // only read (a read-only project is saved elsewhere).
    if (handle_ < 0 || mode_ == Mode::ReadOnly || !namesHeldFile(target)) {
        noteSystemFault(mode_ == Mode::ReadOnly ? SystemFault::ReadOnly : SystemFault::Other);
        return false;
    }
    struct stat info {};
    if (::fstat(handle_, &info) != 0) {
        return false;
    }
    // A rename would cut the other hard links off from the new content (and from the lock),
    // and would give a file of another user (a shared file of the office) to this one.
    if (info.st_nlink > 1 || info.st_uid != ::geteuid()) {
        return rewriteInPlace(image);
    }
    return renameOver(target, image);
}

bool ExclusiveFile::renameOver(const std::filesystem::path& target, std::string_view image) {
    std::string tempName;
    const int temp = createTemporaryFile(target.parent_path(), tempName);
    if (temp < 0) {
        // A writable file in a folder where nothing can be made: only the file itself can
        // take the new content.
        return rewriteInPlace(image);
    }
    struct stat info {};
    if (::fstat(handle_, &info) == 0) {
        ::fchmod(temp, info.st_mode & 07777);
        if (::fchown(temp, info.st_uid, info.st_gid) != 0) {
            // Only the group can differ here (the file is this user's): it stays the user's.
        }
    }
    copyExtendedAttributes(handle_, temp);
    if (!writeFully(temp, image) || !flushToDisk(temp) || !namesHeldFile(target) ||
        !moveOver(tempName, target)) {
        discardTemporaryFile(temp, tempName);
        return false;
    }
    syncFolder(target.parent_path());
    close();
    handle_ = temp;
    return true;
}

}  // namespace tf

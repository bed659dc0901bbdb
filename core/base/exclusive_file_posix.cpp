#include "core/base/exclusive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace tf {
namespace {

// flock locks belong to the open file description, so they conflict between two opens in
// one process too (classic fcntl locks would not).
bool lockExclusive(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<ExclusiveFile> ExclusiveFile::open(const std::filesystem::path& path, Mode mode) {
    int flags = O_CLOEXEC;
    flags |= mode == Mode::ReadOnly ? O_RDONLY : O_RDWR;
    if (mode == Mode::ReadWriteCreate) {
        flags |= O_CREAT;
    }
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !lockExclusive(fd)) {
        ::close(fd);
        return std::nullopt;
    }
    std::error_code ec;
    auto absolute = std::filesystem::absolute(path, ec);
    return ExclusiveFile(fd, ec ? path : absolute);
}

ExclusiveFile::ExclusiveFile(ExclusiveFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), path_(std::move(other.path_)) {}

ExclusiveFile& ExclusiveFile::operator=(ExclusiveFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

ExclusiveFile::~ExclusiveFile() {
    close();
}

void ExclusiveFile::close() {
    if (handle_ >= 0) {
        ::close(handle_);
        handle_ = -1;
    }
}

std::optional<std::string> ExclusiveFile::readAll() const {
    struct stat info {};
    if (handle_ < 0 || ::fstat(handle_, &info) != 0) {
        return std::nullopt;
    }
    std::string content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buf[1 << 16];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(handle_, buf, sizeof buf, offset);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (n == 0) {
            return content;
        }
        content.append(buf, static_cast<std::size_t>(n));
        offset += n;
    }
}

bool ExclusiveFile::positionable() const {
    return handle_ >= 0 && ::lseek(handle_, 0, SEEK_CUR) >= 0;
}

bool ExclusiveFile::replaceContent(std::string_view image) {
    if (handle_ < 0) {
        return false;
    }
    // Resolve a link so the new image replaces the file it points at, not the link.
    std::error_code ec;
    const auto target = std::filesystem::weakly_canonical(path_, ec);
    const std::filesystem::path finalPath = ec ? path_ : target;
    std::string hiddenName = finalPath.filename().string();
    hiddenName.insert(0, 1, '.');
    hiddenName.append(".XXXXXX");
    std::string tempName = (finalPath.parent_path() / hiddenName).string();
    const int temp = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (temp < 0) {
        return false;
    }
    struct stat info {};
    bool ok = lockExclusive(temp);
    if (ok && ::fstat(handle_, &info) == 0) {
        ::fchmod(temp, info.st_mode & 07777);
    }
    ok = ok && writeAll(temp, image) && ::fsync(temp) == 0 &&
         ::rename(tempName.c_str(), finalPath.c_str()) == 0;
    if (!ok) {
        ::unlink(tempName.c_str());
        ::close(temp);
        return false;
    }
    const int dir = ::open(finalPath.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    close();
    handle_ = temp;
    return true;
}

}  // namespace tf

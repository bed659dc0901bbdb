#include "core/base/exclusive_file.h"

#include <io.h>

#include <cstdint>
#include <span>
#include <utility>

#include "core/base/exclusive_file_io.h"
#include "core/base/system_fault.h"
#include "core/base/temporary_file.h"
#include "core/base/windows_handles.h"

namespace tf {
namespace {

ExclusiveFile::Refusal refusalOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ExclusiveFile::Refusal::Missing;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return ExclusiveFile::Refusal::NoPermission;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return ExclusiveFile::Refusal::Held;
        default:
            return ExclusiveFile::Refusal::Other;
    }
}

// Sharing denied, as the program has always held its files: no other open, in this process
// or another, succeeds while the handle lives.
HANDLE openHeld(const std::filesystem::path& path, ExclusiveFile::Mode mode) {
    const DWORD access =
        mode == ExclusiveFile::Mode::ReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    return ::CreateFileW(path.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

}  // namespace

namespace detail {

std::filesystem::path heldName(const std::filesystem::path& path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute;
}

bool overwriteHeldFile(int handle, std::string_view content) {
    const HANDLE held = handleOf(handle);
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(content.size());
    return ::SetFilePointerEx(held, start, nullptr, FILE_BEGIN) && writeFully(handle, content) &&
           ::SetFilePointerEx(held, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(held) &&
           flushToDisk(handle);
}

std::optional<FileIdentity> heldFileIdentity(int fd) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(detail::handleOf(fd), &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::optional<std::uint64_t> heldFileSize(int fd) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(detail::handleOf(fd), &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::size_t> readHeldFile(int fd, std::uint64_t offset, std::span<char> out) {
    const HANDLE handle = detail::handleOf(fd);
    std::size_t done = 0;
    while (done < out.size()) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>((offset + done) & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        DWORD got = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
        if (!::ReadFile(handle, out.data() + done, chunk, &got, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

}  // namespace detail

std::optional<ExclusiveFile> ExclusiveFile::open(const std::filesystem::path& path, Mode mode,
                                                 Refusal* why) {
    const auto refuse = [why](Refusal refusal) -> std::optional<ExclusiveFile> {
        if (why != nullptr) {
            *why = refusal;
        }
        return std::nullopt;
    };
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return refuse(Refusal::NotAFile);
    }
    const HANDLE handle = openHeld(path, mode);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
            noteSystemFault(SystemFault::Held);
        } else {
            noteSystemFault();
        }
        return refuse(refusalOf(error));
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return refuse(Refusal::NotAFile);
    }
    const int fd = detail::descriptorOf(handle);
    if (fd < 0) {
        return refuse(Refusal::Other);
    }
    return ExclusiveFile(fd, detail::heldName(path), mode);
}

void ExclusiveFile::close() {
    if (handle_ >= 0) {
        ::_close(handle_);
        handle_ = -1;
    }
}

bool ExclusiveFile::positionable() const {
    LARGE_INTEGER none{};
    return handle_ >= 0 &&
           ::SetFilePointerEx(detail::handleOf(handle_), none, nullptr, FILE_CURRENT);
}

bool ExclusiveFile::namesHeldFile(const std::filesystem::path& path) const {
    // The held file cannot be opened again while held; compare identities through a handle
    // that asks for no access at all, which sharing does not stop.
    const HANDLE named =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    // Wine reports volume 0 for a handle whose file was renamed since it was opened (the new
    // content held after a save); the file's index then decides alone.
    const bool same =
        ::GetFileInformationByHandle(named, &a) &&
        ::GetFileInformationByHandle(detail::handleOf(handle_), &b) &&
        (a.dwVolumeSerialNumber == b.dwVolumeSerialNumber || b.dwVolumeSerialNumber == 0) &&
        a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    ::CloseHandle(named);
    return same;
}

bool ExclusiveFile::replaceContent(std::string_view image) {
    // Never write over a stranger, into a file no name leads to, or over a file the user may
    // only read (a read-only project is saved elsewhere).
    if (handle_ < 0 || mode_ == Mode::ReadOnly || !namesHeldFile(path_)) {
        noteSystemFault(mode_ == Mode::ReadOnly ? SystemFault::ReadOnly : SystemFault::Other);
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(detail::handleOf(handle_), &info)) {
        return false;
    }
    // A rename would cut the other hard links off from the new content.
    if (info.nNumberOfLinks > 1) {
        return rewriteInPlace(image);
    }
    return renameOver(path_, image);
}

bool ExclusiveFile::renameOver(const std::filesystem::path& target, std::string_view image) {
    std::string tempName;
    const int temp = createTemporaryFile(target.parent_path(), tempName);
    if (temp < 0) {
        return rewriteInPlace(image);
    }
    if (!writeFully(temp, image) || !flushToDisk(temp)) {
        discardTemporaryFile(temp, tempName);
        return false;
    }
    // A held file cannot be replaced: it is let go for the rename, and the new file (open
    // since it was made, its sharing denied but for the rename) is held from then on. When
    // the rename fails the old file is taken again.
    close();
    if (!moveOver(tempName, target)) {
        discardTemporaryFile(temp, tempName);
        handle_ = detail::descriptorOf(openHeld(target, mode_));
        return false;
    }
    handle_ = temp;
    return true;
}

}  // namespace tf

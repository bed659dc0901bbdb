#include "core/base/temporary_file.h"

#include <io.h>

#include <random>

#include "core/base/path_text.h"
#include "core/base/system_fault.h"
#include "core/base/windows_handles.h"

namespace tf {
namespace detail {
extern thread_local SystemFault lastFault;
}  // namespace detail

void noteSystemFault() {
    switch (::GetLastError()) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            detail::lastFault = SystemFault::DiskFull;
            break;
        case ERROR_FILE_TOO_LARGE:
            detail::lastFault = SystemFault::TooLarge;
            break;
        case ERROR_WRITE_PROTECT:
        case ERROR_ACCESS_DENIED:
            detail::lastFault = SystemFault::ReadOnly;
            break;
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            detail::lastFault = SystemFault::NameTooLong;
            break;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
            detail::lastFault = SystemFault::FolderMissing;
            break;
        default:
            detail::lastFault = SystemFault::Other;
            break;
    }
}

void closeDescriptor(int fd) {
    ::_close(fd);
}

bool writeFully(int fd, std::string_view data) {
    const HANDLE handle = detail::handleOf(fd);
    while (!data.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        if (!::WriteFile(handle, data.data(), chunk, &written, nullptr) || written == 0) {
            noteSystemFault();
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

bool flushToDisk(int fd) {
    if (::FlushFileBuffers(detail::handleOf(fd)) != 0) {
        return true;
    }
    noteSystemFault();
    return false;
}

bool moveOver(const std::string& name, const std::filesystem::path& target) {
    if (::MoveFileExW(pathFromUtf8(name).c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return true;
    }
    noteSystemFault();
    return false;
}

bool moveToNew(const std::string& name, const std::filesystem::path& target) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    if (::MoveFileExW(pathFromUtf8(name).c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0) {
        return true;
    }
    noteSystemFault();
    return false;
}

int createTemporaryFile(const std::filesystem::path& folder, std::string& name) {
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring leaf(detail::kTemporaryPrefix.begin(), detail::kTemporaryPrefix.end());
        for (std::size_t i = 0; i < detail::kTemporaryRandomLength; ++i) {
            leaf += kLetters[std::uniform_int_distribution<int>(0, 35)(random)];
        }
        leaf.append(detail::kTemporarySuffix.begin(), detail::kTemporarySuffix.end());
        const std::filesystem::path path = folder / leaf;
        // Nobody else may open it while it is written; it may be renamed over its target
        // while still open.
        const HANDLE handle =
            ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            name = utf8FromPath(path);
            return detail::descriptorOf(handle);
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            noteSystemFault();
            return -1;
        }
    }
    return -1;
}

void sweepStaleTemporaryFiles(const std::filesystem::path& folder,
                              const std::set<std::string>& keep) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (!detail::isTemporaryName(std::wstring_view(entry.path().filename().native())) ||
            keep.contains(utf8FromPath(entry.path().filename()))) {
            continue;
        }
        // Opened with sharing denied only when no writer holds it; gone when closed.
        const HANDLE handle = ::CreateFileW(
            entry.path().c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT,
            nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
        }
    }
}

}  // namespace tf

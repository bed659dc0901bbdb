#include "core/base/temporary_file.h"

#include <io.h>

#include <fcntl.h>

#include <random>

#include "core/base/windows_handles.h"

namespace tf {
namespace detail {

HANDLE handleOf(int fd) {
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

int descriptorOf(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE) {
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
    }
    return fd;
}

std::filesystem::path systemPath(const std::string& utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(reinterpret_cast<const char*>(name.data()), name.size());
}

}  // namespace detail

namespace {

constexpr std::wstring_view kPrefix = L".tf";
constexpr std::wstring_view kSuffix = L".tmp";
constexpr std::size_t kRandomLength = 6;

bool isTemporaryName(std::wstring_view name) {
    return name.size() == kPrefix.size() + kRandomLength + kSuffix.size() &&
           name.substr(0, kPrefix.size()) == kPrefix &&
           name.substr(name.size() - kSuffix.size()) == kSuffix;
}

}  // namespace

void closeDescriptor(int fd) {
    ::_close(fd);
}

bool writeFully(int fd, std::string_view data) {
    const HANDLE handle = detail::handleOf(fd);
    while (!data.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        if (!::WriteFile(handle, data.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

int createTemporaryFile(const std::filesystem::path& folder, std::string& name) {
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring leaf(kPrefix);
        for (std::size_t i = 0; i < kRandomLength; ++i) {
            leaf += kLetters[std::uniform_int_distribution<int>(0, 35)(random)];
        }
        leaf += kSuffix;
        const std::filesystem::path path = folder / leaf;
        // Nobody else may open it while it is written; it may be renamed over its target
        // while still open.
        const HANDLE handle =
            ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            name = detail::utf8Name(path);
            return detail::descriptorOf(handle);
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            return -1;
        }
    }
    return -1;
}

void sweepStaleTemporaryFiles(const std::filesystem::path& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (!isTemporaryName(entry.path().filename().native())) {
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

#include "core/base/safe_write_io.h"
#include "core/base/windows_handles.h"

namespace tf::detail {

// Another holder has the file open with sharing denied.
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

// A new file takes the folder's permissions; there is no mode to carry over.
void giveModeOf(const std::filesystem::path&, int) {}

}  // namespace tf::detail

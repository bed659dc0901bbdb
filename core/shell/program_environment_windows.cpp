#include <windows.h>
// After windows.h, which they need.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

#include "core/base/path_text.h"
#include "core/shell/app_settings.h"
#include "core/shell/program_environment.h"

namespace tf {
namespace {

constexpr std::size_t kLongestPath = 32768;  // the system's own limit, in UTF-16 units

std::filesystem::path localAppData() {
    PWSTR folder = nullptr;
    std::filesystem::path path;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder))) {
        path = folder;
    }
    ::CoTaskMemFree(folder);
    return path;
}

}  // namespace

std::vector<std::string> programArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; words != nullptr && i < count; ++i) {
        arguments.push_back(utf8FromPath(std::filesystem::path(words[i])));
    }
    ::LocalFree(words);
    return arguments;
}

std::filesystem::path programDirectory() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return {};
        }
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        if (name.size() >= kLongestPath) {
            return {};
        }
        name.resize(name.size() * 2);  // cut short: a long path
    }
}

std::filesystem::path userConfigFolder() {
    return localAppData() / pathFromUtf8(kApplicationName);
}

std::filesystem::path userCacheFolder() {
    return userConfigFolder() / "cache";
}

std::filesystem::path userDataFolder() {
    return userConfigFolder();
}

void useByteStandardStreams() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace tf

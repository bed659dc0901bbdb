#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "core/shell/app_settings.h"
#include "core/shell/program_environment.h"

namespace tf {
namespace {

std::filesystem::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

// `$variable` when it holds an absolute path (relative ones are ignored, as the base directory
// rules say), else the home folder's `fallback`; then the application's own folder.
std::filesystem::path xdgFolder(const char* variable, std::string_view fallback) {
    const char* value = std::getenv(variable);
    std::filesystem::path base = value != nullptr && value[0] == '/' ? std::filesystem::path(value)
                                                                     : homeFolder() / fallback;
    return base / kApplicationName;
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::filesystem::path programDirectory() {
    std::error_code ec;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path userConfigFolder() {
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path userCacheFolder() {
    return xdgFolder("XDG_CACHE_HOME", ".cache");
}

std::filesystem::path userDataFolder() {
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

void useByteStandardStreams() {}

}  // namespace tf

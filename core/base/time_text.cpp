#include "core/base/time_text.h"

#include <cstdio>
#include <ctime>
#include <system_error>

namespace tf {

std::string localTimeText(std::chrono::system_clock::time_point moment) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::optional<std::string> fileTimeText(const std::filesystem::path& file) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(file, error);
    if (error) {
        return std::nullopt;
    }
    return localTimeText(std::chrono::file_clock::to_sys(written));
}

bool setFileTimeText(const std::filesystem::path& file, std::string_view text) {
    std::tm local{};
    char rest = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &local.tm_year, &local.tm_mon,
                    &local.tm_mday, &local.tm_hour, &local.tm_min, &local.tm_sec, &rest) != 6) {
        return false;
    }
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1)) {
        return false;
    }
    std::error_code error;
    std::filesystem::last_write_time(
        file, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(seconds)),
        error);
    return !error;
}

}  // namespace tf

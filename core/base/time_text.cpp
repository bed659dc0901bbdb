#include "core/base/time_text.h"

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

}  // namespace tf

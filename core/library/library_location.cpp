#include "core/library/library_location.h"

#include "core/base/path_text.h"
#include "core/base/text_util.h"
#include "core/shell/program_environment.h"

namespace tf {

std::string libraryLocation(const AppSettings& settings, const std::optional<std::string>& given) {
    if (given && !isBlank(*given)) {
        return *given;
    }
    if (const std::string set = settings.text("Library", "Location"); !isBlank(set)) {
        return std::string(trimSpaces(set));
    }
    const std::filesystem::path folder = userDataFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return utf8FromPath(folder / "PriceLibrary.sqlite");
}

}  // namespace tf

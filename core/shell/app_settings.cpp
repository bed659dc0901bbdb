#include "core/shell/app_settings.h"

#include <cmath>

#include "core/base/file_bytes.h"
#include "core/base/ini_file.h"
#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"

namespace tf {
namespace {

// A settings file is a few lines; anything larger is not one of ours.
constexpr std::size_t kLargestSettingsFile = 1 << 20;

IniFile readIni(const std::filesystem::path& file) {
    const auto bytes = readFileBytes(utf8FromPath(file), kLargestSettingsFile);
    return IniFile::parse(bytes ? *bytes : std::string());
}

}  // namespace

std::filesystem::path writableProgramFolder(const std::filesystem::path& programDirectory,
                                            const std::filesystem::path& userFolder) {
    if (canCreateFilesIn(programDirectory)) {
        return programDirectory;
    }
    std::error_code ec;
    std::filesystem::create_directories(userFolder, ec);
    return userFolder;
}

std::filesystem::path settingsFilePath(const std::filesystem::path& programDirectory,
                                       const std::filesystem::path& userFolder) {
    return writableProgramFolder(programDirectory, userFolder) / kSettingsFileName;
}

std::string AppSettings::text(std::string_view section, std::string_view key) const {
    return readIni(file_).value(section, key).value_or(std::string());
}

int AppSettings::number(std::string_view section, std::string_view key) const {
    const double value = parseNumber(text(section, key));
    return std::fabs(value) < 1e9 ? static_cast<int>(value) : 0;
}

void AppSettings::setText(std::string_view section, std::string_view key, std::string_view value) {
    IniFile ini = readIni(file_);
    ini.setValue(section, key, value);
    writeFileSafely(file_, ini.serialize());
}

}  // namespace tf

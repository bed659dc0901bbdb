#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tf {

inline constexpr std::string_view kApplicationName = "Tallyframe";
inline constexpr std::string_view kSettingsFileName = "Brix.ini";
// The maker's web address (the main window's link, the about box).
inline constexpr std::string_view kMakerAddress = "https://tallyframe.example";

// Where the program keeps the files it writes ("Brix.ini", "MTemp"): the program directory
// when files can be made there (a portable copy, the build's program directory), else the
// user's own folder for the program, so that a copy installed in a read-only system folder
// still keeps them.
std::filesystem::path writableProgramFolder(const std::filesystem::path& programDirectory,
                                            const std::filesystem::path& userFolder);

// "Brix.ini" in that folder.
std::filesystem::path settingsFilePath(const std::filesystem::path& programDirectory,
                                       const std::filesystem::path& userFolder);

// The values kept in "Brix.ini", read from the file at every read and written to it at
// every write, as a profile file is. A missing file or key reads as empty text; a file that
// cannot be written goes unnoticed (the values are simply not kept).
class AppSettings {
  public:
    explicit AppSettings(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& file() const { return file_; }
    std::string text(std::string_view section, std::string_view key) const;
    // The text read as a whole number of minutes, 0 when empty or not a number.
    int number(std::string_view section, std::string_view key) const;
    void setText(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::filesystem::path file_;
};

}  // namespace tf

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tf {

// The freedesktop files that make project files open in the program.
inline constexpr std::string_view kProjectMimeType = "application/x-brix-gdb";
inline constexpr std::string_view kDesktopEntryName = "tallyframe.desktop";
inline constexpr std::string_view kMimePackageName = "tallyframe-gdb.xml";
inline constexpr std::string_view kProjectTypeDescription = "Brix工程数据";

// The shared-MIME-info package: "*.gdb" is "Brix工程数据".
std::string projectMimePackage();
// The desktop entry: the program (quoted, so a path with spaces works) opens the file "%f".
std::string projectDesktopEntry(std::string_view programPath, std::string_view iconPath);

// Windows keeps the same in the shell's classes of the registry. A key names its parts with
// "/" between them, "Default" being a key's unnamed value; numbers are DWORD values.
struct RegistryValue {
    std::string key;
    std::variant<std::string, int> value;
    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};
// What makes ".gdb" files open in the program at `programPath` (both paths in the system's
// own form): a type named after the program, its icon, and its open command with the
// program's path quoted (unquoted, "C:\Program Files\…" would be cut at the first space).
std::vector<RegistryValue> projectRegistryValues(std::string_view programPath,
                                                 std::string_view iconPath);
// Whether the classes make some program open ".gdb" files: the type of ".gdb" has a command
// for its default verb ("open" when it names none). `value` reads a key's text, empty when
// it is missing.
bool projectFilesHaveAProgram(const std::function<std::string(const std::string& key)>& value);

}  // namespace tf

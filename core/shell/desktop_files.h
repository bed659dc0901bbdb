#pragma once

#include <string>
#include <string_view>

namespace tf {

// The freedesktop files that make project files open in the program.
inline constexpr std::string_view kProjectMimeType = "application/x-brix-gdb";
inline constexpr std::string_view kDesktopEntryName = "tallyframe.desktop";
inline constexpr std::string_view kMimePackageName = "tallyframe-gdb.xml";

// The shared-MIME-info package: "*.gdb" is "Brix工程数据".
std::string projectMimePackage();
// The desktop entry: the program (quoted, so a path with spaces works) opens the file "%f".
std::string projectDesktopEntry(std::string_view programPath, std::string_view iconPath);

}  // namespace tf

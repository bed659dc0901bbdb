#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// Saved versions of a project live beside it in "<工程名>.版本/", each an ordinary project
// file named by its moment and label: "2026-12-10 142233 初稿.gdb".
std::filesystem::path versionFolder(const std::filesystem::path& project);

struct ProjectVersion {
    std::filesystem::path file;
    std::string label;
    std::string time;  // "2026-12-10 14:22:33"
};

// The versions of the project, oldest first. A project file put into the folder by hand is
// listed too, by its name and its modification time.
std::vector<ProjectVersion> listVersions(const std::filesystem::path& project);

// The label as it may stand in a file name: characters no desktop allows become "_",
// spaces around it go, at most 60 characters; "版本" when nothing is left.
std::string versionLabel(std::string_view label);

// Writes the document as it is now as a version of its project (which must have a name).
// The version, or nothing when it cannot be written (told through the prompter).
std::optional<ProjectVersion> saveVersion(
    const ProjectDocument& document, std::string_view label, Prompter& prompter,
    std::chrono::system_clock::time_point moment = std::chrono::system_clock::now());

// The version as an untitled project in place of the document's content, so that no save
// can write over it (a save asks for a new name). False, the document untouched, when the
// version cannot be read whole. The caller settles unsaved changes first.
bool openVersionUntitled(ProjectDocument& document, const ProjectVersion& version,
                         Prompter& prompter);

// The label the state before a restore is saved under.
inline constexpr std::string_view kBeforeRestore = "恢复前";

// Makes the version the project's content and saves it: the state before is saved as a
// version first ("恢复前…"), and nothing changes unless that and the version's reading
// succeed. The project is then the version, byte for byte.
bool restoreVersion(ProjectDocument& document, const ProjectVersion& version, Prompter& prompter);

}  // namespace tf

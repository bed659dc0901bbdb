#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

inline constexpr std::string_view kProgramTitle = "Tallyframe2009(现场版)";
inline constexpr std::string_view kProjectFilter = "工程数据(*.gdb)|*.gdb";

// "Tallyframe2009(现场版)" for an untitled project, else " - " and the full path after it.
std::string windowTitle(std::string_view path);

// Writes the project image through the held file, opening `path` first when none is held.
// Failures are told through the prompter; true on success.
bool saveProject(ProjectDocument& document, Prompter& prompter, bool autoSave);

// Checks and loads the named file and holds it. The caller has released the previous
// project's file. On failure the previous project stays in memory, untouched.
bool loadProject(ProjectDocument& document, const std::string& name, Prompter& prompter);

// The document a project image holds (untitled, no file), or nothing when it is refused;
// the refusal is told through the prompter.
std::optional<ProjectDocument> readProjectImage(std::string_view bytes, Prompter& prompter);

// An empty untitled project; releases the file.
void resetProject(ProjectDocument& document);

}  // namespace tf

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Moves the project to the file `name`: the file is locked without being cut short and the
// image written through a temporary file; only then does the project let go of its old file.
// On failure "文件创建失败，请重新再试！" and neither the project nor the file has changed
// (a file this call created is removed again). The open project's own file, and a file
// another holder has locked, cannot be chosen.
bool saveProjectAs(ProjectDocument& document, const std::string& name, Prompter& prompter);

// Checks and loads the named file and holds it. The caller has released the previous
// project's file. On failure the previous project stays in memory, untouched. A project
// some of whose parts were lost opens untitled, modified and with the file released, so
// that the next save asks for a new name and the damaged original stays as it is;
// `lostParts`, when given, receives the names of those parts.
bool loadProject(ProjectDocument& document, const std::string& name, Prompter& prompter,
                 std::vector<std::string>* lostParts = nullptr);

// A project image read into a document (untitled, no file). A damaged material table,
// attachment table or structure is replaced by an empty or the built-in one and named in
// `lostParts` ("材料表", "附加资料", "分部分项结构"); only the user's analysis rows cannot
// be done without.
struct ProjectReading {
    ProjectDocument document;
    std::vector<std::string> lostParts;
};

// The reading of a project image, or nothing when it is refused. Refusals and lost parts
// are told through the prompter.
std::optional<ProjectReading> readProjectImage(std::string_view bytes, Prompter& prompter);

// An empty untitled project; releases the file.
void resetProject(ProjectDocument& document);

}  // namespace tf

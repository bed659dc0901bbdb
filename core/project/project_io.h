#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/base/sealed_bytes.h"
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

// What a load found beyond its success: the parts a salvage lost, and why a file that could
// not be opened was refused by the system.
struct LoadDetails {
    std::vector<std::string> lostParts;
    std::optional<ExclusiveFile::Refusal> refusal;
    // The file as it was read: its sections' sizes and its integrity record.
    struct Sizes {
        std::size_t attachments = 0;
        std::size_t analysis = 0;
        std::size_t materials = 0;
        std::size_t tree = 0;
        std::size_t items = 0;
    } sizes;
    Integrity integrity = Integrity::Absent;
};

// Checks and loads the named file and holds it. On failure the previous project stays in
// memory, untouched; a file the system refuses is told as "非工程数据，无法打开！" with the
// system's reason in the status bar. A project some of whose parts were lost opens untitled,
// modified and with the file released, so that the next save asks for a new name and the
// damaged original stays as it is.
bool loadProject(ProjectDocument& document, const std::string& name, Prompter& prompter,
                 LoadDetails* details = nullptr);

// A project file read whole is never near this size; a larger one is no project of ours.
inline constexpr std::size_t kLargestProjectFile = std::size_t{1} << 32;

// What the user hears of a file that is no project, or that cannot be opened at all.
inline constexpr std::string_view kNotAProject = "非工程数据，无法打开！";

// The system's reason for refusing a file, as the status bar says it.
std::string_view refusalText(ExclusiveFile::Refusal refusal);

// A project image read into a document (untitled, no file). A damaged material table,
// attachment table or structure is replaced by an empty or the built-in one and named in
// `lostParts` ("材料表", "附加资料", "分部分项结构"); only the user's analysis rows cannot
// be done without.
struct ProjectReading {
    ProjectDocument document;
    std::vector<std::string> lostParts;
    LoadDetails::Sizes sizes;
    Integrity integrity = Integrity::Absent;
};

// The reading of a project image, or nothing when it is refused. Refusals and lost parts
// are told through the prompter.
std::optional<ProjectReading> readProjectImage(std::string_view bytes, Prompter& prompter);
std::optional<ProjectReading> readProjectImage(ByteStream& bytes, Prompter& prompter);

// An empty untitled project; releases the file.
void resetProject(ProjectDocument& document);

}  // namespace tf

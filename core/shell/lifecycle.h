#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// The save command: asks for a name when the project is untitled, then saves with the
// busy cursor. True when the project was saved.
bool saveCommand(ProjectDocument& document, Prompter& prompter);

// Asked when the main window is closed. True when it may close: the project was not
// modified, the user answered No, or answered Yes and the save succeeded. Cancel, and a
// save that did not happen, keep the program running so nothing typed is lost.
bool confirmClose(ProjectDocument& document, Prompter& prompter);

// Before another project replaces this one: a modified project asks; Cancel gives false,
// Yes runs the save command, and both Yes and No go on.
bool settleBeforeReplacing(ProjectDocument& document, Prompter& prompter);

// The project the command line names: the arguments joined by single spaces (a path with
// spaces arrives in pieces), trailing spaces removed; only an existing ".gdb" file counts.
std::optional<std::string> projectFromArguments(const std::vector<std::string>& arguments);

}  // namespace tf

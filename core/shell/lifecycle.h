#pragma once

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

}  // namespace tf

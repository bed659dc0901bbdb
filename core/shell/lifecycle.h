#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// What the project commands ask of the window around them.
class ProjectShell {
  public:
    enum class ButtonLook { Normal, Pressed, Lit };

    virtual ~ProjectShell() = default;
    // The project-wizard page: the ticker runs, no page button is pressed, the status bar
    // names the page.
    virtual void showStartPage() = 0;
    virtual void showAnalysisPage() = 0;
    virtual void showMaterialPage() = 0;
    virtual void setMaterialButtonLook(ButtonLook look) = 0;
    // The advertisement ticker stands still while a dialog or a work page is in front.
    virtual void pauseTicker(bool paused) = 0;
    // Another project is in the document (new or loaded): its derived views, the title.
    virtual void projectReplaced() = 0;
    // A material text file was dropped on the material table.
    virtual void importMaterialFile(const std::string& path) = 0;
};

inline constexpr std::string_view kAllFilesFilter = "所有文件(*.*)|*.*";

// "保存": asks for a name when the project is untitled, then saves with the busy cursor.
// True when the project was saved.
bool saveCommand(ProjectDocument& document, Prompter& prompter);

// "另存为": the chosen file is locked and written in full before the project moves to it;
// until then neither the project nor the chosen file changes. True when saved.
bool saveAsCommand(ProjectDocument& document, Prompter& prompter);

// "新建" (menu, Ctrl+N): an empty project, then the project-wizard page.
void newCommand(ProjectDocument& document, Prompter& prompter, ProjectShell& shell);

// The start page's new button: an empty project, the material button flashes and the
// material page opens, for a new project begins with its materials.
void startPageNewCommand(ProjectDocument& document, Prompter& prompter, ProjectShell& shell);

// "打开" (menu, Ctrl+O, start page). True when another project was loaded.
bool openCommand(ProjectDocument& document, Prompter& prompter, ProjectShell& shell);

// Asked when the program is to end ("退出", the window's close button). True when it may
// end: the project was not modified, the user answered No, or answered Yes and the save
// succeeded. Cancel, and a save that did not happen, keep the program running so nothing
// typed is lost.
bool confirmClose(ProjectDocument& document, Prompter& prompter);

// Before another project replaces this one: a modified project asks the standard question.
// False when the user cancels, or answers Yes and the save does not happen.
bool settleBeforeReplacing(ProjectDocument& document, Prompter& prompter);

// The project the command line names: the arguments joined by single spaces (a path with
// spaces arrives in pieces), trailing spaces removed; only an existing ".gdb" file counts.
std::optional<std::string> projectFromArguments(const std::vector<std::string>& arguments);

// At the end of start-up: opens the project the command line names; anything else is
// silently ignored.
void openFromCommandLine(ProjectDocument& document, Prompter& prompter, ProjectShell& shell,
                         const std::vector<std::string>& arguments);

// Files dropped on 分析表 (projects, opened one after the other) and on 材料表 (material
// text files and workbooks, imported); any other file is refused with a message.
void dropOnAnalysisTable(ProjectDocument& document, Prompter& prompter, ProjectShell& shell,
                         const std::vector<std::string>& paths);
void dropOnMaterialTable(Prompter& prompter, ProjectShell& shell,
                         const std::vector<std::string>& paths);

}  // namespace tf

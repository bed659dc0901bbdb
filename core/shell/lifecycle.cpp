#include "core/shell/lifecycle.h"

#include <filesystem>

#include "core/base/file_names.h"
#include "core/base/path_text.h"
#include "core/base/text_util.h"
#include "core/project/project_io.h"

namespace tf {
namespace {

constexpr std::string_view kChangedFile = "文件被修改，是否保存？";
constexpr std::string_view kChangedData = "数据被修改，是否保存？";
constexpr std::string_view kDropCaption = "关闭文件：";
constexpr std::string_view kUnsupportedFile = "不支持此类型文件！";
constexpr int kFlashMs = 500;

// A modified project asks before it goes; Yes saves. False when the project must stay:
// Cancel, or a Yes whose save did not happen (nothing typed is ever dropped unasked).
bool settle(ProjectDocument& document, Prompter& prompter, std::string_view question,
            std::string_view caption, int flags) {
    if (!document.modified) {
        return true;
    }
    switch (prompter.message(question, caption, flags)) {
        case Answer::Yes:
            return saveCommand(document, prompter);
        case Answer::No:
            return true;
        default:
            return false;
    }
}

// Loads `name` in place of the open project. A failure leaves the open project as it was,
// its file still held: it is let go only when the new one is in, or when it is the very
// file being opened again.
bool loadInPlace(ProjectDocument& document, const std::string& name, Prompter& prompter,
                 ProjectShell& shell) {
    std::error_code ec;
    const bool reopening =
        document.file && std::filesystem::equivalent(document.file->path(), pathFromUtf8(name), ec);
    if (reopening) {
        document.file.reset();
    }
    if (!loadProject(document, name, prompter)) {
        if (reopening) {
            document.file =
                ExclusiveFile::open(pathFromUtf8(document.path), ExclusiveFile::Mode::ReadWrite);
        }
        return false;
    }
    shell.projectReplaced();
    shell.showAnalysisPage();
    return true;
}

void startAfresh(ProjectDocument& document, ProjectShell& shell) {
    resetProject(document);
    shell.projectReplaced();
}

}  // namespace

bool saveCommand(ProjectDocument& document, Prompter& prompter) {
    if (document.path.empty()) {
        const auto name = prompter.chooseSaveFile("保存工程数据", kProjectFilter, "gdb");
        if (!name) {
            return false;
        }
        document.path = *name;
    }
    BusyCursor busy(prompter);
    return saveProject(document, prompter, false);
}

bool saveAsCommand(ProjectDocument& document, Prompter& prompter) {
    const std::string filter = std::string(kProjectFilter) + "|" + std::string(kAllFilesFilter);
    const auto name = prompter.chooseSaveFile("另存为:", filter, "gdb");
    if (!name) {
        return false;
    }
    BusyCursor busy(prompter);
    return saveProjectAs(document, *name, prompter);
}

void newCommand(ProjectDocument& document, Prompter& prompter, ProjectShell& shell) {
    if (!settle(document, prompter, kChangedData, Captions::kQuestion,
                MessageFlags::kYesNoCancelDefaultCancel)) {
        return;
    }
    startAfresh(document, shell);
    shell.showStartPage();
}

void startPageNewCommand(ProjectDocument& document, Prompter& prompter, ProjectShell& shell) {
    if (!settleBeforeReplacing(document, prompter)) {
        return;
    }
    startAfresh(document, shell);
    {
        BusyCursor busy(prompter);
        shell.setMaterialButtonLook(ProjectShell::ButtonLook::Pressed);
        prompter.pause(kFlashMs);
        shell.setMaterialButtonLook(ProjectShell::ButtonLook::Lit);
        prompter.pause(kFlashMs);
        shell.setMaterialButtonLook(ProjectShell::ButtonLook::Normal);
    }
    shell.showMaterialPage();
}

bool openCommand(ProjectDocument& document, Prompter& prompter, ProjectShell& shell) {
    shell.pauseTicker(true);
    if (!settleBeforeReplacing(document, prompter)) {
        shell.pauseTicker(false);
        return false;
    }
    const auto name = prompter.chooseOpenFile("打开工程数据", kProjectFilter);
    if (!name) {
        shell.pauseTicker(false);
        return false;
    }
    const bool loaded = loadInPlace(document, *name, prompter, shell);
    if (!loaded) {
        shell.pauseTicker(false);
    }
    return loaded;
}

bool confirmClose(ProjectDocument& document, Prompter& prompter) {
    return settleBeforeReplacing(document, prompter);
}

bool settleBeforeReplacing(ProjectDocument& document, Prompter& prompter) {
    return settle(document, prompter, kChangedFile, Captions::kQuestion,
                  MessageFlags::kYesNoCancelDefaultCancel);
}

std::optional<std::string> projectFromArguments(const std::vector<std::string>& arguments) {
    std::string name;
    for (const auto& argument : arguments) {
        name += (name.empty() ? "" : " ") + argument;
    }
    name.erase(name.find_last_not_of(' ') + 1);
    std::error_code ec;
    if (!hasExtension(name, ".gdb") || !std::filesystem::is_regular_file(pathFromUtf8(name), ec)) {
        return std::nullopt;
    }
    return name;
}

void openFromCommandLine(ProjectDocument& document, Prompter& prompter, ProjectShell& shell,
                         const std::vector<std::string>& arguments) {
    const auto name = projectFromArguments(arguments);
    if (!name) {
        return;
    }
    shell.pauseTicker(true);
    if (settleBeforeReplacing(document, prompter) &&
        loadInPlace(document, *name, prompter, shell)) {
        return;  // the analysis page is in front
    }
    shell.pauseTicker(false);
}

void dropOnAnalysisTable(ProjectDocument& document, Prompter& prompter, ProjectShell& shell,
                         const std::vector<std::string>& paths) {
    for (const auto& path : paths) {
        if (!hasExtension(path, ".gdb")) {
            prompter.message(kUnsupportedFile, "", MessageFlags::kWarning);
            continue;
        }
        if (settle(document, prompter, kChangedFile, kDropCaption, MessageFlags::kYesNoDefaultNo)) {
            loadInPlace(document, path, prompter, shell);
        }
    }
}

void dropOnMaterialTable(Prompter& prompter, ProjectShell& shell,
                         const std::vector<std::string>& paths) {
    for (const auto& path : paths) {
        if (hasExtension(path, ".txt") || hasExtension(path, ".xlsx")) {
            shell.importMaterialFile(path);
        } else {
            prompter.message(kUnsupportedFile, "", MessageFlags::kWarning);
        }
    }
}

}  // namespace tf

#include "core/shell/lifecycle.h"

#include <filesystem>

#include "core/base/text_util.h"
#include "core/project/project_io.h"

namespace tf {

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

namespace {

Answer askToSave(Prompter& prompter) {
    return prompter.message("文件被修改，是否保存？", Captions::kQuestion,
                            MessageFlags::kYesNoCancelDefaultCancel);
}

}  // namespace

bool confirmClose(ProjectDocument& document, Prompter& prompter) {
    if (!document.modified) {
        return true;
    }
    switch (askToSave(prompter)) {
        case Answer::Yes:
            return saveCommand(document, prompter);
        case Answer::No:
            return true;
        default:
            return false;
    }
}

bool settleBeforeReplacing(ProjectDocument& document, Prompter& prompter) {
    if (!document.modified) {
        return true;
    }
    const Answer answer = askToSave(prompter);
    if (answer == Answer::Yes) {
        saveCommand(document, prompter);
    }
    return answer != Answer::Cancel;
}

std::optional<std::string> projectFromArguments(const std::vector<std::string>& arguments) {
    std::string name;
    for (const auto& argument : arguments) {
        name += (name.empty() ? "" : " ") + argument;
    }
    name.erase(name.find_last_not_of(' ') + 1);
    std::error_code ec;
    if (name.size() < 4 || !equalIgnoringAsciiCase(name.substr(name.size() - 4), ".gdb") ||
        !std::filesystem::is_regular_file(name, ec)) {
        return std::nullopt;
    }
    return name;
}

}  // namespace tf

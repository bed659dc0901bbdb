#include "core/shell/lifecycle.h"

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

bool confirmClose(ProjectDocument& document, Prompter& prompter) {
    if (!document.modified) {
        return true;
    }
    switch (prompter.message("文件被修改，是否保存？", Captions::kQuestion,
                             MessageFlags::kYesNoCancelDefaultCancel)) {
        case Answer::Yes:
            return saveCommand(document, prompter);
        case Answer::No:
            return true;
        default:
            return false;
    }
}

}  // namespace tf

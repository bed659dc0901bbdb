#include "core/base/safe_write.h"

namespace tf {

bool writeFileTelling(const std::filesystem::path& path, std::string_view bytes,
                      Prompter& prompter) {
    switch (writeFileSafely(path, bytes)) {
        case WriteOutcome::Written:
            return true;
        case WriteOutcome::Held:
            prompter.message("文件被占用，无法写入！", Captions::kWarning, MessageFlags::kWarning);
            return false;
        case WriteOutcome::Failed:
            break;
    }
    prompter.message("保存失败，请重新再试！", Captions::kError, MessageFlags::kError);
    return false;
}

}  // namespace tf

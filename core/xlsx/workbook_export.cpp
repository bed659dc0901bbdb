// What workbooks need of the program beyond the libraries that read and write them.
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/xlsx/workbook_reader.h"
#include "core/xlsx/workbook_writer.h"

namespace tf {

bool looksLikeWorkbook(std::string_view bytes) {
    return bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06");
}

bool exportWorkbook(const std::string& path, std::span<const SheetSource> sheets,
                    Prompter& prompter) {
    return exportWorkbook(
        path, [&](Prompter&) { return std::vector<SheetSource>(sheets.begin(), sheets.end()); },
        prompter);
}

bool exportWorkbook(const std::string& path, const SheetGatherer& gatherSheets,
                    Prompter& prompter) {
    std::optional<std::string> bytes;
    bool stopped = false;
    prompter.setStatus("正在导出Excel工作簿…");
    prompter.runWithProgress("正在导出Excel工作簿…", [&](WorkProgress& progress) {
        SilentPrompter silent;
        const std::vector<SheetSource> sheets = gatherSheets(silent);
        bytes = workbookBytes(sheets, &progress);
        stopped = progress.stopped();
        return bytes.has_value();
    });
    if (stopped) {  // nothing is written
        prompter.setStatus("导出已取消");
        return false;
    }
    BusyCursor busy(prompter);
    if (!bytes) {
        prompter.message("保存失败，请重新再试！", Captions::kError, MessageFlags::kError);
        return false;
    }
    if (!writeFileTelling(pathFromUtf8(path), *bytes, prompter)) {
        return false;
    }
    prompter.setStatus("导出完毕");
    return true;
}

bool exportWorkbookAsked(Prompter& prompter, const SheetGatherer& gatherSheets) {
    const auto path =
        prompter.chooseSaveFile("导出为Excel工作簿", "Excel 工作簿(*.xlsx)|*.xlsx", "xlsx");
    return path && exportWorkbook(*path, gatherSheets, prompter);
}

}  // namespace tf

#include "core/materials/import_report.h"

#include <algorithm>

#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/text_codec.h"

namespace tf {

bool ImportReport::refusedAny() const {
    return std::any_of(skipped.begin(), skipped.end(),
                       [](const SkippedLine& s) { return s.reason != kBlankLine; });
}

void ImportReport::sortByLine() {
    std::stable_sort(skipped.begin(), skipped.end(),
                     [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; });
}

std::string skippedLinesText(const std::vector<SkippedLine>& skipped, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < skipped.size() && i < count; ++i) {
        text += "第 " + std::to_string(skipped[i].line) + " 行：" + skipped[i].reason + "\r\n";
    }
    return text;
}

void tellImport(std::string_view heading, const ImportReport& report, std::size_t shown,
                Prompter& prompter, std::string_view caption, int flags) {
    std::string text(heading);
    text += "\r\n导入 " + std::to_string(report.added) + " 种材料";
    if (report.skipped.empty()) {
        prompter.message(text + "。", caption, flags);
        return;
    }
    text += "，跳过 " + std::to_string(report.skipped.size()) + " 行：\r\n";
    text += skippedLinesText(report.skipped, shown);
    if (report.skipped.size() <= shown) {
        text.resize(text.size() - 2);  // the last line's CR LF
        prompter.message(text, caption, flags);
        return;
    }
    text += "……另有 " + std::to_string(report.skipped.size() - shown) +
            " 行未列出。\r\n要把跳过的行全部保存为文本文件吗？";
    if (prompter.message(text, Captions::kQuestion, MessageFlags::kYesNo) != Answer::Yes) {
        return;
    }
    if (const auto path = prompter.chooseSaveFile("保存跳过的行", "文本文件(*.txt)|*.txt", "txt")) {
        writeFileTelling(pathFromUtf8(*path), toGbk(skippedLinesText(report.skipped)), prompter);
    }
}

void tellImportFailure(std::string_view failure, Prompter& prompter) {
    prompter.message("文件导入失败！\r\n" + std::string(failure), "", MessageFlags::kError);
}

}  // namespace tf

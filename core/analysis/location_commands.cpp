#include "core/analysis/location_commands.h"

#include "core/attach/attachment_store.h"
#include "core/project/analysis_layout.h"

namespace tf {

bool deleteLocationAsked(ProjectDocument& document, int k, Prompter& prompter) {
    if (k < 0 || static_cast<std::size_t>(k) >= document.locations.size()) {
        return false;
    }
    // The question names what goes: the location, and the files attached to it.
    const int first = document.locations[static_cast<std::size_t>(k)].first;
    std::string question = "确定删除当前部位“" +
                           std::string(document.analysis.text(first, AnalysisColumn::kLocation)) +
                           "”的全部数据吗？";
    const auto& records = document.attachments.records;
    if (static_cast<std::size_t>(first) < records.size() && !records[first].empty()) {
        const auto store = parseAttachmentStore(records[first]);
        question +=
            store ? (store->files.empty() ? ""
                                          : "\r\n它的 " + std::to_string(store->files.size()) +
                                                " 个附加文件也将一并删除。")
                  : "\r\n它的附加资料也将一并删除。";
    }
    if (prompter.message(question, Captions::kQuestion, MessageFlags::kYesNoDefaultNo) !=
        Answer::Yes) {
        return false;
    }
    deleteLocation(document.locations, document.analysis, document.attachments, k);
    document.modified = true;
    return true;
}

void refreshAnalysisTable(Grid& analysis, Prompter& prompter) {
    prompter.setStatus("刷新当前表格");
    paintAnalysisBands(analysis, kAnalysisHeadingRows, analysis.rowCount() - 1);
    analysis.recalculate();
    prompter.setStatus("刷新完毕");
}

}  // namespace tf

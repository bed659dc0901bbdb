#include "core/analysis/location_commands.h"

#include "core/project/analysis_layout.h"

namespace tf {

bool deleteLocationAsked(ProjectDocument& document, int k, Prompter& prompter) {
    if (k < 0 || static_cast<std::size_t>(k) >= document.locations.size() ||
        prompter.message("确定删除当前部位的全部数据吗？", Captions::kQuestion,
                         MessageFlags::kYesNoDefaultNo) != Answer::Yes) {
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

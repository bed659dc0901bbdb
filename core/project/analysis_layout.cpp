#include "core/project/analysis_layout.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/project/column_layout.h"
#include "core/project/project_document.h"

namespace tf {

void hideAnalysisWorkingColumns(Grid& analysis) {
    for (int c = AnalysisColumn::kFirstHidden; c < AnalysisColumn::kCount; ++c) {
        analysis.setColumnWidth(c, 0);
    }
}

void paintAnalysisBands(Grid& analysis, int first, int last) {
    using namespace AnalysisColumn;
    analysis.setBands({std::max(first, kAnalysisHeadingRows), kMaterialName, last, kNote},
                      kAnalysisTint, std::nullopt);
}

void initAnalysisTable(ProjectDocument& document) {
    using namespace AnalysisColumn;
    Grid& g = document.analysis;
    g.clear();
    g.setColumnCount(kCount);
    g.setRowCount(kAnalysisFreshRows);
    g.setFixedRows(kAnalysisHeadingRows);
    g.setFixedColumns(1);

    constexpr std::array<const char*, 11> kTop = {
        "序号", "部位名称", "图纸索引", "结构尺寸", "分部分项", "", "", "", "", "", "说明"};
    constexpr std::array<const char*, 6> kItemHeadings = {"分项代号",     "分项尺寸", "工程数量",
                                                          "使用材料名称", "材料数量", "材料单位"};
    for (int c = 0; c < static_cast<int>(kTop.size()); ++c) {
        g.setText(0, c, kTop[static_cast<std::size_t>(c)]);
    }
    for (int i = 0; i < static_cast<int>(kItemHeadings.size()); ++i) {
        g.setText(1, kItemCode + i, kItemHeadings[static_cast<std::size_t>(i)]);
    }
    for (const int c : {kNumber, kLocation, kDrawing, kStructureSize, kNote}) {
        g.merge({0, c, 1, c});
    }
    g.merge({0, kItemCode, 0, kMaterialUnit});
    g.setAlign({0, 0, 1, kCount - 1}, Align::Center);
    layoutAnalysisColumns(g, 0);
    hideAnalysisWorkingColumns(g);
    g.setColumnKind(kWorkQuantity, ColumnKind::Number, 3);
    g.setColumnKind(kMaterialQuantity, ColumnKind::Number, 3);

    const int first = kAnalysisHeadingRows;
    const int last = kAnalysisFreshRows - 1;
    for (int r = first; r <= last; ++r) {
        g.setText(r, kNumber, std::to_string(r - 1));
    }
    paintAnalysisBands(g, first, last);
    g.setAlign({first, kNumber, last, kNumber}, Align::Center);
    g.setForeground({first, kNumber, last, kNumber}, kNumberGrey);
    g.setAlign({first, kItemCode, last, kItemCode}, Align::Center);
    g.setWrap({first, kDrawing, last, kStructureSize}, true);
    g.setWrap({first, kItemSize, last, kItemSize}, true);
    for (const int c : {kWorkQuantity, kMaterialQuantity}) {
        g.setBold({first, c, last, c}, true);
        g.setForeground({first, c, last, c}, kQuantityRed);
        g.setAlign({first, c, last, c}, Align::Center);
    }
    g.setAlign({first, kMaterialUnit, last, kMaterialUnit}, Align::Center);

    document.attachments = AttachmentTable();
    document.attachments.align(kAnalysisFreshRows);
}

}  // namespace tf

#include "bench/analysis_sample.h"

#include <string>

#include "core/project/analysis_layout.h"
#include "core/project/project_document.h"

namespace tf::bench {

Grid analysisSample(int dataRows) {
    using namespace AnalysisColumn;
    ProjectDocument doc;
    initAnalysisTable(doc);
    Grid& g = doc.analysis;
    g.setRowCount(kAnalysisHeadingRows + dataRows);
    constexpr int kBlock = 10;
    const int last = g.rowCount() - 1;
    for (int first = kAnalysisHeadingRows; first <= last; first += kBlock) {
        const int end = std::min(first + kBlock - 1, last);
        const int location = (first - kAnalysisHeadingRows) / kBlock + 1;
        for (int r = first; r <= end; ++r) {
            const int item = (r - first) / 5;
            g.setText(r, kNumber, std::to_string(location));
            g.setText(r, kLocation, "一层" + std::to_string(location) + "号客厅");
            g.setText(r, kDrawing, "建施-03");
            g.setText(r, kStructureSize, "3.6×4.2×2.8");
            g.setText(r, kItemCode, item == 0 ? "030201" : "030301-1");
            g.setText(r, kItemSize, "3.6×4.2-0.9×2.1");
            g.setText(r, kWorkQuantity, "13.23");
            g.setText(r, kMaterialName, "水泥砂浆1:3");
            g.setText(r, kMaterialQuantity, "6.615");
            g.setText(r, kMaterialUnit, "立方米");
            g.setText(r, kFirstHidden + 1, std::to_string(1001 + r % 60));
            g.setText(r, kFirstHidden + 2, "0.5");
        }
        g.setAlign({first, kNumber, end, kNumber}, Align::Center);
        g.setForeground({first, kNumber, end, kNumber}, kNumberGrey);
        g.setAlign({first, kLocation, end, kStructureSize}, Align::Left);
        g.setAlign({first, kItemCode, end, kItemCode}, Align::Center);
        g.setAlign({first, kWorkQuantity, end, kWorkQuantity}, Align::Center);
        g.setAlign({first, kMaterialQuantity, end, kMaterialUnit}, Align::Center);
        for (const int c : {kWorkQuantity, kMaterialQuantity}) {
            g.setForeground({first, c, end, c}, kQuantityRed);
            g.setBold({first, c, end, c}, true);
        }
        g.setWrap({first, kDrawing, end, kStructureSize}, true);
        g.setWrap({first, kItemSize, end, kItemSize}, true);
        paintAnalysisBands(g, first, end);
        if (end > first) {
            for (const int c : {kNumber, kLocation, kDrawing, kStructureSize}) {
                g.merge({first, c, end, c});
            }
            for (int runFirst = first; runFirst <= end; runFirst += 5) {
                const int runEnd = std::min(runFirst + 4, end);
                for (const int c : {kItemCode, kItemSize, kWorkQuantity}) {
                    g.merge({runFirst, c, runEnd, c});
                }
            }
        }
    }
    return std::move(g);
}

}  // namespace tf::bench

#include "core/stats/statistics_export.h"

#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/text_codec.h"
#include "core/base/text_lines.h"
#include "core/base/text_util.h"

namespace tf {
namespace {

constexpr std::string_view kCrLf = "\r\n";

bool holdsData(const Grid& g, int row) {
    for (int c = 1; c < g.columnCount(); ++c) {
        if (!isBlank(g.text(row, c))) {
            return true;
        }
    }
    return false;
}

}  // namespace

void forEachStatisticsRow(const Grid& g, bool withHeading,
                          const std::function<void(std::string_view row)>& take) {
    std::string line;
    for (int r = withHeading ? 0 : 1; r < g.rowCount(); ++r) {
        if (r > 0 && !holdsData(g, r)) {
            continue;
        }
        line.clear();
        for (int c = 0; c < g.columnCount(); ++c) {
            if (c > 0) {
                line += '\t';
            }
            line += tabField(g.text(r, c));
        }
        take(line);
    }
}

std::string statisticsRows(const Grid& g, bool withHeading, std::string_view lineEnd) {
    std::string text;
    forEachStatisticsRow(g, withHeading, [&](std::string_view row) {
        text += row;
        text += lineEnd;
    });
    return text;
}

std::string statisticsText(const Statistics& s) {
    switch (s.view) {
        case StatisticsView::AllMaterials:
            break;
        case StatisticsView::Division:
            return statisticsRows(s.itemSummary, true, kCrLf);
        case StatisticsView::Filtered:
            return statisticsRows(s.cumulative, true, kCrLf) + std::string(kCrLf) +
                   statisticsRows(s.summary, true, kCrLf);
    }
    return statisticsRows(s.summary, true, kCrLf);
}

bool exportStatistics(const Statistics& s, const std::string& path, Prompter& prompter) {
    return writeFileTelling(pathFromUtf8(path), toGbk(statisticsText(s)), prompter);
}

}  // namespace tf

#include "core/stats/statistics_commands.h"

#include "core/base/text_util.h"
#include "core/stats/statistic_row.h"
#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

bool summaryEnabled(const Statistics& s, int row, Command command) {
    const Grid& g = s.summary;
    switch (command) {
        case Command::SumAllRows:
            return true;
        case Command::SumSelectedRows:
            return g.cursor().row >= 1;
        case Command::DeleteStatisticRow:
            return g.text(row, SummaryColumn::kNumber) == kStatisticRowHeading;
        case Command::FindDetails:
            return row >= 1 && row != s.statisticRow && !isBlank(g.text(row, SummaryColumn::kName));
        default:
            return true;
    }
}

bool itemSummaryEnabled(const Statistics& s, Command command) {
    const bool workItem = s.selectedNode && *s.selectedNode < s.divisionTree.tree.size() &&
                          isWorkItem(s.divisionTree.tree, *s.selectedNode);
    switch (command) {
        case Command::SumAllRows:
        case Command::SumSelectedRows:
        case Command::DeleteStatisticRow:
            return false;
        case Command::FindDetails:
            return workItem;
        default:
            return true;
    }
}

}  // namespace

void refreshStatisticsGrid(Statistics& s, StatisticsGrid grid, Prompter& prompter) {
    prompter.setStatus("刷新当前表格");
    switch (grid) {
        case StatisticsGrid::Summary:
            paintSummaryBands(s.summary, SummaryColumn::kCategory);
            s.summary.recalculate();
            break;
        case StatisticsGrid::ItemSummary:
            s.itemSummary.recalculate();
            break;
        case StatisticsGrid::Cumulative:
            s.cumulative.recalculate();
            break;
    }
    prompter.setStatus("刷新完毕");
}

std::optional<CellPos> detailsCellAt(const Statistics& s, StatisticsGrid grid, int row) {
    const Grid& g = grid == StatisticsGrid::Summary ? s.summary : s.itemSummary;
    const int column = grid == StatisticsGrid::Summary ? SummaryColumn::kName : ItemColumn::kName;
    if (grid == StatisticsGrid::Cumulative || row < 1 || row >= g.rowCount() ||
        isBlank(g.text(row, column))) {
        return std::nullopt;
    }
    return CellPos{row, column};
}

bool deleteNoteAtCursor(Grid& g) {
    const CellPos cursor = g.cursor();
    if (!isEditableStatisticsCell(g, cursor.row, cursor.column) ||
        g.text(cursor.row, cursor.column).empty()) {
        return false;
    }
    g.setText(cursor.row, cursor.column, "");
    return true;
}

std::optional<bool> statisticsCommandEnabled(const Statistics& s, StatisticsGrid grid, int row,
                                             Command command) {
    const Grid& g = grid == StatisticsGrid::Summary       ? s.summary
                    : grid == StatisticsGrid::ItemSummary ? s.itemSummary
                                                          : s.cumulative;
    if (row < 0 || row >= g.rowCount()) {
        return std::nullopt;
    }
    switch (grid) {
        case StatisticsGrid::Summary:
            return summaryEnabled(s, row, command);
        case StatisticsGrid::ItemSummary:
            return itemSummaryEnabled(s, command);
        case StatisticsGrid::Cumulative:
            break;
    }
    return command == Command::ExportStatistics || command == Command::ExportExcel ||
           command == Command::ExportAllExcel;
}

}  // namespace tf

#include "core/stats/table_sheets.h"

#include <array>

#include "core/base/text_util.h"
#include "core/charts/statistics_chart.h"
#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

constexpr std::array<std::string_view, 5> kNames = {"分析表", "材料表", "统计表", "分统计表",
                                                    "累计统计表"};

// 合计 of each data row is the sum of the row's costs in the layouts that have them; the
// rows are those its "小计：" sums.
std::vector<RowTotal> rowTotals(const Grid& grid) {
    RowTotal total;
    switch (grid.columnCount()) {
        case ItemColumn::kCount:
            total = {ItemColumn::kTotal,
                     {ItemColumn::kMaterialCost, ItemColumn::kLabourCost, ItemColumn::kMachinery,
                      ItemColumn::kManagement}};
            break;
        case DivisionColumn::kCount:
            total = {DivisionColumn::kTotal,
                     {DivisionColumn::kMaterialCost, DivisionColumn::kLabourCost,
                      DivisionColumn::kMachinery, DivisionColumn::kManagement}};
            break;
        case CumulativeColumn::kCount:
            total = {CumulativeColumn::kTotal,
                     {CumulativeColumn::kMaterialCost, CumulativeColumn::kLabourCost,
                      CumulativeColumn::kMachinery, CumulativeColumn::kManagement}};
            break;
        default:
            return {};
    }
    // A copy the print editor reshaped keeps its values, not the rule.
    const std::string_view materialCost = grid.text(0, total.parts.front());
    if (grid.text(0, total.column) != "合计" ||
        (materialCost != "材料费小计" && materialCost != "材料费")) {
        return {};
    }
    for (const RangeSum& sum : grid.rangeSums()) {
        if (sum.column == total.column && sum.sourceColumn == total.column) {
            total.firstRow = sum.firstRow;
            total.lastRow = sum.lastRow;
            return {total};
        }
    }
    return {};
}

// The last row with more than its 序号: the fresh rows after it are left out of a sheet.
int lastRowWithData(const Grid& g) {
    for (int r = g.rowCount() - 1; r >= g.fixedRows(); --r) {
        for (int c = 1; c < g.columnCount(); ++c) {
            if (!isBlank(g.text(r, c))) {
                return r;
            }
        }
    }
    return g.fixedRows() - 1;
}

}  // namespace

std::string_view exportTableName(ExportTable table) {
    return kNames[static_cast<std::size_t>(table)];
}

std::optional<ExportTable> exportTableNamed(std::string_view name) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == name) {
            return static_cast<ExportTable>(i);
        }
    }
    return std::nullopt;
}

SheetSource tableSheet(const ProjectDocument& document, const Statistics& statistics,
                       ExportTable table) {
    // Every table numbers its rows in its first column.
    SheetSource sheet{std::string(exportTableName(table)), nullptr, {}, {0}};
    switch (table) {
        case ExportTable::Analysis:
            sheet.grid = &document.analysis;
            sheet.lastRow = lastRowWithData(*sheet.grid);
            return sheet;
        case ExportTable::Materials:
            sheet.grid = &document.materials;
            sheet.lastRow = lastRowWithData(*sheet.grid);
            return sheet;
        case ExportTable::Summary:
            sheet.grid = &statistics.summary;
            sheet.lastRow = lastRowWithData(*sheet.grid);
            // A row the user summed already sums the costs.
            if (!statistics.statisticRow) {
                sheet.grandTotal =
                    GrandTotal{SummaryColumn::kName, "合计", {SummaryColumn::kTotal}};
            }
            sheet.chart = tableChart(statistics, *sheet.grid);
            return sheet;
        case ExportTable::ItemSummary:
            sheet.grid = &statistics.itemSummary;
            break;
        case ExportTable::Cumulative:
            sheet.grid = &statistics.cumulative;
            break;
    }
    sheet.chart = tableChart(statistics, *sheet.grid);
    sheet.rowTotals = rowTotals(*sheet.grid);
    sheet.lastRow = lastRowWithData(*sheet.grid);
    return sheet;
}

SheetSource printSheetSource(const PrintSheet& sheet) {
    return {sheetNameFrom(sheetTitle(sheet).text, "打印表"), &sheet.grid, rowTotals(sheet.grid)};
}

}  // namespace tf

#include "core/xlsx/sheet_plan.h"

#include <gtest/gtest.h>

#include "core/print/print_sheet.h"
#include "core/project/project_io.h"
#include "core/stats/project_workbook.h"
#include "core/stats/statistic_row.h"
#include "core/stats/statistics_layout.h"
#include "core/stats/table_sheets.h"

namespace tf {
namespace {

using Kind = SheetCellKind;

// 序号, 代号, a hidden working column, 数量 (3 decimals), 单价 (2), 合计 = 数量 × 单价; a
// "小计：" row summing 合计; 序号 merged over two rows; a heading merged over two columns.
Grid priceGrid() {
    Grid g(6, 6);
    g.setFixedRows(1);
    g.setFixedColumns(1);
    g.setColumnWidth(2, 0);
    g.setColumnWidth(3, 90);
    g.setColumnKind(3, ColumnKind::Number, 3);
    g.setColumnKind(4, ColumnKind::Number, 2);
    g.setColumnKind(5, ColumnKind::Number, 3);
    g.setProductColumn(5, ProductRule{3, 4});
    g.setTexts(0, 0, {"序号", "代号", "id", "数量", "单价", "合计"});
    g.setTexts(1, 0, {"1", "030201", "1001", "2.950578", "320"});
    g.setTexts(2, 1, {"1+1", "", "0.1"});
    g.setText(4, 1, "小计：");
    g.setText(5, 3, "n/a");
    g.merge({1, 0, 2, 0});
    g.merge({0, 3, 0, 4});
    g.merge({4, 1, 4, 2});  // one column shows: no merge in the sheet
    g.setRangeSum({4, 5, 5, 1, 3});
    g.setBold({1, 5, 2, 5}, true);
    g.setForeground({1, 5, 2, 5}, Rgb{0, 0, 255});
    g.setBackground({1, 3, 1, 3}, Rgb{238, 249, 238});
    g.recalculate();
    return g;
}

TEST(SheetPlan, NumbersFormulasTextsAndMergesOfATableWithAHiddenColumn) {
    const Grid g = priceGrid();
    SheetPlan plan({"价格", &g, {}});
    ASSERT_EQ(plan.columnCount(), 5);
    EXPECT_EQ(plan.gridColumn(2), 3);
    EXPECT_EQ(plan.columnPixels(2), 90);
    EXPECT_EQ(plan.frozenRows(), 1);
    EXPECT_EQ(plan.frozenColumns(), 1);
    EXPECT_EQ(plan.merges(), (std::vector<CellRange>{{0, 2, 0, 3}, {1, 0, 2, 0}}));

    const SheetCell code = plan.cell(1, 1);
    EXPECT_EQ(code.kind, Kind::Text);
    EXPECT_EQ(code.text, "030201");
    const SheetCell quantity = plan.cell(1, 2);
    EXPECT_EQ(quantity.kind, Kind::Number);
    EXPECT_EQ(quantity.value, 2.950578);  // not the 2.951 shown
    const SheetCell cost = plan.cell(1, 4);
    EXPECT_EQ(cost.kind, Kind::Formula);
    EXPECT_EQ(cost.text, "=C2*D2");
    EXPECT_DOUBLE_EQ(cost.value, 944.18496);
    EXPECT_EQ(plan.cell(2, 1).text, "1+1");  // an expression stays text
    // One factor blank: the program writes 0 and so does the formula.
    EXPECT_EQ(plan.cell(2, 4).text, "=C3*D3");
    EXPECT_EQ(plan.cell(2, 4).value, 0);
    EXPECT_EQ(plan.cell(3, 4).kind, Kind::Blank);  // both blank: nothing computed
    const SheetCell subtotal = plan.cell(4, 4);
    EXPECT_EQ(subtotal.text, "=SUM(E2:E4)");
    EXPECT_DOUBLE_EQ(subtotal.value, 944.18496);
    EXPECT_EQ(plan.cell(5, 2).kind, Kind::Text);  // not a number, even in a number column

    // The merge shows its first cell over all of it.
    EXPECT_EQ(plan.cell(1, 0).text, "1");
    EXPECT_EQ(plan.cell(2, 0).kind, Kind::Blank);
    EXPECT_EQ(plan.cell(2, 0).format, plan.cell(1, 0).format);
    EXPECT_EQ(plan.cell(0, 3).kind, Kind::Blank);

    const auto& formats = plan.formats();
    const SheetFormat& shownQuantity = formats[static_cast<std::size_t>(quantity.format)];
    EXPECT_EQ(shownQuantity.decimals, 3);
    EXPECT_EQ(shownQuantity.background, (Rgb{238, 249, 238}));
    EXPECT_EQ(shownQuantity.align, Align::Right);
    EXPECT_EQ(shownQuantity.fontName, kSheetFont);
    EXPECT_EQ(shownQuantity.border, Grid::kDefaultGridLineColor);
    const SheetFormat& shownCost = formats[static_cast<std::size_t>(cost.format)];
    EXPECT_TRUE(shownCost.bold);
    EXPECT_EQ(shownCost.foreground, (Rgb{0, 0, 255}));
    EXPECT_EQ(formats[static_cast<std::size_t>(plan.cell(1, 3).format)].decimals, 2);
    EXPECT_EQ(formats[static_cast<std::size_t>(code.format)].decimals, -1);
    EXPECT_EQ(formats[static_cast<std::size_t>(plan.cell(5, 2).format)].decimals, -1);
}

TEST(SheetPlan, AFormulaOverAHiddenColumnIsLeftAsItsValue) {
    Grid g = priceGrid();
    g.setColumnWidth(4, 0);
    SheetPlan plan({"价格", &g, {}});
    EXPECT_EQ(plan.cell(1, 3).kind, Kind::Number);
    EXPECT_DOUBLE_EQ(plan.cell(1, 3).value, 944.18496);
    EXPECT_EQ(plan.cell(4, 3).text, "=SUM(D2:D4)");  // its source still shows
}

TEST(SheetPlan, ColumnNamesAndSheetNames) {
    EXPECT_EQ(sheetColumnName(0), "A");
    EXPECT_EQ(sheetColumnName(25), "Z");
    EXPECT_EQ(sheetColumnName(26), "AA");
    EXPECT_EQ(sheetColumnName(51), "AZ");
    EXPECT_EQ(sheetColumnName(52), "BA");
    EXPECT_EQ(sheetColumnName(701), "ZZ");
    EXPECT_EQ(sheetColumnName(702), "AAA");
    EXPECT_EQ(sheetColumnName(16383), "XFD");
    EXPECT_EQ(sheetNameFrom("1/2层[客厅]:*?\\", "x"), "1_2层_客厅_____");
    EXPECT_EQ(sheetNameFrom("'所有材料'", "x"), "所有材料");
    EXPECT_EQ(sheetNameFrom("  ", "打印表"), "打印表");
    EXPECT_EQ(sheetNameFrom("'''", "打印表"), "打印表");
    std::string longName;
    for (int i = 0; i < 40; ++i) {
        longName += "表";
    }
    EXPECT_EQ(sheetNameFrom(longName, "x").size(), 31u * 3);
    EXPECT_EQ(sheetNameFrom("\xFF\xFE", "x"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

// 分统计表 of one work item: two materials, the item's labour and fees on the first row.
Grid itemSummary() {
    using namespace ItemColumn;
    Grid g;
    layOutStatistics(g, StatisticsLayout::Item, 4);
    g.setTexts(1, kName, {"水泥砂浆1:3", "2.950578", "立方米", "320"});
    g.setTexts(1, kWorkQuantity, {"128.286", "18.5"});
    g.setTexts(1, kMachinery, {"1.2", "2.5"});
    g.setTexts(2, kName, {"界面剂", "32.0715", "千克", "3.2"});
    addSubtotalRow(g, 3, kName, kPrice,
                   {kMaterialCost, kLabourCost, kMachinery, kManagement, kTotal}, 1, 2);
    g.recalculate();
    // 944.18496 + 128.286 × 18.5 + 1.2 + 2.5, and 32.0715 × 3.2
    g.setText(1, kTotal, "3321.17596");
    g.setText(2, kTotal, "102.6288");
    g.recalculate();
    return g;
}

TEST(TableSheets, ItemStatisticsTotalTheirRowsAndSubtotalTheirColumns) {
    ProjectDocument document;
    Statistics statistics;
    statistics.itemSummary = itemSummary();
    const SheetSource source = tableSheet(document, statistics, ExportTable::ItemSummary);
    EXPECT_EQ(source.name, "分统计表");
    SheetPlan plan(source);
    EXPECT_EQ(plan.cell(1, ItemColumn::kMaterialCost).text, "=C2*E2");
    EXPECT_EQ(plan.cell(1, ItemColumn::kLabourCost).text, "=G2*H2");
    EXPECT_DOUBLE_EQ(plan.cell(1, ItemColumn::kLabourCost).value, 2373.291);
    EXPECT_EQ(plan.cell(1, ItemColumn::kTotal).text, "=F2+I2+J2+K2");
    EXPECT_DOUBLE_EQ(plan.cell(1, ItemColumn::kTotal).value, 3321.17596);
    EXPECT_EQ(plan.cell(2, ItemColumn::kTotal).text, "=F3+I3+J3+K3");
    EXPECT_EQ(plan.cell(2, ItemColumn::kLabourCost).kind, Kind::Blank);
    EXPECT_EQ(plan.cell(3, ItemColumn::kTotal).text, "=SUM(L2:L3)");
    EXPECT_DOUBLE_EQ(plan.cell(3, ItemColumn::kTotal).value, 3423.80476);
    EXPECT_EQ(plan.cell(3, ItemColumn::kMaterialCost).text, "=SUM(F2:F3)");
    EXPECT_EQ(plan.cell(3, ItemColumn::kName).text, "小计：");
    EXPECT_EQ(plan.merges(),
              (std::vector<CellRange>{{3, ItemColumn::kName, 3, ItemColumn::kPrice}}));

    // The chart: one bar of the rows "小计：" adds up (not of 小计 itself), a kind of cost a
    // series, each a sum over the sheet's own cells, right of an empty column.
    const int labels = plan.chartColumn();
    ASSERT_GT(labels, ItemColumn::kNote);
    EXPECT_EQ(plan.columnCount(), labels + 5);
    EXPECT_EQ(plan.cell(0, labels - 1).format, kUnwritten);
    EXPECT_EQ(plan.cell(0, labels + 2).text, "人工费");
    EXPECT_EQ(plan.cell(1, labels + 1).text, "=SUM(F2:F3)");
    EXPECT_DOUBLE_EQ(plan.cell(1, labels + 1).value, 1046.81376);  // 944.18496 + 102.6288
    EXPECT_EQ(plan.cell(1, labels + 2).text, "=SUM(I2:I3)");
    EXPECT_DOUBLE_EQ(plan.cell(1, labels + 2).value, 2373.291);
    EXPECT_DOUBLE_EQ(plan.cell(1, labels + 3).value + plan.cell(1, labels + 4).value, 3.7);
    EXPECT_EQ(plan.cell(2, labels + 1).format, kUnwritten) << "one bar";
}

TEST(TableSheets, ThePrintEditorsCopyKeepsTheTotalsUntilItIsReshaped) {
    PrintSheet sheet = statisticsSheet(itemSummary(), "分部分项统计表", true, {});
    SheetSource source = printSheetSource(sheet);
    EXPECT_EQ(source.name, "分部分项统计表");
    EXPECT_EQ(SheetPlan(source).cell(1, ItemColumn::kTotal).text, "=F2+I2+J2+K2");
    sheet.grid.deleteColumns(ItemColumn::kNote);
    sheet.title.clear();
    source = printSheetSource(sheet);
    SheetPlan reshaped(source);
    EXPECT_EQ(reshaped.cell(1, ItemColumn::kTotal).kind, Kind::Number);
    EXPECT_DOUBLE_EQ(reshaped.cell(1, ItemColumn::kTotal).value, 3321.17596);
}

TEST(TableSheets, AStatisticRowOfTheMaterialListIsASum) {
    using namespace SummaryColumn;
    ProjectDocument document;
    Statistics statistics;
    Grid& g = statistics.summary;
    layOutStatistics(g, StatisticsLayout::Summary, 4);
    g.setTexts(1, kCategory, {"水泥砂浆", "水泥砂浆1:3", "8.493588", "立方米", "320"});
    g.setTexts(2, kCategory, {"", "界面剂", "32.0715", "千克", "3.2"});
    g.recalculate();
    g.setSelection({1, kName, 2, kName});
    sumSelectedRows(g, statistics.statisticRow);
    ASSERT_EQ(statistics.statisticRow, 3);
    SheetPlan plan(tableSheet(document, statistics, ExportTable::Summary));
    EXPECT_EQ(plan.cell(1, kTotal).text, "=D2*F2");
    const SheetCell sum = plan.cell(3, kTotal);
    EXPECT_EQ(sum.text, "=SUM(G2:G3)");
    // 8.493588 × 320 + 32.0715 × 3.2
    EXPECT_DOUBLE_EQ(sum.value, 2820.57696);
    EXPECT_EQ(plan.cell(3, kNumber).text, "合计");
    // The chart's bars are the two materials, the larger first, not the statistic row: each
    // the material's 合计 cell.
    const int labels = plan.chartColumn();
    EXPECT_EQ(labels, kCount + 1);
    EXPECT_EQ(plan.cell(0, labels + 1).text, "水泥砂浆") << "the category, a series";
    EXPECT_EQ(plan.cell(1, labels).text, "水泥砂浆1:3");
    EXPECT_EQ(plan.cell(1, labels + 1).text, "=G2");
    EXPECT_DOUBLE_EQ(plan.cell(1, labels + 1).value, 2717.94816);
    EXPECT_EQ(plan.cell(2, labels).text, "界面剂");
    EXPECT_EQ(plan.cell(2, labels + 1).text, "=G3");
    EXPECT_EQ(plan.cell(3, labels).format, kUnwritten);
    // 序号 goes out as a number where it is one.
    g.setText(1, kNumber, "1");
    EXPECT_EQ(
        SheetPlan(tableSheet(document, statistics, ExportTable::Summary)).cell(1, kNumber).kind,
        Kind::Number);
    EXPECT_DOUBLE_EQ(
        SheetPlan(tableSheet(document, statistics, ExportTable::Summary)).cell(1, kNumber).value,
        1);
}

TEST(TableSheets, ExportAllWritesEveryTableOnceAndTheFilteredMaterialsWhenChosen) {
    ProjectDocument document;
    resetProject(document);
    Statistics statistics;
    resetStatistics(statistics);
    SilentPrompter prompter;
    const auto names = [&] {
        std::vector<std::string> result;
        for (const SheetSource& s : projectWorkbookSheets(document, statistics, prompter)) {
            result.push_back(s.name);
        }
        return result;
    };
    using V = std::vector<std::string>;
    const V tables = {"分析表", "材料表", "统计表", "分统计表", "累计统计表"};
    EXPECT_EQ(names(), tables);
    statistics.view = StatisticsView::Division;
    EXPECT_EQ(names(), tables);
    statistics.view = StatisticsView::Filtered;
    EXPECT_EQ(names(),
              (V{"分析表", "材料表", "统计表", "分统计表", "累计统计表", "筛选结果统计表"}));
    EXPECT_EQ(exportTableNamed("累计统计表"), ExportTable::Cumulative);
    EXPECT_EQ(exportTableNamed("统计"), std::nullopt);
}

}  // namespace
}  // namespace tf

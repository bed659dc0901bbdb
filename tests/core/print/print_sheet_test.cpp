#include "core/print/print_sheet.h"

#include <gtest/gtest.h>

#include "core/materials/material_layout.h"
#include "core/print/page_plan.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "tests/support/scripted_prompter.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;
using Question = test::ScriptedPrompter::Question;
namespace A = AnalysisColumn;

TEST(PrintSheet, TheAnalysisCopyLosesItsHiddenColumnsAndShadingButNotTheProject) {
    ProjectDocument doc;
    resetProject(doc);
    Grid& a = doc.analysis;
    a.setTexts(2, A::kNumber, {"1", "客厅", "建施-03", "3.6×4.2", "030201"});
    a.setText(2, A::kMaterialId, "1001");
    a.merge({2, A::kLocation, 3, A::kLocation});
    const Grid before = a;
    ASSERT_TRUE(a.mergeAt(0, A::kNumber));  // 序号 over both heading rows

    PrintSheet sheet = analysisSheet(a, {});
    const Grid& g = sheet.grid;
    EXPECT_EQ(a, before);
    EXPECT_EQ(sheet.title, "材料分析表");
    EXPECT_EQ(sheet.firstDataRow, 2);
    EXPECT_EQ(sheet.source, PrintSource::Analysis);
    EXPECT_EQ(g.columnCount(), 11);
    EXPECT_FALSE(g.mergeAt(0, A::kNumber));
    EXPECT_TRUE(g.mergeAt(0, A::kItemCode)) << "the other headings stay merged";
    EXPECT_EQ(g.mergeAt(3, A::kLocation), (CellRange{2, A::kLocation, 3, A::kLocation}));
    EXPECT_EQ(g.text(2, A::kLocation), "客厅");
    EXPECT_EQ(g.fixedRows(), 2);
    // The band tint of the material columns is gone from the data rows, not from the headings.
    EXPECT_FALSE(g.style(2, A::kMaterialName).background);
    EXPECT_EQ(g.style(0, A::kLocation).background, a.style(0, A::kLocation).background);
    EXPECT_EQ(g.cursor(), (CellPos{2, 1}));

    PrintSheet materials = materialSheet(doc.materials, {});
    EXPECT_EQ(materials.grid.columnCount(), MaterialColumn::kId);
    EXPECT_EQ(materials.title, "材料清单");
    EXPECT_FALSE(materials.grid.style(2, MaterialColumn::kName).background);
}

TEST(PrintSheet, TitlesFollowTheBoxTheTableAndTheTick) {
    PrintSheet sheet = statisticsSheet(Grid(3, 3), "分部分项统计表", true, {});
    EXPECT_EQ(sheet.title, "分部分项统计表");
    EXPECT_EQ(sheetTitle(sheet), (SheetTitle{"分部分项统计表", "宋体", 20}));
    sheet.title = "  ";
    EXPECT_EQ(sheetTitle(sheet).text, "分项工程量统计表");
    sheet.itemSummary = false;
    EXPECT_EQ(sheetTitle(sheet).text, "工程量统计表");
    sheet.source = PrintSource::Analysis;
    EXPECT_EQ(sheetTitle(sheet).text, "工程量分析表");
    sheet.source = PrintSource::Materials;
    EXPECT_EQ(sheetTitle(sheet).text, "材料清单");
    sheet.source = PrintSource::Other;
    EXPECT_EQ(sheetTitle(sheet).text, "  ");

    for (const auto& [size, expected] : std::vector<std::pair<const char*, int>>{{"16", 16},
                                                                                 {"abc", 20},
                                                                                 {"0", 20},
                                                                                 {"-12", 20},
                                                                                 {"12.6", 13},
                                                                                 {"9999", 144},
                                                                                 {"", 20}}) {
        sheet.fontSize = size;
        EXPECT_EQ(sheetTitle(sheet).fontSize, expected) << size;
    }
    sheet.fontName = "黑体";
    tickPrintTitle(sheet, false);
    EXPECT_EQ(sheet.fontName, "宋体");
    EXPECT_EQ(sheet.fontSize, "28");
    EXPECT_EQ(sheetTitle(sheet), (SheetTitle{"", "宋体", 20}));
    tickPrintTitle(sheet, true);
    EXPECT_EQ(sheetTitle(sheet).fontSize, 28);
}

TEST(PrintSheet, TheEmptySheetHasNumberedHeadings) {
    const PrintSheet sheet = emptySheet();
    const Grid& g = sheet.grid;
    EXPECT_EQ(g.rowCount(), 61);
    EXPECT_EQ(g.columnCount(), 16);
    EXPECT_EQ(g.text(60, 0), "60");
    EXPECT_EQ(g.text(0, 15), "15");
    EXPECT_EQ(g.text(0, 0), "");
    EXPECT_EQ(g.style(0, 7).align, Align::Center);
    EXPECT_EQ(g.style(30, 0).background, (Rgb{255, 255, 255}));
}

// The editing menu on a 5 × 6 sheet: columns hidden, moved by inserts and deletes, shown again.
TEST(PrintSheet, HiddenColumnsFollowTheirColumnsAndComeBack) {
    PrintSheet sheet = emptySheet();
    Grid& g = sheet.grid;
    g.setColumnWidth(2, 55);
    g.setColumnWidth(4, 77);
    test::ScriptedPrompter prompter;
    g.setCursor(3, 2);
    hideSheetColumn(sheet, prompter);
    EXPECT_FALSE(sheetMenuOpens(sheet)) << "no menu over a hidden column";
    g.setCursor(3, 4);
    EXPECT_TRUE(sheetMenuOpens(sheet));
    hideSheetColumn(sheet, prompter);
    EXPECT_EQ(sheet.hidden, (std::vector<HiddenColumn>{{2, 55}, {4, 77}}));

    g.setCursor(3, 1);
    insertSheetColumn(sheet);  // both move right
    EXPECT_EQ(sheet.hidden, (std::vector<HiddenColumn>{{3, 55}, {5, 77}}));
    EXPECT_EQ(g.cursor(), (CellPos{3, 1})) << "on the new column";
    g.setCursor(3, 3);
    deleteSheetColumn(sheet);  // the first hidden one goes with its entry; the other moves back
    EXPECT_EQ(sheet.hidden, (std::vector<HiddenColumn>{{4, 77}}));
    EXPECT_EQ(g.column(4).width, 0);
    EXPECT_EQ(g.text(0, 4), "4") << "the heading of the hidden column came along";
    showAllSheetColumns(sheet);
    EXPECT_EQ(g.column(4).width, 77);
    EXPECT_TRUE(sheet.hidden.empty());
    EXPECT_TRUE(prompter.messages().empty());

    g.setColumnCount(300);
    g.setCursor(2, 256);
    hideSheetColumn(sheet, prompter);
    EXPECT_TRUE(sheet.hidden.empty());
    EXPECT_EQ(g.column(256).width, 80);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].caption, "警告:");
}

TEST(PrintSheet, RowsCellsHeadingsAndDecimals) {
    PrintSheet sheet = emptySheet();
    Grid& g = sheet.grid;
    test::ScriptedPrompter prompter;
    g.setCursor(5, 3);
    g.setText(5, 3, "2.5");
    insertSheetRow(sheet);
    EXPECT_EQ(g.rowCount(), 62);
    EXPECT_EQ(g.text(6, 3), "2.5");
    EXPECT_EQ(g.cursor(), (CellPos{5, 3})) << "on the new row";
    EXPECT_EQ(g.text(5, 0), "");
    EXPECT_EQ(g.style(5, 0).background, (Rgb{255, 255, 255}));
    appendSheetRow(sheet);
    EXPECT_EQ(g.style(62, 0).background, (Rgb{255, 255, 255}));
    appendSheetColumn(sheet);
    EXPECT_EQ(g.columnCount(), 17);
    g.setCursor(6, 3);
    deleteSheetRow(sheet);
    EXPECT_EQ(g.text(6, 3), "");
    EXPECT_EQ(g.rowCount(), 62);

    g.setText(7, 3, "3.14159");
    g.setCursor(7, 3);
    prompter.answerInput("2");
    editDecimals(sheet, prompter);
    EXPECT_EQ(prompter.questions().back(),
              (Question{"该列数字需要保留到小数点后几位？", "小数点位数", "3"}));
    EXPECT_EQ(g.column(3).kind, ColumnKind::Number);
    EXPECT_EQ(g.column(3).decimals, 2);
    for (const char* refused : {"x", "-1"}) {
        prompter.answerInput(refused);
        editDecimals(sheet, prompter);
        EXPECT_EQ(g.column(3).decimals, 2) << refused;
    }

    prompter.answerInput("单价");
    editColumnHeading(sheet, prompter);
    EXPECT_EQ(prompter.questions().back(), (Question{"当前列号：3\r\n列标题：3", "置列标题", "3"}));
    EXPECT_EQ(g.text(0, 3), "单价");
    prompter.answerInput(std::nullopt);
    editRowHeading(sheet, prompter);
    EXPECT_EQ(prompter.questions().back(), (Question{"当前行号：7\r\n列标题：7", "置列标题", "7"}));
    EXPECT_EQ(g.text(7, 0), "7");

    g.setSelection({2, 1, 3, 2});
    mergeSheetCells(sheet);
    EXPECT_EQ(g.mergeAt(3, 2), (CellRange{2, 1, 3, 2}));
    wrapSheetCells(sheet, true);
    EXPECT_TRUE(g.style(3, 1).wrap);
    wrapSheetCells(sheet, false);
    EXPECT_FALSE(g.style(2, 2).wrap);
    g.setCursor(3, 2);
    splitSheetCell(sheet);
    EXPECT_FALSE(g.mergeAt(2, 1));

    // Deleting the first row or column of a merge: the merge keeps showing its text.
    g.setText(10, 4, "3.9×4.8");
    g.setBold({10, 4, 10, 4}, true);
    g.setSelection({10, 4, 12, 6});
    mergeSheetCells(sheet);
    g.setCursor(10, 5);
    deleteSheetRow(sheet);
    ASSERT_EQ(g.mergeAt(10, 4), (CellRange{10, 4, 11, 6}));
    EXPECT_EQ(g.text(10, 4), "3.9×4.8");
    EXPECT_TRUE(g.style(10, 4).bold);
    g.setCursor(11, 4);
    deleteSheetColumn(sheet);
    ASSERT_EQ(g.mergeAt(10, 4), (CellRange{10, 4, 11, 5}));
    EXPECT_EQ(g.text(10, 4), "3.9×4.8");
}

TEST(PrintSheet, CellPropertiesReadTheTopLeftCellAndApplyToTheRange) {
    PrintSheet sheet = emptySheet();
    Grid& g = sheet.grid;
    g.setColumnKind(4, ColumnKind::Number, 2);
    const CellRange range{3, 4, 5, 2};  // selected from the right
    EXPECT_EQ(rangeStartLabel(range), "起始位置：3行  2列");
    EXPECT_EQ(rangeEndLabel(range), "终止位置：5行  4列");
    CellProperties p = cellProperties(sheet, range);
    EXPECT_EQ(
        p, (CellProperties{
               {255, 255, 255}, {0, 0, 0}, "宋体", "9", Align::Left, Grid::kDefaultGridLineColor}));
    EXPECT_EQ(cellProperties(sheet, {3, 4, 3, 4}).align, Align::Right) << "a number column";

    p = {{255, 255, 0}, {0, 0, 255}, "黑体", "14", Align::Center, {0, 0, 0}};
    applyCellProperties(sheet, range, p);
    EXPECT_EQ(cellProperties(sheet, {5, 4, 5, 4}), p);
    EXPECT_FALSE(g.style(6, 4).background);
    EXPECT_EQ(g.gridLineColor(), (Rgb{0, 0, 0}));
    p.fontSize = "big";
    applyCellProperties(sheet, range, p);
    EXPECT_EQ(g.style(3, 2).fontSize, 0);
    EXPECT_EQ(cellProperties(sheet, range).fontSize, "9");
}

TEST(PagePlan, HeadingsOnEveryPageTitleOnTheFirstWideSheetsScaled) {
    Grid g(102, 4);  // 2 heading rows, 100 data rows of 20 pixels, 320 pixels wide
    g.setFixedRows(2);
    // A4 portrait at 96 dpi less margins: about 718 × 1047. Rows fit (1047 - 30) / 20 = 50
    // on a page without the title and the two headings: 48; with a 90-pixel title: 44.
    PagePlan plan = planPages(g, 718, 1047, 90, 30);
    EXPECT_EQ(plan.scale, 1);
    EXPECT_EQ(plan.pages, (std::vector<std::pair<int, int>>{{2, 45}, {46, 93}, {94, 101}}));

    // Twice as wide as the page: the sheet at half size, about twice the rows on a page
    // (title and page number keep their size): (1047 - 90 - 30 - 20) / 10 = 90, then 99.
    for (int c = 0; c < 4; ++c) {
        g.setColumnWidth(c, 359);
    }
    g.setColumnWidth(3, 0);  // hidden columns take no room
    g.setColumnWidth(2, 718);
    plan = planPages(g, 718, 1047, 90, 30);
    EXPECT_DOUBLE_EQ(plan.scale, 0.5);
    EXPECT_EQ(plan.pages, (std::vector<std::pair<int, int>>{{2, 91}, {92, 101}}));

    Grid headingsOnly(2, 3);
    headingsOnly.setFixedRows(2);
    EXPECT_EQ(planPages(headingsOnly, 718, 1047, 0, 30).pages.size(), 1u);
    EXPECT_EQ(pageFooter(2, 5), "第 2 页 共 5 页");
}

}  // namespace
}  // namespace tf

#include "core/stats/statistic_row.h"

#include <gtest/gtest.h>

#include "core/analysis/location_commands.h"
#include "core/base/number_text.h"
#include "core/base/text_codec.h"
#include "core/project/analysis_layout.h"
#include "core/shell/commands.h"
#include "core/stats/find_details.h"
#include "core/stats/statistics_commands.h"
#include "core/stats/statistics_export.h"
#include "core/stats/statistics_layout.h"
#include "tests/core/stats/priced_project.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using namespace SummaryColumn;

class StatisticRowTest : public ::testing::Test, protected test::PricedProject {
  protected:
    StatisticRowTest() {
        resetStatistics(stats);
        enterThreeLocations();
        rebuildStatistics(doc, stats, prompter);
        chooseStatisticsView(doc, stats, StatisticsView::AllMaterials, prompter);
    }
    Grid& g() { return stats.summary; }
    void selectRows(int top, int bottom) {
        g().setSelection({top, 1, bottom, kNote});
        g().setCursor(bottom, 1);
    }
    bool enabled(StatisticsGrid grid, int row, Command command) {
        return statisticsCommandEnabled(stats, grid, row, command).value_or(false);
    }
    // Rows whose columns 7–10 carry the marker.
    std::vector<int> markedRows() {
        std::vector<int> rows;
        for (int r = kAnalysisHeadingRows; r < doc.analysis.rowCount(); ++r) {
            if (doc.analysis.style(r, AnalysisColumn::kMaterialName).background == kMarkerColour) {
                rows.push_back(r);
            }
        }
        return rows;
    }

    Statistics stats;
};

TEST_F(StatisticRowTest, SumAllRowsOnThePaddedTableLabelsRowsOneToTwentyThree) {
    sumAllRows(g(), stats.statisticRow);
    ASSERT_EQ(stats.statisticRow, 24);
    EXPECT_EQ(g().rowCount(), 25);
    EXPECT_EQ(g().text(24, kNumber), "合计");
    EXPECT_EQ(g().text(24, kName), "1～23行  类加： ");
    EXPECT_EQ(g().mergeAt(24, kName), (CellRange{24, kName, 24, kPrice}));
    EXPECT_EQ(parseNumber(g().text(24, kTotal)), 10.75 + 16.8 + 235.875);
    EXPECT_EQ(g().style(24, kTotal).background, (Rgb{251, 222, 204}));
    EXPECT_EQ(g().style(24, kTotal).foreground, (Rgb{255, 0, 0}));
    EXPECT_EQ(g().style(24, kName).foreground, (Rgb{0, 0, 255}));
    EXPECT_EQ(g().style(5, kTotal).background, (Rgb{253, 242, 210}));
    EXPECT_TRUE(g().style(24, kCategory).bold);

    // A second time replaces the row instead of adding one.
    sumAllRows(g(), stats.statisticRow);
    EXPECT_EQ(g().rowCount(), 25);
    EXPECT_EQ(g().text(25 - 1, kName), "1～23行  类加： ");
}

TEST_F(StatisticRowTest, BottomUpSelectionGivesTheSameRangeAsTopDown) {
    selectRows(3, 1);
    sumSelectedRows(g(), stats.statisticRow);
    EXPECT_EQ(stats.statisticRow, 4);
    EXPECT_EQ(g().text(4, kName), "1～3行  类加： ");
    EXPECT_EQ(parseNumber(g().text(4, kTotal)), 10.75 + 16.8 + 235.875);
}

TEST_F(StatisticRowTest, CursorAloneSumsOneRow) {
    g().setCursor(2, 3);
    sumSelectedRows(g(), stats.statisticRow);
    EXPECT_EQ(g().text(3, kName), "2～2行  类加： ");
    EXPECT_EQ(parseNumber(g().text(3, kTotal)), 16.8);
}

TEST_F(StatisticRowTest, SummingTwiceKeepsOneStatisticRowAndFollowsTheRowsItLeaves) {
    selectRows(1, 2);
    sumSelectedRows(g(), stats.statisticRow);  // row 3 is the statistic row
    selectRows(2, 4);                          // spans it: the range loses one row
    sumSelectedRows(g(), stats.statisticRow);
    int statisticRows = 0;
    for (int r = 1; r < g().rowCount(); ++r) {
        statisticRows += g().text(r, kNumber) == "合计" ? 1 : 0;
    }
    EXPECT_EQ(statisticRows, 1);
    EXPECT_EQ(g().rowCount(), 25);
    EXPECT_EQ(g().text(4, kName), "2～3行  类加： ");
    EXPECT_EQ(parseNumber(g().text(4, kTotal)), 16.8 + 235.875);

    selectRows(6, 7);  // below it: both ends move up
    sumSelectedRows(g(), stats.statisticRow);
    EXPECT_EQ(stats.statisticRow, 7);
    EXPECT_EQ(g().text(7, kName), "5～6行  类加： ");
}

TEST_F(StatisticRowTest, DeleteRemovesTheRowAndRepaints) {
    sumAllRows(g(), stats.statisticRow);
    deleteStatisticRow(g(), stats.statisticRow);
    EXPECT_FALSE(stats.statisticRow);
    EXPECT_EQ(g().rowCount(), 24);
    EXPECT_FALSE(g().style(5, kTotal).background);
    EXPECT_EQ(g().style(4, kTotal).background, kSummaryBand);
    EXPECT_EQ(g().rangeSums().size(), 0u);
    deleteStatisticRow(g(), stats.statisticRow);  // nothing left to delete
    EXPECT_EQ(g().rowCount(), 24);
}

TEST_F(StatisticRowTest, PopupEnablingFollowsTheRowAndTheCursor) {
    EXPECT_FALSE(statisticsCommandEnabled(stats, StatisticsGrid::Summary, 30, Command::SumAllRows));
    EXPECT_TRUE(enabled(StatisticsGrid::Summary, 1, Command::SumAllRows));
    EXPECT_FALSE(enabled(StatisticsGrid::Summary, 1, Command::SumSelectedRows));
    g().setCursor(1, 1);
    EXPECT_TRUE(enabled(StatisticsGrid::Summary, 1, Command::SumSelectedRows));
    EXPECT_TRUE(enabled(StatisticsGrid::Summary, 1, Command::FindDetails));
    EXPECT_FALSE(enabled(StatisticsGrid::Summary, 5, Command::FindDetails));
    EXPECT_FALSE(enabled(StatisticsGrid::Summary, 1, Command::DeleteStatisticRow));
    sumAllRows(g(), stats.statisticRow);
    EXPECT_TRUE(enabled(StatisticsGrid::Summary, 24, Command::DeleteStatisticRow));
    EXPECT_FALSE(enabled(StatisticsGrid::Summary, 24, Command::FindDetails));

    chooseStatisticsView(doc, stats, StatisticsView::Division, prompter);
    selectDivisionNode(stats, 0, prompter);
    EXPECT_FALSE(enabled(StatisticsGrid::ItemSummary, 1, Command::FindDetails));
    EXPECT_FALSE(enabled(StatisticsGrid::ItemSummary, 1, Command::SumAllRows));
    selectDivisionNode(stats, 2, prompter);  // 一般抹灰
    EXPECT_TRUE(enabled(StatisticsGrid::ItemSummary, 1, Command::FindDetails));
    EXPECT_FALSE(enabled(StatisticsGrid::ItemSummary, 1, Command::SumSelectedRows));
}

TEST_F(StatisticRowTest, FindDetailsMarksTheRowsBehindEachView) {
    g().setCursor(1, 2);  // 水泥砂浆
    ASSERT_TRUE(findDetails(stats, doc.analysis));
    EXPECT_EQ(markedRows(), (std::vector<int>{2, 5, 8}));

    chooseStatisticsView(doc, stats, StatisticsView::Filtered, prompter);
    tickFilterLocation(doc, stats, 1, Tick::Ticked, prompter);  // 卧室
    g().setCursor(1, 2);
    ASSERT_TRUE(findDetails(stats, doc.analysis));
    EXPECT_EQ(markedRows(), (std::vector<int>{5})) << "the earlier marks are painted over";

    chooseStatisticsView(doc, stats, StatisticsView::Division, prompter);
    selectDivisionNode(stats, 2, prompter);  // 一般抹灰
    stats.itemSummary.setCursor(2, 1);       // 界面剂
    ASSERT_TRUE(findDetails(stats, doc.analysis));
    EXPECT_EQ(markedRows(), (std::vector<int>{3, 6}));
    EXPECT_EQ(doc.analysis.style(3, AnalysisColumn::kNote).background, kMarkerColour);
    EXPECT_EQ(doc.analysis.style(3, AnalysisColumn::kItemCode).background, std::nullopt);

    selectDivisionNode(stats, 1, prompter);  // a sub-division: nothing happens
    EXPECT_FALSE(findDetails(stats, doc.analysis));
    EXPECT_EQ(markedRows(), (std::vector<int>{3, 6}));
}

TEST_F(StatisticRowTest, RefreshRecalculatesAndRepaints) {
    g().setText(1, kQuantity, "100");  // 水泥砂浆 at 0.5
    g().setBackground({3, kName, 3, kName}, kMarkerColour);
    refreshStatisticsGrid(stats, StatisticsGrid::Summary, prompter);
    EXPECT_EQ(g().text(1, kTotal), "50");
    EXPECT_FALSE(g().style(3, kName).background);
    EXPECT_EQ(g().style(2, kName).background, kSummaryBand);
    const auto& history = prompter.statusHistory();
    EXPECT_EQ(history[history.size() - 2], "刷新当前表格");
    EXPECT_EQ(history.back(), "刷新完毕");

    doc.analysis.setBackground({2, 0, 9, AnalysisColumn::kNote}, kMarkerColour);
    refreshAnalysisTable(doc.analysis, prompter);
    EXPECT_TRUE(markedRows().empty());
    EXPECT_EQ(doc.analysis.style(2, AnalysisColumn::kNote).background, kAnalysisTint);
    EXPECT_EQ(doc.analysis.style(2, AnalysisColumn::kItemCode).background, kMarkerColour)
        << "only the band columns are painted again";
}

TEST_F(StatisticRowTest, EachBuildSaysWhatItDoes) {
    prompter.clear();
    const int busyBefore = prompter.busyCount();
    chooseStatisticsView(doc, stats, StatisticsView::AllMaterials, prompter);
    chooseStatisticsView(doc, stats, StatisticsView::Division, prompter);
    chooseStatisticsView(doc, stats, StatisticsView::Filtered, prompter);
    EXPECT_EQ(prompter.statusHistory(),
              (std::vector<std::string>{"统计所有材料", "统计完毕", "统计分项材料", "统计完毕",
                                        "筛选统计", "统计完毕"}));
    EXPECT_EQ(prompter.busyDepth(), 0);
    EXPECT_EQ(prompter.busyCount() - busyBefore, 3);
}

TEST_F(StatisticRowTest, OnlyNotesAreEditableAndMaterialsLeadToTheirDetails) {
    EXPECT_TRUE(isEditableStatisticsCell(g(), 1, kNote));
    EXPECT_FALSE(isEditableStatisticsCell(g(), 0, kNote));
    EXPECT_FALSE(isEditableStatisticsCell(g(), 1, kName));
    g().setText(1, kNote, "备注");
    g().setCursor(1, kName);
    EXPECT_FALSE(deleteNoteAtCursor(g()));
    g().setCursor(1, kNote);
    EXPECT_TRUE(deleteNoteAtCursor(g()));
    EXPECT_EQ(g().text(1, kNote), "");
    EXPECT_FALSE(deleteNoteAtCursor(g())) << "nothing left to clear";

    EXPECT_EQ(detailsCellAt(stats, StatisticsGrid::Summary, 2), (CellPos{2, kName}));
    EXPECT_FALSE(detailsCellAt(stats, StatisticsGrid::Summary, 5));  // a padding row
    EXPECT_FALSE(detailsCellAt(stats, StatisticsGrid::Cumulative, 1));
    chooseStatisticsView(doc, stats, StatisticsView::Division, prompter);
    selectDivisionNode(stats, 2, prompter);
    EXPECT_EQ(detailsCellAt(stats, StatisticsGrid::ItemSummary, 1),
              (CellPos{1, ItemColumn::kName}));
    EXPECT_TRUE(isEditableStatisticsCell(stats.itemSummary, 1, ItemColumn::kNote));
    EXPECT_FALSE(isEditableStatisticsCell(stats.itemSummary, 1, ItemColumn::kTotal));
}

TEST_F(StatisticRowTest, ExportWritesTheViewShownAsGbkLines) {
    test::TempDir dir;
    const std::string path = utf8FromPath(dir / "统计.txt");
    ASSERT_TRUE(exportStatistics(stats, path, prompter));
    const std::string text = fromGbk(test::readFile(path));
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "序号\t类别\t使用材料名称\t材料数量\t单位\t单价\t合计\t说明");
    EXPECT_NE(text.find("\r\n1\t砂浆\t水泥砂浆\t21.5\t千克\t0.5\t10.75\t\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n2\t砂浆\t界面剂\t"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << "blank rows are left out";

    chooseStatisticsView(doc, stats, StatisticsView::Filtered, prompter);
    tickFilterLocation(doc, stats, 0, Tick::Ticked, prompter);
    const std::string filtered = statisticsText(stats);
    EXPECT_EQ(filtered.substr(0, 10), "序号\t部");
    EXPECT_NE(filtered.find("\r\n\r\n序号\t类别"), std::string::npos);

    EXPECT_FALSE(exportStatistics(stats, utf8FromPath(dir / "missing/统计.txt"), prompter));
    EXPECT_EQ(prompter.messages().back().text, "保存失败，请重新再试！\r\n文件夹不存在。");
}

}  // namespace
}  // namespace tf

// The charts' figures from the statistics of the priced project, worked out by hand: the
// materials 水泥砂浆 21.5 kg × 0.5, 界面剂 7 × 2.4, 乳胶漆 12.75 × 18.5; the locations 客厅
// 681.85 (030201: 14.6 of materials + 250 + 8.5; 030801: 166.5 + 240 + 2.25), 卧室 206.95,
// 厨房 282.125; the items 030201 and 030801 of the division view.
#include "core/charts/statistics_chart.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/base/number_text.h"
#include "core/stats/statistics_layout.h"
#include "core/stats/table_sheets.h"
#include "core/xlsx/sheet_plan.h"
#include "tests/core/stats/priced_project.h"

namespace tf {
namespace {

class StatisticsChartTest : public ::testing::Test, protected test::PricedProject {
  protected:
    StatisticsChartTest() {
        resetStatistics(stats);
        enterThreeLocations();
    }
    BarChart chartOf(StatisticsView view) {
        stats.view = view;
        rebuildStatistics(doc, stats, prompter);
        if (view == StatisticsView::Filtered) {
            tickEveryFilterLocation(doc, stats, true, prompter);
        }
        return statisticsChart(stats);
    }
    Statistics stats;
};

TEST_F(StatisticsChartTest, MaterialsLargestFirstEachInItsCategorysSeries) {
    const BarChart chart = chartOf(StatisticsView::AllMaterials);
    EXPECT_EQ(chart.title, "材料费") << "all three charted: not the largest of more";
    EXPECT_EQ(chart.series, (std::vector<std::string>{"砂浆", "涂料"}));
    ASSERT_EQ(chart.bars.size(), 3u);
    EXPECT_EQ(chart.bars[0].label, "乳胶漆");
    EXPECT_EQ(chart.bars[0].values, (std::vector<double>{0, 235.875}));
    EXPECT_EQ(chart.bars[1].label, "界面剂");
    EXPECT_NEAR(chart.bars[1].values[0], 16.8, 1e-9);
    EXPECT_EQ(chart.bars[2].label, "水泥砂浆");
    EXPECT_NEAR(chart.bars[2].total(), 10.75, 1e-9);
    // The bar leads to its row of 统计表.
    EXPECT_EQ(stats.summary.text(chart.bars[0].firstRow, SummaryColumn::kName), "乳胶漆");
}

TEST_F(StatisticsChartTest, BeyondFifteenMaterialsTheRestIsOneBar) {
    // 17 more materials in 杂项, used 1 … 17 times at 1 each: the two smallest are 其他.
    for (int i = 1; i <= 17; ++i) {
        const int id = addMaterial("杂项", "材料" + std::to_string(i), "个", "1");
        addRow(4, "储藏室", "030801", 1, "材料" + std::to_string(i), i, "个", id);
    }
    const BarChart chart = chartOf(StatisticsView::AllMaterials);
    ASSERT_EQ(chart.bars.size(), kChartedMaterials + 1);
    EXPECT_EQ(chart.title, "材料费（前 15 种）");
    EXPECT_EQ(chart.bars[0].label, "乳胶漆");
    EXPECT_EQ(chart.bars.back().label, "其他");
    // Of 20 materials the 5 smallest go: 材料1 … 材料4 (1 + 2 + 3 + 4) and 材料5 (5); 水泥
    // 砂浆 (10.75) and 材料10 … stay.
    EXPECT_NEAR(chart.bars.back().total(), 15, 1e-9);
    EXPECT_EQ(chart.bars.back().firstRow, -1);
    // "其他" adds up the five rows of 合计 they stand on, listed next to each other: one run.
    const auto misc = std::ranges::find(chart.series, "杂项") - chart.series.begin();
    const auto& rest = chart.bars.back().sums;
    ASSERT_EQ(rest.size(), chart.series.size());
    ASSERT_EQ(rest[static_cast<std::size_t>(misc)].size(), 1u);
    const GridSpan run = rest[static_cast<std::size_t>(misc)][0];
    EXPECT_EQ(run.column, SummaryColumn::kTotal);
    EXPECT_EQ(run.lastRow - run.firstRow, 4);
    EXPECT_EQ(stats.summary.text(run.firstRow, SummaryColumn::kName), "材料1");
    for (std::size_t s = 0; s < rest.size(); ++s) {
        EXPECT_EQ(rest[s].empty(), static_cast<std::ptrdiff_t>(s) != misc) << chart.series[s];
    }
}

TEST_F(StatisticsChartTest, DivisionItemsStackedByKindOfCost) {
    const BarChart chart = chartOf(StatisticsView::Division);
    EXPECT_EQ(chart.series, (std::vector<std::string>{"材料费", "人工费", "机械使用费", "管理费"}));
    ASSERT_EQ(chart.bars.size(), 2u) << "no bar for 小计";
    EXPECT_EQ(chart.bars[0].label, "030201");
    EXPECT_NEAR(chart.bars[0].values[0], 27.55, 1e-9);  // 10.75 + 16.8
    EXPECT_NEAR(chart.bars[0].values[1], 537.5, 1e-9);  // 43 m² × 12.5
    EXPECT_NEAR(chart.bars[0].values[2], 3, 1e-9);
    EXPECT_NEAR(chart.bars[0].values[3], 5.5, 1e-9);
    EXPECT_NEAR(chart.bars[1].total(), 578.125, 1e-9);  // 235.875 + 340 + 0 + 2.25
}

TEST_F(StatisticsChartTest, TickedLocationsLargestFirstLeadingToTheirRows) {
    const BarChart chart = chartOf(StatisticsView::Filtered);
    ASSERT_EQ(chart.bars.size(), 3u);
    EXPECT_EQ(chart.title, "各部位费用");
    EXPECT_EQ(chart.bars[0].label, "客厅");
    EXPECT_NEAR(chart.bars[0].total(), 681.85, 1e-9);
    EXPECT_EQ(chart.bars[1].label, "厨房");
    EXPECT_NEAR(chart.bars[1].total(), 282.125, 1e-9);
    EXPECT_EQ(chart.bars[2].label, "卧室");
    EXPECT_NEAR(chart.bars[2].total(), 206.95, 1e-9);
    EXPECT_EQ(chart.bars[0].lastRow - chart.bars[0].firstRow, 1) << "客厅's two items";
}

// One item of 客厅 unticked: 客厅 keeps 030201 alone, 10 × 0.5 + 4 × 2.4 + 20 m² × 12.5 + 3 +
// 5.5 = 273.1, and falls behind 厨房 (282.125); in the workbook its bar is its one row of
// 累计统计表, and the three bars (no 其他) add up to what is still ticked.
TEST_F(StatisticsChartTest, AnUntickedItemLeavesItsLocationsBarAndTheWorkbooksFormula) {
    chartOf(StatisticsView::Filtered);
    const auto& items = stats.filter.locations()[0].items;
    const auto sitting = std::ranges::find(items, "030801", &FilterItem::code) - items.begin();
    tickFilterItem(doc, stats, 0, static_cast<std::size_t>(sitting), false, prompter);
    const BarChart chart = statisticsChart(stats);
    ASSERT_EQ(chart.bars.size(), 3u);
    EXPECT_EQ(chart.bars[0].label, "厨房");
    EXPECT_EQ(chart.bars[1].label, "客厅");
    EXPECT_NEAR(chart.bars[1].total(), 273.1, 1e-9);
    EXPECT_EQ(chart.bars[1].firstRow, chart.bars[1].lastRow) << "one item left";

    SheetPlan plan(tableSheet(doc, stats, ExportTable::Cumulative));
    const int figures = plan.chartColumn() + 1;
    EXPECT_EQ(plan.cell(2, figures).text, "=J" + std::to_string(chart.bars[1].firstRow + 1));
    EXPECT_NEAR(plan.cell(2, figures).value, 273.1, 1e-9);
    EXPECT_NEAR(
        plan.cell(1, figures).value + plan.cell(2, figures).value + plan.cell(3, figures).value,
        282.125 + 273.1 + 206.95, 1e-9);
}

}  // namespace
}  // namespace tf

#include "core/stats/statistics.h"

#include <gtest/gtest.h>

#include "core/base/number_text.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/stats/filtered_statistics.h"
#include "core/stats/material_summary.h"
#include "core/stats/statistics_layout.h"
#include "core/structure/codes.h"
#include "core/structure/default_structure.h"
#include "tests/core/stats/priced_project.h"

namespace tf {
namespace {

// Cells as numbers to the cent.
::testing::AssertionResult near(std::string_view text, double expected) {
    const double value = parseNumber(text);
    if (std::abs(value - expected) < 0.005) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "cell " << text << " is not " << expected;
}

std::size_t nodeNamed(const DivisionTree& tree, std::string_view name) {
    for (std::size_t i = 0; i < tree.size(); ++i) {
        if (tree[i].name == name) {
            return i;
        }
    }
    ADD_FAILURE() << "no node " << name;
    return tree.size();
}

class StatisticsTest : public ::testing::Test, protected test::PricedProject {
  protected:
    StatisticsTest() { resetStatistics(stats); }
    void rebuild(StatisticsView view) {
        stats.view = view;
        rebuildStatistics(doc, stats, prompter);
    }
    void select(std::string_view name) {
        selectDivisionNode(stats, nodeNamed(stats.divisionTree.tree, name), prompter);
    }
    std::string_view sum(int row, int column) const { return stats.summary.text(row, column); }

    Statistics stats;
};

TEST_F(StatisticsTest, EmptyAnalysisTableGivesBlankViewsAndEmptyTrees) {
    rebuild(StatisticsView::AllMaterials);
    ASSERT_EQ(stats.summary.rowCount(), 24);
    for (int r = 1; r < 24; ++r) {
        EXPECT_EQ(sum(r, SummaryColumn::kNumber), std::to_string(r));
        for (int c = 1; c < SummaryColumn::kCount; ++c) {
            EXPECT_EQ(sum(r, c), "") << r << "," << c;
        }
    }
    EXPECT_TRUE(stats.divisionTree.tree.empty());
    EXPECT_EQ(stats.filter.nodeCount(), 0u);
    EXPECT_EQ(stats.summary.text(0, SummaryColumn::kTotal), "合计");
}

TEST_F(StatisticsTest, AllMaterialsListsEachMaterialOncePricedAndMergedByCategory) {
    enterThreeLocations();
    rebuild(StatisticsView::AllMaterials);
    using namespace SummaryColumn;
    const Grid& g = stats.summary;
    ASSERT_EQ(g.rowCount(), 24);
    const struct {
        const char* category;
        const char* name;
        double quantity;
        double price;
        double total;
    } expected[] = {{"砂浆", "水泥砂浆", 21.5, 0.5, 10.75},
                    {"砂浆", "界面剂", 7, 2.4, 16.8},
                    {"涂料", "乳胶漆", 12.75, 18.5, 235.875}};
    for (int r = 1; r <= 3; ++r) {
        const auto& e = expected[r - 1];
        EXPECT_EQ(g.text(r, kCategory), e.category);
        EXPECT_EQ(g.text(r, kName), e.name);
        EXPECT_TRUE(near(g.text(r, kQuantity), e.quantity));
        EXPECT_EQ(g.text(r, kUnit), "千克");
        EXPECT_TRUE(near(g.text(r, kPrice), e.price));
        EXPECT_TRUE(near(g.text(r, kTotal), e.total));
    }
    EXPECT_EQ(g.text(4, kName), "") << "a row without a catalogue material lists nothing";
    EXPECT_EQ(g.mergeAt(1, kCategory), (CellRange{1, kCategory, 2, kCategory}));
    EXPECT_FALSE(g.mergeAt(3, kCategory));
    EXPECT_EQ(g.style(2, kName).background, kSummaryBand);
    EXPECT_FALSE(g.style(3, kName).background);
    EXPECT_EQ(g.style(1, kTotal).foreground, (Rgb{0, 128, 0}));
    EXPECT_EQ(g.column(kPrice).decimals, 2);
}

TEST_F(StatisticsTest, MaterialsAreGroupedByCategoryInTableOrder) {
    addRow(1, "客厅", "030801", 30, "乳胶漆", 9, "千克", 2001);
    addRow(1, "客厅", "030201", 20, "界面剂", 4, "千克", 1002);
    addRow(2, "卧室", "030801", 30, "乳胶漆", 1, "千克", 2001);
    addRow(2, "卧室", "030201", 20, "水泥砂浆", 4, "千克", 1001);
    rebuild(StatisticsView::AllMaterials);
    EXPECT_EQ(sum(1, SummaryColumn::kName), "界面剂");
    EXPECT_EQ(sum(2, SummaryColumn::kName), "水泥砂浆");
    EXPECT_EQ(sum(3, SummaryColumn::kName), "乳胶漆");
    EXPECT_TRUE(near(sum(3, SummaryColumn::kQuantity), 10));
    EXPECT_EQ(stats.summary.mergeAt(2, SummaryColumn::kCategory),
              (CellRange{1, SummaryColumn::kCategory, 2, SummaryColumn::kCategory}));
}

TEST_F(StatisticsTest, SameNameInTwoCategoriesIsOneRowWithTheFirstCategoryAndPrice) {
    const int other = addMaterial("辅材", "水泥砂浆", "立方米", "300");
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 10, "千克", 1001);
    addRow(1, "客厅", "030801", 30, "水泥砂浆", 2, "立方米", other);
    rebuild(StatisticsView::AllMaterials);
    EXPECT_EQ(sum(1, SummaryColumn::kCategory), "砂浆");
    EXPECT_TRUE(near(sum(1, SummaryColumn::kQuantity), 12));
    EXPECT_TRUE(near(sum(1, SummaryColumn::kPrice), 0.5));
    EXPECT_EQ(sum(2, SummaryColumn::kName), "");
    // The work items keep them apart: one element each, with its own unit and price.
    ASSERT_EQ(stats.groups.groups().size(), 2u);
    EXPECT_EQ(stats.groups.find("030801")->elements.front().price, 300);
}

TEST_F(StatisticsTest, RowsWithoutMaterialOnlyAddToAMaterialListedBefore) {
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 1, "千克", 0);  // not listed yet: nothing
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 10, "千克", 1001);
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 5, "千克", 0);   // listed: adds
    addRow(1, "客厅", "030201", 20, "界面剂", 3, "千克", 1999);  // unknown id: nothing
    rebuild(StatisticsView::AllMaterials);
    EXPECT_TRUE(near(sum(1, SummaryColumn::kQuantity), 15));
    EXPECT_EQ(sum(2, SummaryColumn::kName), "");
    // In a group the later row with the same code, name and unit adds too.
    EXPECT_TRUE(near(std::to_string(stats.groups.find("030201")->elements[0].quantity), 15));
}

TEST_F(StatisticsTest, OneMaterialUnderTwoItemsAndTwoUnitsUnderOneCode) {
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 10, "千克", 1001);
    addRow(1, "客厅", "030801", 30, "水泥砂浆", 6, "千克", 1001);
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 1, "袋", 1001);
    rebuild(StatisticsView::AllMaterials);
    EXPECT_TRUE(near(sum(1, SummaryColumn::kQuantity), 17));
    EXPECT_EQ(sum(2, SummaryColumn::kName), "");
    const ItemStatGroup* plaster = stats.groups.find("030201");
    ASSERT_EQ(plaster->elements.size(), 2u);
    EXPECT_EQ(plaster->elements[0].unit, "千克");
    EXPECT_EQ(plaster->elements[1].unit, "袋");
    ASSERT_EQ(stats.groups.find("030801")->elements.size(), 1u);
    EXPECT_EQ(stats.groups.find("030801")->elements[0].quantity, 6);
}

TEST_F(StatisticsTest, DivisionTreeKeepsOnlyItemsWithMaterialsAndTheirAncestors) {
    enterThreeLocations();
    rebuild(StatisticsView::AllMaterials);
    const auto& tree = stats.divisionTree.tree;
    std::vector<std::string> names;
    for (const auto& node : tree) {
        names.push_back(node.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"建筑装饰装修", "抹灰", "一般抹灰", "涂饰",
                                               "水性涂料涂饰"}));
    EXPECT_EQ(stats.divisionTree.items[2].labourPrice, "12.5元/平方米");
    EXPECT_EQ(tree[4].level, 3);
}

TEST_F(StatisticsTest, DeepItemCodesFindTheirNodes) {
    addRow(1, "客厅", "030101-10", 4, "水泥砂浆", 1, "千克", 1001);
    addRow(1, "客厅", "030114", 4, "水泥砂浆", 1, "千克", 1001);
    addRow(1, "客厅", "999999", 4, "水泥砂浆", 1, "千克", 1001);  // no such node: absent
    rebuild(StatisticsView::AllMaterials);
    std::vector<std::string> names;
    for (const auto& node : stats.divisionTree.tree) {
        names.push_back(node.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"建筑装饰装修", "地面", "整体面层", "基层", "填充层",
                                               "板块面层", "面层", "实木地板面层"}));
}

TEST_F(StatisticsTest, WorkItemShowsItsMaterialsLabourFeesAndSubtotal) {
    enterThreeLocations();
    rebuild(StatisticsView::Division);
    select("一般抹灰");
    using namespace ItemColumn;
    const Grid& g = stats.itemSummary;
    EXPECT_EQ(stats.divisionHeading, "分部分项：030201");
    ASSERT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.text(0, kLabourCost), "工费小计");
    EXPECT_EQ(g.text(1, kName), "水泥砂浆");
    EXPECT_TRUE(near(g.text(1, kQuantity), 21.5));
    EXPECT_TRUE(near(g.text(1, kMaterialCost), 10.75));
    EXPECT_TRUE(near(g.text(1, kWorkQuantity), 43));
    EXPECT_TRUE(near(g.text(1, kLabourPrice), 12.5));
    EXPECT_TRUE(near(g.text(1, kLabourCost), 537.5));
    EXPECT_TRUE(near(g.text(1, kMachinery), 3));
    EXPECT_TRUE(near(g.text(1, kManagement), 5.5));
    EXPECT_TRUE(near(g.text(1, kTotal), 556.75));
    EXPECT_EQ(g.text(2, kName), "界面剂");
    EXPECT_TRUE(near(g.text(2, kMaterialCost), 16.8));
    EXPECT_EQ(g.text(2, kWorkQuantity), "");
    EXPECT_TRUE(near(g.text(2, kTotal), 16.8));
    EXPECT_EQ(g.text(3, kName), "小计：");
    EXPECT_EQ(g.mergeAt(3, kName), (CellRange{3, kName, 3, kPrice}));
    EXPECT_EQ(g.style(3, kName).align, Align::Right);
    EXPECT_TRUE(near(g.text(3, kMaterialCost), 27.55));
    EXPECT_TRUE(near(g.text(3, kLabourCost), 537.5));
    EXPECT_TRUE(near(g.text(3, kMachinery), 3));
    EXPECT_TRUE(near(g.text(3, kManagement), 5.5));
    EXPECT_TRUE(near(g.text(3, kTotal), 573.55));
    EXPECT_EQ(g.column(kPrice).decimals, 2);
    EXPECT_EQ(g.column(kQuantity).decimals, 3);

    select("水性涂料涂饰");
    EXPECT_TRUE(near(g.text(1, kTotal), 578.125));
    EXPECT_TRUE(near(g.text(1, kLabourCost), 340));
}

TEST_F(StatisticsTest, DivisionListsItsWorkItemsWithTotals) {
    enterThreeLocations();
    rebuild(StatisticsView::Division);
    using namespace DivisionColumn;
    const Grid& g = stats.itemSummary;
    EXPECT_EQ(stats.selectedNode, 0u) << "a rebuild in the division view shows node 0";
    EXPECT_EQ(stats.divisionHeading, "分部分项");
    ASSERT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.text(1, kCode), "030201");
    EXPECT_TRUE(near(g.text(1, kMaterialCost), 27.55));
    EXPECT_TRUE(near(g.text(1, kWorkQuantity), 43));
    EXPECT_TRUE(near(g.text(1, kLabourCost), 537.5));
    EXPECT_TRUE(near(g.text(1, kTotal), 573.55));
    EXPECT_EQ(g.text(2, kCode), "030801");
    EXPECT_TRUE(near(g.text(2, kMaterialCost), 235.875));
    EXPECT_TRUE(near(g.text(2, kTotal), 578.125));
    EXPECT_EQ(g.text(3, kCode), "小计：");
    EXPECT_TRUE(near(g.text(3, kMaterialCost), 263.425));
    EXPECT_TRUE(near(g.text(3, kLabourCost), 877.5));
    EXPECT_TRUE(near(g.text(3, kMachinery), 3));
    EXPECT_TRUE(near(g.text(3, kManagement), 7.75));
    EXPECT_TRUE(near(g.text(3, kTotal), 1151.675));
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(g.text(r, kNumber), std::to_string(r));
    }

    select("抹灰");
    ASSERT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.text(1, kCode), "030201");
}

TEST_F(StatisticsTest, NodesBelowSubdivisionsShowTheEmptyDivisionLayout) {
    addRow(1, "客厅", "030101-10", 4, "水泥砂浆", 1, "千克", 1001);
    rebuild(StatisticsView::Division);
    select("整体面层");
    EXPECT_EQ(stats.itemSummary.rowCount(), 24);
    EXPECT_EQ(stats.itemSummary.text(0, DivisionColumn::kCode), "代号");
    EXPECT_EQ(stats.itemSummary.text(1, DivisionColumn::kCode), "");
    EXPECT_EQ(stats.itemSummary.text(23, DivisionColumn::kNumber), "23");
}

TEST_F(StatisticsTest, FilteredViewCostsEveryTickedItemPerLocation) {
    enterThreeLocations();
    rebuild(StatisticsView::Filtered);
    ASSERT_EQ(stats.filter.locations().size(), 3u);
    EXPECT_EQ(stats.filter.nodeCount(), 8u);
    for (std::size_t l = 0; l < 3; ++l) {
        tickFilterLocation(doc, stats, l, Tick::Ticked, prompter);
    }
    using namespace CumulativeColumn;
    const Grid& g = stats.cumulative;
    ASSERT_EQ(g.rowCount(), 7);
    const struct {
        const char* location;
        const char* code;
        double material, work, labour, machinery, management, total;
    } expected[] = {
        {"客厅", "030201", 14.6, 20, 250, 3, 5.5, 273.1},
        {"客厅", "030801", 166.5, 30, 240, 0, 2.25, 408.75},
        {"卧室", "030201", 10.95, 15, 187.5, 3, 5.5, 206.95},
        {"厨房", "030801", 69.375, 12.5, 100, 0, 2.25, 171.625},
        {"厨房", "030201", 2, 8, 100, 3, 5.5, 110.5},
    };
    for (int r = 1; r <= 5; ++r) {
        const auto& e = expected[r - 1];
        EXPECT_EQ(g.text(r, kLocation), e.location);
        EXPECT_EQ(g.text(r, kCode), e.code);
        EXPECT_TRUE(near(g.text(r, kMaterialCost), e.material)) << r;
        EXPECT_TRUE(near(g.text(r, kWorkQuantity), e.work)) << r;
        EXPECT_TRUE(near(g.text(r, kLabourCost), e.labour)) << r;
        EXPECT_TRUE(near(g.text(r, kMachinery), e.machinery)) << r;
        EXPECT_TRUE(near(g.text(r, kManagement), e.management)) << r;
        EXPECT_TRUE(near(g.text(r, kTotal), e.total)) << r;
    }
    // Every row numbered, 小计 included, and made up as the first two are.
    for (int r = 1; r <= 6; ++r) {
        EXPECT_EQ(g.text(r, kNumber), std::to_string(r));
        for (int c = r < 6 ? 0 : kMaterialCost; c < g.columnCount(); ++c) {
            EXPECT_EQ(g.styleId(r, c), g.styleId(1 + (r - 1) % 2, c)) << r << ", " << c;
        }
    }
    EXPECT_EQ(g.style(5, kMaterialCost).background, kSummaryBand);
    EXPECT_EQ(g.mergeAt(1, kLocation), (CellRange{1, kLocation, 2, kLocation}));
    EXPECT_FALSE(g.mergeAt(3, kLocation));
    EXPECT_EQ(g.text(6, kLocation), "小计：");
    EXPECT_TRUE(near(g.text(6, kMaterialCost), 263.425));
    EXPECT_TRUE(near(g.text(6, kLabourCost), 877.5));
    EXPECT_TRUE(near(g.text(6, kMachinery), 9));
    EXPECT_TRUE(near(g.text(6, kManagement), 21));
    EXPECT_TRUE(near(g.text(6, kTotal), 1170.925));
    // The material list of the ticked rows equals the all-materials list here.
    EXPECT_TRUE(near(sum(1, SummaryColumn::kTotal), 10.75));
    EXPECT_TRUE(near(sum(3, SummaryColumn::kTotal), 235.875));
}

TEST_F(StatisticsTest, UntickingALocationUnticksItsItemsAndDropsThem) {
    enterThreeLocations();
    rebuild(StatisticsView::Filtered);
    for (std::size_t l = 0; l < 3; ++l) {
        tickFilterLocation(doc, stats, l, Tick::Ticked, prompter);
    }
    tickFilterLocation(doc, stats, 1, Tick::Unticked, prompter);
    EXPECT_FALSE(stats.filter.locations()[1].items[0].ticked);
    EXPECT_EQ(stats.cumulative.rowCount(), 6);
    EXPECT_EQ(stats.cumulative.text(3, CumulativeColumn::kLocation), "厨房");
    EXPECT_TRUE(near(sum(1, SummaryColumn::kQuantity), 14));
    EXPECT_TRUE(near(sum(2, SummaryColumn::kQuantity), 4));

    // A partly ticked location clears its items too; ticking one item shows it partly ticked.
    tickFilterLocation(doc, stats, 0, Tick::Partly, prompter);
    EXPECT_FALSE(stats.filter.locations()[0].items[1].ticked);
    tickFilterItem(doc, stats, 0, 1, true, prompter);
    EXPECT_EQ(stats.filter.locations()[0].tick, Tick::Partly);
    EXPECT_EQ(stats.cumulative.text(1, CumulativeColumn::kCode), "030801");
    EXPECT_EQ(prompter.status(), "统计完毕");
}

TEST_F(StatisticsTest, QuestionMarksInNamesKeepEntriesApart) {
    addRow(1, "客厅?030201", "030801", 30, "乳胶漆", 9, "千克", 2001);
    addRow(2, "客厅", "030201?030801", 20, "水泥砂浆", 10, "千克", 1001);
    rebuild(StatisticsView::Filtered);
    ASSERT_EQ(stats.filter.nodeCount(), 4u);
    tickFilterLocation(doc, stats, 1, Tick::Ticked, prompter);
    EXPECT_EQ(stats.cumulative.rowCount(), 3);
    EXPECT_TRUE(near(stats.cumulative.text(1, CumulativeColumn::kMaterialCost), 5));
}

TEST_F(StatisticsTest, NothingTickedBlanksBothGrids) {
    enterThreeLocations();
    chooseStatisticsView(doc, stats, StatisticsView::AllMaterials, prompter);
    chooseStatisticsView(doc, stats, StatisticsView::Filtered, prompter);
    EXPECT_EQ(stats.title, "筛选结果统计表");
    EXPECT_EQ(stats.summary.rowCount(), 24);
    EXPECT_EQ(sum(1, SummaryColumn::kName), "");
    EXPECT_EQ(stats.cumulative.rowCount(), 24);
    EXPECT_EQ(stats.cumulative.text(1, CumulativeColumn::kCode), "");
}

TEST_F(StatisticsTest, TwoBlocksOfOneLocationAddTheirWorkQuantities) {
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 10, "千克", 1001);
    addRow(1, "客厅", "030201", 20, "界面剂", 4, "千克", 1002);
    addRow(2, "客厅", "030201", 5, "水泥砂浆", 2, "千克", 1001);
    rebuild(StatisticsView::Filtered);
    tickFilterLocation(doc, stats, 0, Tick::Ticked, prompter);
    EXPECT_TRUE(near(stats.cumulative.text(1, CumulativeColumn::kWorkQuantity), 25));
    EXPECT_TRUE(near(stats.cumulative.text(1, CumulativeColumn::kMaterialCost), 15.6));
}

TEST_F(StatisticsTest, ALocationOfManyItemsInTwoBlocksIsFoundByCodeAndKeepsItsTicks) {
    // 40 items (more than are searched one by one) entered twice, a location between.
    const auto code = [](int i) { return "0301" + std::to_string(10 + i); };
    for (int i = 1; i <= 40; ++i) {
        addRow(1, "大厅", code(i), i, "水泥砂浆", 1, "千克", 1001);
    }
    addRow(2, "走廊", code(5), 7, "水泥砂浆", 1, "千克", 1001);
    for (int i = 40; i >= 1; --i) {
        addRow(3, "大厅", code(i), 100, "水泥砂浆", 1, "千克", 1001);
    }
    rebuild(StatisticsView::Filtered);
    ASSERT_EQ(stats.filter.locations().size(), 2u);
    ASSERT_EQ(stats.filter.locations()[0].items.size(), 40u);
    EXPECT_EQ(stats.filter.locations()[0].items[34].code, code(35));
    tickFilterItem(doc, stats, 0, 4, true, prompter);
    tickFilterItem(doc, stats, 0, 34, true, prompter);
    tickFilterLocation(doc, stats, 1, Tick::Ticked, prompter);
    ASSERT_EQ(stats.cumulative.rowCount(), 5);  // heading, three items, 小计
    EXPECT_EQ(stats.cumulative.text(1, CumulativeColumn::kCode), code(5));
    EXPECT_TRUE(near(stats.cumulative.text(1, CumulativeColumn::kWorkQuantity), 105));
    EXPECT_TRUE(near(stats.cumulative.text(2, CumulativeColumn::kWorkQuantity), 135));
    EXPECT_TRUE(near(stats.cumulative.text(3, CumulativeColumn::kWorkQuantity), 7));

    addRow(4, "阳台", code(1), 6, "乳胶漆", 2, "千克", 2001);
    updateStatistics(doc, stats, prompter);
    EXPECT_EQ(stats.filter.locations()[0].tick, Tick::Partly);
    EXPECT_TRUE(stats.filter.locations()[0].items[34].ticked);
    EXPECT_FALSE(stats.filter.locations()[0].items[35].ticked);
    EXPECT_EQ(stats.filter.locations()[1].tick, Tick::Ticked);
    EXPECT_EQ(stats.filter.locations()[2].tick, Tick::Unticked);
    EXPECT_EQ(stats.cumulative.rowCount(), 5);
}

TEST_F(StatisticsTest, StatisticsNotBuiltYetWaitForTheirFirstShowingThenFollowEntries) {
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 10, "千克", 1001);
    updateStatistics(doc, stats, prompter);  // not built: left alone
    EXPECT_EQ(sum(1, SummaryColumn::kName), "");
    EXPECT_TRUE(stats.filter.locations().empty());
    ASSERT_TRUE(ensureStatisticsCurrent(doc, stats, prompter));
    EXPECT_EQ(sum(1, SummaryColumn::kName), "水泥砂浆");
    EXPECT_FALSE(ensureStatisticsCurrent(doc, stats, prompter)) << "built once";
    addRow(2, "卧室", "030201", 5, "水泥砂浆", 2, "千克", 1001);
    updateStatistics(doc, stats, prompter);
    EXPECT_EQ(stats.filter.locations().size(), 2u);
    EXPECT_TRUE(near(sum(1, SummaryColumn::kQuantity), 12));
    resetStatistics(stats);  // a project opened
    EXPECT_TRUE(ensureStatisticsCurrent(doc, stats, prompter));
}

TEST_F(StatisticsTest, AnEntryKeepsTheTicksAndTheSelectedNode) {
    enterThreeLocations();
    rebuild(StatisticsView::Filtered);
    tickFilterLocation(doc, stats, 2, Tick::Ticked, prompter);
    addRow(4, "阳台", "030801", 6, "乳胶漆", 2, "千克", 2001);
    updateStatistics(doc, stats, prompter);
    ASSERT_EQ(stats.filter.locations().size(), 4u);
    EXPECT_EQ(stats.filter.locations()[2].tick, Tick::Ticked);
    EXPECT_EQ(stats.filter.locations()[3].tick, Tick::Unticked);
    EXPECT_EQ(stats.cumulative.rowCount(), 4);

    chooseStatisticsView(doc, stats, StatisticsView::Division, prompter);
    select("水性涂料涂饰");
    addRow(4, "阳台", "030801", 6, "乳胶漆", 2, "千克", 2001);
    updateStatistics(doc, stats, prompter);
    EXPECT_EQ(stats.divisionTree.tree[*stats.selectedNode].name, "水性涂料涂饰");
    EXPECT_TRUE(near(stats.itemSummary.text(1, ItemColumn::kQuantity), 16.75));
}

TEST_F(StatisticsTest, APriceOrAFeeChangedSinceTheBuildIsShownWithTheTicksKept) {
    enterThreeLocations();
    rebuild(StatisticsView::Filtered);
    tickFilterLocation(doc, stats, 0, Tick::Ticked, prompter);  // 客厅
    // 030801 at 客厅: 9 千克 乳胶漆 at 18.5 = 166.5, + 30 × 8 + 0 + 2.25 = 408.75.
    ASSERT_EQ(stats.cumulative.text(2, CumulativeColumn::kCode), "030801");
    EXPECT_TRUE(near(stats.cumulative.text(2, CumulativeColumn::kMaterialCost), 166.5));
    EXPECT_FALSE(statisticsStale(doc, stats));
    doc.analysis.setColumnWidth(AnalysisColumn::kLocation, 300);
    EXPECT_FALSE(statisticsStale(doc, stats)) << "a wider column changes no figure";

    doc.materials.setText(3, MaterialColumn::kPrice, "20");  // 乳胶漆
    rebuildCatalogue(doc);
    EXPECT_TRUE(statisticsStale(doc, stats));
    ASSERT_TRUE(ensureStatisticsCurrent(doc, stats, prompter));
    EXPECT_FALSE(statisticsStale(doc, stats));
    EXPECT_EQ(stats.filter.locations()[0].tick, Tick::Ticked);
    // 9 × 20 = 180; 180 + 240 + 2.25 = 422.25.
    EXPECT_TRUE(near(stats.cumulative.text(2, CumulativeColumn::kMaterialCost), 180));
    EXPECT_TRUE(near(stats.cumulative.text(2, CumulativeColumn::kTotal), 422.25));
    EXPECT_EQ(sum(3, SummaryColumn::kName), "乳胶漆");
    EXPECT_TRUE(near(sum(3, SummaryColumn::kPrice), 20));
    EXPECT_TRUE(near(sum(3, SummaryColumn::kTotal), 180));

    // A new labour price of 水性涂料涂饰: 180 + 30 × 10 + 2.25 = 482.25.
    Structure structure = *parseStructure(doc.structure);
    structure.items[*findItemRowByCode(structure.items, "030801")].labourPrice = "10";
    doc.structure = serializeStructure(structure);
    ASSERT_TRUE(ensureStatisticsCurrent(doc, stats, prompter));
    EXPECT_TRUE(near(stats.cumulative.text(2, CumulativeColumn::kTotal), 482.25));
    EXPECT_FALSE(ensureStatisticsCurrent(doc, stats, prompter)) << "nothing changed since";
}

TEST_F(StatisticsTest, RebuildBlanksTheHiddenGridsOfTheViewShown) {
    enterThreeLocations();
    rebuild(StatisticsView::AllMaterials);
    EXPECT_EQ(stats.itemSummary.rowCount(), 24);
    EXPECT_EQ(stats.itemSummary.text(1, DivisionColumn::kCode), "");
    rebuild(StatisticsView::Division);
    EXPECT_EQ(sum(1, SummaryColumn::kName), "");
    EXPECT_GT(prompter.busyCount(), 0);
    EXPECT_EQ(prompter.busyDepth(), 0);
}

}  // namespace
}  // namespace tf

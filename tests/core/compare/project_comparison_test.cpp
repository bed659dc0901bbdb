#include "core/compare/project_comparison.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "cli/sample_project.h"
#include "core/analysis/location_index.h"
#include "core/base/number_text.h"
#include "core/compare/comparison_tables.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/structure/codes.h"
#include "core/structure/default_structure.h"
#include "tests/core/stats/priced_project.h"

namespace tf {
namespace {

constexpr double kCent = 0.005;

ProjectComparison compare(const ProjectDocument& before, const ProjectDocument& after) {
    return compareProjects(std::make_shared<ProjectTally>(tallyProject(before)),
                           std::make_shared<ProjectTally>(tallyProject(after)));
}

void setPrice(ProjectDocument& doc, std::string_view name, std::string_view price) {
    Grid& m = doc.materials;
    for (int r = 1; r < m.rowCount(); ++r) {
        if (m.text(r, MaterialColumn::kName) == name) {
            m.setText(r, MaterialColumn::kPrice, price);
        }
    }
    rebuildCatalogue(doc);
}

void setLabourPrice(ProjectDocument& doc, std::string_view code, const char* price) {
    Structure s = *parseStructure(doc.structure);
    s.items[*findItemRowByCode(s.items, code)].labourPrice = price;
    doc.structure = serializeStructure(s);
}

// A flat before a revision (the three locations of the priced project), and after it:
// 客厅 enlarged from 20 to 25 m² of plaster, 卧室 renamed 主卧 with 10 m² of paint added,
// 厨房's paint removed, 乳胶漆 raised from 18.5 to 20 and the plaster's labour from 12.5 to 13.
class RevisionTest : public ::testing::Test {
  protected:
    RevisionTest() {
        before.enterThreeLocations();
        before.doc.locations = rebuildLocationIndex(before.doc.analysis);
        after.addRow(1, "客厅", "030201", 25, "水泥砂浆", 12.5, "千克", 1001);
        after.addRow(1, "客厅", "030201", 25, "界面剂", 5, "千克", 1002);
        after.addRow(1, "客厅", "030801", 30, "乳胶漆", 9, "千克", 2001);
        after.addRow(2, "主卧", "030201", 15, "水泥砂浆", 7.5, "千克", 1001);
        after.addRow(2, "主卧", "030201", 15, "界面剂", 3, "千克", 1002);
        after.addRow(2, "主卧", "030801", 10, "乳胶漆", 3, "千克", 2001);
        after.addRow(3, "厨房", "030201", 8, "水泥砂浆", 4, "千克", 1001);
        after.addRow(3, "厨房", "030201", 8, "自备材料", 2, "个", 0);
        after.doc.locations = rebuildLocationIndex(after.doc.analysis);
        setPrice(after.doc, "乳胶漆", "20");
        setLabourPrice(after.doc, "030201", "13元/平方米");
        result = compare(before.doc, after.doc);
    }

    const LocationRow* locationRow(std::string_view location, std::string_view code = {},
                                   std::string_view material = {}) const {
        for (const LocationRow& r : result.locations) {
            if (r.location == location && r.code == code && r.material == material) {
                return &r;
            }
        }
        return nullptr;
    }

    test::PricedProject before;
    test::PricedProject after;
    ProjectComparison result;
};

TEST_F(RevisionTest, TotalsAndTheirSplitAreTheHandFigures) {
    // Before: materials 263.425, labour 877.5, machinery 9, management 21.
    // After: materials 271.2, labour 944, machinery 9, management 21.
    const ComparisonSummary& s = result.summary;
    EXPECT_NEAR(s.total.before, 1170.925, 1e-9);
    EXPECT_NEAR(s.total.after, 1245.2, 1e-9);
    EXPECT_NEAR(s.priceEffect, 40.625, 1e-9);    // 12.75 × 1.5 + 43 × 0.5
    EXPECT_NEAR(s.quantityEffect, 33.65, 1e-9);  // 1.25 + 2.4 − 15 + 65 − 20
    EXPECT_NEAR(s.byKind[0].difference(), 7.775, 1e-9);
    EXPECT_NEAR(s.byKind[1].difference(), 66.5, 1e-9);
    EXPECT_NEAR(s.byKind[2].difference(), 0, 1e-9);
    EXPECT_NEAR(s.byKind[3].difference(), 0, 1e-9);
    EXPECT_EQ(s.locations.added, 1);    // 主卧
    EXPECT_EQ(s.locations.removed, 1);  // 卧室
    EXPECT_EQ(s.locations.changed, 2);  // 客厅, 厨房
    EXPECT_EQ(s.items.added, 2);
    EXPECT_EQ(s.items.removed, 2);  // 卧室's plaster, 厨房's paint
    EXPECT_EQ(s.items.changed, 3);  // 客厅's two (quantity, paint price), 厨房's plaster (labour)
    EXPECT_EQ(s.materials.changed, 3);
    ASSERT_EQ(result.structure.size(), 1u);
    EXPECT_EQ(result.structure[0].code, "030201");
    EXPECT_EQ(result.structure[0].fee, CostKind::Labour);
    EXPECT_DOUBLE_EQ(result.structure[0].price.before, 12.5);
    EXPECT_DOUBLE_EQ(result.structure[0].price.after, 13);
}

TEST_F(RevisionTest, EachMaterialSplitsItsCostIntoPriceAndQuantity) {
    ASSERT_EQ(result.materials.size(), 3u);
    const MaterialRow& paint = result.materials[2];
    EXPECT_EQ(paint.name, "乳胶漆");
    EXPECT_EQ(paint.change, Change::Down);  // less paint bought, though it costs more
    EXPECT_DOUBLE_EQ(paint.split.quantity.before, 12.75);
    EXPECT_DOUBLE_EQ(paint.split.quantity.after, 12);
    EXPECT_NEAR(paint.split.cost.before, 235.875, 1e-9);
    EXPECT_NEAR(paint.split.cost.after, 240, 1e-9);
    EXPECT_NEAR(paint.split.priceEffect, 19.125, 1e-9);
    EXPECT_NEAR(paint.split.quantityEffect, -15, 1e-9);
    const MaterialRow& plaster = result.materials[0];
    EXPECT_EQ(plaster.change, Change::Up);
    EXPECT_NEAR(plaster.split.quantity.difference(), 2.5, 1e-9);
    EXPECT_NEAR(plaster.split.priceEffect, 0, 1e-9);
    EXPECT_NEAR(plaster.split.quantityEffect, 1.25, 1e-9);
    // The labour of plaster: 43 → 48 m² at 12.5 → 13.
    const auto labour = std::ranges::find_if(result.costs, [](const CostRow& r) {
        return r.kind == CostKind::Labour && r.code == "030201";
    });
    ASSERT_NE(labour, result.costs.end());
    EXPECT_NEAR(labour->split.cost.difference(), 86.5, 1e-9);
    EXPECT_NEAR(labour->split.priceEffect, 21.5, 1e-9);
    EXPECT_NEAR(labour->split.quantityEffect, 65, 1e-9);
    // No machinery is charged for paint on either side: no line for it.
    EXPECT_EQ(std::ranges::count_if(result.costs,
                                    [](const CostRow& r) {
                                        return r.kind == CostKind::Machinery && r.code == "030801";
                                    }),
              0);
}

TEST_F(RevisionTest, LocationsItemsAndMaterialsCarryTheirChanges) {
    const LocationRow* living = locationRow("客厅");
    ASSERT_TRUE(living);
    EXPECT_NEAR(living->cost.before, 681.85, 1e-9);
    EXPECT_NEAR(living->cost.after, 774, 1e-9);
    EXPECT_EQ(living->change, Change::Up);
    const LocationRow* master = locationRow("主卧");
    ASSERT_TRUE(master);
    EXPECT_EQ(master->change, Change::Added);
    EXPECT_NEAR(master->cost.after, 356.7, 1e-9);
    const LocationRow* bedroom = locationRow("卧室");
    ASSERT_TRUE(bedroom);
    EXPECT_EQ(bedroom->change, Change::Removed);
    EXPECT_NEAR(bedroom->cost.before, 206.95, 1e-9);
    EXPECT_EQ(bedroom, &result.locations[result.locations.size() - 4]) << "removed ones last";
    const LocationRow* kitchenPaint = locationRow("厨房", "030801");
    ASSERT_TRUE(kitchenPaint);
    EXPECT_EQ(kitchenPaint->change, Change::Removed);
    EXPECT_NEAR(kitchenPaint->cost.before, 171.625, 1e-9);
    EXPECT_EQ(locationRow("厨房", "030801", "乳胶漆")->change, Change::Removed);
    const LocationRow* kitchen = locationRow("厨房");
    EXPECT_NEAR(kitchen->cost.before, 282.125, 1e-9);
    EXPECT_NEAR(kitchen->cost.after, 114.5, 1e-9);
    EXPECT_EQ(kitchen->change, Change::Down);
    const LocationRow* plaster = locationRow("客厅", "030201");
    EXPECT_DOUBLE_EQ(plaster->quantity.before, 20);
    EXPECT_DOUBLE_EQ(plaster->quantity.after, 25);
    EXPECT_EQ(plaster->itemName, "一般抹灰");
    const LocationRow* interface = locationRow("客厅", "030201", "界面剂");
    EXPECT_DOUBLE_EQ(interface->quantity.difference(), 1);
    EXPECT_NEAR(interface->cost.difference(), 2.4, 1e-9);
    EXPECT_EQ(interface->unit, "千克");
    EXPECT_EQ(locationRow("厨房", "030201", "自备材料"), nullptr) << "not in the material table";
}

TEST_F(RevisionTest, TablesShowEveryLineOrOnlyTheChangedOnes) {
    int all = 0;
    int changed = 0;
    forEachComparisonRow(result, ComparisonTable::Locations, false,
                         [&](const std::vector<std::string>&, Change) { ++all; });
    std::vector<std::vector<std::string>> shown;
    forEachComparisonRow(result, ComparisonTable::Locations, true,
                         [&](const std::vector<std::string>& cells, Change c) {
                             ++changed;
                             EXPECT_NE(c, Change::Same);
                             shown.push_back(cells);
                         });
    EXPECT_EQ(all, static_cast<int>(result.locations.size()));
    EXPECT_LT(changed, all);  // 客厅's paint line kept its quantity and price
    std::vector<std::string> removedPaint;
    for (const auto& cells : shown) {
        if (cells[0] == "厨房" && cells[3] == "乳胶漆") {
            removedPaint = cells;
        }
    }
    EXPECT_EQ(removedPaint,
              (std::vector<std::string>{"厨房", "030801", "", "乳胶漆", "千克", "3.75", "0",
                                        "-3.75", "69.375", "0", "-69.375", "删除"}));
    const Grid grid = comparisonGrid(result, ComparisonTable::Materials, false);
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.text(3, 1), "乳胶漆");
    EXPECT_EQ(grid.text(3, 11), "19.125");
    EXPECT_EQ(grid.text(3, 13), "减少");
    const SheetSource sheet = comparisonSheet(grid, ComparisonTable::Materials);
    const auto effect = sheet.linked(3, 11);
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->formula, "=D4*(H4-G4)");
    EXPECT_DOUBLE_EQ(effect->value, 19.125);
    EXPECT_EQ(sheet.linked(3, 10)->formula, "=J4-I4");
    EXPECT_FALSE(sheet.linked(3, 3)) << "a figure of its own";
}

// Random revisions of the generated sample: prices changed, quantities changed, locations
// added (a longer sample) — and the properties every comparison must keep.
ProjectDocument revisedSample(int locations, unsigned seed) {
    ProjectDocument doc;
    cli::buildSampleProject(doc, locations);
    std::mt19937 random(seed);
    Grid& m = doc.materials;
    for (int r = 1; r < m.rowCount(); ++r) {
        if (random() % 3 == 0 && !m.text(r, MaterialColumn::kPrice).empty()) {
            m.setText(r, MaterialColumn::kPrice, formatNumber(0.5 + random() % 4000 / 10.0));
        }
    }
    rebuildCatalogue(doc);
    Grid& a = doc.analysis;
    for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
        if (random() % 7 == 0 && !a.text(r, AnalysisColumn::kMaterialQuantity).empty()) {
            a.setText(r, AnalysisColumn::kMaterialQuantity, formatNumber(random() % 997 / 7.0));
        }
    }
    return doc;
}

TEST(ComparisonProperties, HoldOverRandomRevisionsOfTheSample) {
    ProjectDocument a;
    cli::buildSampleProject(a, 40);
    for (const unsigned seed : {1u, 2u, 3u}) {
        const ProjectDocument b = revisedSample(40 + static_cast<int>(seed) * 7, seed);
        SCOPED_TRACE(seed);
        const ProjectComparison same = compare(a, a);
        EXPECT_NEAR(same.summary.total.difference(), 0, 0);
        EXPECT_TRUE(std::ranges::all_of(
            same.locations, [](const LocationRow& r) { return r.change == Change::Same; }));
        EXPECT_TRUE(std::ranges::all_of(same.costs,
                                        [](const CostRow& r) { return r.change == Change::Same; }));
        EXPECT_TRUE(same.structure.empty());

        const ProjectComparison forth = compare(a, b);
        const ProjectComparison back = compare(b, a);
        EXPECT_NEAR(forth.summary.total.difference(), -back.summary.total.difference(), kCent);
        EXPECT_GT(forth.summary.locations.added, 0);
        EXPECT_EQ(forth.summary.locations.added, back.summary.locations.removed);
        EXPECT_EQ(forth.summary.locations.changed, back.summary.locations.changed);
        EXPECT_EQ(forth.summary.items.added, back.summary.items.removed);
        std::map<std::string_view, double> backCost;
        for (const MaterialRow& r : back.materials) {
            backCost[r.name] = r.split.cost.difference();
        }
        ASSERT_EQ(forth.materials.size(), back.materials.size());
        for (const MaterialRow& r : forth.materials) {
            EXPECT_NEAR(r.split.cost.difference(), -backCost[r.name], kCent) << r.name;
        }
        double split = 0;
        for (const CostRow& r : forth.costs) {
            EXPECT_NEAR(r.split.priceEffect + r.split.quantityEffect, r.split.cost.difference(),
                        kCent)
                << r.name;
            split += r.split.cost.difference();
        }
        EXPECT_NEAR(split, forth.summary.total.difference(), kCent);
        EXPECT_NEAR(forth.summary.priceEffect + forth.summary.quantityEffect,
                    forth.summary.total.difference(), kCent);
        double byLocation = 0;
        for (const LocationRow& r : forth.locations) {
            if (r.kind == LocationRowKind::Location) {
                byLocation += r.cost.difference();
            }
        }
        EXPECT_NEAR(byLocation, forth.summary.total.difference(), kCent);
    }
}

}  // namespace
}  // namespace tf

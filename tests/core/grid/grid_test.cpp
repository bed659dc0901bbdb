#include "core/grid/grid.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tf {
namespace {

TEST(Grid, FreshGridHasEmptyCellsAndDefaults) {
    Grid g(3, 2);
    EXPECT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.columnCount(), 2);
    EXPECT_EQ(g.text(1, 1), "");
    EXPECT_EQ(g.cursor(), CellPos{});
    EXPECT_EQ(g.rowHeight(), 20);
    EXPECT_EQ(g.styleCount(), 1u);
}

TEST(Grid, OutOfRangeAccessIsHarmless) {
    Grid g(2, 2);
    g.setText(5, 0, "x");
    g.setText(0, -1, "x");
    g.setBackground({-5, -5, 10, 10}, Rgb{1, 2, 3});  // clamped to the grid
    EXPECT_EQ(g.text(-1, 0), "");
    EXPECT_EQ(g.text(0, 9), "");
    EXPECT_EQ(g.style(1, 1).background, (Rgb{1, 2, 3}));
    g.deleteRows(7);
    g.insertRows(9);
    EXPECT_EQ(g.rowCount(), 2);
}

TEST(Grid, TextFromTheSameRowCanBeWrittenBack) {
    Grid g(1, 3);
    g.setText(0, 0, "部位名称一二三四五六七八九十");
    g.setText(0, 2, g.text(0, 0));
    g.setText(0, 0, g.text(0, 2).substr(3));
    EXPECT_EQ(g.text(0, 2), "部位名称一二三四五六七八九十");
    EXPECT_EQ(g.text(0, 0), "位名称一二三四五六七八九十");
}

TEST(Grid, SetTextsWritesARunOfCellsAndStopsAtTheLastColumn) {
    Grid g(2, 4);
    g.setBold({0, 1, 0, 1}, true);
    g.setText(0, 3, "keep");
    g.setTexts(0, 1, {"a", "", "c", "beyond"});
    EXPECT_EQ(g.text(0, 1), "a");
    EXPECT_EQ(g.text(0, 2), "");
    EXPECT_EQ(g.text(0, 3), "c");
    EXPECT_TRUE(g.style(0, 1).bold);
    const std::string_view own = g.text(0, 3);
    g.setTexts(0, 0, {own, own});  // texts taken from the row itself
    EXPECT_EQ(g.text(0, 0), "c");
    EXPECT_EQ(g.text(0, 1), "c");
    g.setTexts(5, 0, {"x"});
    g.setTexts(0, 9, {"x"});
    EXPECT_EQ(g.text(0, 2), "");
}

TEST(Grid, AWrittenRowTakesAnotherRowsMakeUpAndOutlivesItsGrid) {
    Grid g(5, 3);
    g.setBackground({1, 0, 1, 2}, Rgb{1, 2, 3});
    g.setBold({1, 1, 1, 1}, true);
    g.setTexts(4, 0, {"旧", "旧", "旧"});
    const std::string_view texts[] = {"甲", "乙"};
    g.writeRow(4, 1, texts);
    g.writeRow(2, 1, {});
    EXPECT_EQ(g.text(4, 0), "甲");
    EXPECT_EQ(g.text(4, 1), "乙");
    EXPECT_EQ(g.text(4, 2), "") << "columns past the texts are blank";
    EXPECT_EQ(g.style(4, 2).background, (Rgb{1, 2, 3}));
    EXPECT_TRUE(g.style(4, 1).bold);
    EXPECT_FALSE(g.style(4, 0).bold);
    EXPECT_EQ(g.style(2, 0).background, (Rgb{1, 2, 3})) << "make-up without texts";
    EXPECT_EQ(g.text(1, 0), "") << "the model row stays as it was";
    g.writeRow(9, 1, texts);  // off the grid: nothing
    EXPECT_EQ(g.rowCount(), 5);

    // Written rows share their grid's storage; a copy and later edits keep their own.
    Grid copy = g;
    g = Grid();
    copy.setText(4, 1, "丙");
    EXPECT_EQ(copy.text(4, 0), "甲");
    EXPECT_EQ(copy.text(4, 1), "丙");
}

TEST(Grid, CopiesOfALoadedGridShareItsRowsAndEachChangesOnlyItself) {
    Grid source(4, 3);
    source.setTexts(1, 0, {"1", "水泥", "吨"});
    source.setTexts(2, 0, {"2", "中砂", "立方米"});
    source.setBackground({1, 1, 1, 1}, Rgb{9, 9, 9});  // a style per cell
    Grid loaded;
    ASSERT_TRUE(loaded.load(source.save()));
    Grid copy = loaded;
    Grid assigned;
    assigned = copy;
    EXPECT_EQ(copy.text(1, 1).data(), loaded.text(1, 1).data()) << "one copy of the texts";
    copy.setText(1, 1, "水泥砂浆");
    assigned.deleteRows(1);
    EXPECT_EQ(loaded.text(1, 1), "水泥");
    EXPECT_EQ(copy.text(1, 1), "水泥砂浆");
    EXPECT_EQ(assigned.text(1, 1), "中砂");
    // A style changed in the original stays out of the copies, and theirs out of it.
    const Grid witness = loaded;
    loaded.setBackground({1, 0, 1, 0}, Rgb{1, 2, 3});
    EXPECT_EQ(witness.style(1, 0).background, std::nullopt);
    EXPECT_EQ(witness.style(1, 1).background, (Rgb{9, 9, 9}));
    EXPECT_EQ(loaded.style(1, 0).background, (Rgb{1, 2, 3}));
    assigned.setBackground({1, 2, 1, 2}, Rgb{4, 5, 6});
    EXPECT_EQ(loaded.style(2, 2).background, std::nullopt);
    // The original goes, undone or loaded over: the copies keep their rows.
    loaded.setText(2, 1, "细砂");
    ASSERT_TRUE(loaded.load(Grid(2, 2).save()));
    loaded = Grid();
    EXPECT_EQ(copy.text(2, 1), "中砂");
    EXPECT_EQ(copy.text(1, 2), "吨");
    EXPECT_EQ(assigned.text(1, 2), "立方米");
}

TEST(Grid, InsertingRowsMovesCellsMergesSumsAndCursor) {
    Grid g(6, 3);
    for (int r = 0; r < 6; ++r) {
        g.setText(r, 0, std::to_string(r));
    }
    g.merge({1, 0, 3, 1});
    g.setRangeSum({5, 2, 0, 1, 4});
    g.setCursor(4, 1);
    g.insertRows(2, 2, "合计");

    EXPECT_EQ(g.rowCount(), 8);
    EXPECT_EQ(g.text(2, 0), "合计");
    EXPECT_EQ(g.text(3, 0), "");
    EXPECT_EQ(g.text(4, 0), "2");
    EXPECT_EQ(g.merges(), (std::vector<CellRange>{{1, 0, 5, 1}}));  // straddled: grows
    EXPECT_EQ(g.rangeSums()[0], (RangeSum{7, 2, 0, 1, 6}));
    EXPECT_EQ(g.cursor(), (CellPos{6, 1}));

    g.insertRows(0);  // before everything: shifts
    EXPECT_EQ(g.merges()[0], (CellRange{2, 0, 6, 1}));
}

TEST(Grid, InsertingRowsAmongManyMergesTouchesOnlyThoseReachingThem) {
    // Many short merges, one tall merge far above the insertion point that still reaches it,
    // and merges below: the search for affected merges must not miss the tall one.
    Grid g(400, 3);
    g.merge({10, 2, 210, 2});  // 201 rows tall
    for (int r = 0; r + 1 < 400; r += 2) {
        g.merge({r, 0, r + 1, 0});
    }
    g.insertRows(200, 3);
    EXPECT_EQ(g.mergeAt(10, 2), (CellRange{10, 2, 213, 2})) << "straddled from far above: grows";
    EXPECT_EQ(g.mergeAt(198, 0), (CellRange{198, 0, 199, 0})) << "just above: untouched";
    EXPECT_EQ(g.mergeAt(203, 0), (CellRange{203, 0, 204, 0})) << "below: moved down";
    EXPECT_FALSE(g.mergeAt(200, 0)) << "the new rows are not merged";
    EXPECT_EQ(g.mergeAt(402, 0), (CellRange{401, 0, 402, 0}));
    g.setRowCount(410);  // rows added at the end move nothing
    EXPECT_EQ(g.mergeAt(402, 0), (CellRange{401, 0, 402, 0}));
    EXPECT_EQ(g.merges().size(), 201u);
}

TEST(Grid, DeletingRowsShrinksOrDropsMergesAndSums) {
    Grid g(10, 3);
    g.merge({1, 0, 2, 0});
    g.merge({4, 0, 7, 2});
    g.setRangeSum({9, 1, 0, 3, 6});
    g.setRangeSum({5, 1, 0, 0, 1});
    g.setCursor(9, 0);

    g.deleteRows(2);  // cuts the first merge down to one cell: dropped
    EXPECT_EQ(g.merges(), (std::vector<CellRange>{{3, 0, 6, 2}}));
    EXPECT_EQ(g.rangeSums()[0], (RangeSum{8, 1, 0, 2, 5}));
    EXPECT_EQ(g.cursor(), (CellPos{8, 0}));

    g.deleteRows(4, 2);  // removes the row holding the second sum and the middle of the merge
    EXPECT_EQ(g.merges(), (std::vector<CellRange>{{3, 0, 4, 2}}));
    ASSERT_EQ(g.rangeSums().size(), 1u);
    EXPECT_EQ(g.rangeSums()[0], (RangeSum{6, 1, 0, 2, 3}));

    g.deleteRows(0, 100);
    EXPECT_EQ(g.rowCount(), 0);
    EXPECT_TRUE(g.merges().empty());
    EXPECT_EQ(g.cursor(), CellPos{});
}

TEST(Grid, ColumnsInsertAndDeleteKeepRulesPointingAtTheirColumns) {
    Grid g(3, 4);
    g.setText(1, 3, "d");
    g.setColumnWidth(3, 0);
    g.setProductColumn(2, ProductRule{0, 1});
    g.setRangeSum({2, 3, 3, 0, 1});
    g.merge({0, 1, 0, 2});

    g.insertColumns(1);
    EXPECT_EQ(g.columnCount(), 5);
    EXPECT_EQ(g.text(1, 4), "d");
    EXPECT_EQ(g.column(4).width, 0);
    EXPECT_EQ(g.column(3).product, (ProductRule{0, 2}));
    EXPECT_EQ(g.rangeSums()[0].sourceColumn, 4);
    EXPECT_EQ(g.merges()[0], (CellRange{0, 2, 0, 3}));

    g.deleteColumns(2);  // an operand of the product: the rule goes
    EXPECT_FALSE(g.column(2).product);
    EXPECT_TRUE(g.merges().empty());
    EXPECT_EQ(g.text(1, 3), "d");
}

TEST(Grid, ProductsAndSumsRecalculateOnDemand) {
    Grid g(5, 3);
    g.setFixedRows(1);
    g.setText(0, 2, "合计");
    g.setProductColumn(2, ProductRule{0, 1});
    g.setText(1, 0, "3.6");
    g.setText(1, 1, "2");
    g.setText(2, 0, "0.1");
    g.setText(2, 1, "3");
    g.setText(3, 0, "5");  // the other operand blank: 0
    g.setRangeSum({4, 2, 2, 1, 3});
    g.recalculate();
    EXPECT_EQ(g.text(0, 2), "合计");  // header rows are not computed
    EXPECT_EQ(g.text(1, 2), "7.2");
    EXPECT_EQ(g.text(2, 2), "0.3");
    EXPECT_EQ(g.text(3, 2), "0");
    EXPECT_EQ(g.text(4, 2), "7.5");

    g.setText(1, 1, "10");
    EXPECT_EQ(g.text(1, 2), "7.2");  // only on demand
    g.recalculate();
    EXPECT_EQ(g.text(1, 2), "36");
    EXPECT_EQ(g.text(4, 2), "36.3");
}

TEST(Grid, MergingAbsorbsOverlapsAndSplitRemovesThem) {
    Grid g(10, 10);
    g.merge({0, 0, 1, 1});
    g.merge({5, 5, 6, 6});
    g.merge({1, 1, 2, 2});  // overlaps the first: it goes
    EXPECT_EQ(g.merges(), (std::vector<CellRange>{{1, 1, 2, 2}, {5, 5, 6, 6}}));
    g.merge({3, 3, 3, 3});  // a single cell is no merge
    EXPECT_EQ(g.merges().size(), 2u);
    EXPECT_EQ(g.mergeAt(2, 2), (CellRange{1, 1, 2, 2}));
    EXPECT_FALSE(g.mergeAt(2, 3));
    g.split({6, 6, 6, 6});
    EXPECT_EQ(g.merges().size(), 1u);
}

TEST(Grid, MergeLookUpFindsTallMergesAmongMany) {
    Grid g(2000, 14);
    for (int top = 2; top + 20 < 2000; top += 20) {
        g.merge({top, 0, top + 19, 0});
        g.merge({top, 4, top + 1, 4});
    }
    g.merge({1990, 1, 1999, 3});
    EXPECT_EQ(g.mergeAt(21, 0), (CellRange{2, 0, 21, 0}));
    EXPECT_EQ(g.mergeAt(23, 4), (CellRange{22, 4, 23, 4}));
    EXPECT_FALSE(g.mergeAt(24, 4));
    EXPECT_EQ(g.mergeAt(1999, 2), (CellRange{1990, 1, 1999, 3}));
}

TEST(Grid, StylesAreSharedAndSparse) {
    Grid g(1000, 14);
    for (int r = 2; r < 1000; r += 2) {
        g.setBackground({r, 7, r, 10}, Rgb{0xEF, 0xF4, 0xFE});
    }
    g.setForeground({2, 6, 999, 6}, Rgb{128, 0, 0});
    g.setBold({2, 6, 999, 6}, true);
    g.setAlign({2, 6, 999, 6}, Align::Center);
    Grid saved;
    ASSERT_TRUE(saved.load(g.save()));
    EXPECT_EQ(saved.styleCount(), 3u);  // default, band, number column: no stale styles kept
    EXPECT_EQ(g.style(4, 8).background, (Rgb{0xEF, 0xF4, 0xFE}));
    EXPECT_FALSE(g.style(5, 8).background);
    EXPECT_TRUE(g.style(5, 6).bold);
    EXPECT_EQ(g.style(5, 6).align, Align::Center);

    g.setBackground({0, 0, 999, 13}, std::nullopt);
    g.setForeground({0, 0, 999, 13}, std::nullopt);
    g.setBold({0, 0, 999, 13}, false);
    g.setAlign({0, 0, 999, 13}, std::nullopt);
    for (int r = 0; r < 1000; ++r) {
        ASSERT_EQ(g.styleId(r, 6), 0);
    }
}

TEST(Grid, StyleTableMakesRoomWhenFull) {
    Grid g(2, 2);
    // Every new font size is a new style; the old ones fall out of use and are reclaimed.
    for (int size = 1; size <= 70000; ++size) {
        g.setFont({0, 0, 0, 0}, "宋体", size);
    }
    g.setBold({1, 1, 1, 1}, true);
    EXPECT_EQ(g.style(0, 0).fontSize, 70000);
    EXPECT_TRUE(g.style(1, 1).bold);
    EXPECT_LE(g.styleCount(), StyleTable::kCapacity);
}

TEST(Grid, CursorAndSelectionStayInsideTheGrid) {
    Grid g(5, 5);
    g.setCursor(2, 3);
    g.setSelection({4, 4, 1, 1});
    EXPECT_EQ(g.selection(), (CellRange{1, 1, 4, 4}));
    g.setCursor(9, 0);
    EXPECT_EQ(g.cursor(), CellPos{});
    g.setCursor(4, 4);
    g.setRowCount(3);
    EXPECT_EQ(g.cursor(), CellPos{});
    EXPECT_EQ(g.selection(), (CellRange{1, 1, 2, 4}));
}

TEST(Grid, ClearEmptiesEverything) {
    Grid g(4, 4);
    g.setFixedRows(1);
    g.merge({0, 0, 1, 1});
    g.setBackground({0, 0, 3, 3}, Rgb{1, 1, 1});
    g.clear();
    EXPECT_EQ(g, Grid());
    EXPECT_EQ(g.styleCount(), 1u);
}

}  // namespace
}  // namespace tf

#include "core/base/number_text.h"
#include "core/grid/grid_display.h"

namespace tf {
namespace {

TEST(GridDisplay, NumberColumnsRoundPlainNumbersOnly) {
    Grid g(3, 2);
    g.setFixedRows(1);
    g.setColumnKind(1, ColumnKind::Number, 3);
    g.setText(0, 1, "12.34567");  // headings are never rounded
    g.setText(1, 1, "12.34567");
    g.setText(2, 1, "3.6米");
    EXPECT_EQ(displayText(g, 0, 1), "12.34567");
    EXPECT_EQ(displayText(g, 1, 1), "12.346");
    EXPECT_EQ(displayText(g, 2, 1), "3.6米");
    EXPECT_EQ(g.text(1, 1), "12.34567");
    EXPECT_EQ(effectiveAlign(g, 1, 1), Align::Right);
    EXPECT_EQ(effectiveAlign(g, 1, 0), Align::Left);
    g.setAlign({1, 1, 1, 1}, Align::Center);
    EXPECT_EQ(effectiveAlign(g, 1, 1), Align::Center);
    EXPECT_TRUE(isPlainNumber(" -2.5 "));
    EXPECT_FALSE(isPlainNumber("2.5e3"));
    EXPECT_FALSE(isPlainNumber(""));
}

TEST(Grid, MergesInRowsFindsThoseReachingIntoTheRange) {
    Grid g(100, 3);
    g.merge({0, 0, 1, 2});
    g.merge({10, 0, 40, 0});
    g.merge({30, 1, 31, 1});
    g.merge({50, 1, 51, 2});
    EXPECT_EQ(g.mergesInRows(35, 45), (std::vector<CellRange>{{10, 0, 40, 0}}));
    EXPECT_EQ(g.mergesInRows(31, 50).size(), 3u);
    EXPECT_TRUE(g.mergesInRows(60, 99).empty());
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

TEST(Grid, BandsAlternateByGridRowAndKeepOtherStyling) {
    Grid g(8, 3);
    g.setBold({0, 0, 7, 2}, true);
    g.setBackground({3, 1, 3, 1}, Rgb{255, 181, 220});
    g.setBands({2, 0, 6, 1}, Rgb{1, 2, 3}, std::nullopt);
    EXPECT_EQ(g.style(2, 0).background, (Rgb{1, 2, 3}));
    EXPECT_FALSE(g.style(3, 1).background);  // the band replaces a marker
    EXPECT_EQ(g.style(6, 1).background, (Rgb{1, 2, 3}));
    EXPECT_FALSE(g.style(1, 0).background);
    EXPECT_FALSE(g.style(2, 2).background);
    EXPECT_TRUE(g.style(4, 0).bold);
}

TEST(GridChanges, AViewIsWokenOnceAndTakesWhatChangedSinceItLooked) {
    Grid g(10, 4);
    const auto changes = g.changes();
    int wakes = 0;
    changes->setWake([&] { ++wakes; });

    g.setText(3, 1, "a");
    g.setBackground({6, 0, 7, 3}, Rgb{1, 2, 3});
    g.setText(99, 0, "outside");  // no change, nothing recorded
    EXPECT_EQ(wakes, 1);
    GridChanges::Pending p = changes->take();
    EXPECT_FALSE(p.layout);
    EXPECT_FALSE(p.spans);
    EXPECT_EQ(p.firstRow, 3);
    EXPECT_EQ(p.lastRow, 7);
    EXPECT_FALSE(changes->take().any());

    g.merge({1, 0, 2, 0});
    g.setBands({0, 0, 9, 1}, Rgb{}, std::nullopt);
    EXPECT_EQ(wakes, 2);
    p = changes->take();
    EXPECT_TRUE(p.spans);
    EXPECT_EQ(p.firstRow, 0);
    EXPECT_EQ(p.lastRow, 9);

    // Inserted or removed rows and columns change the shape, so does a new value for the
    // whole grid; widths and fixed parts change the layout.
    for (const auto& change : std::vector<std::function<void()>>{
             [&] { g.insertRows(2); }, [&] { g.deleteRows(0); }, [&] { g.insertColumns(1); },
             [&] { g.setRowCount(30); }, [&] { g = Grid(3, 3); }, [&] { g.clear(); },
             [&] { EXPECT_TRUE(g.load(Grid(2, 2).save())); }}) {
        change();
        EXPECT_TRUE(changes->take().shape);
    }
    for (const auto& change : std::vector<std::function<void()>>{
             [&] { g.setColumnWidth(1, 0); }, [&] { g.setFixedRows(1); },
             [&] { g.setColumnKind(0, ColumnKind::Number, 3); }}) {
        change();
        const GridChanges::Pending restyled = changes->take();
        EXPECT_TRUE(restyled.layout);
        EXPECT_FALSE(restyled.shape);
    }
    EXPECT_EQ(wakes, 12);
    EXPECT_EQ(g.changes(), changes) << "assignment keeps the grid's record";
}

TEST(GridChanges, ACopyIsAnotherGridAndALateViewIsWokenAtOnce) {
    Grid g(4, 4);
    const auto changes = g.changes();
    Grid copy = g;
    copy.setText(1, 1, "copy only");
    EXPECT_FALSE(changes->take().any());
    EXPECT_NE(copy.changes(), changes);

    g.setText(2, 2, "before anyone looks");
    int wakes = 0;
    changes->setWake([&] { ++wakes; });
    EXPECT_EQ(wakes, 1);
    EXPECT_EQ(changes->take().firstRow, 2);
}

}  // namespace
}  // namespace tf

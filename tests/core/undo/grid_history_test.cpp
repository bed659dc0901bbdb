#include "core/undo/grid_history.h"

#include <gtest/gtest.h>

#include "core/print/print_sheet.h"
#include "tests/support/scripted_prompter.h"

namespace tf {
namespace {

TEST(GridHistory, EachCutIsAStepAndANewChangeEndsTheRedos) {
    Grid g(4, 3);
    g.setText(1, 1, "a");
    const Grid start = g;
    GridHistory<> history(g);
    g.setCursor(2, 2);
    history.cut();
    EXPECT_FALSE(history.canUndo()) << "moving the cursor is no step";
    g.insertRows(1, 2);
    g.merge({1, 0, 2, 2});
    history.cut();
    const Grid grown = g;
    g.setText(0, 0, "标题");
    g.setBold({0, 0, 0, 2}, true);
    // The open changes are the first taken back.
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(g, grown);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.text(1, 1), "a");
    EXPECT_TRUE(g.merges().empty());
    EXPECT_FALSE(history.undo());
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(g, grown);
    g.deleteRows(0);
    history.cut();
    EXPECT_FALSE(history.canRedo());
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(g, grown);
    EXPECT_TRUE(history.undo());
    g.setCursor(start.cursor().row, start.cursor().column);
    EXPECT_EQ(g, start);
}

// The print editor's hidden columns go with its steps: 隐藏列 undone shows the column again
// and leaves nothing for 显示所有列 to restore over a width set since.
TEST(GridHistory, HiddenColumnsAreUndoneWithTheSheet) {
    PrintSheet sheet = emptySheet();
    test::ScriptedPrompter quiet;
    GridHistory<std::vector<HiddenColumn>> history(sheet.grid, &sheet.hidden);
    sheet.grid.setColumnWidth(3, 66);
    history.cut();
    sheet.grid.setCursor(1, 3);
    hideSheetColumn(sheet, quiet);
    history.cut();
    ASSERT_EQ(sheet.hidden, (std::vector<HiddenColumn>{{3, 66}}));
    ASSERT_EQ(sheet.grid.column(3).width, 0);
    // 删除列 before it moves the entry along with the column.
    sheet.grid.setCursor(1, 1);
    deleteSheetColumn(sheet);
    history.cut();
    ASSERT_EQ(sheet.hidden, (std::vector<HiddenColumn>{{2, 66}}));

    EXPECT_TRUE(history.undo());
    EXPECT_EQ(sheet.hidden, (std::vector<HiddenColumn>{{3, 66}}));
    EXPECT_TRUE(history.undo());
    EXPECT_TRUE(sheet.hidden.empty());
    EXPECT_EQ(sheet.grid.column(3).width, 66);
    // A width the window lays out is no step: the hidden columns' redo still waits.
    sheet.grid.setColumnWidth(3, 90);
    showAllSheetColumns(sheet);
    EXPECT_EQ(sheet.grid.column(3).width, 90);
    EXPECT_FALSE(history.undo());
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(sheet.hidden, (std::vector<HiddenColumn>{{3, 66}}));  // as the step left it
    EXPECT_EQ(sheet.grid.column(3).width, 0);
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(sheet.hidden, (std::vector<HiddenColumn>{{2, 66}}));
    EXPECT_FALSE(history.redo());
}

}  // namespace
}  // namespace tf

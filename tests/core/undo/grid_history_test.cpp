#include "core/undo/grid_history.h"

#include <gtest/gtest.h>

namespace tf {
namespace {

TEST(GridHistory, EachCutIsAStepAndANewChangeEndsTheRedos) {
    Grid g(4, 3);
    g.setText(1, 1, "a");
    const Grid start = g;
    GridHistory history(g);
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

}  // namespace
}  // namespace tf

#include "core/grid/grid_journal.h"

#include <gtest/gtest.h>

#include <random>

#include "core/grid/grid.h"

namespace tf {
namespace {

// One random change of any kind a grid knows, at random places (some of them off the grid).
void randomChange(Grid& g, std::mt19937& random) {
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    const auto row = [&] { return pick(g.rowCount() + 1) - 1; };
    const auto column = [&] { return pick(g.columnCount()) - 1 + (pick(20) == 0 ? 2 : 0); };
    const auto range = [&] {
        const int top = row();
        const int left = column();
        return CellRange{top, left, top + pick(4), left + pick(2)};
    };
    const auto colour = [&] { return Rgb{static_cast<std::uint8_t>(pick(3) * 60), 200, 10}; };
    const std::string text = pick(5) == 0 ? std::string() : "t" + std::to_string(pick(999));
    switch (pick(24)) {
        case 0:
        case 1:
        case 2:
        case 3:
            g.setText(row(), column(), text);
            break;
        case 4:
            g.setTexts(row(), column(), {text, "2.5", "x"});
            break;
        case 5:
            g.insertRows(row(), pick(3), pick(1) ? "h" : "");
            break;
        case 6:
            g.deleteRows(row(), pick(3));
            break;
        case 7:
        case 8:
            g.merge(range());
            break;
        case 9:
            g.split(range());
            break;
        case 10:
            g.setBackground(range(), colour());
            break;
        case 11:
            g.setBands(range(), colour(), std::nullopt);
            break;
        case 12:
            g.setBold(range(), pick(1) == 1);
            break;
        case 13:
            g.setFont(range(), "宋体", pick(20));
            break;
        case 14:
            g.setColumnWidth(column(), pick(120));
            g.setColumnKind(column(), ColumnKind::Number, pick(4));
            break;
        case 15:
            g.setFixedRows(pick(3));
            g.setFixedColumns(pick(2));
            break;
        case 16:
            g.setRangeSum({row(), column(), column(), row(), row()});
            break;
        case 17:
            g.clearRangeSum(row(), column());
            g.recalculate();
            break;
        case 18:
            g.setProductColumn(column(), ProductRule{column(), column()});
            g.recalculate();
            break;
        case 19: {
            const std::string_view texts[] = {text, "写", "2.5", "x"};
            g.writeRow(row(), row(), {texts, static_cast<std::size_t>(pick(4))});
            break;
        }
        case 20:
            g.setCursor(row(), column());
            g.setSelection(range());
            break;
        case 21:
            if (pick(3) == 0) {
                g.insertColumns(column(), 1 + pick(1));
            } else {
                g.deleteColumns(column(), 1);
            }
            break;
        case 22:
            g.setRowCount(g.rowCount() + pick(6) - 3);
            break;
        default:
            if (pick(8) == 0) {
                g.load(Grid(3, 2).save());
            } else {
                g.setAlign(range(), Align::Right);
            }
            break;
    }
}

// Random steps, undos and redos: after each, the grid saves exactly as the history says.
TEST(GridJournal, RandomStepsUndoneAndRedoneGiveBackEachImage) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        Grid g(8, 5);
        g.setText(1, 1, "a");
        g.merge({2, 0, 4, 1});
        // images[i]: the grid after i steps of the current history.
        std::vector<std::string> images{g.save()};
        std::vector<GridJournal> undo;
        std::vector<GridJournal> redo;
        for (int action = 0; action < 250; ++action) {
            const int roll = std::uniform_int_distribution<int>(0, 9)(random);
            if (roll < 2 && !undo.empty()) {
                GridJournal inverse;
                g.undo(undo.back(), inverse);
                undo.pop_back();
                redo.push_back(std::move(inverse));
            } else if (roll < 3 && !redo.empty()) {
                GridJournal inverse;
                g.undo(redo.back(), inverse);
                redo.pop_back();
                undo.push_back(std::move(inverse));
            } else {
                GridJournal step;
                g.attachJournal(&step);
                const int changes = 1 + std::uniform_int_distribution<int>(0, 4)(random);
                for (int i = 0; i < changes; ++i) {
                    randomChange(g, random);
                }
                g.attachJournal(nullptr);
                undo.push_back(std::move(step));
                redo.clear();
                images.resize(undo.size());
                images.push_back(g.save());
            }
            ASSERT_EQ(g.save(), images[undo.size()]) << "seed " << seed << " action " << action;
        }
        while (!undo.empty()) {
            GridJournal inverse;
            g.undo(undo.back(), inverse);
            undo.pop_back();
            ASSERT_EQ(g.save(), images[undo.size()]) << "seed " << seed;
        }
    }
}

TEST(GridJournal, AStepOnALargeTableKeepsOnlyWhatItChanged) {
    Grid g(100'000, 12);
    for (int r = 0; r < g.rowCount(); ++r) {
        g.setTexts(r, 0, {std::to_string(r), "部位", "030201", "4.2×5.1"});
        if (r % 10 == 0) {
            g.merge({r, 1, r + 9, 1});
        }
    }
    const Rgb tint{230, 240, 250};
    g.setBands({0, 4, g.rowCount() - 1, 7}, tint, std::nullopt);
    const Grid before = g;
    GridJournal step;
    g.attachJournal(&step);
    g.insertRows(500, 7);
    g.setTexts(500, 0, {"新", "新部位"});
    g.merge({500, 1, 506, 1});
    g.deleteRows(2'000, 10);
    g.setBackground({500, 0, 506, 11}, Rgb{1, 2, 3});
    // Seven rows more flip the bands of every row below them: painted again to the end.
    g.setBands({500, 4, g.rowCount() - 1, 7}, tint, std::nullopt);
    g.attachJournal(nullptr);
    // Row 99,003 (odd, plain) moved up by 7 − 10 rows to an even row, and is tinted now.
    ASSERT_EQ(g.text(99'000, 0), "99003");
    ASSERT_EQ(g.style(99'000, 4).background, tint);
    EXPECT_LT(step.bytes(), 16'000u);
    GridJournal redo;
    g.undo(step, redo);
    EXPECT_EQ(g, before);
    EXPECT_TRUE(step.empty());
    EXPECT_LT(redo.bytes(), 16'000u);
}

TEST(GridJournal, ACopyHasNoJournalAndChangesWithoutOneAreNotKept) {
    Grid g(3, 3);
    GridJournal step;
    g.attachJournal(&step);
    Grid copy = g;
    EXPECT_EQ(copy.journal(), nullptr);
    copy.setText(0, 0, "x");
    EXPECT_TRUE(step.empty());
    g = copy;  // assigning keeps the grid's own journal
    EXPECT_EQ(g.journal(), &step);
    g.attachJournal(nullptr);
    g.setText(1, 1, "y");
    EXPECT_TRUE(step.empty());
}

}  // namespace
}  // namespace tf

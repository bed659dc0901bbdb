#include <gtest/gtest.h>

#include <random>

#include "core/base/crc32.h"
#include "core/grid/grid.h"

namespace tf {
namespace {

Grid everythingSet() {
    Grid g(7, 5);
    g.setFixedRows(2);
    g.setFixedColumns(1);
    g.setRowHeight(24);
    g.setGridLineColor(Rgb{10, 20, 30});
    g.setText(0, 0, "序号");
    g.setText(2, 1, "客厅 3.6×2");
    g.setText(3, 4, "hidden but kept");
    g.setText(5, 2, "😀 outside GBK");
    g.setText(6, 3, "plain cell, default style");
    g.setColumnWidth(4, 0);
    g.setColumnWidth(1, 133);
    g.setColumnKind(2, ColumnKind::Number, 3);
    g.setColumnKind(3, ColumnKind::PickList);
    g.setPickList(3, {"地面", "墙面"});
    g.setColumnKind(1, ColumnKind::CheckBox);
    g.setColumnAlign(2, Align::Right);
    g.setProductColumn(4, ProductRule{2, 3});
    g.setRangeSum({5, 2, 2, 2, 4});
    g.merge({0, 0, 1, 0});
    g.merge({2, 1, 4, 2});
    g.setBackground({2, 0, 5, 4}, Rgb{0xEF, 0xF4, 0xFE});
    g.setForeground({3, 2, 3, 2}, Rgb{128, 0, 0});
    g.setFont({4, 0, 4, 4}, "宋体", 12);
    g.setBold({3, 2, 3, 2}, true);
    g.setWrap({2, 1, 2, 3}, true);
    g.setAlign({0, 0, 1, 4}, Align::Center);
    g.setCursor(3, 2);
    g.setSelection({2, 1, 4, 3});
    return g;
}

TEST(GridFormat, SaveThenLoadRestoresEverything) {
    const Grid original = everythingSet();
    Grid loaded;
    ASSERT_TRUE(loaded.load(original.save()));
    EXPECT_EQ(loaded, original);
    EXPECT_EQ(loaded.text(3, 4), "hidden but kept");
    EXPECT_EQ(loaded.column(4).width, 0);
    EXPECT_EQ(loaded.column(3).pickList, (std::vector<std::string>{"地面", "墙面"}));
    EXPECT_EQ(loaded.style(3, 2).foreground, (Rgb{128, 0, 0}));
    EXPECT_EQ(loaded.save(), original.save());
}

TEST(GridFormat, EmptyGridRoundTrips) {
    Grid loaded(3, 3);
    ASSERT_TRUE(loaded.load(Grid().save()));
    EXPECT_EQ(loaded, Grid());
}

TEST(GridFormat, TextsAreStoredAsGbk) {
    Grid g(1, 1);
    g.setText(0, 0, "建筑装饰装修");
    const std::string bytes = g.save();
    EXPECT_NE(bytes.find(std::string("\xBD\xA8", 2)), std::string::npos);
    EXPECT_EQ(bytes.find("建"), std::string::npos);
}

void expectRefused(std::string_view bytes) {
    Grid g = everythingSet();
    EXPECT_FALSE(g.load(bytes));
    EXPECT_EQ(g, everythingSet());
}

TEST(GridFormat, RefusesWhatIsNotASavedGridAndKeepsTheGrid) {
    const std::string good = everythingSet().save();
    expectRefused("");
    expectRefused("TFGRID");
    expectRefused("Brix BOQ 2009 this is not a grid at all");
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        SCOPED_TRACE(cut);
        expectRefused(std::string_view(good).substr(0, cut));
    }
    for (std::size_t at = 0; at < good.size(); at += 7) {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x5A);
        SCOPED_TRACE(at);
        expectRefused(bad);
    }
    expectRefused(good + "x");
}

// Rewrites a field and the checksum, as a hand-made file would.
std::string withCrc(std::string body) {
    body.resize(body.size() - 4);
    const std::uint32_t crc = crc32(body);
    for (int i = 0; i < 4; ++i) {
        body.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    }
    return body;
}

TEST(GridFormat, RefusesAFutureVersionAndAbsurdCounts) {
    std::string future = Grid(1, 1).save();
    future[6] = 2;
    expectRefused(withCrc(future));

    std::string huge = Grid(1, 1).save();
    for (int i = 0; i < 4; ++i) {
        huge[10 + i] = '\x7F';  // rows
    }
    expectRefused(withCrc(huge));

    std::string negative = Grid(1, 1).save();
    negative[14 + 3] = '\xFF';  // columns < 0
    expectRefused(withCrc(negative));
}

TEST(GridFormat, RandomBytesWithAValidChecksumAreRefused) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = "TFGRID";
        bytes += std::string("\x01\0\0\0", 4);
        const int n = static_cast<int>(random() % 200);
        for (int i = 0; i < n; ++i) {
            bytes.push_back(static_cast<char>(random()));
        }
        bytes += "CRC!";
        expectRefused(withCrc(bytes));
    }
}

}  // namespace
}  // namespace tf

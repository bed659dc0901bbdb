#include "core/grid/packed_row.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tf {
namespace {

std::vector<std::string> textsOf(const PackedRow& row) {
    std::vector<std::string> texts;
    for (int c = 0; c < row.slotCount(); ++c) {
        texts.emplace_back(row.text(c));
    }
    return texts;
}

std::vector<StyleId> stylesOf(const PackedRow& row) {
    std::vector<StyleId> styles;
    for (int c = 0; c < row.slotCount(); ++c) {
        styles.push_back(row.style(c));
    }
    return styles;
}

TEST(PackedRow, ASharedStyleSplitsWhenOneSlotChangesAndTextsSurviveEveryRebuild) {
    const StyleId styles[] = {7, 7, 7};
    const std::string_view texts[] = {"客厅", "", "4.2×5.1"};
    RowArena arena;
    PackedRow row = PackedRow::build(3, styles, texts, &arena);
    EXPECT_EQ(stylesOf(row), (std::vector<StyleId>{7, 7, 7}));
    row.setStyle(1, 9);  // the shared style gives way to one per slot
    EXPECT_EQ(stylesOf(row), (std::vector<StyleId>{7, 9, 7}));
    row.setStyle(2, 3);  // now written in place
    EXPECT_EQ(stylesOf(row), (std::vector<StyleId>{7, 9, 3}));
    EXPECT_EQ(textsOf(row), (std::vector<std::string>{"客厅", "", "4.2×5.1"}));
    row.setStyle(5, 4);  // past the end: the row grows with blank slots
    EXPECT_EQ(stylesOf(row), (std::vector<StyleId>{7, 9, 3, 0, 0, 4}));
    row.insertSlots(1, 2);
    row.eraseSlots(0, 1);
    EXPECT_EQ(stylesOf(row), (std::vector<StyleId>{0, 0, 9, 3, 0, 0, 4}));
    EXPECT_EQ(textsOf(row), (std::vector<std::string>{"", "", "", "4.2×5.1", "", "", ""}));
}

TEST(PackedRow, TextsPastSixtyFourKilobytesTogetherAndBackAreReadRight) {
    PackedRow row;
    const std::string long1(40'000, 'a');
    const std::string long2(30'000, 'b');
    row.setText(0, "前");
    row.setText(1, long1);
    row.setText(2, long2);  // 70,003 bytes: offsets no longer fit 16 bits
    EXPECT_EQ(row.textBytes(), 70'003u);
    EXPECT_EQ(row.text(2), long2);
    EXPECT_EQ(row.text(0), "前");
    row.setText(1, "短");  // and fit again
    EXPECT_EQ(textsOf(row), (std::vector<std::string>{"前", "短", long2}));
    row.setText(2, "");
    EXPECT_EQ(row.textBytes(), 6u);
}

TEST(PackedRow, CopiesOfArenaRowsAreTheirOwn) {
    const StyleId styles[] = {1, 2};
    const std::string_view texts[] = {"一", "二"};
    auto arena = std::make_unique<RowArena>();
    PackedRow loaded = PackedRow::build(2, styles, texts, arena.get());
    PackedRow copy = loaded;
    PackedRow moved = std::move(loaded);
    copy.setText(0, "三");
    moved.setText(1, "四");  // leaves the arena for its own bytes
    arena.reset();           // the rows no longer need it
    EXPECT_EQ(textsOf(copy), (std::vector<std::string>{"三", "二"}));
    EXPECT_EQ(textsOf(moved), (std::vector<std::string>{"一", "四"}));
    EXPECT_EQ(stylesOf(moved), (std::vector<StyleId>{1, 2}));
}

TEST(PackedRow, AnArenaGrowsBlockByBlockAndTakesRowsLargerThanAnyBlock) {
    RowArena arena;
    std::vector<PackedRow> rows;
    const StyleId styles[] = {0, 3};
    // 12 MB of rows: past the first blocks and into several of the largest size, with one
    // row of 6 MB among them.
    for (int i = 0; i < 3000; ++i) {
        const std::string text = std::to_string(i) + std::string(4000, 'x');
        const std::string_view texts[] = {text, i == 1500 ? std::string_view("大") : "小"};
        rows.push_back(PackedRow::build(2, styles, texts, &arena));
        if (i == 1500) {
            const std::string huge(6 << 20, 'h');
            const std::string_view hugeTexts[] = {huge, "尾"};
            rows.push_back(PackedRow::build(2, styles, hugeTexts, &arena));
        }
    }
    ASSERT_EQ(rows.size(), 3001u);
    EXPECT_EQ(rows[1501].text(0).size(), std::size_t{6} << 20);
    EXPECT_EQ(rows[1501].text(1), "尾");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int n = static_cast<int>(i <= 1500 ? i : i - 1);
        if (i != 1501) {
            EXPECT_EQ(rows[i].text(0), std::to_string(n) + std::string(4000, 'x')) << i;
            EXPECT_EQ(rows[i].text(1), n == 1500 ? "大" : "小") << i;
            EXPECT_EQ(rows[i].style(1), 3);
        }
    }
}

}  // namespace
}  // namespace tf

#include "core/grid/cell_block.h"

#include <gtest/gtest.h>

#include "core/grid/paste_report.h"
#include "tests/support/scripted_prompter.h"

namespace tf {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(CellBlock, ReadsWhatSpreadsheetsPutOnTheClipboard) {
    // Excel and WPS: CR LF after every row, the last one too; a cell with a line break or a
    // TAB quoted, quotes inside doubled; an empty cell is empty text.
    EXPECT_EQ(parseCellBlock(
                  "030201\t3.6×2.8\t\t水泥砂浆\r\n\"两行\n说明\"\t\"5\"\"门\"\"\"\t\"a\tb\"\r\n")
                  ->rows,
              (Rows{{"030201", "3.6×2.8", "", "水泥砂浆"}, {"两行\n说明", "5\"门\"", "a\tb"}}));
    // LF alone, CR alone, no line end after the last row; a quote that is never closed and
    // one inside a cell are text.
    EXPECT_EQ(parseCellBlock("a\nb\rc\t\"open")->rows, (Rows{{"a"}, {"b"}, {"c", "\"open"}}));
    EXPECT_EQ(parseCellBlock("5\"门\t1")->rows, (Rows{{"5\"门", "1"}}));
    EXPECT_EQ(parseCellBlock("\r\n")->rows, (Rows{{""}}));
    EXPECT_TRUE(parseCellBlock("")->rows.empty());
    EXPECT_TRUE(parseCellBlock("12.5\r\n")->singleCell());
}

TEST(CellBlock, TheClipboardCannotAskForUnboundedWork) {
    // A long cell is cut at 1000 characters, whole characters.
    std::string longCell;
    for (int i = 0; i < 1200; ++i) {
        longCell += "砖";
    }
    const auto cut = parseCellBlock(longCell);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->rows[0][0].size(), 1000 * std::string("砖").size());

    EXPECT_TRUE(parseCellBlock(std::string(kMostBlockRows, '\n')));
    EXPECT_FALSE(parseCellBlock(std::string(kMostBlockRows + 1, '\n')));
    EXPECT_FALSE(parseCellBlock(std::string(kMostBlockCells, '\t')));
}

TEST(CellBlock, CopiesTheShownColumnsAndReadsBackTheSameCells) {
    Grid g(4, 5);
    g.setText(1, 1, "3.6×2.8");
    g.setText(1, 2, "10.08");
    g.setText(1, 3, "working");
    g.setText(2, 1, "两行\n说明");
    g.setText(2, 4, "5\"门\"");
    g.setColumnWidth(3, 0);                               // hidden working column: never copied
    const std::string text = blockText(g, {2, 4, 1, 1});  // selected upwards from the right
    EXPECT_EQ(text, "3.6×2.8\t10.08\t\r\n\"两行\n说明\"\t\t\"5\"\"门\"\"\"\r\n");
    EXPECT_EQ(parseCellBlock(text)->rows,
              (Rows{{"3.6×2.8", "10.08", ""}, {"两行\n说明", "", "5\"门\""}}));
    EXPECT_EQ(pasteColumns(g, 2, 3), (std::vector<int>{2, 4}));
}

TEST(PasteReport, NamesEveryCellInOneMessageAndPassesQuestionsOn) {
    test::ScriptedPrompter user;
    GatheringPrompter gathering(user);
    EXPECT_EQ(gathering.message("不 gathered", "提示:", MessageFlags::kInformation), Answer::Ok);
    EXPECT_EQ(user.messages().size(), 1u) << "tells the user while it does not gather";
    gathering.gather(true);
    gathering.message("第一句\r\n第二句", "提示:", MessageFlags::kInformation);
    gathering.message("又一句", "警告:", MessageFlags::kWarning);
    user.answer(Answer::Yes);
    EXPECT_EQ(gathering.message("要修复吗？", "询问:", MessageFlags::kYesNo), Answer::Yes);
    EXPECT_EQ(user.messages().size(), 2u);
    EXPECT_EQ(gathering.takeTold(), "第一句第二句 又一句");
    EXPECT_EQ(gathering.takeTold(), "");

    PasteReport report;
    report.tell(user);
    EXPECT_EQ(user.messages().size(), 2u) << "nothing to say, no box";
    for (int row = 1; row <= 22; ++row) {
        report.refuse(row, "分项代号", "9999", "：没有这个分项代号");
    }
    report.tell(user);
    ASSERT_EQ(user.messages().size(), 3u);
    const std::string& text = user.messages()[2].text;
    EXPECT_EQ(text.find("第1行“分项代号”的“9999”：没有这个分项代号，未粘贴。"),
              text.find("\r\n") + 2);
    EXPECT_NE(text.find("第20行"), std::string::npos);
    EXPECT_EQ(text.find("第21行"), std::string::npos);
    EXPECT_NE(text.find("……另有2个单元格。"), std::string::npos);
}

}  // namespace
}  // namespace tf

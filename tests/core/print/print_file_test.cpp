#include "core/print/print_file.h"

#include <gtest/gtest.h>

#include "core/base/byte_io.h"
#include "core/base/text_codec.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;

class PrintFileTest : public ::testing::Test {
  protected:
    std::string path(const char* name) { return utf8FromPath(dir / name); }
    bool save(const PrintSheet& sheet, const char* name) {
        prompter.answerFile(path(name));
        return savePrintFileAsked(sheet, prompter);
    }
    bool open(PrintSheet& sheet, const char* name) {
        prompter.answerFile(path(name));
        return openPrintFileAsked(sheet, prompter);
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
};

TEST_F(PrintFileTest, TheBytesFieldByField) {
    PrintSheet sheet = emptySheet();
    sheet.title = "材料清单";
    sheet.fontName = "黑体";
    sheet.fontSize = "24";
    ASSERT_TRUE(save(sheet, "plain.pb"));
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"保存完毕！", "", 64}}));
    const std::string bytes = test::readFile(dir / "plain.pb");
    ASSERT_GT(bytes.size(), 82u);
    EXPECT_EQ(bytes[0], 1) << "one fixed heading row";
    EXPECT_EQ(bytes[1], 0) << "no hidden columns, no entries";
    EXPECT_EQ(bytes.substr(2, 50), toGbk("材料清单") + std::string(42, '\0'));
    EXPECT_EQ(bytes.substr(52, 20), toGbk("黑体") + std::string(16, '\0'));
    EXPECT_EQ(bytes.substr(72, 10), std::string("24") + std::string(8, '\0'));
    EXPECT_EQ(bytes.substr(82), sheet.grid.save());

    // Two hidden columns: 5-byte entries right after the count, the fields after them.
    test::ScriptedPrompter quiet;
    sheet.grid.setColumnWidth(3, 66);
    sheet.grid.setCursor(1, 3);
    hideSheetColumn(sheet, quiet);
    sheet.grid.setColumnWidth(9, 300);
    sheet.grid.setCursor(1, 9);
    hideSheetColumn(sheet, quiet);
    const auto file = serializePrintFile(sheet);
    ASSERT_TRUE(file);
    ByteReader in(file->bytes);
    EXPECT_EQ(in.u8(), 1);
    EXPECT_EQ(in.u8(), 2);
    EXPECT_EQ(in.u8(), 3);
    EXPECT_EQ(in.i32(), 66);
    EXPECT_EQ(in.u8(), 9);
    EXPECT_EQ(in.i32(), 300);
    EXPECT_EQ(in.bytes(4), toGbk("材料"));
}

TEST_F(PrintFileTest, HiddenColumnsComeBackAfterSavingAndLoading) {
    PrintSheet sheet = emptySheet();
    sheet.grid.setColumnWidth(2, 45);
    sheet.grid.setColumnWidth(5, 120);
    for (const int c : {5, 2}) {
        sheet.grid.setCursor(4, c);
        hideSheetColumn(sheet, prompter);
    }
    sheet.grid.setText(4, 2, "界面剂");
    sheet.grid.setBackground({1, 0, 60, 0}, Rgb{200, 200, 200});
    ASSERT_TRUE(save(sheet, "hidden.pb"));

    PrintSheet reopened = emptySheet();  // the editor opened again
    reopened.title = "other";
    ASSERT_TRUE(open(reopened, "hidden.pb"));
    EXPECT_EQ(prompter.messages().back(), (Message{"载入完毕！", "", 64}));
    EXPECT_EQ(reopened.hidden, (std::vector<HiddenColumn>{{5, 120}, {2, 45}}));
    EXPECT_EQ(reopened.title, "");
    EXPECT_EQ(reopened.grid.text(4, 2), "界面剂");
    EXPECT_EQ(reopened.grid.style(7, 0).background, (Rgb{255, 255, 255}));
    EXPECT_EQ(reopened.grid.style(0, 0).background, sheet.grid.style(0, 0).background);
    showAllSheetColumns(reopened);
    EXPECT_EQ(reopened.grid.column(2).width, 45);
    EXPECT_EQ(reopened.grid.column(5).width, 120);
}

TEST_F(PrintFileTest, LongTextsAreCutAtAWholeCharacterAndTold) {
    PrintSheet sheet = emptySheet();
    std::string fifty;
    for (int i = 0; i < 25; ++i) {
        fifty += "表";
    }
    sheet.title = fifty;  // exactly 50 bytes: stored without padding, read back whole
    ASSERT_TRUE(save(sheet, "fifty.pb"));
    EXPECT_EQ(prompter.status(), "");
    PrintSheet back = emptySheet();
    ASSERT_TRUE(open(back, "fifty.pb"));
    EXPECT_EQ(back.title, fifty);

    sheet.title = "a" + fifty;  // 51 bytes: the last 表 would be cut in half
    sheet.fontName = "Noto Sans CJK SC Regular";
    sheet.fontSize = "12345678901";
    ASSERT_TRUE(save(sheet, "long.pb"));
    EXPECT_EQ(prompter.status(), "标题、字体、大小过长，打印文件中只保存了能放下的部分。");
    ASSERT_TRUE(open(back, "long.pb"));
    EXPECT_EQ(back.title, "a" + fifty.substr(0, 24 * 3));
    EXPECT_EQ(back.fontName, "Noto Sans CJK SC Reg");
    EXPECT_EQ(back.fontSize, "1234567890");
}

TEST_F(PrintFileTest, ADamagedFileChangesNothing) {
    PrintSheet sheet = emptySheet();
    sheet.grid.setCursor(2, 4);
    hideSheetColumn(sheet, prompter);
    sheet.title = "报表";
    const std::string good = serializePrintFile(sheet)->bytes;
    ASSERT_TRUE(parsePrintFile(good));

    std::string negative = good;
    negative[6] = '\xFF';  // the width's top byte: -16777216 + 80
    std::string badGrid = good;
    badGrid.resize(90);
    const std::vector<std::string> damaged = {
        "",
        good.substr(0, 1),
        good.substr(0, 50),
        good.substr(0, 81),
        negative,
        badGrid,
        std::string(1, '\0') + '\xFF' + good.substr(2)};  // 255 entries claimed
    PrintSheet open = emptySheet();
    open.title = "mine";
    open.grid.setCursor(3, 6);
    hideSheetColumn(open, prompter);
    const Grid grid = open.grid;
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        EXPECT_FALSE(parsePrintFile(damaged[i])) << i;
        test::writeFile(dir / "bad.pb", damaged[i]);
        prompter.clear();
        EXPECT_FALSE(this->open(open, "bad.pb"));
        EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"载入失败！", "", 16}})) << i;
        EXPECT_EQ(open.title, "mine");
        EXPECT_EQ(open.hidden, (std::vector<HiddenColumn>{{6, 80}}));
        EXPECT_EQ(open.grid, grid);
    }
}

TEST_F(PrintFileTest, UnstorableHiddenColumnsAndUnwritableFilesFailTheSave) {
    PrintSheet sheet = emptySheet();
    sheet.hidden = {{300, 80}};  // from no menu, but a sheet may be made so
    EXPECT_FALSE(serializePrintFile(sheet));
    EXPECT_FALSE(save(sheet, "wide.pb"));
    EXPECT_EQ(prompter.messages().back(), (Message{"保存失败！", "", 16}));
    EXPECT_FALSE(std::filesystem::exists(dir / "wide.pb"));

    sheet.hidden.clear();
    prompter.answerFile(utf8FromPath(dir / "no folder" / "x.pb"));
    EXPECT_FALSE(savePrintFileAsked(sheet, prompter));
    EXPECT_EQ(prompter.messages().back(), (Message{"保存失败！", "", 16}));

    prompter.answerFile(std::nullopt);  // cancelled: nothing said
    prompter.clear();
    EXPECT_FALSE(savePrintFileAsked(sheet, prompter));
    EXPECT_TRUE(prompter.messages().empty());
}

}  // namespace
}  // namespace tf

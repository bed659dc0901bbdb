#include "core/materials/material_text_file.h"

#include <gtest/gtest.h>

#include "core/base/path_text.h"
#include "core/base/text_codec.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/project_io.h"
#include "core/xlsx/workbook_writer.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"
#ifdef TF_WORKBOOKS
#include "tests/support/workbook_parts.h"
#endif

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;
using namespace MaterialColumn;

std::vector<MaterialFields> usableLines(std::string_view bytes) {
    std::vector<MaterialFields> lines;
    for (const PriceLine& line : parsePriceList(bytes).materials) {
        lines.push_back(line.fields);
    }
    return lines;
}

TEST(MaterialText, UsableLinesHaveFiveOrSixFieldsAndACategoryAndName) {
    const std::string text = toGbk(
        "钢材\t圆钢\tΦ12\t吨\t4200\t国标\r\n"
        "钢材\t方钢\t\t吨\t3900\r\n"
        "only\tfour\tfields\there\r\n"
        " \t无类别\t\t米\t1\r\n"
        "a\tb\tc\td\te\tf\tg\r\n"
        "管材\tPVC管\t\t米\t12.5\t");
    const auto lines = usableLines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (MaterialFields{"钢材", "圆钢", "Φ12", "吨", "4200", "国标"}));
    EXPECT_EQ(lines[1][5], "");
    EXPECT_EQ(lines[2][1], "PVC管");
    EXPECT_EQ(parsePriceList(text).skipped,
              (std::vector<SkippedLine>{{3, "只有 4 项，应为用制表符分开的5或6项"},
                                        {4, "类别为空"},
                                        {5, "多于6项，应为用制表符分开的5或6项"}}));
}

TEST(MaterialText, APriceIsEmptyOrThePlainNumberItShows) {
    // What the table would show one way and count another is refused, with the text quoted.
    const std::string text = toGbk(
        "钢材\t圆钢\t\t吨\tabc\r\n"
        "钢材\t方钢\t\t吨\t12,5\r\n"
        "钢材\t扁钢\t\t吨\t1e3\r\n"
        "钢材\t角钢\t\t吨\t面议\r\n"
        "钢材\t槽钢\t\t吨\t-3.5\r\n"
        "钢材\t工字钢\t\t吨\t 12.5 \r\n"
        "钢材\t钢板\t\t吨\t\r\n"
        "钢材\t螺纹钢\t\t吨\t0\r\n"
        "钢材\t盘条\t\t吨\t一二三四五六七八九十一二三四\r\n"
        "钢材\t线材\t\t吨\t1" +
        std::string(309, '0') + "\r\n");
    const PriceList list = parsePriceList(text);
    ASSERT_EQ(list.materials.size(), 3u);
    EXPECT_EQ(list.materials[0].line, 6);
    EXPECT_EQ(list.materials[1].fields[4], "");
    EXPECT_EQ(list.materials[2].line, 8);
    EXPECT_EQ(list.skipped,
              (std::vector<SkippedLine>{{1, "单价不是数字（“abc”）"},
                                        {2, "单价不是数字（“12,5”）"},
                                        {3, "单价不是数字（“1e3”）"},
                                        {4, "单价不是数字（“面议”）"},
                                        {5, "单价为负数（“-3.5”）"},
                                        {9, "单价不是数字（“一二三四五六七八九十一二…”）"},
                                        {10, "单价超出数值范围（“100000000000…”）"}}));
}

TEST(MaterialText, ReadsLfLinesAndUtf8WithAByteOrderMark) {
    const auto lines = usableLines("\xEF\xBB\xBF钢材\t圆钢\t\t吨\t1\n管材\t管\t\t米\t2\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][0], "钢材");
    EXPECT_EQ(lines[1][3], "米");
}

// A list saved as UTF-8 without its mark reads as UTF-8; the same list in GBK as GBK; a
// GBK line that happens to be valid UTF-8 (觥 is D6 A1 in GBK) is still GBK among others.
TEST(MaterialText, TellsUtf8WithoutAMarkFromGbk) {
    const std::string list = "涂料\t内墙乳胶漆\t\t千克\t18\n石材\t大理石板\t20厚\t平方米\t380\n";
    const auto utf8 = usableLines(list);
    ASSERT_EQ(utf8.size(), 2u);
    EXPECT_EQ(utf8[0][1], "内墙乳胶漆");
    EXPECT_EQ(utf8[1][2], "20厚");
    EXPECT_EQ(usableLines(toGbk(list)), utf8);
    const auto few = usableLines(toGbk("觥\t觥\t\t个\t1\n"));
    ASSERT_EQ(few.size(), 1u);
    EXPECT_EQ(few[0][0], "觥") << "too few characters to be taken for UTF-8";
}

class ImportTest : public ::testing::Test {
  protected:
    ImportTest() { resetProject(doc); }
    std::string file(const std::string& utf8) {
        const auto path = dir / "in.txt";
        test::writeFile(path, toGbk(utf8));
        return utf8FromPath(path);
    }
    ProjectDocument doc;
    test::ScriptedPrompter prompter;
    test::TempDir dir;
};

TEST_F(ImportTest, AppendsUsableLinesAndEntersThemInTheCatalogue) {
    EXPECT_TRUE(importMaterialsAppending(doc, file("钢材\t圆钢\t\t吨\t4200\r\n钢材\t方钢\t吨\r\n"),
                                         prompter));
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入完毕！\r\n导入 1 种材料，跳过 1 行：\r\n"
                                     "第 2 行：只有 3 项，应为用制表符分开的5或6项",
                                     "", 64}}));
    EXPECT_EQ(doc.materials.rowCount(), 25);
    EXPECT_EQ(doc.materials.text(24, kName), "圆钢");
    EXPECT_EQ(doc.materials.text(24, kId), "1001");
    EXPECT_EQ(doc.materials.text(24, kNumber), "24");
    EXPECT_EQ(doc.catalogue.byId(1001)->price, 4200);
    EXPECT_EQ(categoryList(doc.materials), "?钢材?");
    EXPECT_TRUE(doc.modified);
}

TEST_F(ImportTest, SkipsMaterialsTheTableHolds) {
    doc.materials.setText(1, kCategory, "钢材");
    doc.materials.setText(1, kName, "Q235圆钢");
    importMaterialsAppending(doc, file(" 钢材\tq235圆钢 \t\t吨\t1\r\n钢材\t方钢\t\t吨\t1\r\n"),
                             prompter);
    EXPECT_EQ(doc.materials.rowCount(), 25);
    EXPECT_EQ(doc.materials.text(24, kName), "方钢");
    EXPECT_EQ(prompter.messages().back().text,
              "文件导入完毕！\r\n导入 1 种材料，跳过 1 行：\r\n"
              "第 1 行：材料表中已有类别、名称相同的材料");
}

TEST_F(ImportTest, EveryLineLeftOutIsNamedWithItsLineAndReason) {
    // 2,000 lines in four categories; a blank line, a blank category, a blank name and two
    // repeats of earlier lines (spaces and Latin case aside) among them.
    std::string list;
    for (int i = 1; i <= 2000; ++i) {
        const std::string category = "类" + std::to_string(i % 4);
        const std::string name = "材料" + std::to_string(i);
        switch (i) {
            case 10:
                list += "\r\n";
                break;
            case 20:
                list += " \t" + name + "\t\t个\t1\r\n";
                break;
            case 30:
                list += category + "\t\t\t个\t1\r\n";
                break;
            case 40:
                list += "类1\t 材料1\t\t个\t2\r\n";
                break;
            case 50:
                list += " 类2 \t材料2\t\t箱\t3\r\n";
                break;
            default:
                list += category + "\t" + name + "\t\t个\t1.5\r\n";
        }
    }
    const auto report = importMaterialsAppending(doc, file(list), prompter);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->added, 1995);
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入完毕！\r\n导入 1995 种材料，跳过 5 行：\r\n"
                                     "第 10 行：空行\r\n"
                                     "第 20 行：类别为空\r\n"
                                     "第 30 行：材料名称为空\r\n"
                                     "第 40 行：与第 1 行的类别、名称相同\r\n"
                                     "第 50 行：与第 2 行的类别、名称相同",
                                     "", 64}}));
    EXPECT_TRUE(report->refusedAny());
    EXPECT_EQ(doc.materials.rowCount(), 24 + 1995);
}

TEST_F(ImportTest, MoreLinesLeftOutThanTheMessageListsCanBeKeptAsAFile) {
    std::string list = "钢材\t圆钢\t\t吨\t4200\r\n";
    for (int i = 0; i < 12; ++i) {
        list += "钢材\t方钢" + std::to_string(i) + "\t\t吨\t面议\r\n";
    }
    const auto kept = dir / "跳过的行.txt";
    prompter.answer(Answer::Yes);
    prompter.answerFile(utf8FromPath(kept));
    ASSERT_TRUE(importMaterialsAppending(doc, file(list), prompter));
    ASSERT_EQ(prompter.messages().size(), 1u);
    const Message& asked = prompter.messages()[0];
    EXPECT_EQ(asked.caption, "询问:");
    EXPECT_EQ(asked.flags, 36);
    EXPECT_TRUE(
        asked.text.starts_with("文件导入完毕！\r\n导入 1 种材料，跳过 12 行：\r\n"
                               "第 2 行：单价不是数字（“面议”）\r\n"));
    EXPECT_TRUE(
        asked.text.ends_with("第 11 行：单价不是数字（“面议”）\r\n……另有 2 行未列出。\r\n"
                             "要把跳过的行全部保存为文本文件吗？"));
    const std::string all = fromGbk(test::readFile(kept));
    EXPECT_TRUE(all.starts_with("第 2 行：单价不是数字（“面议”）\r\n"));
    EXPECT_TRUE(all.ends_with("第 13 行：单价不是数字（“面议”）\r\n"));
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 12);
}

TEST_F(ImportTest, ACategoryTakesNoMoreThan999MaterialsAndOneMessageSaysSo) {
    std::string list;
    for (int i = 1; i <= 1001; ++i) {
        list += "钢材\t钢" + std::to_string(i) + "\t\t吨\t1\r\n";
    }
    list += "管材\t管\t\t米\t2\r\n";
    const auto report = importMaterialsAppending(doc, file(list), prompter);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->added, 1000);
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入完毕！\r\n导入 1000 种材料，跳过 2 行：\r\n"
                                     "第 1000 行：类别“钢材”已有 999 种材料，不能再加\r\n"
                                     "第 1001 行：类别“钢材”已有 999 种材料，不能再加",
                                     "", 64}}));
    // Every material in the table has its id: 1001…1999, and the next category's 2001.
    const Grid& m = doc.materials;
    EXPECT_EQ(m.text(23 + 999, kId), "1999");
    EXPECT_EQ(m.text(23 + 1000, kName), "管");
    EXPECT_EQ(m.text(23 + 1000, kId), "2001");

    // A project saved with rows past the limit (typed in earlier) opens with one message.
    doc.materials.appendRows(2);
    for (const int r : {m.rowCount() - 2, m.rowCount() - 1}) {
        doc.materials.setText(r, kCategory, "钢材");
        doc.materials.setText(r, kName, "多余" + std::to_string(r));
    }
    ASSERT_TRUE(saveProjectAs(doc, utf8FromPath(dir / "满.gdb"), prompter));
    doc.file.reset();
    ProjectDocument opened;
    prompter.clear();
    ASSERT_TRUE(loadProject(opened, utf8FromPath(dir / "满.gdb"), prompter));
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"同一类别的材料不能超过999种！\r\n材料表中有 2 种材料因此没有"
                                     "编号，不能被使用和计价，请把它们移到别的类别。",
                                     "警告:", 48}}));
}

TEST_F(ImportTest, HugeLinesAndHugeFilesCostNoMoreThanTheFile) {
    // A line of a million TABs is skipped whole; the lines around it count and are read.
    const std::string tabs(1 << 20, '\t');
    const auto path = dir / "tabs.txt";
    test::writeFile(path, toGbk("钢材\t圆钢\t\t吨\t1\r\n") + tabs + "\r\n" +
                              toGbk("管材\t管\t\t米\t2\r\n一\t二\t三\t四\t五\t六\t七\r\n"));
    EXPECT_TRUE(importMaterialsAppending(doc, utf8FromPath(path), prompter));
    EXPECT_EQ(doc.materials.rowCount(), 26);
    EXPECT_EQ(doc.materials.text(25, kName), "管");

    // A file far larger than any material list is refused before it is read.
    prompter.clear();
    test::writeFile(path, std::string(20 << 20, '\t'));
    EXPECT_FALSE(importMaterialsAppending(doc, utf8FromPath(path), prompter));
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入失败！\r\n文件过大（超过 16 MB）。", "", 16}}));
    EXPECT_EQ(doc.materials.rowCount(), 26);
}

TEST_F(ImportTest, MissingFileIsReported) {
    EXPECT_FALSE(importMaterialsAppending(doc, utf8FromPath(dir / "none.txt"), prompter));
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入失败！\r\n文件不存在或不能读取。", "", 16}}));
    EXPECT_EQ(doc.materials.rowCount(), 24);
}

#ifdef TF_WORKBOOKS  // the workbook libraries are not in every build
// A price list as a spreadsheet program keeps it: a heading row, shared strings, a number,
// an empty cell, a supplier's column past 说明 (not read); a row without a name is not usable.
std::string inlineCell(const char* text) {
    return std::string("<c t=\"inlineStr\"><is><t>") + text + "</t></is></c>";
}
const std::string kPriceRows =
    "<row>" + inlineCell("类别") + inlineCell("材料名称") + inlineCell("最小规格") +
    inlineCell("单位") + inlineCell("单价") + inlineCell("说明") + "</row>" +
    "<row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c><c r=\"D2\" t=\"s\"><v>2</v></c>"
    "<c r=\"E2\"><v>4200.5</v></c></row>" +
    "<row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c><c r=\"D3\" t=\"s\"><v>2</v></c>"
    "<c r=\"E3\"><v>1</v></c></row>" +  // the same material again
    "<row><c t=\"s\"><v>0</v></c><c r=\"D4\" t=\"s\"><v>2</v></c></row>" +
    "<row>" + inlineCell("管材") + inlineCell("PVC管") + inlineCell("Φ20") + inlineCell("米") +
    "<c><v>12.5</v></c>" + inlineCell("白色") + inlineCell("多余") + "</row>" + "<row>" +
    inlineCell("管材") + inlineCell("钢管") + inlineCell("") + inlineCell("米") +
    "<c><v>3.0000000000000004</v></c>" + inlineCell("镀锌") + "</row>" + "<row>" +
    inlineCell("管材") + inlineCell("铜管") + inlineCell("") + inlineCell("米") +
    "<c><f>E6*2</f></c></row>";  // a formula saved without its result
const std::string kPriceStrings = "<si><t>钢材</t></si><si><t>圆钢</t></si><si><t>吨</t></si>";

TEST_F(ImportTest, AppendsTheUsableRowsOfAWorkbooksFirstSheet) {
    const auto path = dir / "价格.xlsx";
    test::writeFile(path, test::workbookOf(kPriceRows, kPriceStrings));
    EXPECT_TRUE(importMaterialsAppending(doc, utf8FromPath(path), prompter));
    // Rows counted as the sheet counts them, the heading row first.
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入完毕！\r\n导入 3 种材料，跳过 3 行：\r\n"
                                     "第 3 行：与第 2 行的类别、名称相同\r\n"
                                     "第 4 行：材料名称为空\r\n"
                                     "第 7 行：有公式没有保存计算结果（请在Excel中重新计算并保存）",
                                     "", 64}}));
    ASSERT_EQ(doc.materials.rowCount(), 27);
    EXPECT_EQ(materialText(doc.materials), toGbk("钢材\t圆钢\t\t吨\t4200.5\t\r\n"
                                                 "管材\tPVC管\tΦ20\t米\t12.5\t白色\r\n"
                                                 "管材\t钢管\t\t米\t3\t镀锌\r\n"));
    EXPECT_EQ(doc.catalogue.byId(1001)->price, 4200.5);
}

TEST_F(ImportTest, AWorkbookThatCannotBeReadChangesNothing) {
    const std::string good = test::workbookOf(kPriceRows, kPriceStrings);
    const auto path = dir / "价格.xlsx";
    const Grid before = doc.materials;
    // Cut short, a text file named as a workbook, and a zip archive that is no workbook.
    const std::pair<std::string, const char*> cases[] = {
        {good.substr(0, good.size() - 30), "工作簿已损坏或不完整，不能读取。"},
        {toGbk("钢材\t圆钢\t\t吨\t1\r\n"), "文件不是Excel工作簿（.xlsx）。"},
        {test::zipOf({{"xl/other.xml", "<a/>"}}), "工作簿已损坏或不完整，不能读取。"}};
    for (const auto& [bytes, reason] : cases) {
        prompter.clear();
        test::writeFile(path, bytes);
        EXPECT_FALSE(importMaterialsAppending(doc, utf8FromPath(path), prompter));
        EXPECT_EQ(prompter.messages(),
                  (std::vector<Message>{{std::string("文件导入失败！\r\n") + reason, "", 16}}));
        EXPECT_EQ(doc.materials, before);
        EXPECT_FALSE(doc.modified);
    }
    // The content tells a workbook whatever the file is called.
    const auto named = dir / "价格.txt";
    test::writeFile(named, good);
    EXPECT_TRUE(importMaterialsAppending(doc, utf8FromPath(named), prompter));
    EXPECT_EQ(doc.materials.rowCount(), 27);
}

// A prompter whose 取消 is pressed once the work has written its first rows.
class StoppingPrompter : public test::ScriptedPrompter {
  public:
    bool runWithProgress(std::string_view, const std::function<bool(WorkProgress&)>& work,
                         bool) override {
        WorkProgress progress;
        progress.stop = true;
        const bool done = work(progress);
        total = progress.total;
        return done && !progress.stopped();
    }
    std::int64_t total = 0;
};

TEST_F(ImportTest, AStoppedExportWritesNothingAndSaysSo) {
    for (int i = 0; i < 3000; ++i) {
        doc.materials.appendRows(1);
        doc.materials.setText(doc.materials.rowCount() - 1, kName, "材料" + std::to_string(i));
    }
    const auto path = dir / "材料表.xlsx";
    const SheetSource sheet{"材料表", &doc.materials, {}};
    StoppingPrompter stopping;
    EXPECT_FALSE(exportWorkbook(utf8FromPath(path), {&sheet, 1}, stopping));
    // Every row to write, and the packing after them at two thirds of their share.
    EXPECT_EQ(stopping.total, doc.materials.rowCount() + doc.materials.rowCount() * 2 / 3);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(stopping.messages().empty());
    EXPECT_EQ(stopping.status(), "导出已取消");
}

TEST_F(ImportTest, TheMaterialTableExportedAsAWorkbookImportsAgain) {
    importMaterialsAppending(
        doc, file("钢材\t圆钢\tΦ12\t吨\t4200\t国标\r\n管材\tPVC管\t\t米\t12.5\t\r\n"), prompter);
    const auto path = utf8FromPath(dir / "材料表.xlsx");
    const SheetSource sheet{"材料表", &doc.materials, {}};
    ASSERT_TRUE(exportWorkbook(path, {&sheet, 1}, prompter));
    ProjectDocument other;
    resetProject(other);
    EXPECT_TRUE(importMaterialsAppending(other, path, prompter));
    EXPECT_EQ(materialText(other.materials), materialText(doc.materials));
}

#endif

TEST_F(ImportTest, ExportedFileImportsAgainUnchanged) {
    importMaterialsAppending(
        doc, file("钢材\t圆钢\tΦ12\t吨\t4200\t国标\r\n管材\tPVC管\t\t米\t12.5\t\r\n"), prompter);
    doc.materials.setText(24, kNote, "tab\there");
    const std::string exported = materialText(doc.materials);
    EXPECT_EQ(fromGbk(exported),
              "钢材\t圆钢\tΦ12\t吨\t4200\ttab here\r\n管材\tPVC管\t\t米\t12.5\t\r\n");

    ProjectDocument other;
    resetProject(other);
    const auto path = utf8FromPath(dir / "out.txt");
    ASSERT_TRUE(exportMaterials(doc.materials, path, prompter));
    importMaterialsAppending(other, path, prompter);
    EXPECT_EQ(materialText(other.materials), exported);
}

}  // namespace
}  // namespace tf

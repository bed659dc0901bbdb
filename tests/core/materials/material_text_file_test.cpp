#include "core/materials/material_text_file.h"

#include <gtest/gtest.h>

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
    forEachMaterialLine(bytes, [&](const MaterialFields& fields) { lines.push_back(fields); });
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
}

TEST(MaterialText, ReadsLfLinesAndUtf8WithAByteOrderMark) {
    const auto lines = usableLines("\xEF\xBB\xBF钢材\t圆钢\t\t吨\t1\n管材\t管\t\t米\t2\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][0], "钢材");
    EXPECT_EQ(lines[1][3], "米");
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
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"文件导入完毕！", "", 64}}));
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
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"文件导入失败！", "", 16}}));
    EXPECT_EQ(doc.materials.rowCount(), 26);
}

TEST_F(ImportTest, MissingFileIsReported) {
    EXPECT_FALSE(importMaterialsAppending(doc, utf8FromPath(dir / "none.txt"), prompter));
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"文件导入失败！", "", 16}}));
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
    "<c><v>3.0000000000000004</v></c>" + inlineCell("镀锌") + "</row>";
const std::string kPriceStrings = "<si><t>钢材</t></si><si><t>圆钢</t></si><si><t>吨</t></si>";

TEST_F(ImportTest, AppendsTheUsableRowsOfAWorkbooksFirstSheet) {
    const auto path = dir / "价格.xlsx";
    test::writeFile(path, test::workbookOf(kPriceRows, kPriceStrings));
    EXPECT_TRUE(importMaterialsAppending(doc, utf8FromPath(path), prompter));
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"文件导入完毕！", "", 64}}));
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
    for (const std::string& bytes :
         {good.substr(0, good.size() - 30), toGbk("钢材\t圆钢\t\t吨\t1\r\n"),
          test::zipOf({{"xl/other.xml", "<a/>"}})}) {
        prompter.clear();
        test::writeFile(path, bytes);
        EXPECT_FALSE(importMaterialsAppending(doc, utf8FromPath(path), prompter));
        EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"文件导入失败！", "", 16}}));
        EXPECT_EQ(doc.materials, before);
        EXPECT_FALSE(doc.modified);
    }
    // The content tells a workbook whatever the file is called.
    const auto named = dir / "价格.txt";
    test::writeFile(named, good);
    EXPECT_TRUE(importMaterialsAppending(doc, utf8FromPath(named), prompter));
    EXPECT_EQ(doc.materials.rowCount(), 27);
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

#include "core/xlsx/workbook_reader.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include "core/materials/material_layout.h"
#include "core/xlsx/workbook_writer.h"
#include "tests/support/temp_dir.h"
#include "tests/support/workbook_parts.h"

namespace tf {
namespace {

using test::workbookOf;
using Cells = std::vector<std::string>;

// Shared strings with rich runs and a phonetic reading, inline strings, numbers as a
// spreadsheet stores them, truth values, cells without a reference, a row reaching past the
// columns asked for, an empty row and a shared-string index out of range.
const std::string kSharedStrings =
    "<si><t>类别</t></si><si><t>水泥砂浆</t></si>"
    "<si><r><t>中</t></r><r><rPr><b/></rPr><t>砂</t></r><rPh sb=\"0\" "
    "eb=\"1\"><t>ZS</t></rPh></si>";
const std::string kRows =
    "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>材料名称</t>"
    "</is></c></row>"
    "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>1</v></c><c r=\"B2\" t=\"s\"><v>2</v></c>"
    "<c r=\"E2\"><v>1.35E2</v></c><c r=\"F2\" t=\"b\"><v>1</v></c></row>"
    "<row r=\"3\"/>"
    "<row r=\"4\"><c t=\"s\"><v>1</v></c><c t=\"str\"><v>公式</v></c><c><v>0.30000000000000004</v>"
    "</c><c r=\"H4\"><v>7</v></c></row>"
    "<row r=\"5\"><c r=\"A5\" t=\"s\"><v>99</v></c><c r=\"B5\"><v>x</v></c></row>";

TEST(WorkbookReader, ReadsTheFirstSheetsCellsAsTexts) {
    const auto rows = readFirstSheet(workbookOf(kRows, kSharedStrings), 6);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4u);
    EXPECT_EQ((*rows)[0].cells, (Cells{"类别", "材料名称", "", "", "", ""}));
    EXPECT_EQ((*rows)[1].cells, (Cells{"水泥砂浆", "中砂", "", "", "135", "TRUE"}));
    EXPECT_EQ((*rows)[2].cells, (Cells{"水泥砂浆", "公式", "0.3", "", "", ""}));
    EXPECT_EQ((*rows)[3].cells, (Cells{"", "x", "", "", "", ""}));
}

TEST(WorkbookReader, ElementsUnderAnyPrefixAndAWorkbookWithoutPackageLinks) {
    auto parts = test::workbookParts("", "");
    parts.erase(parts.begin());  // no _rels/.rels: the usual place of the workbook
    parts.back().second =
        "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<x:sheetData><x:row><x:c t=\"inlineStr\"><x:is><x:t>钢材</x:t></x:is></x:c></x:row>"
        "</x:sheetData></x:worksheet>";
    const auto rows = readFirstSheet(test::zipOf(parts), 2);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].cells, (Cells{"钢材", ""}));
}

TEST(WorkbookReader, CellsOutsideARowBelongNowhere) {
    const auto rows =
        readFirstSheet(workbookOf("<c><v>1</v></c><row><c><row></row><v>2</v></c></row>"
                                  "<row><c t=\"inlineStr\"><is><t>钢材</t></is></c></row>"),
                       2);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].cells, (Cells{"钢材", ""}));
}

TEST(WorkbookReader, RefusesWhatIsNotAReadableWorkbook) {
    const std::string good = workbookOf(kRows, kSharedStrings);
    EXPECT_FALSE(readFirstSheet("类别\t材料名称\r\n", 6));
    EXPECT_FALSE(readFirstSheet("", 6));
    EXPECT_FALSE(readFirstSheet(test::zipOf({{"readme.txt", "hello"}}), 6));
    // Every cut of the archive.
    for (std::size_t size = 0; size < good.size(); size += 61) {
        EXPECT_FALSE(readFirstSheet(std::string_view(good).substr(0, size), 6)) << size;
    }
    // A damaged byte inside the deflated sheet: the CRC or the inflater catches it.
    std::string damaged = good;
    const auto at = damaged.find("xl/worksheets/sheet1.xml");
    ASSERT_NE(at, std::string::npos);
    damaged[at + 60] = static_cast<char>(damaged[at + 60] ^ 0x55);
    EXPECT_FALSE(readFirstSheet(damaged, 6));

    auto noSheets = test::workbookParts(kRows, "");
    noSheets[1].second =
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<sheets/></workbook>";
    EXPECT_FALSE(readFirstSheet(test::zipOf(noSheets), 6));
    auto malformed = test::workbookParts("<row><c><v>1</v></row>", "");
    EXPECT_FALSE(readFirstSheet(test::zipOf(malformed), 6));
}

TEST(WorkbookReader, RefusesADtdAndMoreUnpackedBytesThanItsLimit) {
    auto laughs = test::workbookParts("", "");
    laughs.back().second =
        "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
        "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><worksheet><sheetData><row><c t=\"inlineStr\">"
        "<is><t>&b;</t></is></c></row></sheetData></worksheet>";
    EXPECT_FALSE(readFirstSheet(test::zipOf(laughs), 6));

    // Two megabytes of blanks deflate to a few kilobytes.
    const std::string padded =
        "<row><c t=\"inlineStr\"><is><t>钢材</t></is></c></row>" + std::string(2u << 20, ' ');
    const std::string bomb = workbookOf(padded);
    EXPECT_LT(bomb.size(), 20'000u);
    EXPECT_FALSE(readFirstSheet(bomb, 6, 1u << 20));
    EXPECT_TRUE(readFirstSheet(bomb, 6, 3u << 20));
    // Texts copied from one long shared string count against the limit as well.
    std::string manyRows;
    for (int i = 0; i < 40; ++i) {
        manyRows += "<row><c t=\"s\"><v>0</v></c></row>";
    }
    const std::string copies =
        workbookOf(manyRows, "<si><t>" + std::string(50'000, 'x') + "</t></si>");
    EXPECT_FALSE(readFirstSheet(copies, 6, 1u << 20));
    EXPECT_TRUE(readFirstSheet(copies, 6, 4u << 20));
}

TEST(WorkbookReader, ReadsAPriceListKeptInSharedStrings) {
    // The library's default mode keeps every text once, in the shared strings.
    test::TempDir dir;
    const std::string path = utf8FromPath(dir / "price.xlsx");
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "价格");
    const char* heading[] = {"类别", "材料名称", "最小规格", "单位", "单价", "说明"};
    for (lxw_col_t c = 0; c < 6; ++c) {
        worksheet_write_string(sheet, 0, c, heading[c], nullptr);
    }
    worksheet_write_string(sheet, 1, 0, "钢材", nullptr);
    worksheet_write_string(sheet, 1, 1, "圆钢", nullptr);
    worksheet_write_string(sheet, 1, 3, "吨", nullptr);
    worksheet_write_number(sheet, 1, 4, 4200.25, nullptr);
    worksheet_write_string(sheet, 2, 0, "钢材", nullptr);
    worksheet_write_string(sheet, 2, 1, "方钢", nullptr);
    worksheet_write_string(sheet, 2, 3, "吨", nullptr);
    worksheet_write_number(sheet, 2, 4, 1e-7, nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    const std::string bytes = test::readFile(path);
    ASSERT_NE(bytes.find("xl/sharedStrings.xml"), std::string::npos);
    const auto rows = readFirstSheet(bytes, 6);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 3u);
    EXPECT_EQ((*rows)[0].cells[5], "说明");
    EXPECT_EQ((*rows)[1].cells, (Cells{"钢材", "圆钢", "", "吨", "4200.25", ""}));
    EXPECT_EQ((*rows)[2].cells, (Cells{"钢材", "方钢", "", "吨", "0.0000001", ""}));
}

TEST(WorkbookReader, ReadsWhatTheWriterWrote) {
    Grid materials;
    initMaterialTable(materials);
    materials.setTexts(1, MaterialColumn::kCategory,
                       {"水泥砂浆", "普通硅酸盐水泥", "P.O 42.5", "吨", "460.125", "袋装"});
    materials.setTexts(2, MaterialColumn::kCategory, {"钢材", "圆钢", "Φ12", "吨", "4200"});
    const SheetSource sheet{"材料表", &materials, {}};
    const auto bytes = workbookBytes({&sheet, 1});
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(looksLikeWorkbook(*bytes));
    const auto rows = readFirstSheet(*bytes, 8);
    ASSERT_TRUE(rows);
    // Every row holds its 序号.
    ASSERT_EQ(rows->size(), static_cast<std::size_t>(materials.rowCount()));
    EXPECT_EQ((*rows)[0].cells[1], "类别");
    EXPECT_EQ((*rows)[1].cells,
              (Cells{"1", "水泥砂浆", "普通硅酸盐水泥", "P.O 42.5", "吨", "460.125", "袋装", ""}));
    EXPECT_EQ((*rows)[2].cells[5], "4200");
}

}  // namespace
}  // namespace tf

#include "core/materials/material_replace.h"

#include <gtest/gtest.h>

#include "core/analysis/location_index.h"
#include "core/base/number_text.h"
#include "core/base/text_codec.h"
#include "core/entry/entry_form.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/materials/material_text_file.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"
#ifdef TF_WORKBOOKS
#include "tests/support/workbook_parts.h"
#endif

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;
using namespace MaterialColumn;
namespace A = AnalysisColumn;

constexpr Rgb kWhite{255, 255, 255};

// Three locations entered through the entry form over four materials:
// 一 (水泥砂浆, PVC管), 二 (石膏粉 only) and 三 (水泥砂浆, 石膏粉).
class ReplaceTest : public ::testing::Test {
  protected:
    ReplaceTest() {
        resetProject(doc);
        const char* rows[][3] = {
            {"砂浆", "水泥砂浆", "千克"}, {"砂浆", "石膏粉", "千克"}, {"管材", "PVC管", "m"}};
        for (int r = 1; r <= 3; ++r) {
            doc.materials.setText(r, kCategory, rows[r - 1][0]);
            doc.materials.setText(r, kName, rows[r - 1][1]);
            doc.materials.setText(r, kUnit, rows[r - 1][2]);
        }
        rebuildCatalogue(doc, prompter);  // 水泥砂浆 1001, 石膏粉 1002, PVC管 2001
    }
    void enterLocations() {
        EntryForm form(doc, prompter);
        form.open();
        const auto enter = [&](const char* name, std::vector<std::int32_t> materials) {
            form.location = name;
            int row = 1;
            for (const std::int32_t id : materials) {
                form.grid().setText(row, EntryColumn::kCode, "030201");
                form.grid().setText(row, EntryColumn::kWorkQuantity, "2");
                form.pickMaterial(row, id);
                form.grid().setText(row, EntryColumn::kMaterialQuantity, "1");
                ++row;
            }
            ASSERT_TRUE(form.confirm());
        };
        enter("一", {1001, 2001});
        enter("二", {1002});
        enter("三", {1001, 1002});
        ASSERT_EQ(doc.locations, (LocationIndex{{2, 3}, {4, 4}, {5, 6}}));
        doc.attachments.records[2] = "files of 一";
        doc.attachments.records[4] = "files of 二";
        doc.attachments.records[5] = "files of 三";
        doc.modified = false;
        prompter.clear();
    }
    std::string file(const std::string& utf8) {
        const auto path = dir / "new.txt";
        test::writeFile(path, toGbk(utf8));
        return utf8FromPath(path);
    }
    std::string cell(int row, int column) const {
        return std::string(doc.analysis.text(row, column));
    }
    std::optional<Rgb> shade(int row, int column) const {
        return doc.analysis.style(row, column).background;
    }

    ProjectDocument doc;
    test::ScriptedPrompter prompter;
    test::TempDir dir;
};

// The new list: a new first category, 水泥砂浆 twice (the first, in 千克, wins), 石膏粉 only in
// bags, PVC管 in other letter case, and lines that are not materials.
constexpr const char* kNewList =
    "涂料\t乳胶漆\t\t千克\t18.5\r\n"
    "砂浆\t水泥砂浆\tM5\t千克\t0.6\t新\r\n"
    "only\tfour\tfields\there\r\n"
    " 砂浆 \t水泥砂浆\t\t吨\t600\r\n"
    "砂浆\t石膏粉\t\t袋\t20\r\n"
    "管材\tpvc管\t\tM\t9\r\n";

TEST_F(ReplaceTest, NewListRelinksRowsAndOkDeletesTheLostOnes) {
    enterLocations();
    const int rowsBefore = doc.analysis.rowCount();
    prompter.answer(Answer::Ok);  // the notice
    prompter.answer(Answer::Ok);  // delete the lost rows
    int shown = 0;
    const auto missing = importMaterialsReplacing(doc, file(kNewList), prompter, [&] {
        ++shown;
        // The marks of an earlier import are gone before the rows are linked again.
        EXPECT_NE(shade(3, A::kMaterialName), kMarkerColour);
    });
    ASSERT_TRUE(missing);

    // The table: file order, first of a category and name wins, ids start again per category.
    const Grid& m = doc.materials;
    ASSERT_EQ(m.rowCount(), 5);
    EXPECT_EQ(m.text(1, kName), "乳胶漆");
    EXPECT_EQ(m.text(1, kId), "1001");
    EXPECT_EQ(m.text(2, kId), "2001");
    EXPECT_EQ(m.text(2, kSpec), "M5");
    EXPECT_EQ(m.text(3, kName), "石膏粉");
    EXPECT_EQ(m.text(3, kId), "2002");
    EXPECT_EQ(m.text(4, kCategory), "管材");
    EXPECT_EQ(m.text(4, kId), "3001");
    EXPECT_EQ(doc.catalogue.byId(2001)->price, 0.6);
    EXPECT_EQ(categoryList(m), "?涂料?砂浆?管材?");

    EXPECT_EQ(shown, 1);
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{
                  {"文件导入完毕！开始梳理分析表材料缺损。", "", 64},
                  {"高亮显示行所示材料已经不存在！\r\n要删除点击确认钮，手动修改点击取消。",
                   "询问:", 49}}));
    EXPECT_EQ(*missing, (std::vector<MissingMaterialRow>{{4, "二", "石膏粉", "千克"},
                                                         {6, "三", "石膏粉", "千克"}}));

    // 二 lost its only row and went with its attachments; 三 moved up and is numbered 2.
    const Grid& a = doc.analysis;
    EXPECT_EQ(a.rowCount(), rowsBefore - 2);
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 3}, {4, 4}}));
    EXPECT_EQ(rebuildLocationIndex(a), doc.locations);
    EXPECT_EQ(cell(2, A::kMaterialId), "2001");
    EXPECT_EQ(cell(3, A::kMaterialName), "PVC管");
    EXPECT_EQ(cell(3, A::kMaterialId), "3001");
    EXPECT_EQ(cell(4, A::kLocation), "三");
    EXPECT_EQ(cell(4, A::kNumber), "2");
    EXPECT_EQ(cell(4, A::kMaterialId), "2001");
    EXPECT_EQ(cell(5, A::kNumber), "3");
    EXPECT_FALSE(a.mergeAt(4, A::kLocation));
    EXPECT_EQ(a.mergeAt(3, A::kLocation), (CellRange{2, A::kLocation, 3, A::kLocation}));
    ASSERT_EQ(doc.attachments.records.size(), static_cast<std::size_t>(a.rowCount()));
    EXPECT_EQ(doc.attachments.records[2], "files of 一");
    EXPECT_EQ(doc.attachments.records[4], "files of 三");
    EXPECT_TRUE(doc.modified);
}

TEST_F(ReplaceTest, CancelKeepsTheLostRowsMarked) {
    enterLocations();
    // A mark left from before is cleared by the import's fresh shading.
    doc.analysis.setBackground({2, A::kMaterialName, 2, A::kMaterialName}, kMarkerColour);
    const Grid before = doc.analysis;
    prompter.answer(Answer::Ok);
    prompter.answer(Answer::Cancel);
    const auto missing = importMaterialsReplacing(doc, file(kNewList), prompter);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->size(), 2u);
    EXPECT_EQ(doc.analysis.rowCount(), before.rowCount());
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 3}, {4, 4}, {5, 6}}));
    for (const int row : {4, 6}) {
        for (int c = A::kMaterialName; c <= A::kMaterialName + 3; ++c) {
            EXPECT_EQ(shade(row, c), kMarkerColour) << row << "," << c;
        }
        EXPECT_NE(shade(row, A::kMaterialName + 4), kMarkerColour);
        // The old id 1002 is 石膏粉 no longer but 水泥砂浆 of the new list: it must go.
        EXPECT_EQ(cell(row, A::kMaterialId), "0");
        EXPECT_EQ(cell(row, A::kMaterialName), "石膏粉");
    }
    for (const int row : {2, 3, 5}) {
        EXPECT_NE(shade(row, A::kMaterialName), kMarkerColour) << row;
    }
    EXPECT_EQ(cell(5, A::kMaterialId), "2001");
}

TEST_F(ReplaceTest, NothingUsableOrNothingReadableChangesNothing) {
    enterLocations();
    const Grid materials = doc.materials;
    const Grid analysis = doc.analysis;
    EXPECT_FALSE(importMaterialsReplacing(
        doc, file("only\tfour\tfields\there\r\n \t无类别\t\t米\t1\r\n"), prompter));
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"未导入任何可用材料！", "信息:", 0}}));

    prompter.clear();
    EXPECT_FALSE(importMaterialsReplacing(doc, utf8FromPath(dir / "none.txt"), prompter));
    EXPECT_FALSE(importMaterialsReplacing(doc, utf8FromPath(dir.path()), prompter));  // a folder
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入失败！", "", 16}, {"文件导入失败！", "", 16}}));
#ifdef TF_WORKBOOKS  // the workbook libraries are not in every build
    prompter.clear();
    const auto truncated = dir / "list.xlsx";
    const std::string workbook = test::workbookOf(
        "<row><c t=\"inlineStr\"><is><t>钢材</t></is></c><c t=\"inlineStr\"><is><t>圆钢</t></is>"
        "</c></row>");
    test::writeFile(truncated, workbook.substr(0, workbook.size() / 2));
    EXPECT_FALSE(importMaterialsReplacing(doc, utf8FromPath(truncated), prompter));
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"文件导入失败！", "", 16}}));
#endif
    EXPECT_EQ(materialText(doc.materials), materialText(materials));
    EXPECT_EQ(doc.materials.rowCount(), materials.rowCount());
    EXPECT_EQ(doc.analysis.rowCount(), analysis.rowCount());
    EXPECT_EQ(doc.catalogue.byId(2001)->name, "PVC管");
    EXPECT_FALSE(doc.modified);
}

TEST_F(ReplaceTest, WithoutLocationsTheImportEndsAfterTheTable) {
    bool shown = false;
    const auto missing = importMaterialsReplacing(
        doc, file("钢材\t圆钢\t\t吨\t4200\r\n钢材\t方钢\t吨\r\n"), prompter, [&] { shown = true; });
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->empty());
    EXPECT_FALSE(shown);
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入完毕！开始梳理分析表材料缺损。", "", 64}}));
    EXPECT_EQ(doc.materials.rowCount(), 2);
    EXPECT_EQ(doc.materials.text(1, kNumber), "1");
    EXPECT_EQ(doc.materials.text(1, kId), "1001");
    EXPECT_EQ(doc.catalogue.byId(1001)->price, 4200);
    EXPECT_FALSE(doc.catalogue.byId(1002));
}

TEST(MaterialSearch, MarksBySubstringOrExactlyAndClearsEarlierMarks) {
    Grid m;
    initMaterialTable(m);
    const char* names[] = {"圆钢", " 钢板 ", "钢", "不锈钢管", "铝板", "Steel钢"};
    m.setRowCount(7);
    for (int r = 1; r <= 6; ++r) {
        m.setText(r, kName, names[r - 1]);
    }
    paintMaterialBands(m);
    m.setBackground({5, kCategory, 5, kNote}, kMarkerColour);  // an old mark
    const auto marked = [&] {
        std::vector<int> rows;
        for (int r = 1; r < m.rowCount(); ++r) {
            if (m.style(r, kCategory).background == kMarkerColour) {
                EXPECT_EQ(m.style(r, kNote).background, kMarkerColour);
                rows.push_back(r);
            }
        }
        return rows;
    };
    EXPECT_EQ(markMaterialMatches(m, " 钢 ", false), 5);
    EXPECT_EQ(marked(), (std::vector<int>{1, 2, 3, 4, 6}));
    EXPECT_NE(m.style(1, kNumber).background, kMarkerColour);

    EXPECT_EQ(markMaterialMatches(m, "钢", true), 1);
    EXPECT_EQ(marked(), (std::vector<int>{3}));
    EXPECT_EQ(markMaterialMatches(m, "钢板", true), 0);  // the cell itself is not trimmed
    EXPECT_EQ(markMaterialMatches(m, "STEEL", false), 1);
    EXPECT_EQ(markMaterialMatches(m, "STEEL钢", true), 0);
    EXPECT_EQ(markMaterialMatches(m, "铜", false), 0);
    EXPECT_EQ(marked(), std::vector<int>{});
    // The bands are back as they were: even rows shaded, odd rows plain.
    EXPECT_EQ(m.style(2, kName).background, kMaterialBand);
    EXPECT_EQ(m.style(5, kName).background.value_or(kWhite), kWhite);
}

}  // namespace
}  // namespace tf

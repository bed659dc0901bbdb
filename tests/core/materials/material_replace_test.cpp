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
#include "core/structure/codes.h"
#include "core/structure/default_structure.h"
#include "core/structure/link_table.h"
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
        rebuildCatalogue(doc);  // 水泥砂浆 1001, 石膏粉 1002, PVC管 2001
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
    ReplaceOptions options;
    options.showAnalysisPage = [&] {
        ++shown;
        // The marks of an earlier import are gone before the rows are linked again.
        EXPECT_NE(shade(3, A::kMaterialName), kMarkerColour);
    };
    const auto outcome = importMaterialsReplacing(doc, file(kNewList), prompter, options);
    ASSERT_TRUE(outcome);

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
                  {"文件导入完毕！开始梳理分析表材料缺损。\r\n导入 4 种材料，跳过 2 行：\r\n"
                   "第 3 行：只有 4 项，应为用制表符分开的5或6项\r\n"
                   "第 4 行：与第 2 行的类别、名称相同",
                   "", 64},
                  {"高亮显示行所示材料已经不存在！\r\n要删除点击确认钮，手动修改点击取消。",
                   "询问:", 49}}));
    EXPECT_EQ(outcome->missingRows, (std::vector<MissingMaterialRow>{{4, "二", "石膏粉", "千克"},
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

TEST_F(ReplaceTest, TheStructuresLinksFollowTheNewListAsTheRowsDo) {
    enterLocations();
    // 一般抹灰's process: 水泥砂浆 and 石膏粉 ticked, PVC管 not.
    Grid process = makeLinkTable();
    const char* links[][4] = {{"1", "水泥砂浆", "千克", "1001"},
                              {"1", "石膏粉", "千克", "1002"},
                              {"0", "PVC管", "m", "2001"}};
    for (int r = 1; r <= 3; ++r) {
        process.setText(r, LinkColumn::kLinked, links[r - 1][0]);
        process.setText(r, LinkColumn::kName, links[r - 1][1]);
        process.setText(r, LinkColumn::kUsage, "0.5");
        process.setText(r, LinkColumn::kUnit, links[r - 1][2]);
        process.setText(r, LinkColumn::kMaterialId, links[r - 1][3]);
    }
    Structure structure = *parseStructure(doc.structure);
    const std::size_t plaster = *findItemRowByCode(structure.items, "030201");
    structure.items[plaster].currentProcess = process.save();
    doc.structure = serializeStructure(structure);

    prompter.answer(Answer::Ok);
    prompter.answer(Answer::Cancel);
    const auto outcome = importMaterialsReplacing(doc, file(kNewList), prompter);
    ASSERT_TRUE(outcome);
    // 石膏粉 is sold in bags only now: its link is gone, named in the question about the rows.
    EXPECT_EQ(outcome->goneLinks,
              (std::vector<GoneLink>{{"030201", "一般抹灰", "石膏粉", "千克"}}));
    EXPECT_EQ(prompter.messages().back().text,
              "高亮显示行所示材料已经不存在！\r\n要删除点击确认钮，手动修改点击取消。\r\n\r\n"
              "分部分项工艺中以下关联的材料也已不存在，已取消关联：\r\n"
              "030201 一般抹灰：石膏粉（千克）");
    Grid relinked;
    ASSERT_TRUE(relinked.load(parseStructure(doc.structure)->items[plaster].currentProcess));
    EXPECT_EQ(relinked.text(1, LinkColumn::kMaterialId), "2001");  // 水泥砂浆 in the new list
    EXPECT_EQ(relinked.text(1, LinkColumn::kLinked), "1");
    EXPECT_EQ(relinked.text(2, LinkColumn::kMaterialId), "");
    EXPECT_EQ(relinked.text(2, LinkColumn::kLinked), "0");
    EXPECT_EQ(relinked.text(3, LinkColumn::kMaterialId), "3001");  // pvc管 in M: case aside
    EXPECT_EQ(relinked.text(3, LinkColumn::kLinked), "0");

    // The next entry with "使用分项工艺。" fills the code and the material still there.
    EntryForm form(doc, prompter);
    form.open();
    form.useProcess = true;
    form.grid().setText(1, EntryColumn::kWorkQuantity, "4");
    const auto& tree = form.workingStructure().tree;
    std::size_t node = 0;
    while (node < tree.size() && tree[node].name != "一般抹灰") {
        ++node;
    }
    form.pickWorkItem(1, node);
    EXPECT_EQ(form.grid().text(1, EntryColumn::kMaterialName), "水泥砂浆");
    EXPECT_EQ(form.grid().text(1, EntryColumn::kMaterialId), "2001");
    EXPECT_EQ(form.grid().text(1, EntryColumn::kMaterialQuantity), "2");
    EXPECT_EQ(form.grid().text(2, EntryColumn::kCode), "");
}

TEST_F(ReplaceTest, DecidedBeforehandTheRowsGoOrStayAndTheUserIsToldWhich) {
    enterLocations();
    ReplaceOptions options;
    options.missingRows = MissingRows::Keep;
    const auto kept = importMaterialsReplacing(doc, file(kNewList), prompter, options);
    ASSERT_TRUE(kept);
    EXPECT_EQ(doc.locations.size(), 3u);
    EXPECT_EQ(prompter.messages().back(),
              (Message{"分析表中有 2 行的材料已经不存在，这些行已保留并标出，请手动修改。",
                       "警告:", 48}));
    options.missingRows = MissingRows::Delete;
    const auto deleted = importMaterialsReplacing(doc, file(kNewList), prompter, options);
    ASSERT_TRUE(deleted);
    EXPECT_EQ(doc.locations.size(), 2u);
    EXPECT_EQ(prompter.messages().back(),
              (Message{"分析表中有 2 行的材料已经不存在，已删除这些行。", "警告:", 48}));
}

TEST_F(ReplaceTest, CancelKeepsTheLostRowsMarked) {
    enterLocations();
    // A mark left from before is cleared by the import's fresh shading.
    doc.analysis.setBackground({2, A::kMaterialName, 2, A::kMaterialName}, kMarkerColour);
    const Grid before = doc.analysis;
    prompter.answer(Answer::Ok);
    prompter.answer(Answer::Cancel);
    const auto outcome = importMaterialsReplacing(doc, file(kNewList), prompter);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->missingRows.size(), 2u);
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
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"未导入任何可用材料！\r\n导入 0 种材料，跳过 2 行：\r\n"
                                     "第 1 行：只有 4 项，应为用制表符分开的5或6项\r\n"
                                     "第 2 行：类别为空",
                                     "信息:", 0}}));

    prompter.clear();
    EXPECT_FALSE(importMaterialsReplacing(doc, utf8FromPath(dir / "none.txt"), prompter));
    EXPECT_FALSE(importMaterialsReplacing(doc, utf8FromPath(dir.path()), prompter));  // a folder
    const Message unreadable{"文件导入失败！\r\n文件不存在或不能读取。", "", 16};
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{unreadable, unreadable}));
#ifdef TF_WORKBOOKS  // the workbook libraries are not in every build
    prompter.clear();
    const auto truncated = dir / "list.xlsx";
    const std::string workbook = test::workbookOf(
        "<row><c t=\"inlineStr\"><is><t>钢材</t></is></c><c t=\"inlineStr\"><is><t>圆钢</t></is>"
        "</c></row>");
    test::writeFile(truncated, workbook.substr(0, workbook.size() / 2));
    EXPECT_FALSE(importMaterialsReplacing(doc, utf8FromPath(truncated), prompter));
    EXPECT_EQ(
        prompter.messages(),
        (std::vector<Message>{{"文件导入失败！\r\n工作簿已损坏或不完整，不能读取。", "", 16}}));
#endif
    EXPECT_EQ(materialText(doc.materials), materialText(materials));
    EXPECT_EQ(doc.materials.rowCount(), materials.rowCount());
    EXPECT_EQ(doc.analysis.rowCount(), analysis.rowCount());
    EXPECT_EQ(doc.catalogue.byId(2001)->name, "PVC管");
    EXPECT_FALSE(doc.modified);
}

TEST_F(ReplaceTest, WithoutLocationsTheImportEndsAfterTheTable) {
    bool shown = false;
    ReplaceOptions options;
    options.showAnalysisPage = [&] { shown = true; };
    const auto outcome = importMaterialsReplacing(
        doc, file("钢材\t圆钢\t\t吨\t4200\r\n钢材\t方钢\t吨\r\n"), prompter, options);
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->missingRows.empty());
    EXPECT_FALSE(shown);
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件导入完毕！开始梳理分析表材料缺损。\r\n导入 1 种材料，"
                                     "跳过 1 行：\r\n第 2 行：只有 3 项，应为用制表符分开的5或6项",
                                     "", 64}}));
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

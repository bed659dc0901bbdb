#include "core/entry/entry_form.h"

#include <gtest/gtest.h>

#include "core/analysis/location_index.h"
#include "core/attach/attachment_store.h"
#include "core/base/number_text.h"
#include "core/base/text_codec.h"
#include "core/entry/entry_sheet.h"
#include "core/grid/cell_block.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "core/structure/item_table.h"
#include "core/structure/link_table.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;
using namespace EntryColumn;
namespace A = AnalysisColumn;

class EntryFormTest : public ::testing::Test {
  protected:
    EntryFormTest() : form(doc, prompter) {
        resetProject(doc);
        const char* names[] = {"水泥砂浆", "界面剂", "石膏粉"};
        for (int r = 1; r <= 3; ++r) {
            doc.materials.setText(r, MaterialColumn::kCategory, "砂浆");
            doc.materials.setText(r, MaterialColumn::kName, names[r - 1]);
            doc.materials.setText(r, MaterialColumn::kUnit, "千克");
        }
        rebuildCatalogue(doc);
        form.open();
    }
    std::size_t node(std::string_view name) {
        const auto& tree = form.workingStructure().tree;
        for (std::size_t i = 0; i < tree.size(); ++i) {
            if (tree[i].name == name) {
                return i;
            }
        }
        return 0;
    }
    void type(int row, int column, const std::string& text) {
        form.grid().setText(row, column, text);
        form.commitEdit(row, column);
    }
    std::string_view cell(int row, int column) { return form.grid().text(row, column); }
    // Gives "一般抹灰" a current process whose links tick the three materials.
    void linkProcess(bool wrongSecondName = false) {
        Grid process = makeLinkTable();
        const char* names[] = {"水泥砂浆", wrongSecondName ? "旧名称" : "界面剂", "石膏粉"};
        const char* usages[] = {"0.5", "0.25", "2"};
        for (int p = 1; p <= 3; ++p) {
            process.setText(p, LinkColumn::kLinked, "1");
            process.setText(p, LinkColumn::kName, names[p - 1]);
            process.setText(p, LinkColumn::kUsage, usages[p - 1]);
            process.setText(p, LinkColumn::kMaterialId, std::to_string(1000 + p));
        }
        Structure s = *parseStructure(doc.structure);
        s.items[node("一般抹灰")].currentProcess = process.save();
        doc.structure = serializeStructure(s);
        form.open();
    }
    // One complete row: code, size, quantity, material.
    void entryRow(int row, const std::string& code, double quantity, std::int32_t material) {
        form.grid().setText(row, kCode, code);
        form.grid().setText(row, kWorkQuantity, formatNumber(quantity));
        form.pickMaterial(row, material);
        form.grid().setText(row, kMaterialQuantity, formatNumber(quantity));
    }

    ProjectDocument doc;
    test::ScriptedPrompter prompter;
    EntryForm form;
};

TEST_F(EntryFormTest, APastedBlockGoesThroughEveryColumnsRulesAndNamesWhatItRefused) {
    form.autoCalculate = true;
    form.useProcess = true;
    const CellBlock block = *parseCellBlock(
        "030201\t3.6x2.8\t\t水泥砂浆\t0.2016\t千克\t东墙\r\n"
        "030999\t2*3\tabc\t木材\t\t吨\r\n"
        "\t0\t\t\t\t\t\t\t多余\r\n");
    const PasteReport report = form.paste({9, kCode}, block);

    // Row 9: the code picked (without its process), 3.6 × 2.8 = 10.08 from the size, the
    // material with its id and unit, the unit copied along passed over.
    EXPECT_EQ(cell(9, kCode), "030201");
    EXPECT_EQ(cell(9, kItemSize), "3.6×2.8");
    EXPECT_DOUBLE_EQ(parseNumber(cell(9, kWorkQuantity)), 10.08);
    EXPECT_EQ(cell(9, kMaterialName), "水泥砂浆");
    EXPECT_EQ(cell(9, kMaterialId), "1001");
    EXPECT_EQ(cell(9, kUnit), "千克");
    EXPECT_EQ(cell(9, kMaterialQuantity), "0.2016");
    EXPECT_EQ(cell(9, kNote), "东墙");
    EXPECT_EQ(cell(10, kItemSize), "2×3");
    EXPECT_DOUBLE_EQ(parseNumber(cell(10, kWorkQuantity)), 6);
    EXPECT_EQ(cell(10, kCode), "");
    EXPECT_EQ(cell(10, kMaterialName), "");
    // The third row was added, numbered on.
    ASSERT_EQ(form.grid().rowCount(), 12);
    EXPECT_EQ(cell(11, kNumber), "11");
    EXPECT_TRUE(form.useProcess) << "the tick stays as the surveyor left it";

    EXPECT_TRUE(prompter.messages().empty()) << "no box per cell";
    EXPECT_EQ(report.lines(), (std::vector<std::string>{
                                  "第10行“分项代号”的“030999”：没有这个分项代号，未粘贴。",
                                  "第10行“工程数量”的“abc”：不是数值，未粘贴。",
                                  "第10行“使用材料名称”的“木材”：材料表中没有这种材料，未粘贴。",
                                  "第10行“材料单位”的“吨”：材料单位随所选材料而定，未粘贴。",
                                  "第11行“分项尺寸”：输入的分项尺寸无法直接计算出结果，或结果为零！"
                                  "建议使用表达式计算器完成后复制到此单元格。",
                                  "第11行的“多余”在表格右边之外，未粘贴。"}));

    // The rows go in on confirmation like typed ones: row 9 is complete.
    form.location = "客厅";
    prompter.answer(Answer::Yes);  // rows 10 and 11 are incomplete: without them
    ASSERT_TRUE(form.confirm());
    EXPECT_EQ(doc.analysis.text(2, A::kItemSize), "3.6×2.8");
    EXPECT_EQ(doc.analysis.text(2, A::kMaterialName), "水泥砂浆");
    EXPECT_EQ(doc.analysis.text(3, A::kLocation), "");
}

TEST(TimesSigns, AStarAndALatinXBetweenTwoNumbersShowAsTheSign) {
    EXPECT_EQ(withTimesSigns("5.4x3.6"), "5.4×3.6");
    EXPECT_EQ(withTimesSigns("(3.3+0.3)*2.8X2"), "(3.3+0.3)×2.8×2");
    EXPECT_EQ(withTimesSigns("2x"), "2x") << "not yet between two numbers";
    EXPECT_EQ(withTimesSigns("x2+sin(30)x"), "x2+sin(30)x");
    EXPECT_EQ(withTimesSigns(".5x.5"), ".5×.5");
    // Brackets are factors too, and spaces around the x do not count.
    EXPECT_EQ(withTimesSigns("(4.5+5.4)x2x2.8-0.9x2.1"), "(4.5+5.4)×2×2.8-0.9×2.1");
    EXPECT_EQ(withTimesSigns("2X(3+1) x (2)"), "2×(3+1) × (2)");
    EXPECT_EQ(withTimesSigns("exp(1)x2"), "exp(1)×2") << "the x of a function stays";
}

TEST_F(EntryFormTest, ASizeThatDoesNotReadWhollyGivesNoQuantity) {
    form.autoCalculate = true;
    // (4.5 + 5.4) × 2 × 2.8 − 0.9 × 2.1 = 55.44 − 1.89
    type(1, kItemSize, "(4.5+5.4)x2x2.8-0.9x2.1");
    EXPECT_DOUBLE_EQ(parseNumber(cell(1, kWorkQuantity)), 53.55);
    // A stray letter used to give the last product alone (1.89): now no quantity and the
    // usual notice.
    type(2, kItemSize, "(4.5+5.4)a2*2.8-0.9*2.1");
    EXPECT_EQ(cell(2, kWorkQuantity), "");
    type(3, kItemSize, "3.6米*2");
    EXPECT_EQ(cell(3, kWorkQuantity), "");
    ASSERT_EQ(prompter.messages().size(), 2u);
    EXPECT_EQ(prompter.messages()[0].caption, "提示:");
}

TEST_F(EntryFormTest, SizeExpressionsGiveTheQuantity) {
    form.autoCalculate = true;
    form.grid().setText(1, kUnitUsage, "0.5");
    type(1, kItemSize, "3.6 * 2");
    EXPECT_EQ(cell(1, kItemSize), "3.6×2");
    EXPECT_EQ(cell(1, kWorkQuantity), "7.2");
    EXPECT_EQ(cell(1, kMaterialQuantity), "3.6");

    type(2, kItemSize, "abc");
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"输入的分项尺寸无法直接计算出结果，或结果为零！\r\n"
                                     "建议使用表达式计算器完成后复制到此单元格。",
                                     "提示:", 64}}));
    EXPECT_EQ(cell(2, kWorkQuantity), "");

    // As surveyors write it: 5.4x3.6 = 19.44, no 提示.
    prompter.clear();
    type(4, kItemSize, "5.4x3.6");
    EXPECT_EQ(cell(4, kItemSize), "5.4×3.6");
    EXPECT_EQ(cell(4, kWorkQuantity), "19.44");
    EXPECT_TRUE(prompter.messages().empty());

    form.autoCalculate = false;
    prompter.clear();
    type(3, kItemSize, "2*3");
    EXPECT_EQ(cell(3, kItemSize), "2×3");
    EXPECT_EQ(cell(3, kWorkQuantity), "");
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(EntryFormTest, QuantityPropagatesOverTheRunOfOneCode) {
    const char* codes[] = {"030201", "030201", "030201", "030202", "030201"};
    for (int r = 1; r <= 5; ++r) {
        form.grid().setText(r, kCode, codes[r - 1]);
        form.grid().setText(r, kWorkQuantity, "1");
    }
    form.grid().setText(1, kUnitUsage, "0.5");
    type(2, kWorkQuantity, "-10");
    EXPECT_EQ(cell(2, kWorkQuantity), "10");
    EXPECT_EQ(cell(1, kWorkQuantity), "10");
    EXPECT_EQ(cell(3, kWorkQuantity), "10");
    EXPECT_EQ(cell(1, kMaterialQuantity), "5");
    EXPECT_EQ(cell(4, kWorkQuantity), "1");
    EXPECT_EQ(cell(5, kWorkQuantity), "1");
    type(4, kMaterialQuantity, "-3");
    EXPECT_EQ(cell(4, kMaterialQuantity), "3");
    // A quantity too large for a number would count as 0: said, and the cell emptied.
    prompter.clear();
    type(2, kWorkQuantity, "1" + std::string(309, '0'));
    EXPECT_EQ(cell(2, kWorkQuantity), "");
    EXPECT_EQ(cell(1, kWorkQuantity), "10") << "the rows of the item keep what they had";
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"数值超出范围，请检查数据！", "警告:", 48}}));
}

TEST_F(EntryFormTest, AnAutoCalculatedQuantityReachesEveryRowOfTheItemAndAllAreWritten) {
    // "使用分项工艺。" fills three rows of 一般抹灰; the size is computed on the first only.
    linkProcess();
    form.useProcess = true;
    form.pickWorkItem(1, node("一般抹灰"));
    form.grid().setText(4, kCode, "030202");  // another item below keeps its own quantity
    form.grid().setText(4, kWorkQuantity, "9");
    form.autoCalculate = true;
    type(1, kItemSize, "(4.2*5.1)*2.8-0.9*2.1");
    // 4.2 × 5.1 × 2.8 − 0.9 × 2.1 = 59.976 − 1.89 = 58.086
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(cell(r, kWorkQuantity), "58.086") << r;
    }
    EXPECT_EQ(cell(1, kMaterialQuantity), "29.043");   // × 0.5
    EXPECT_EQ(cell(2, kMaterialQuantity), "14.5215");  // × 0.25
    EXPECT_EQ(cell(3, kMaterialQuantity), "116.172");  // × 2
    EXPECT_EQ(cell(4, kWorkQuantity), "9");

    form.location = "客厅";
    prompter.answer(Answer::Yes);  // row 4 has no material: it is asked about first
    ASSERT_TRUE(form.confirm());
    EXPECT_EQ(prompter.messages().back().text,
              "第 4 行数据不完整，不会被录入。是否继续录入其余数据？");
    const Grid& a = doc.analysis;
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 4}}));
    EXPECT_EQ(a.text(4, A::kMaterialName), "石膏粉");
    EXPECT_EQ(a.text(4, A::kMaterialQuantity), "116.172");
}

TEST_F(EntryFormTest, IncompleteRowsAreNamedAndNoWritesNothing) {
    form.location = "客厅";
    entryRow(1, "030201", 2, 1001);
    form.grid().setText(2, kCode, "030202");  // a code without a material
    form.pickMaterial(4, 1002);               // a material without a code
    form.grid().setText(5, kNote, "见图");    // only a note
    prompter.answer(Answer::No);
    EXPECT_FALSE(form.confirm());
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{
                  {"第 2, 4, 5 行数据不完整，不会被录入。是否继续录入其余数据？", "询问:", 292}}));
    EXPECT_TRUE(doc.locations.empty());
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(form.location, "客厅");  // nothing typed is lost
    EXPECT_EQ(cell(4, kMaterialName), "界面剂");

    // With no complete row at all nothing is asked: the status bar says why nothing went in.
    form.grid().setText(1, kCode, "");
    prompter.clear();
    EXPECT_FALSE(form.confirm());
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(prompter.status(), "没有完整的数据行，未录入任何数据。");
    EXPECT_TRUE(doc.locations.empty());
}

TEST_F(EntryFormTest, ADivisionWithoutChildrenIsNoWorkItem) {
    form.pickWorkItem(1, node("建筑暖通"));
    form.pickWorkItem(2, node("基层"));
    EXPECT_EQ(cell(1, kCode), "");
    EXPECT_EQ(cell(2, kCode), "");
    form.pickWorkItem(3, node("炉渣垫层"));
    EXPECT_EQ(cell(3, kCode), "030101-6");
}

TEST_F(EntryFormTest, CaptionsFollowTheMode) {
    EXPECT_EQ(form.caption(), "数据录入");
    EXPECT_EQ(form.heading(), " 数据录入 (同一分项下，工程数量必须一致)");
    EXPECT_EQ(form.confirmCaption(), "确认录入(&O)");
    form.location = "客厅";
    entryRow(1, "030201", 2, 1001);
    ASSERT_TRUE(form.confirm());
    form.beginModify(0);
    EXPECT_EQ(form.caption(), "数据修改");
    EXPECT_EQ(form.heading(), " 数据修改 (同一分项下，工程数量必须一致)");
    EXPECT_EQ(form.confirmCaption(), "确认修改(&M)");
    form.clear();
    EXPECT_EQ(form.caption(), "数据录入");
}

TEST_F(EntryFormTest, UnitUsageIsSetOnlyToANonZeroValue) {
    prompter.answerInput(std::nullopt);
    form.setUnitUsage(2);  // none yet: shown and preset as 0
    EXPECT_EQ(prompter.questions().back(),
              (test::ScriptedPrompter::Question{
                  "第 2 行的材料单位用量：0\r\n\r\n单位用量为零时，不参与自动运算！",
                  "设置单位用量", "0"}));
    form.grid().setText(1, kWorkQuantity, "4");
    form.grid().setText(1, kUnitUsage, "0.5");
    prompter.answerInput("0");
    form.setUnitUsage(1);
    EXPECT_EQ(cell(1, kUnitUsage), "0.5");
    prompter.answerInput("-2");
    form.setUnitUsage(1);
    EXPECT_EQ(cell(1, kUnitUsage), "2");
    EXPECT_EQ(cell(1, kMaterialQuantity), "8");
    form.showUnitUsage(1);
    EXPECT_EQ(prompter.messages().back(), (Message{"第 1 行单位用量：2", "", 64}));
    form.showUnitUsage(2);  // a row without one says so, as its input box does
    EXPECT_EQ(prompter.messages().back(), (Message{"第 2 行单位用量：0", "", 64}));
}

TEST_F(EntryFormTest, AProcessWithThreeLinksFillsThreeRows) {
    linkProcess();
    form.grid().setText(1, kWorkQuantity, "4");
    form.useProcess = true;
    form.pickWorkItem(1, node("一般抹灰"));
    EXPECT_TRUE(form.useProcess) << "kept for the next pick";
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"注意：同一分项下 ［工程数量］ 相等！", "信息:", 64}}));
    EXPECT_EQ(form.grid().rowCount(), 13);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(cell(r, kCode), "030201");
        EXPECT_EQ(cell(r, kNumber), std::to_string(r));
    }
    EXPECT_EQ(cell(2, kMaterialName), "界面剂");
    EXPECT_EQ(cell(3, kUnit), "千克");
    EXPECT_EQ(cell(3, kMaterialId), "1003");
    // Every row of the item takes the quantity it had: 4 × 0.5, 4 × 0.25, 4 × 2.
    EXPECT_EQ(cell(1, kMaterialQuantity), "2");
    EXPECT_EQ(cell(2, kWorkQuantity), "4");
    EXPECT_EQ(cell(2, kMaterialQuantity), "1");
    EXPECT_EQ(cell(3, kWorkQuantity), "4");
    EXPECT_EQ(cell(3, kMaterialQuantity), "8");
}

TEST_F(EntryFormTest, ASizeTypedBeforeTheItemIsPickedFillsEveryRowOfItsProcess) {
    linkProcess();
    form.autoCalculate = true;
    type(1, kItemSize, "(3.3+0.3)*2");  // 7.2
    form.useProcess = true;
    form.pickWorkItem(1, node("一般抹灰"));
    const char* materials[] = {"3.6", "1.8", "14.4"};  // 7.2 × 0.5, 7.2 × 0.25, 7.2 × 2
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(cell(r, kCode), "030201");
        EXPECT_EQ(cell(r, kWorkQuantity), "7.2") << r;
        EXPECT_EQ(cell(r, kMaterialQuantity), materials[r - 1]) << r;
    }
    // Typed again afterwards, the size still reaches all three.
    type(1, kItemSize, "2*5");
    EXPECT_EQ(cell(3, kWorkQuantity), "10");
    EXPECT_EQ(cell(3, kMaterialQuantity), "20");
}

TEST_F(EntryFormTest, ALinkWhoseNameChangedLosesItsTick) {
    linkProcess(true);
    form.useProcess = true;
    form.pickWorkItem(1, node("一般抹灰"));
    EXPECT_EQ(cell(2, kMaterialName), "石膏粉");
    Grid stored;
    ASSERT_TRUE(stored.load(parseStructure(doc.structure)->items[node("一般抹灰")].currentProcess));
    EXPECT_EQ(stored.text(2, LinkColumn::kLinked), "0");
    EXPECT_EQ(stored.text(1, LinkColumn::kLinked), "1");
}

TEST_F(EntryFormTest, ConfirmationsWriteLocationsOneAfterTheOther) {
    form.location = " ";
    EXPECT_FALSE(form.confirm());
    EXPECT_EQ(prompter.messages().back(), (Message{"部位名称不能为空！", "", 64}));

    form.location = "客厅";
    form.structureSize = withTimesSigns("3.6*4.2");
    entryRow(1, "030202", 2, 1001);
    entryRow(2, "030201", 3, 1002);
    form.pickMaterial(3, 1003);  // a material without a code: not written
    form.grid().setText(3, kWorkQuantity, "1");
    form.grid().setText(3, kMaterialQuantity, "1");
    prompter.answer(Answer::Yes);
    int shown = 0;
    ASSERT_TRUE(form.confirm([&] { ++shown; }));
    EXPECT_EQ(shown, 1);
    const Grid& a = doc.analysis;
    EXPECT_EQ(a.text(2, A::kItemCode), "030201");  // code order
    EXPECT_EQ(a.text(3, A::kItemCode), "030202");
    EXPECT_EQ(a.text(2, A::kNumber), "1");
    EXPECT_EQ(a.text(3, A::kNumber), "1");
    EXPECT_EQ(a.text(4, A::kNumber), "2");
    EXPECT_EQ(a.text(2, A::kStructureSize), "3.6×4.2");
    EXPECT_EQ(a.text(2, A::kMaterialId), "1002");
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 3}}));
    EXPECT_EQ(a.mergeAt(3, A::kLocation), (CellRange{2, A::kLocation, 3, A::kLocation}));
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(form.location, "");  // cleared for the next location

    form.location = "卧室";
    entryRow(1, "030201", 5, 1001);
    ASSERT_TRUE(form.confirm());
    EXPECT_EQ(a.text(4, A::kLocation), "卧室");
    EXPECT_EQ(a.text(4, A::kNumber), "2");
    EXPECT_EQ(a.text(5, A::kNumber), "3");
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 3}, {4, 4}}));
}

TEST_F(EntryFormTest, ModifyGrowsAndShrinksABlockInTheMiddle) {
    for (const char* name : {"一", "二", "三"}) {
        form.location = name;
        entryRow(1, "030201", 1, 1001);
        entryRow(2, "030201", 1, 1002);
        ASSERT_TRUE(form.confirm());
    }
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 3}, {4, 5}, {6, 7}}));

    form.beginModify(1);
    EXPECT_EQ(form.location, "二");
    EXPECT_EQ(form.grid().text(2, kMaterialId), "1002");
    entryRow(3, "030202", 7, 1003);
    entryRow(4, "030202", 7, 1001);
    ASSERT_TRUE(form.confirm());
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 3}, {4, 7}, {8, 9}}));
    const Grid& a = doc.analysis;
    EXPECT_EQ(a.text(8, A::kLocation), "三");
    EXPECT_EQ(a.text(8, A::kNumber), "3");
    EXPECT_EQ(a.mergeAt(9, A::kLocation), (CellRange{8, A::kLocation, 9, A::kLocation}));
    EXPECT_EQ(a.mergeAt(7, A::kItemCode), (CellRange{6, A::kItemCode, 7, A::kItemCode}));
    EXPECT_EQ(rebuildLocationIndex(a), doc.locations);
    EXPECT_EQ(doc.attachments.records.size(), static_cast<std::size_t>(a.rowCount()));

    form.beginModify(1);
    form.grid().setText(2, kCode, "");
    form.grid().setText(3, kCode, "");
    form.grid().setText(4, kCode, "");
    prompter.answer(Answer::Yes);
    ASSERT_TRUE(form.confirm());
    EXPECT_EQ(prompter.messages().back().text,
              "第 2, 3, 4 行数据不完整，不会被录入。是否继续录入其余数据？");
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 3}, {4, 4}, {5, 6}}));
    EXPECT_EQ(a.text(5, A::kLocation), "三");
    EXPECT_EQ(a.text(7, A::kNumber), "4");
    EXPECT_FALSE(a.mergeAt(4, A::kLocation));
    EXPECT_EQ(doc.attachments.records.size(), static_cast<std::size_t>(a.rowCount()));
    EXPECT_EQ(a.mergeAt(6, A::kLocation), (CellRange{5, A::kLocation, 6, A::kLocation}));
    EXPECT_EQ(rebuildLocationIndex(a), doc.locations);
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

TEST_F(EntryFormTest, DeletingALocationMovesAndRenumbersTheOthers) {
    for (const char* name : {"一", "二", "三"}) {
        form.location = name;
        entryRow(1, "030201", 1, 1001);
        entryRow(2, "030202", 1, 1002);
        ASSERT_TRUE(form.confirm());
    }
    const int rows = doc.analysis.rowCount();
    deleteLocation(doc.locations, doc.analysis, doc.attachments, 0);
    EXPECT_EQ(doc.analysis.rowCount(), rows - 2);
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 3}, {4, 5}}));
    EXPECT_EQ(doc.analysis.text(2, A::kLocation), "二");
    EXPECT_EQ(doc.analysis.text(2, A::kNumber), "1");
    EXPECT_EQ(doc.analysis.text(5, A::kNumber), "2");
    EXPECT_EQ(doc.analysis.text(6, A::kNumber), "3");
    EXPECT_EQ(doc.analysis.mergeAt(5, A::kLocation), (CellRange{4, A::kLocation, 5, A::kLocation}));
    EXPECT_EQ(rebuildLocationIndex(doc.analysis), doc.locations);
    EXPECT_EQ(locationOfRow(doc.locations, 5), 1);
    EXPECT_FALSE(locationOfRow(doc.locations, 6));
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

// Three locations with attachments: their blocks stay with them, byte for byte, through
// save, load, deleting the middle location and modifying the first.
TEST_F(EntryFormTest, InsertedLocationsGoBeforeTheCurrentOneInOrderAndTheOthersNumberOn) {
    // 部位1 (1 row), 部位2 (2 rows, with attachments), 部位3 (1 row).
    const char* names[] = {"部位1", "部位2", "部位3"};
    for (int k = 0; k < 3; ++k) {
        form.location = names[k];
        entryRow(1, "030201", 1, 1001);
        if (k == 1) {
            entryRow(2, "030202", 2, 1002);
            form.attachments = "部位2的资料";
        }
        ASSERT_TRUE(form.confirm());
    }
    ASSERT_EQ(doc.locations, (LocationIndex{{2, 2}, {3, 4}, {5, 5}}));
    const int tableRows = doc.analysis.rowCount();

    form.beginInsert(1);
    EXPECT_EQ(form.caption(), "插入部位");
    EXPECT_EQ(form.confirmCaption(), "确认插入(&O)");
    EXPECT_EQ(form.heading(), " 插入部位：在第 2 个部位“部位2”之前 (同一分项下，工程数量必须一致)");
    form.location = "新甲";
    entryRow(1, "030201", 4, 1003);
    entryRow(2, "030202", 4, 1001);
    entryRow(3, "030203", 4, 1002);
    ASSERT_TRUE(form.confirm());
    // The next one goes in after it, still before 部位2.
    EXPECT_EQ(form.heading(), " 插入部位：在第 3 个部位“部位2”之前 (同一分项下，工程数量必须一致)");
    form.location = "新乙";
    entryRow(1, "030201", 6, 1001);
    ASSERT_TRUE(form.confirm());

    const Grid& a = doc.analysis;
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 2}, {3, 5}, {6, 6}, {7, 8}, {9, 9}}));
    const std::vector<std::pair<int, std::string>> expected = {
        {2, "部位1"}, {3, "新甲"},  {5, "新甲"}, {6, "新乙"},
        {7, "部位2"}, {8, "部位2"}, {9, "部位3"}};
    for (const auto& [row, name] : expected) {
        const auto k = locationOfRow(doc.locations, row);
        ASSERT_TRUE(k) << row;
        EXPECT_EQ(a.text(doc.locations[static_cast<std::size_t>(*k)].first, A::kLocation), name);
        EXPECT_EQ(a.text(row, A::kNumber), std::to_string(*k + 1)) << row;
    }
    EXPECT_EQ(a.text(10, A::kNumber), "6") << "the empty rows below number on";
    EXPECT_EQ(a.rowCount(), tableRows + 4);
    EXPECT_EQ(a.mergeAt(5, A::kLocation), (CellRange{3, A::kLocation, 5, A::kLocation}));
    EXPECT_EQ(a.mergeAt(8, A::kLocation), (CellRange{7, A::kLocation, 8, A::kLocation}));
    EXPECT_EQ(doc.attachments.records[7], "部位2的资料") << "moved down with its rows";
    EXPECT_EQ(doc.attachments.records.size(), static_cast<std::size_t>(a.rowCount()));

    form.beginInsert(9);  // no such location: an ordinary entry after the last
    EXPECT_EQ(form.caption(), "数据录入");
    form.clear();
}

TEST_F(EntryFormTest, AttachmentsStayWithTheirLocations) {
    std::vector<std::string> blocks;
    for (int k = 0; k < 3; ++k) {
        AttachmentStore store;
        const int folder = store.addFolder(0);
        store.files.push_back({"照片" + std::to_string(k) + ".jpg", "", "2026-12-09 10:00:00",
                               std::string("\0\xFF\x01", 3) + std::to_string(k), folder});
        blocks.push_back(serializeAttachmentStore(store));
        form.location = "部位" + std::to_string(k + 1);
        for (int row = 1; row <= k + 1; ++row) {  // 1, 2 and 3 rows
            entryRow(row, "03020" + std::to_string(row), row, 1000 + row);
        }
        form.attachments = blocks.back();
        ASSERT_TRUE(form.confirm());
        EXPECT_TRUE(form.attachments.empty()) << "a confirmed location's attachments are gone";
    }
    ASSERT_EQ(doc.locations, (LocationIndex{{2, 2}, {3, 4}, {5, 7}}));

    test::TempDir dir;
    doc.path = utf8FromPath(dir.path() / "a.gdb");
    ASSERT_TRUE(saveProject(doc, prompter, false));
    doc.file.reset();  // the saved project is held until let go
    ProjectDocument loaded;
    ASSERT_TRUE(loadProject(loaded, doc.path, prompter));
    const auto& records = loaded.attachments.records;
    EXPECT_EQ(records[2], blocks[0]);
    EXPECT_EQ(records[3], blocks[1]);
    EXPECT_EQ(records[4], "") << "only first rows carry a block";
    EXPECT_EQ(records[5], blocks[2]);

    deleteLocation(loaded.locations, loaded.analysis, loaded.attachments, 1);
    EXPECT_EQ(loaded.attachments.records[3], blocks[2]) << "the third moved up with its rows";

    EntryForm again(loaded, prompter);
    again.beginModify(0);
    EXPECT_EQ(again.attachments, blocks[0]) << "modify starts with the location's own";
    again.grid().setText(2, kCode, "030209");
    again.grid().setText(2, kWorkQuantity, "5");
    again.pickMaterial(2, 1003);
    again.grid().setText(2, kMaterialQuantity, "5");
    ASSERT_TRUE(again.confirm());
    EXPECT_EQ(loaded.locations, (LocationIndex{{2, 3}, {4, 6}}));
    EXPECT_EQ(loaded.attachments.records[2], blocks[0]);
    EXPECT_EQ(loaded.attachments.records[3], "");
    EXPECT_EQ(loaded.attachments.records[4], blocks[2]);
    EXPECT_EQ(loaded.attachments.records.size(),
              static_cast<std::size_t>(loaded.analysis.rowCount()));
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

TEST_F(EntryFormTest, AddedAndDeletedRowsKeepTheNumbersInOrder) {
    Grid& g = form.grid();
    type(3, kNote, "第三行");
    form.addRow(1);  // a row after row 1: the rows below move and are numbered again
    EXPECT_EQ(g.rowCount(), kFreshEntryRows + 1);
    EXPECT_EQ(g.text(4, kNote), "第三行");
    form.addRow(g.rowCount() - 1);  // at the end
    form.deleteRow(2);
    EXPECT_EQ(g.rowCount(), kFreshEntryRows + 1);
    EXPECT_EQ(g.text(3, kNote), "第三行");
    for (int r = 1; r < g.rowCount(); ++r) {
        EXPECT_EQ(g.text(r, kNumber), std::to_string(r)) << r;
    }
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

// Batch entry appends each location after the last: its work must follow the locations
// entered, not the size the table has reached (which made large batches quadratic).
TEST(EntrySheet, BatchEntryWorkGrowsWithTheLocationsNotTheirSquare) {
    const auto mergesMoved = [](int locations) {
        ProjectDocument doc;
        resetProject(doc);
        doc.materials.setText(1, MaterialColumn::kCategory, "砂浆");
        doc.materials.setText(1, MaterialColumn::kName, "水泥砂浆");
        doc.materials.setText(1, MaterialColumn::kUnit, "千克");
        test::ScriptedPrompter prompter;
        rebuildCatalogue(doc);
        std::string sheet;
        for (int k = 0; k < locations; ++k) {
            for (int row = 0; row < 2; ++row) {
                sheet += "部位" + std::to_string(k) + "\t建施-1\t3×4×2.8\t030201\t3*4\t\t砂浆\t" +
                         "水泥砂浆\t0.02\t\r\n";
            }
        }
        EXPECT_TRUE(importEntrySheet(doc, toGbk(sheet), prompter).empty());
        EXPECT_EQ(doc.locations.size(), static_cast<std::size_t>(locations));
        return std::pair{doc.analysis.mergesMoved(), doc.analysis.merges().size()};
    };
    const auto [some, merges] = mergesMoved(150);
    const auto [twice, moreMerges] = mergesMoved(300);
    EXPECT_GE(moreMerges, merges * 2 - 10);
    EXPECT_LE(twice, some * 2 + some / 5 + 10) << some << " → " << twice;
    EXPECT_LT(twice, moreMerges) << "less than one pass over the table's merges in all";
}

}  // namespace
}  // namespace tf

#include "core/structure/structure_editor.h"

#include <gtest/gtest.h>

#include "core/analysis/location_index.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "core/structure/codes.h"
#include "core/structure/link_table.h"
#include "core/structure/structure_file.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;
using namespace LinkColumn;

class StructureEditorTest : public ::testing::Test {
  protected:
    StructureEditorTest() {
        resetProject(doc);
        const char* rows[][3] = {
            {"砂浆", "水泥砂浆", "立方米"}, {"砂浆", "界面剂", "千克"}, {"涂料", "乳胶漆", "千克"}};
        for (int r = 1; r <= 3; ++r) {
            doc.materials.setText(r, MaterialColumn::kCategory, rows[r - 1][0]);
            doc.materials.setText(r, MaterialColumn::kName, rows[r - 1][1]);
            doc.materials.setText(r, MaterialColumn::kUnit, rows[r - 1][2]);
        }
        rebuildCatalogue(doc);  // 1001 水泥砂浆, 1002 界面剂, 2001 乳胶漆
        before = doc.structure;
    }
    std::size_t node(std::string_view name) const { return nodeIn(editor, name); }
    static std::size_t nodeIn(const StructureEditor& e, std::string_view name) {
        const auto& tree = e.structure().tree;
        for (std::size_t i = 0; i < tree.size(); ++i) {
            if (tree[i].name == name) {
                return i;
            }
        }
        ADD_FAILURE() << name;
        return 0;
    }
    const DivisionItem& at(std::size_t i) const { return editor.structure().tree[i]; }
    const ItemRow& row(std::size_t i) const { return editor.structure().items[i]; }
    std::string_view link(int r, int column) { return editor.currentProcess().text(r, column); }

    ProjectDocument doc;
    test::ScriptedPrompter prompter;
    StructureSnapshot before;
    StructureEditor editor{doc, prompter};
};

TEST_F(StructureEditorTest, TheCodePanelNamesDivisionSubdivisionGroupsAndItem) {
    EXPECT_EQ(editor.current(), 0u);
    EXPECT_EQ(editor.panel.division, "建筑装饰装修 (03)");
    EXPECT_EQ(editor.panel.subdivision, "");
    EXPECT_EQ(editor.panel.label, "先选择分项，在关联材料。");
    editor.select(node("地面"));
    EXPECT_EQ(editor.panel.subdivision, "地面 (01)");
    EXPECT_EQ(editor.panel.item, "");
    editor.select(node("整体面层"));
    EXPECT_EQ(editor.panel.subdivision, "地面 (01)/整体面层");
    EXPECT_FALSE(editor.pricesEnabled);
    EXPECT_FALSE(editor.owner());
    editor.select(node("炉渣垫层"));
    EXPECT_EQ(editor.panel.division, "建筑装饰装修 (03)");
    EXPECT_EQ(editor.panel.subdivision, "地面 (01)/整体面层/基层");
    EXPECT_EQ(editor.panel.item, "炉渣垫层 (01-6)");
    EXPECT_EQ(editor.panel.code, "030101-6");
    EXPECT_EQ(editor.panel.label, "030101-6");
    EXPECT_EQ(editor.code, "01-6");
    EXPECT_EQ(editor.labourPrice, "1.00元/平方米");
    EXPECT_TRUE(editor.pricesEnabled);
    EXPECT_EQ(editor.owner(), node("炉渣垫层"));
    editor.select(node("建筑暖通"));  // a division without children is no work item
    EXPECT_EQ(editor.panel.division, "建筑暖通 (05)");
    EXPECT_FALSE(editor.owner());
}

TEST_F(StructureEditorTest, CodesAreTypedCheckedAndStoredForWorkItems) {
    // A cleared number of a sub-division is given the node's list position.
    const std::size_t door = node("门窗");
    editor.select(door);
    editor.editCode("");
    editor.finishCode();
    const std::string position = std::to_string(door + 1);
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"必须设置分项号，系统自动分配为：" + position, "", 0}}));
    EXPECT_EQ(editor.code, position);
    EXPECT_EQ(at(door).number, static_cast<std::int32_t>(door + 1));
    // Its items keep the codes stored for them until each is edited again.
    EXPECT_EQ(row(node("木门窗制作")).code, "030301-1");

    // "01-5" for a level-3 work item under 建筑装饰装修 (3) and 地面 (1); only code
    // characters count.
    editor.select(node("地面"));
    editor.addChild();
    const std::size_t item = *editor.current();
    EXPECT_EQ(at(item).level, 3);
    editor.editName("自流平");
    editor.editCode("0a1-5元");
    EXPECT_EQ(editor.code, "01-5");
    EXPECT_EQ(at(item).number, 105);
    EXPECT_EQ(row(item).code, "030101-5");
    EXPECT_EQ(editor.panel.label, "030101-5");
    editor.finishCode();  // a number is there: nothing is said
    EXPECT_EQ(prompter.messages().size(), 1u);

    // Prices are stored as absolute numbers.
    editor.editPrice(StructureEditor::Price::Labour, "-12.5");
    editor.editPrice(StructureEditor::Price::Machinery, "abc");
    EXPECT_EQ(row(item).labourPrice, "12.5");
    EXPECT_EQ(row(item).machineryFee, "0");
    EXPECT_EQ(editor.labourPrice, "-12.5") << "the box shows what is typed";
}

TEST_F(StructureEditorTest, NodesAreAddedInsertedAndDeletedWithTheirItemRows) {
    const std::size_t plaster = node("一般抹灰");
    editor.select(plaster);
    editor.addSibling();
    const std::size_t added = *editor.current();
    EXPECT_EQ(added, node("清水砌体勾缝") + 1);
    EXPECT_EQ(at(added).level, 3);
    EXPECT_EQ(row(added).labourPrice, "1.00/平方米");
    EXPECT_EQ(row(added).machineryFee, "");
    EXPECT_EQ(editor.name, "");
    EXPECT_EQ(editor.code, "");

    editor.select(node("门窗"));
    editor.insertBefore();
    EXPECT_EQ(*editor.current(), node("门窗") - 1);
    EXPECT_EQ(at(*editor.current()).level, 2);

    const std::size_t nodes = editor.structure().tree.size();
    editor.select(node("门窗"));
    prompter.answer(Answer::No);
    EXPECT_FALSE(editor.deleteCurrent());
    prompter.answer(Answer::Yes);
    EXPECT_TRUE(editor.deleteCurrent());
    EXPECT_EQ(prompter.messages().back().flags, 292);
    EXPECT_EQ(editor.structure().tree.size(), nodes - 9);  // 门窗 and its eight items
    EXPECT_EQ(editor.structure().items.size(), editor.structure().tree.size());
    EXPECT_EQ(at(*editor.current()).name, "吊顶");
    // One item row per node, in list order: the codes still sit with their nodes.
    EXPECT_EQ(row(node("暗龙骨吊顶")).code, "030401");
}

TEST_F(StructureEditorTest, DeletingItemsThatRowsUseSaysHowManyRowsAndLocations) {
    // Three locations: 030201 (一般抹灰) on two rows of 客厅 and one of 厨房, 030801 in 卧室.
    const struct {
        int number;
        const char* location;
        const char* code;
    } rows[] = {{1, "客厅", "030201"},
                {1, "客厅", "030201"},
                {1, "客厅", "030801"},
                {2, "卧室", "030801"},
                {3, "厨房", "030201"}};
    Grid& a = doc.analysis;
    int r = kAnalysisHeadingRows;
    for (const auto& row : rows) {
        a.setText(r, AnalysisColumn::kNumber, std::to_string(row.number));
        a.setText(r, AnalysisColumn::kLocation, row.location);
        a.setText(r++, AnalysisColumn::kItemCode, row.code);
    }
    doc.locations = rebuildLocationIndex(a);
    StructureEditor fresh(doc, prompter);

    fresh.select(nodeIn(fresh, "一般抹灰"));
    prompter.answer(Answer::No);
    EXPECT_FALSE(fresh.deleteCurrent());
    EXPECT_EQ(prompter.messages().back(),
              (Message{"确定删除“一般抹灰”吗？\r\n分析表中 2 个部位的 3 行使用该分项，删除后这些行"
                       "不再计分项包工单价、机械使用费和管理费。",
                       "警告:", 308}));
    // 抹灰 holds 一般抹灰 and items no row uses: the same rows.
    fresh.select(nodeIn(fresh, "抹灰"));
    prompter.answer(Answer::No);
    EXPECT_FALSE(fresh.deleteCurrent());
    EXPECT_EQ(prompter.messages().back().text,
              "确定删除“抹灰”及其下所有子项吗？\r\n分析表中 2 个部位的 3 行使用其中的分项，"
              "删除后这些行不再计分项包工单价、机械使用费和管理费。");
    // 建筑装饰装修, the whole tree: both codes, every row.
    fresh.select(0);
    prompter.answer(Answer::No);
    EXPECT_FALSE(fresh.deleteCurrent());
    EXPECT_NE(prompter.messages().back().text.find("3 个部位的 5 行"), std::string::npos);
    // An item no row uses is asked about as before.
    fresh.select(nodeIn(fresh, "装饰抹灰"));
    prompter.answer(Answer::Yes);
    EXPECT_TRUE(fresh.deleteCurrent());
    EXPECT_EQ(prompter.messages().back(), (Message{"确定删除“装饰抹灰”吗？", "询问:", 292}));
}

TEST_F(StructureEditorTest, CancelLeavesTheProjectAndConfirmWritesItBack) {
    editor.select(node("一般抹灰"));
    editor.editName("一般抹灰(改)");
    editor.addChild();
    prompter.answer(Answer::Yes);
    editor.resetToDefault();
    editor.select(node("装饰抹灰"));
    editor.editCode("9");
    EXPECT_EQ(doc.structure, before) << "nothing reaches the project before 确定";
    EXPECT_FALSE(doc.modified);

    EXPECT_TRUE(editor.commit());
    EXPECT_TRUE(doc.modified);
    const Structure written = *parseStructure(doc.structure);
    EXPECT_EQ(written.items[node("装饰抹灰")].code, "030209");
    for (const auto& n : written.tree) {
        EXPECT_EQ(n.state, n.level > 1 ? 0 : n.state) << "stored collapsed below level 1";
    }

    // An empty structure is refused.
    while (editor.current()) {
        prompter.answer(Answer::Yes);
        editor.select(0);
        editor.deleteCurrent();
        if (editor.structure().tree.empty()) {
            break;
        }
    }
    doc.modified = false;
    EXPECT_FALSE(editor.commit());
    EXPECT_EQ(prompter.messages().back(), (Message{"分部分项结构不能为空！", "警告:", 48}));
    EXPECT_FALSE(doc.modified);
}

TEST_F(StructureEditorTest, StructureFilesRoundTripAndABadOneChangesNothing) {
    test::TempDir dir;
    const std::string file = utf8FromPath(dir / "a.gd");
    editor.select(node("一般抹灰"));
    editor.editName("改过的名字");
    prompter.answerFile(file);
    EXPECT_TRUE(editor.exportFile());
    prompter.answer(Answer::Yes);
    editor.resetToDefault();
    prompter.answerFile(file);
    EXPECT_TRUE(editor.importFile());
    EXPECT_EQ(at(node("改过的名字")).level, 3);
    EXPECT_EQ(editor.current(), 0u);

    test::writeFile(dir / "bad.gd", "not a structure");
    prompter.answerFile(utf8FromPath(dir / "bad.gd"));
    EXPECT_FALSE(editor.importFile());
    EXPECT_EQ(prompter.messages().back(), (Message{"非分部分项结构文件，无法导入！", "警告:", 48}));
    EXPECT_EQ(at(node("改过的名字")).level, 3);
}

TEST_F(StructureEditorTest, LinksAreCheckedWhenLoadedAndWhenEdited) {
    const std::size_t item = node("一般抹灰");
    editor.select(item);
    ASSERT_TRUE(editor.linkMaterial(1, 1001));
    ASSERT_TRUE(editor.linkMaterial(2, 2001));
    EXPECT_EQ(link(1, kName), "水泥砂浆");
    EXPECT_EQ(link(2, kUnit), "千克");
    EXPECT_EQ(link(2, kMaterialId), "2001");
    EXPECT_EQ(editor.materialRowOfLink(2), 3);
    EXPECT_FALSE(editor.linkMaterial(3, 9001)) << "nothing to link";
    editor.currentProcess().setText(1, kUsage, "-0.02");
    editor.linkCellEdited(1, kUsage);
    EXPECT_EQ(link(1, kUsage), "0.02");

    // A name typed over a linked one is asked about: No puts the material's name back, Yes
    // keeps the text and ends the link.
    editor.currentProcess().setText(1, kName, "水泥");
    prompter.answer(Answer::No);
    editor.linkCellEdited(1, kName);
    EXPECT_EQ(prompter.messages().back(),
              (Message{"原关联材料为：水泥砂浆\r\n你确定要更改吗？", "询问:", 36}));
    EXPECT_EQ(link(1, kName), "水泥砂浆");
    editor.currentProcess().setText(1, kName, "水泥");
    prompter.answer(Answer::Yes);
    editor.linkCellEdited(1, kName);
    EXPECT_EQ(link(1, kLinked), "0");

    // Ticking again: the material's current name is offered.
    editor.currentProcess().setText(1, kLinked, "1");
    prompter.answer(Answer::Yes);
    editor.linkCellEdited(1, kLinked);
    EXPECT_EQ(prompter.messages().back(),
              (Message{"与之关联的材料已经更新为：水泥砂浆，是否与此关联？", "询问:", 36}));
    EXPECT_EQ(link(1, kName), "水泥砂浆");
    EXPECT_EQ(link(1, kLinked), "1");
    // A tick without a reference, and an emptied unit.
    editor.currentProcess().setText(3, kName, "自由文本");
    editor.currentProcess().setText(3, kLinked, "1");
    editor.linkCellEdited(3, kLinked);
    EXPECT_EQ(prompter.messages().back(),
              (Message{"与之关联的材料位置错误，请重新关联！", "警告:", 48}));
    EXPECT_EQ(link(3, kLinked), "0");
    editor.currentProcess().setText(2, kUnit, "");
    editor.linkCellEdited(2, kUnit);
    EXPECT_EQ(link(2, kLinked), "0");

    // Everything is in the working copy's process; a material renamed meanwhile loses its
    // tick when the links are loaded again.
    EXPECT_TRUE(editor.linkMaterial(2, 1002));
    doc.catalogue.byId(1002)->name = "界面处理剂";
    editor.select(0);
    editor.select(item);
    EXPECT_EQ(link(1, kLinked), "1");
    EXPECT_EQ(link(2, kLinked), "0");
    Grid stored;
    ASSERT_TRUE(stored.load(editor.structure().items[item].currentProcess));
    EXPECT_EQ(stored.text(2, kLinked), "0") << "the cleared mark is written back";
}

TEST_F(StructureEditorTest, DefaultProcessSavedThenAppliedGivesTheRowsWithoutTicks) {
    editor.select(node("一般抹灰"));
    editor.linkMaterial(1, 1001);
    editor.linkMaterial(2, 1002);
    editor.currentProcess().setText(2, kUsage, "0.25");
    editor.linkCellEdited(2, kUsage);
    prompter.answer(Answer::Yes);
    EXPECT_TRUE(editor.saveDefaultProcess());
    EXPECT_EQ(prompter.messages().back(), (Message{"保存完毕！", "信息:", 64}));
    EXPECT_EQ(editor.defaultProcess().text(2, kName), "界面剂");
    EXPECT_EQ(editor.defaultProcess().text(2, kLinked), "0");
    EXPECT_EQ(editor.defaultProcess().text(2, kMaterialId), "");

    editor.deleteLinkRow(1);
    prompter.answer(Answer::Yes);
    EXPECT_TRUE(editor.applyDefaultProcess());
    EXPECT_EQ(prompter.messages().back(), (Message{"要使用默认工艺替换当前工艺吗？", "", 36}));
    for (int r = 1; r < editor.currentProcess().rowCount(); ++r) {
        EXPECT_EQ(link(r, kName), editor.defaultProcess().text(r, kName));
        EXPECT_EQ(link(r, kLinked), "0");
    }
    EXPECT_EQ(link(2, kUsage), "0.25");

    editor.appendLinkRow();
    const int last = editor.currentProcess().rowCount() - 1;
    EXPECT_EQ(link(last, kNumber), std::to_string(last));
    editor.deleteLinkRow(1);
    for (int r = 1; r < editor.currentProcess().rowCount(); ++r) {
        EXPECT_EQ(link(r, kNumber), std::to_string(r));
    }
}

TEST(StructureEditorGeometry, TheRowUnderThePointerCountsTheScrolledRows) {
    // Rows 20 pixels high, two heading rows, the view scrolled down by 100 rows.
    EXPECT_EQ(gridRowAt(0, 2, 20, 500), 2);
    EXPECT_EQ(gridRowAt(2000 + 39, 2, 20, 500), 103);
    EXPECT_EQ(gridRowAt(-1, 2, 20, 500), std::nullopt);
    EXPECT_EQ(gridRowAt(20 * 498, 2, 20, 500), std::nullopt);  // past the last row
    const auto fade = pickFadeOpacities();
    ASSERT_EQ(fade.size(), 17u);
    EXPECT_EQ(fade.front(), 240);
    EXPECT_EQ(fade[15], 15);
    EXPECT_EQ(fade.back(), 0);
}

}  // namespace
}  // namespace tf

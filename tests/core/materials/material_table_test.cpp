#include "core/materials/material_table.h"

#include <gtest/gtest.h>

#include "core/grid/cell_block.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_paste.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "tests/support/scripted_prompter.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;
using namespace MaterialColumn;

class MaterialTableTest : public ::testing::Test {
  protected:
    MaterialTableTest() { resetProject(doc); }

    // Types `text` into a cell the way the window does: ask, store, commit.
    bool edit(int row, int column, const std::string& text) {
        if (!canBeginMaterialEdit(doc, row, column, prompter)) {
            return false;
        }
        doc.materials.setText(row, column, text);
        commitMaterialEdit(doc, row, column, prompter, [this] { ++analysisPageShown; });
        return true;
    }
    void material(int row, const std::string& category, const std::string& name,
                  const std::string& unit = "米") {
        edit(row, kCategory, category);
        edit(row, kName, name);
        edit(row, kUnit, unit);
    }
    std::string_view cell(int row, int column) const { return doc.materials.text(row, column); }
    bool marked(int row) const {
        return doc.materials.style(row, kCategory).background == kMarkerColour &&
               doc.materials.style(row, kId).background == kMarkerColour;
    }
    // Analysis data rows that use material `id`.
    void useInAnalysis(int rows, std::int32_t id, const std::string& name,
                       const std::string& unit) {
        for (int r = 2; r < 2 + rows; ++r) {
            doc.analysis.setText(r, AnalysisColumn::kMaterialName, name);
            doc.analysis.setText(r, AnalysisColumn::kMaterialUnit, unit);
            doc.analysis.setText(r, AnalysisColumn::kMaterialId, std::to_string(id));
        }
    }

    ProjectDocument doc;
    test::ScriptedPrompter prompter;
    int analysisPageShown = 0;
};

TEST_F(MaterialTableTest, CutAndPasteAlwaysMarkTheProjectModified) {
    // A paste where the row has no category is refused, and still counts as a change.
    doc.materials.setCursor(1, kName);
    pasteIntoMaterialCell(doc, "圆钢", prompter);
    EXPECT_EQ(cell(1, kName), "");
    EXPECT_EQ(doc.materials.cursor(), (CellPos{1, kCategory}));
    EXPECT_TRUE(doc.modified);

    // The first line only, cut to 1000 characters; then the edit rules as if typed.
    doc.modified = false;
    pasteIntoMaterialCell(doc, "钢材\r\n第二行", prompter);
    EXPECT_EQ(cell(1, kCategory), "钢材");
    doc.materials.setCursor(1, kName);
    std::string longName;
    for (int i = 0; i < 1500; ++i) {
        longName += "钢";
    }
    pasteIntoMaterialCell(doc, longName + "\n", prompter);
    EXPECT_EQ(cell(1, kName).size(), 3000u);  // 1000 characters of three bytes
    doc.materials.setCursor(1, kSpec);
    pasteIntoMaterialCell(doc, "600*600?", prompter);
    EXPECT_EQ(cell(1, kSpec), "600×600_");

    // Cutting the name leaves the empty-name marker, which alone would not count as a change.
    doc.modified = false;
    doc.materials.setCursor(1, kName);
    EXPECT_EQ(cutMaterialCell(doc, prompter), longName.substr(0, 3000));
    EXPECT_EQ(cell(1, kName), "[材料名称不能为空] ");
    EXPECT_TRUE(doc.modified);

    // The hidden id column cannot be cut; the key still counts.
    doc.modified = false;
    doc.materials.setCursor(1, kId);
    EXPECT_EQ(cutMaterialCell(doc, prompter), std::nullopt);
    EXPECT_TRUE(doc.modified);
}

TEST_F(MaterialTableTest, ABlockPastedFromASpreadsheetEntersRowsByTheTablesRules) {
    material(1, "钢材", "圆钢", "吨");
    useInAnalysis(2, 1001, "圆钢", "吨");
    prompter.clear();
    // Copied with its 序号 column: the numbers are passed over. The first row renames a
    // material in use (asked, as typing asks), the third has no category, the fourth repeats a
    // name of its category, the last comes beyond the table's fresh rows.
    const std::string rows[] = {"1\t钢材\t螺纹钢\tΦ12\t吨\t4200\t",
                                "2\t涂料\t乳胶漆\t5L\t桶\t" + std::string(400, '9') + "\t内墙",
                                "3\t\t无类别\t\t个\t\t", "4\t涂料\t乳胶漆\t18L\t桶\t480\t",
                                "x\t涂料\t底漆\t\t桶\t两百\t\t\t多一格"};
    std::string text;
    for (const auto& row : rows) {
        text += row + "\r\n";
    }
    for (int r = 0; r < 20; ++r) {
        text += "\t五金\t合页" + std::to_string(r) + "\t\t副\t3\r\n";
    }
    doc.materials.setCursor(1, kNumber);
    doc.modified = false;
    prompter.answer(Answer::Yes);
    const PasteReport report = pasteMaterialBlock(doc, {1, kNumber}, *parseCellBlock(text),
                                                  prompter, [this] { ++analysisPageShown; });

    // The rename went through the table's own question and repaired the analysis rows.
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].caption, "询问:");
    EXPECT_EQ(doc.analysis.text(2, AnalysisColumn::kMaterialName), "螺纹钢");
    EXPECT_EQ(cell(1, kSpec), "Φ12");
    EXPECT_EQ(cell(1, kPrice), "4200");
    EXPECT_EQ(cell(2, kName), "乳胶漆");
    EXPECT_EQ(cell(2, kPrice), "") << "a price too large for a number is refused";
    EXPECT_EQ(cell(3, kName), "");
    EXPECT_EQ(cell(4, kName), "[重名材料] 乳胶漆");
    EXPECT_EQ(cell(5, kPrice), "");
    // 5 rows and 20 more: the table of 24 fresh rows grew by one, numbered and styled.
    ASSERT_EQ(doc.materials.rowCount(), 26);
    EXPECT_EQ(cell(25, kNumber), "25");
    EXPECT_EQ(cell(25, kName), "合页19");
    EXPECT_FALSE(cell(25, kId).empty()) << "entered in the catalogue";
    EXPECT_EQ(doc.materials.cursor(), (CellPos{1, kNumber}));
    EXPECT_TRUE(doc.modified);

    EXPECT_EQ(
        report.lines(),
        (std::vector<std::string>{
            "第2行“单价”：数值超出范围，请检查数据！",
            "第3行“材料名称”的“无类别”：这一行还没有类别，未粘贴。",
            "第3行“单位”的“个”：这一行还没有类别，未粘贴。",
            "第4行“材料名称”：同类别的材料不能重名！", "第5行“序号”的“x”：序号由程序编排，未粘贴。",
            "第5行“单价”的“两百”：不是数值，未粘贴。", "第5行的“多一格”在表格右边之外，未粘贴。"}));
}

TEST_F(MaterialTableTest, NothingButTheCategoryBeforeACategory) {
    EXPECT_FALSE(edit(1, kName, "圆钢"));
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"请先填写类别！", "", 64}}));
    EXPECT_EQ(doc.materials.cursor(), (CellPos{1, kCategory}));
    EXPECT_EQ(cell(1, kName), "");
    EXPECT_FALSE(canBeginMaterialEdit(doc, 1, kId, prompter));
    EXPECT_TRUE(edit(1, kCategory, "钢材"));
    EXPECT_TRUE(edit(1, kName, "圆钢"));
}

TEST_F(MaterialTableTest, CorrectionsOfTheEditedCell) {
    edit(1, kCategory, "瓷砖");
    edit(1, kSpec, "600*600");
    EXPECT_EQ(cell(1, kSpec), "600×600");
    edit(1, kNote, "a?b");
    EXPECT_EQ(cell(1, kNote), "a_b");
    edit(1, kPrice, "-12.5");
    EXPECT_EQ(cell(1, kPrice), "12.5");
    edit(1, kPrice, "abc");
    EXPECT_EQ(cell(1, kPrice), "0");
    // Too large for a number: said, and no price rather than a price of 0 that looks typed.
    prompter.clear();
    edit(1, kPrice, "1" + std::string(400, '0'));
    EXPECT_EQ(cell(1, kPrice), "");
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"数值超出范围，请检查数据！", "警告:", 48}}));
    EXPECT_TRUE(doc.modified);
}

TEST_F(MaterialTableTest, IdsPerCategoryAndCategoriesWithoutRegardToCase) {
    material(1, "PVC", "管");
    material(2, "PVC", "弯头");
    material(3, "钢材", "圆钢");
    material(4, "pvc", "三通");
    EXPECT_EQ(cell(1, kId), "1001");
    EXPECT_EQ(cell(2, kId), "1002");
    EXPECT_EQ(cell(3, kId), "2001");
    EXPECT_EQ(cell(4, kId), "1003");
    EXPECT_EQ(categoryList(doc.materials), "?PVC?钢材?");
    EXPECT_EQ(doc.catalogue.byId(1003)->name, "三通");
    EXPECT_EQ(doc.catalogue.categoryCount(), 2);
}

TEST_F(MaterialTableTest, SameNameInOneCategoryIsMarkedAndWarnedOnce) {
    material(1, "钢材", "圆钢");
    material(2, "钢材", "方钢");
    material(4, "管材", "圆钢");  // another category: fine
    prompter.clear();
    edit(3, kCategory, "钢材");
    edit(3, kName, "圆钢");
    EXPECT_TRUE(marked(1));
    EXPECT_FALSE(marked(2));
    EXPECT_FALSE(marked(4));
    EXPECT_EQ(cell(3, kName), "[重名材料] 圆钢");
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"同类别的材料不能重名！", "警告:", 48}}));
}

TEST_F(MaterialTableTest, EmptiedNameIsMarkedAndNothingElseHappens) {
    material(1, "钢材", "圆钢");
    doc.modified = false;
    prompter.clear();
    edit(1, kName, "  ");
    EXPECT_EQ(cell(1, kName), "[材料名称不能为空] ");
    EXPECT_TRUE(marked(1));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.catalogue.byId(1001)->name, "圆钢");
}

TEST_F(MaterialTableTest, NameWithoutCategoryIsMarked) {
    material(1, "钢材", "圆钢");
    edit(1, kCategory, " ");
    EXPECT_EQ(cell(1, kCategory), "[类别不能为空]  ");
    EXPECT_TRUE(marked(1));
}

TEST_F(MaterialTableTest, RenamingAMaterialInUseOffersRepair) {
    material(1, "钢材", "圆钢", "吨");
    useInAnalysis(3, 1001, "圆钢", "吨");
    doc.analysis.setText(6, AnalysisColumn::kMaterialId, "1002");  // another material
    prompter.answer(Answer::No);
    edit(1, kName, "螺纹钢");
    EXPECT_EQ(analysisPageShown, 1);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].caption, "询问:");
    EXPECT_EQ(prompter.messages()[0].flags, 36);
    for (int r = 2; r <= 4; ++r) {
        EXPECT_EQ(doc.analysis.style(r, AnalysisColumn::kMaterialName).background, kMarkerColour);
        EXPECT_EQ(doc.analysis.text(r, AnalysisColumn::kMaterialName), "圆钢");
    }
    EXPECT_NE(doc.analysis.style(6, AnalysisColumn::kMaterialName).background, kMarkerColour);

    prompter.answer(Answer::Yes);
    edit(1, kUnit, "千克");
    for (int r = 2; r <= 4; ++r) {
        EXPECT_EQ(doc.analysis.text(r, AnalysisColumn::kMaterialName), "螺纹钢");
        EXPECT_EQ(doc.analysis.text(r, AnalysisColumn::kMaterialUnit), "千克");
        EXPECT_NE(doc.analysis.style(r, AnalysisColumn::kMaterialName).background, kMarkerColour);
    }
}

TEST_F(MaterialTableTest, UnitChangeFollowsWithoutAsking) {
    material(1, "钢材", "圆钢", "吨");
    useInAnalysis(3, 1001, "圆钢", "吨");
    prompter.clear();
    edit(1, kUnit, "千克");
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(doc.analysis.text(4, AnalysisColumn::kMaterialUnit), "千克");
    EXPECT_EQ(analysisPageShown, 0);
}

TEST_F(MaterialTableTest, RebuildSkipsIdenticalRowsAndRefreshRegroups) {
    const auto row = [&](int r, const char* category, const char* name, const char* id) {
        doc.materials.setText(r, kCategory, category);
        doc.materials.setText(r, kName, name);
        doc.materials.setText(r, kUnit, "米");
        doc.materials.setText(r, kId, id);
    };
    row(1, "钢材", "圆钢", "9");
    row(2, "管材", "PVC管", "");
    row(3, "钢材", "方钢", "");
    row(4, "管材", "pvc管 ", "77");  // identical to row 2 once trimmed and upper-cased
    row(5, "钢材", "角钢", "");
    rebuildCatalogue(doc);
    EXPECT_EQ(cell(1, kId), "1001");
    EXPECT_EQ(cell(2, kId), "2001");
    EXPECT_EQ(cell(3, kId), "1002");
    EXPECT_EQ(cell(4, kId), "77");  // skipped: keeps its stored id
    EXPECT_EQ(cell(5, kId), "1003");
    EXPECT_EQ(categoryList(doc.materials), "?钢材?管材?");

    refreshMaterialPage(doc, prompter);
    const std::vector<std::string> names = {"圆钢", "方钢", "角钢", "PVC管", ""};
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(cell(r, kName), names[static_cast<std::size_t>(r - 1)]) << r;
    }
    EXPECT_EQ(cell(4, kId), "2001");
    EXPECT_EQ(cell(5, kCategory), "");
    EXPECT_EQ(cell(5, kNumber), "5");
    EXPECT_EQ(prompter.statusHistory(), (std::vector<std::string>{"刷新当前表格", "刷新完毕"}));
}

TEST_F(MaterialTableTest, AMaterialTypedIntoAFullCategoryIsToldOnceAndGetsNoId) {
    Grid& m = doc.materials;
    m.setRowCount(1001);
    for (int r = 1; r <= 999; ++r) {
        m.setText(r, kCategory, "钢材");
        m.setText(r, kName, "钢" + std::to_string(r));
    }
    EXPECT_EQ(rebuildCatalogue(doc), 0);
    EXPECT_EQ(cell(999, kId), "1999");
    prompter.clear();
    edit(1000, kCategory, "钢材");
    edit(1000, kName, "钢1000");
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"同一类别的材料不能超过999种！", "警告:", 48}}));
    EXPECT_EQ(cell(1000, kId), "");
    EXPECT_EQ(rebuildCatalogue(doc), 1) << "the row left without an id";
}

TEST_F(MaterialTableTest, IdenticalRowsAfterALoadKeepOnlyTheFirst) {
    material(1, "钢材", "圆钢");
    material(2, "钢材", "方钢");
    doc.materials.setText(2, kName, "圆钢");  // as a file written elsewhere might hold
    doc.materials.setText(2, kId, "");
    rebuildCatalogue(doc);
    refreshMaterialPage(doc, prompter);
    EXPECT_EQ(cell(1, kName), "圆钢");
    EXPECT_EQ(cell(2, kName), "");
}

TEST_F(MaterialTableTest, InsertAndDeleteRenumberAndKeepIds) {
    material(1, "钢材", "圆钢");
    material(2, "钢材", "方钢");
    material(3, "钢材", "角钢");
    insertMaterialRow(doc, 2);
    EXPECT_EQ(doc.materials.rowCount(), 25);
    EXPECT_EQ(cell(2, kName), "");
    EXPECT_EQ(cell(3, kName), "方钢");
    for (int r = 1; r < doc.materials.rowCount(); ++r) {
        ASSERT_EQ(cell(r, kNumber), std::to_string(r));
    }
    deleteMaterialRow(doc, 3);
    EXPECT_EQ(cell(3, kName), "角钢");
    EXPECT_EQ(cell(3, kId), "1003");  // ids of other materials never shift
    EXPECT_EQ(cell(23, kNumber), "23");
    refreshMaterialPage(doc, prompter);  // the deleted material does not come back
    EXPECT_EQ(cell(2, kName), "角钢");
    material(5, "钢材", "工字钢");
    EXPECT_EQ(cell(5, kId), "1004");
}

TEST_F(MaterialTableTest, AppendedRowsAreNumberedStyledAndCurrent) {
    const int row = appendMaterialRow(doc);
    EXPECT_EQ(row, 24);
    EXPECT_EQ(cell(row, kNumber), "24");
    EXPECT_EQ(doc.materials.style(row, kPrice).foreground, (Rgb{0, 0, 128}));
    EXPECT_EQ(doc.materials.style(row, kNumber).background, kMaterialBand);
    EXPECT_EQ(doc.materials.cursor().row, row);
    EXPECT_TRUE(doc.modified);
}

}  // namespace
}  // namespace tf

// The structure editor through its window: from the menu to a work item of one's own, linked
// to a material, used by the data-entry dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/shell/program_data.h"
#include "core/structure/link_table.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/structure/structure_editor_window.h"
#include "gui/widgets/grid_view.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

using namespace LinkColumn;

QTreeWidgetItem* findItem(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

// Types text the way an input method commits it, Chinese included.
void typeText(QWidget* box, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(box, &commit);
}

class StructureEditorWindowTest : public ::testing::Test {
  protected:
    StructureEditorWindowTest() {
        test::writeFile(dir / "ZUdavu.dat", buildProgramData({1, {"消息"}}));
        window =
            std::make_unique<MainWindow>(QString::fromStdString(dir.path().string()), &prompter);
        window->resize(1200, 800);
        window->show();
        ProjectDocument& doc = window->document();
        const char* rows[][3] = {{"砂浆", "水泥砂浆", "立方米"}, {"砂浆", "界面剂", "千克"}};
        for (int r = 1; r <= 2; ++r) {
            doc.materials.setText(r, MaterialColumn::kCategory, rows[r - 1][0]);
            doc.materials.setText(r, MaterialColumn::kName, rows[r - 1][1]);
            doc.materials.setText(r, MaterialColumn::kUnit, rows[r - 1][2]);
        }
        rebuildCatalogue(doc);
        QCoreApplication::processEvents();
    }
    StructureEditorWindow* editorWindow() {
        auto* found = window->findChild<StructureEditorWindow*>("编辑分部分项结构");
        EXPECT_NE(found, nullptr);
        return found;
    }
    template <typename T>
    T* in(QWidget* parent, const char* name) {
        auto* found = parent->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
};

TEST_F(StructureEditorWindowTest, AWorkItemOfOnesOwnLinkedToAMaterialIsUsedByDataEntry) {
    window->dispatch(Command::StructureSettings);
    StructureEditorWindow* editor = editorWindow();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(prompter.status(), "分部分项表设置");
    EXPECT_EQ(editor->windowTitle(), "编辑分部分项结构");
    EXPECT_TRUE(
        in<QPlainTextEdit>(editor, "说明")->toPlainText().contains("分部分项号：请严格参照"));

    // Under 抹灰: a new work item with a code and a labour price.
    auto* tree = in<QTreeWidget>(editor, "分部分项树");
    tree->setCurrentItem(findItem(tree, "抹灰"));
    in<QPushButton>(editor, "加子项")->click();
    typeText(in<QLineEdit>(editor, "名称"), "界面处理");
    auto* code = in<QLineEdit>(editor, "分部分项号");
    QTest::keyClicks(code, "4x");  // only code characters are taken
    EXPECT_EQ(code->text(), "4");
    QTest::keyClicks(in<QLineEdit>(editor, "分项包工单价"), "25");
    EXPECT_EQ(in<QLineEdit>(editor, "编号")->text(), "030204");
    EXPECT_EQ(in<QLabel>(editor, "代号标签")->text(), "030204");

    // Its links: the material table comes to the front, a material is chosen from the pop-up.
    emit tree->itemActivated(findItem(tree, "界面处理"), 0);
    EXPECT_TRUE(editor->linksPageShown());
    EXPECT_EQ(prompter.status(), "材料表");
    GridView& links = editor->processGrid();
    EXPECT_TRUE(links.isEnabled());
    emit links.cellPressed(1, kName, Qt::RightButton, links.mapToGlobal(QPoint(50, 30)));
    auto* menu = editor->findChild<QMenu*>("关联");
    ASSERT_NE(menu, nullptr);
    QAction* choose = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == "选择材料…") {
            choose = action;
        }
    }
    ASSERT_NE(choose, nullptr);
    choose->trigger();
    auto* picker = editor->findChild<QTreeWidget*>("材料选择");
    ASSERT_NE(picker, nullptr);
    emit picker->itemActivated(findItem(picker, "界面剂"), 0);
    links.gridModel()->setData(links.gridModel()->index(1, kUsage), "0.3", Qt::EditRole);
    EXPECT_EQ(links.grid().text(1, kName), "界面剂");
    EXPECT_EQ(links.grid().text(1, kLinked), "1");
    EXPECT_EQ(links.grid().text(1, kMaterialId), "1002");

    in<QPushButton>(editor, "确定")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.status(), "设置完毕");
    EXPECT_TRUE(window->document().modified);

    // Data entry picks the new item with its process.
    EntryDialog& entry = window->entryDialog();
    entry.openForAdd();
    entry.findChild<QLineEdit*>("部位名称")->setText("客厅");
    entry.findChildren<QCheckBox*>()[1]->setChecked(true);  // 使用分项工艺。
    entry.openWorkItemPicker(1);
    auto* items = entry.findChild<QTreeWidget*>("分项选择");
    ASSERT_NE(items, nullptr);
    prompter.answer(Answer::Ok);
    emit items->itemActivated(findItem(items, "界面处理"), 0);
    QCoreApplication::processEvents();
    GridView& rows = entry.grid();
    rows.gridModel()->setData(rows.gridModel()->index(1, EntryColumn::kWorkQuantity), "10",
                              Qt::EditRole);
    entry.findChild<QPushButton*>("确认按钮")->click();
    const Grid& a = window->document().analysis;
    EXPECT_EQ(a.text(2, AnalysisColumn::kItemCode), "030204");
    EXPECT_EQ(a.text(2, AnalysisColumn::kMaterialName), "界面剂");
    EXPECT_EQ(a.text(2, AnalysisColumn::kMaterialQuantity), "3");
    EXPECT_EQ(a.text(2, AnalysisColumn::kUnitUsage), "0.3");
}

TEST_F(StructureEditorWindowTest, MaterialLinksOpensOnTheLinksPageAndPicksByPointing) {
    window->pressPageButton(MainWindow::MaterialPage);
    auto* materials = window->findChild<GridView*>("材料表");
    QTest::keyClick(materials, Qt::Key_F8);
    StructureEditorWindow* editor = editorWindow();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->width(), 726);
    EXPECT_TRUE(editor->linksPageShown());
    EXPECT_FALSE(editor->processGrid().isEnabled()) << "建筑装饰装修 is no work item";
    EXPECT_FALSE(in<QPushButton>(editor, "应用默认工艺")->isEnabled());
    EXPECT_EQ(in<QLabel>(editor, "代号标签")->text(), "先选择分项，在关联材料。");

    auto* tree = in<QTreeWidget>(editor, "分部分项树");
    tree->setCurrentItem(findItem(tree, "一般抹灰"));
    EXPECT_TRUE(editor->processGrid().isEnabled());
    // Released over 界面剂's row of the material table: linked; over an empty row: nothing.
    const auto overRow = [&](int row) {
        const QRect cell = materials->visualRect(materials->gridModel()->index(row, 2));
        return materials->viewport()->mapToGlobal(cell.center());
    };
    editor->startPick(1);
    EXPECT_TRUE(editor->picking());
    editor->endPick(overRow(2));
    EXPECT_FALSE(editor->picking());
    EXPECT_EQ(editor->processGrid().grid().text(1, kName), "界面剂");
    EXPECT_EQ(editor->processGrid().grid().text(1, kUnit), "千克");
    editor->startPick(2);
    editor->endPick(overRow(10));
    EXPECT_EQ(editor->processGrid().grid().text(2, kName), "");
    editor->startPick(2);
    editor->endPick(QPoint(-500, -500));  // nowhere near the table
    EXPECT_EQ(editor->processGrid().grid().text(2, kLinked), "");

    // Cancel: the project keeps its structure.
    const StructureSnapshot before = window->document().structure;
    in<QPushButton>(editor, "取消")->click();
    EXPECT_EQ(window->document().structure, before);
    EXPECT_FALSE(window->document().modified);
}

}  // namespace
}  // namespace tf::gui

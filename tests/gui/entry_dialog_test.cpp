#include "gui/entry/entry_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "core/grid/cell_block.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "core/structure/item_table.h"
#include "core/structure/link_table.h"
#include "gui/widgets/grid_view.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

using namespace EntryColumn;
namespace A = AnalysisColumn;

QTreeWidgetItem* findItem(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

TEST(EntryDialog, AWholeEntryThroughTheDialog) {
    ProjectDocument doc;
    resetProject(doc);
    test::ScriptedPrompter prompter;
    for (int r = 1; r <= 2; ++r) {
        doc.materials.setText(r, MaterialColumn::kCategory, "砂浆");
        doc.materials.setText(r, MaterialColumn::kName, r == 1 ? "水泥砂浆" : "界面剂");
        doc.materials.setText(r, MaterialColumn::kUnit, r == 1 ? "立方米" : "千克");
    }
    rebuildCatalogue(doc);
    // "一般抹灰" consumes both materials.
    Structure s = *parseStructure(doc.structure);
    Grid links = makeLinkTable();
    const char* names[] = {"水泥砂浆", "界面剂"};
    for (int p = 1; p <= 2; ++p) {
        links.setText(p, LinkColumn::kLinked, "1");
        links.setText(p, LinkColumn::kName, names[p - 1]);
        links.setText(p, LinkColumn::kUsage, p == 1 ? "0.02" : "0.3");
        links.setText(p, LinkColumn::kMaterialId, std::to_string(1000 + p));
    }
    for (auto& item : s.items) {
        if (item.code == "030201") {
            item.currentProcess = links.save();
        }
    }
    doc.structure = serializeStructure(s);

    test::TempDir programDir;
    AppSettings settings(programDir / "Brix.ini");
    QWidget owner;
    EntryDialog dialog(doc, prompter, settings, &owner);
    dialog.openForAdd();
    EXPECT_EQ(dialog.windowTitle(), "数据录入");
    dialog.findChild<QLineEdit*>("部位名称")->setText("客厅");
    QTest::keyClicks(dialog.findChild<QLineEdit*>("结构尺寸"), "3.6*4.2");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("结构尺寸")->text(), "3.6×4.2");

    // Pick the work item with its process through the picker.
    dialog.findChild<QCheckBox*>()->setChecked(true);  // auto-calculation
    const auto boxes = dialog.findChildren<QCheckBox*>();
    boxes[1]->setChecked(true);  // use the item's process
    GridView& grid = dialog.grid();
    grid.setCurrentIndex(grid.gridModel()->index(1, kCode));
    QTest::keyClick(&grid, Qt::Key_Space);
    auto* picker = dialog.findChild<QTreeWidget*>("分项选择");
    ASSERT_NE(picker, nullptr);
    QTreeWidgetItem* item = findItem(picker, "一般抹灰");
    ASSERT_NE(item, nullptr);
    emit picker->itemActivated(item, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.form().grid().text(2, kMaterialName), "界面剂");
    EXPECT_EQ(prompter.messages().back().text, "注意：同一分项下 ［工程数量］ 相等！");

    // Type the size; the quantity follows on both rows of the item.
    grid.setCurrentIndex(grid.gridModel()->index(1, kItemSize));
    grid.edit(grid.gridModel()->index(1, kItemSize));
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("3.6*2.8");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.form().grid().text(1, kItemSize), "3.6×2.8");
    EXPECT_EQ(dialog.form().grid().text(1, kWorkQuantity), "10.08");
    EXPECT_EQ(dialog.form().grid().text(2, kWorkQuantity), "10.08");  // the item's other row

    // A quantity cell takes only what can become a number: typed letters never turn the
    // item's quantity into 0.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the size's editor
    grid.setCurrentIndex(grid.gridModel()->index(2, kWorkQuantity));
    grid.edit(grid.gridModel()->index(2, kWorkQuantity));
    editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "abc");
    EXPECT_EQ(editor->text(), "10.08") << "nothing typed replaced the selection";
    editor->clear();
    QTest::keyClicks(editor, "-1x2.5.0");
    EXPECT_EQ(editor->text(), "-12.50");
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.form().grid().text(1, kWorkQuantity), "10.08");

    // A material picked on row 5 without a work item: confirming asks first, and No keeps
    // everything as typed.
    dialog.openMaterialPicker(5);
    auto* materials = dialog.findChild<QTreeWidget*>("材料选择");
    ASSERT_NE(materials, nullptr);
    emit materials->itemActivated(findItem(materials, "水泥砂浆"), 0);
    int written = 0;
    QObject::connect(&dialog, &EntryDialog::written, [&] { ++written; });
    prompter.answer(Answer::No);
    dialog.findChild<QPushButton*>("确认按钮")->click();
    EXPECT_EQ(written, 0);
    EXPECT_EQ(prompter.messages().back(),
              (test::ScriptedPrompter::Message{
                  "第 5 行数据不完整，不会被录入。是否继续录入其余数据？", "询问:", 292}));
    EXPECT_EQ(doc.analysis.text(2, A::kLocation), "");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("部位名称")->text(), "客厅");
    prompter.answer(Answer::Yes);
    dialog.findChild<QPushButton*>("确认按钮")->click();
    EXPECT_EQ(written, 1);
    const Grid& a = doc.analysis;
    EXPECT_EQ(a.text(2, A::kLocation), "客厅");
    EXPECT_EQ(a.text(2, A::kStructureSize), "3.6×4.2");
    EXPECT_EQ(a.text(2, A::kMaterialQuantity), "0.2016");
    EXPECT_EQ(a.text(3, A::kMaterialQuantity), "3.024");
    EXPECT_EQ(a.mergeAt(3, A::kWorkQuantity),
              (CellRange{2, A::kWorkQuantity, 3, A::kWorkQuantity}));
    EXPECT_EQ(a.mergeAt(3, A::kNumber), (CellRange{2, A::kNumber, 3, A::kNumber}));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("部位名称")->text(), "");  // ready for the next
    // The fresh rows wait on the first size, where Enter in 结构尺寸 leads, as on opening.
    EXPECT_EQ(dialog.grid().currentIndex(), dialog.grid().gridModel()->index(1, kItemSize));

    dialog.openForModify(0);
    EXPECT_EQ(dialog.windowTitle(), "数据修改");
    EXPECT_EQ(dialog.findChild<QLabel*>("录入标题")->text(),
              " 数据修改 (同一分项下，工程数量必须一致)");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("部位名称")->text(), "客厅");
    dialog.clearForm();
    EXPECT_EQ(dialog.findChild<QLabel*>("录入标题")->text(),
              " 数据录入 (同一分项下，工程数量必须一致)");
}

// The entry dialog opened for a new location of a fresh project.
struct FreshEntry {
    FreshEntry() { dialog.openForAdd(); }
    ProjectDocument doc = [] {
        ProjectDocument fresh;
        resetProject(fresh);
        return fresh;
    }();
    test::ScriptedPrompter prompter;
    test::TempDir programDir;
    AppSettings settings{programDir / "Brix.ini"};
    QWidget owner;
    EntryDialog dialog{doc, prompter, settings, &owner};
};

TEST(EntryDialog, EnterInTheLastNoteAddsARowAndMovesOntoIt) {
    FreshEntry fresh;
    auto& [doc, prompter, programDir, settings, owner, dialog] = fresh;
    GridView& grid = dialog.grid();
    grid.setCurrentIndex(grid.gridModel()->index(5, kNote));
    QTest::keyClick(&grid, Qt::Key_Return);  // not the last row
    EXPECT_EQ(dialog.form().grid().rowCount(), 11);
    grid.setCurrentIndex(grid.gridModel()->index(10, kNote));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(dialog.form().grid().rowCount(), 12);
    EXPECT_EQ(dialog.form().grid().text(11, kNumber), "11");
    EXPECT_EQ(grid.currentIndex(), grid.gridModel()->index(11, kCode));
}

TEST(EntryDialog, CtrlZInTheGridTakesBackItsOwnEdits) {
    FreshEntry fresh;
    auto& [doc, prompter, programDir, settings, owner, dialog] = fresh;
    GridView& grid = dialog.grid();
    const Grid opened = dialog.form().grid();
    grid.gridModel()->setData(grid.gridModel()->index(1, kItemSize), "4.2*5.1", Qt::EditRole);
    grid.setCurrentIndex(grid.gridModel()->index(3, kNote));
    QTest::keyClick(&grid, Qt::Key_Insert);
    const int rows = dialog.form().grid().rowCount();
    ASSERT_EQ(rows, opened.rowCount() + 1);
    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(dialog.form().grid().rowCount(), opened.rowCount());
    EXPECT_NE(dialog.form().grid().text(1, kItemSize), "");
    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(dialog.form().grid().text(1, kItemSize), "");
    QTest::keyClick(&grid, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialog.form().grid().rowCount(), rows);
    // Another location loaded: nothing of the earlier one is taken back.
    dialog.clearForm();
    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(dialog.form().grid().rowCount(), opened.rowCount());
    EXPECT_EQ(doc.locations.size(), 0u) << "the project is not touched";
}

TEST(EntryDialog, CtrlVPastesABlockOnASelectedCellAndCtrlZTakesItAllBack) {
    FreshEntry fresh;
    auto& [doc, prompter, programDir, settings, owner, dialog] = fresh;
    GridView& grid = dialog.grid();
    // Two rows copied from a spreadsheet: sizes, and a note five columns on.
    QGuiApplication::clipboard()->setText("3.6*2.8\t\t\t\t\t说明一\r\n2x3\r\n");
    grid.setCurrentIndex(grid.gridModel()->index(1, kItemSize));
    const Grid& form = dialog.form().grid();
    const auto everything = [](const Grid& g) {
        return blockText(g, {0, 0, g.rowCount() - 1, g.columnCount() - 1});
    };
    const std::string opened = everything(form);
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);  // no editor open
    EXPECT_EQ(form.text(1, kItemSize), "3.6×2.8");
    EXPECT_EQ(form.text(1, kNote), "说明一");
    EXPECT_EQ(form.text(2, kItemSize), "2×3");
    EXPECT_TRUE(prompter.messages().empty());

    // Ctrl+C copies the selected block as a spreadsheet takes it.
    grid.selectionModel()->select(QItemSelection(grid.gridModel()->index(1, kItemSize),
                                                 grid.gridModel()->index(2, kWorkQuantity)),
                                  QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "3.6×2.8\t\r\n2×3\t\r\n");

    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(everything(form), opened) << "the whole block is one step";
    QTest::keyClick(&grid, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form.text(2, kItemSize), "2×3");

    // What cannot go in is said once, for all its cells.
    QGuiApplication::clipboard()->setText("九九\t1\r\n八八\t2\r\n");
    grid.setCurrentIndex(grid.gridModel()->index(3, kWorkQuantity));
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text,
              "粘贴时有以下单元格需要注意：\r\n"
              "第3行“工程数量”的“九九”：不是数值，未粘贴。\r\n"
              "第3行“使用材料名称”的“1”：材料表中没有这种材料，未粘贴。\r\n"
              "第4行“工程数量”的“八八”：不是数值，未粘贴。\r\n"
              "第4行“使用材料名称”的“2”：材料表中没有这种材料，未粘贴。");
}

TEST(EntryDialog, ACodeOrANameTypedOnTheCodeCellFindsTheWorkItemAndTheCursorMovesOn) {
    FreshEntry fresh;
    auto& [doc, prompter, programDir, settings, owner, dialog] = fresh;
    GridView& grid = dialog.grid();
    const Grid& form = dialog.form().grid();
    const auto at = [&] {
        return std::pair(grid.currentIndex().row(), grid.currentIndex().column());
    };
    const auto typeSize = [&](int row, const QString& size) {
        grid.setCurrentIndex(grid.gridModel()->index(row, kItemSize));
        grid.edit(grid.gridModel()->index(row, kItemSize));
        auto* editor = grid.findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(size);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    // The item first: "107" finds 030107 砖面层; Enter takes it, and its size is next.
    grid.setCurrentIndex(grid.gridModel()->index(1, kCode));
    QTest::keyClick(&grid, Qt::Key_1);
    auto* finder = dialog.findChild<QFrame*>("分项查找");
    ASSERT_NE(finder, nullptr);
    auto* box = finder->findChild<QLineEdit*>("分项查找框");
    auto* matches = finder->findChild<QListWidget*>("分项匹配");
    EXPECT_EQ(box->text(), "1");
    QTest::keyClicks(box, "07");
    ASSERT_EQ(matches->count(), 1);
    EXPECT_EQ(matches->item(0)->text(), "030107  砖面层");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(form.text(1, kCode), "030107");
    EXPECT_EQ(at(), std::pair(1, kItemSize));
    // Sized with Enter: the next item goes into the next free row.
    typeSize(1, "3.6*4.2");
    EXPECT_EQ(form.text(1, kItemSize), "3.6×4.2");
    EXPECT_EQ(at(), std::pair(2, kCode));

    // The size first: Enter goes to the row's code; a name's part finds the item, Down
    // chooses the second match, and the size of the next free row is next.
    typeSize(3, "2*3");
    EXPECT_EQ(at(), std::pair(3, kCode));
    QTest::keyClick(&grid, Qt::Key_0);
    finder = dialog.findChildren<QFrame*>("分项查找").back();
    box = finder->findChild<QLineEdit*>("分项查找框");
    box->setText("涂饰");
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(form.text(3, kCode), "030802");
    EXPECT_EQ(at(), std::pair(4, kItemSize));

    // Esc leaves the cell as it was; so does Enter when nothing matches.
    grid.setCurrentIndex(grid.gridModel()->index(4, kCode));
    QTest::keyClick(&grid, Qt::Key_9);
    finder = dialog.findChildren<QFrame*>("分项查找").back();
    box = finder->findChild<QLineEdit*>("分项查找框");
    QTest::keyClicks(box, "99");
    EXPECT_EQ(finder->findChild<QListWidget*>("分项匹配")->count(), 0);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(finder->isVisible());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(form.text(4, kCode), "");

    // The picker opens on the item picked last for an empty row.
    dialog.openWorkItemPicker(4);
    auto* tree = dialog.findChildren<QTreeWidget*>("分项选择").back();
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->currentItem()->text(0), "溶剂型涂料涂饰");
    tree->close();
    EXPECT_TRUE(prompter.messages().empty());
}

TEST(EntryDialog, BothTicksStayAsTheSurveyorLeftThemFromPickToPickAndStartToStart) {
    FreshEntry fresh;
    auto& [doc, prompter, programDir, settings, owner, dialog] = fresh;
    auto* autoCalculate = dialog.findChild<QCheckBox*>("自动计算");
    auto* useProcess = dialog.findChild<QCheckBox*>("使用分项工艺");
    EXPECT_FALSE(autoCalculate->isChecked());
    EXPECT_FALSE(useProcess->isChecked());
    autoCalculate->click();
    useProcess->click();
    dialog.openWorkItemPicker(1);
    auto* tree = dialog.findChildren<QTreeWidget*>("分项选择").back();
    emit tree->itemActivated(findItem(tree, "砖面层"), 0);
    EXPECT_EQ(dialog.form().grid().text(1, kCode), "030107");
    EXPECT_TRUE(useProcess->isChecked()) << "still ticked after the pick";

    EntryDialog again(doc, prompter, settings, &owner);  // the next start
    EXPECT_TRUE(again.findChild<QCheckBox*>("自动计算")->isChecked());
    EXPECT_TRUE(again.findChild<QCheckBox*>("使用分项工艺")->isChecked());
    useProcess->click();
    EXPECT_FALSE(EntryDialog(doc, prompter, settings, &owner)
                     .findChild<QCheckBox*>("使用分项工艺")
                     ->isChecked());
}

TEST(EntryDialog, PickersShowIconsAndOpenOntoTheCurrentItem) {
    ProjectDocument doc;
    resetProject(doc);
    test::ScriptedPrompter prompter;
    for (int r = 1; r <= 3; ++r) {
        doc.materials.setText(r, MaterialColumn::kCategory, r == 3 ? "涂料" : "砂浆");
        doc.materials.setText(r, MaterialColumn::kName,
                              r == 3 ? "乳胶漆" : "水泥砂浆" + std::to_string(r));
        doc.materials.setText(r, MaterialColumn::kUnit, "千克");
    }
    rebuildCatalogue(doc);
    test::TempDir programDir;
    AppSettings settings(programDir / "Brix.ini");
    QWidget owner;
    EntryDialog dialog(doc, prompter, settings, &owner);
    dialog.openForAdd();
    dialog.form().grid().setText(2, kCode, "030101-6");
    dialog.form().grid().setText(2, kMaterialName, "乳胶漆");

    dialog.openWorkItemPicker(2);
    auto* items = dialog.findChild<QTreeWidget*>("分项选择");
    ASSERT_NE(items, nullptr);
    QTreeWidgetItem* current = items->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(0), "炉渣垫层");
    for (QTreeWidgetItem* above = current->parent(); above != nullptr; above = above->parent()) {
        EXPECT_TRUE(above->isExpanded()) << above->text(0).toStdString();
        EXPECT_FALSE(above->icon(0).isNull());
    }
    EXPECT_FALSE(current->icon(0).isNull());
    EXPECT_FALSE(findItem(items, "建筑暖通")->icon(0).isNull());
    items->close();

    dialog.openWorkItemPicker(1);  // no code yet: the divisions open on their sub-divisions
    items = dialog.findChildren<QTreeWidget*>("分项选择").back();
    EXPECT_TRUE(items->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(findItem(items, "地面")->isExpanded());
    items->close();

    dialog.openMaterialPicker(2);
    auto* materials = dialog.findChild<QTreeWidget*>("材料选择");
    ASSERT_NE(materials, nullptr);
    ASSERT_NE(materials->currentItem(), nullptr);
    EXPECT_EQ(materials->currentItem()->text(0), "乳胶漆");
    EXPECT_TRUE(materials->currentItem()->parent()->isExpanded());
    EXPECT_FALSE(materials->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(materials->currentItem()->icon(0).isNull());
    EXPECT_FALSE(materials->topLevelItem(0)->icon(0).isNull());
    // Esc closes a picker without choosing.
    const QPointer<QTreeWidget> picker = materials;
    QTest::keyClick(materials, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(picker.isNull() || !picker->isVisible());
    EXPECT_EQ(dialog.form().grid().text(2, kMaterialName), "乳胶漆");
}

}  // namespace
}  // namespace tf::gui

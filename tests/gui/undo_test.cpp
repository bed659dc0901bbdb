// Undo and redo in the main window: the keys, the entries of 编辑 and the status bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_file.h"
#include "core/stats/statistics_layout.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/grid_model.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/event_wait.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

// The texts and enabling of the 编辑 menu's last two entries.
std::vector<std::pair<QString, bool>> undoEntries(MainWindow& window) {
    window.popupMenu(Menu::Edit, QPoint(0, 0));
    auto* popup = window.findChild<QMenu*>("编辑");
    std::vector<std::pair<QString, bool>> entries;
    const auto actions = popup->actions();
    for (auto it = actions.end() - 2; it != actions.end(); ++it) {
        entries.emplace_back((*it)->text(), (*it)->isEnabled());
    }
    delete popup;
    return entries;
}

TEST(UndoKeys, CtrlZTakesBackADeletedLocationAndCtrlYDeletesItAgain) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 4);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), test::kEventCeilingMs));
    const ProjectDocument& document = window->document();
    using Entries = std::vector<std::pair<QString, bool>>;
    EXPECT_EQ(undoEntries(*window), (Entries{{"撤销\tCtrl+Z", false}, {"重做\tCtrl+Y", false}}));
    const std::string opened = buildProjectImage(document);

    auto* view = window->findChild<GridView*>("分析表");
    emit view->cellPressed(2, 1, Qt::LeftButton, QPoint());
    prompter.answer(Answer::Yes);
    window->dispatch(Command::DeleteLocation);
    ASSERT_EQ(document.locations.size(), 3u);
    EXPECT_TRUE(document.modified);
    // The title shows the unsaved change with "*", and undo back to the saved state takes it.
    EXPECT_TRUE(window->windowTitle().endsWith(".gdb[*]"));
    EXPECT_TRUE(window->isWindowModified());
    const std::string deleted = buildProjectImage(document);
    EXPECT_EQ(undoEntries(*window),
              (Entries{{"撤销 删除一组\tCtrl+Z", true}, {"重做\tCtrl+Y", false}}));

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document.locations.size(), 4u);
    EXPECT_TRUE(buildProjectImage(document) == opened);
    EXPECT_FALSE(document.modified) << "back as it was saved";
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(prompter.status(), "撤销 删除一组");
    EXPECT_EQ(undoEntries(*window),
              (Entries{{"撤销\tCtrl+Z", false}, {"重做 删除一组\tCtrl+Y", true}}));

    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(document.locations.size(), 3u);
    EXPECT_TRUE(buildProjectImage(document) == deleted);
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(prompter.status(), "重做 删除一组");
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(document.locations.size(), 3u);

    // A statistic row of the statistics page is a step of its own.
    window->pressPageButton(MainWindow::StatisticsPage);
    const int rows = window->statistics().summary.rowCount();
    window->dispatch(Command::SumAllRows);
    ASSERT_EQ(window->statistics().summary.rowCount(), rows + 1);
    EXPECT_EQ(undoEntries(*window)[0].first, "撤销 合计所有行\tCtrl+Z");
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->statistics().summary.rowCount(), rows);
    EXPECT_FALSE(window->statistics().statisticRow);
    EXPECT_EQ(document.locations.size(), 3u) << "the project stays as it was";

    // So is a note typed into 说明.
    auto* summary = window->findChild<GridView*>("统计表");
    const int note = SummaryColumn::kNote;
    summary->gridModel()->setData(summary->gridModel()->index(2, note), "甲供", Qt::EditRole);
    EXPECT_EQ(window->statistics().summary.text(2, note), "甲供");
    EXPECT_EQ(undoEntries(*window)[0].first, "撤销 修改说明\tCtrl+Z");
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->statistics().summary.text(2, note), "");
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(window->statistics().summary.text(2, note), "甲供");
}

TEST(UndoKeys, ABlockPastedIntoTheMaterialTableIsOneStep) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 4);
    window->activateWindow();
    window->pressPageButton(MainWindow::MaterialPage);
    const ProjectDocument& document = window->document();
    auto* view = window->findChild<GridView*>("材料表");
    view->setCurrentIndex(view->gridModel()->index(1, MaterialColumn::kNote));
    const std::string opened = buildProjectImage(document);
    QGuiApplication::clipboard()->setText("进口\r\n国产\r\n");
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(document.materials.text(1, MaterialColumn::kNote), "进口");
    EXPECT_EQ(document.materials.text(2, MaterialColumn::kNote), "国产");
    EXPECT_TRUE(prompter.messages().empty());
    // The title marks the change at its next look at the project.
    EXPECT_TRUE(test::waitUntil([&] { return window->isWindowModified(); }));
    window->activateWindow();  // Ctrl+Z is a key of the active window
    ASSERT_TRUE(test::waitUntil([&] { return QApplication::activeWindow() == window.get(); }));

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(buildProjectImage(document) == opened);
    EXPECT_EQ(prompter.status(), "撤销 粘贴");
}

TEST(UndoKeys, InsKeyInsertsALocationBeforeTheCurrentOneAndCtrlZTakesItOut) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 4);
    const ProjectDocument& document = window->document();
    const std::string second(
        document.analysis.text(document.locations[1].first, AnalysisColumn::kLocation));
    auto* view = window->findChild<GridView*>("分析表");
    emit view->cellPressed(document.locations[1].first, 1, Qt::LeftButton, QPoint());
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Insert);
    EntryDialog& entry = window->entryDialog();
    ASSERT_TRUE(entry.isVisible());
    EXPECT_EQ(entry.windowTitle(), "插入部位");
    EXPECT_EQ(entry.findChild<QLabel*>("录入标题")->text().toStdString(),
              " 插入部位：在第 2 个部位“" + second + "”之前 (同一分项下，工程数量必须一致)");
    EXPECT_EQ(entry.findChild<QPushButton*>("确认按钮")->text(), "确认插入(&O)");
    EntryForm& form = entry.form();
    entry.findChild<QLineEdit*>("部位名称")->setText("2层过道");
    form.grid().setText(1, EntryColumn::kCode, "030201");
    form.grid().setText(1, EntryColumn::kWorkQuantity, "8");
    form.pickMaterial(1, 1001);
    form.grid().setText(1, EntryColumn::kMaterialQuantity, "0.4");
    entry.findChild<QPushButton*>("确认按钮")->click();
    ASSERT_EQ(document.locations.size(), 5u);
    EXPECT_EQ(document.analysis.text(document.locations[1].first, AnalysisColumn::kLocation),
              "2层过道");
    EXPECT_EQ(document.analysis.text(document.locations[2].first, AnalysisColumn::kLocation),
              second);
    EXPECT_EQ(document.analysis.text(document.locations[2].first, AnalysisColumn::kNumber), "3");
    entry.close();

    window->activateWindow();
    ASSERT_TRUE(test::waitUntil([&] { return QApplication::activeWindow() == window.get(); }));
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(prompter.status(), "撤销 插入部位");
    EXPECT_EQ(document.locations.size(), 4u);
    EXPECT_EQ(document.analysis.text(document.locations[1].first, AnalysisColumn::kLocation),
              second);
    EXPECT_EQ(document.analysis.text(document.locations[1].first, AnalysisColumn::kNumber), "2");
    EXPECT_FALSE(document.modified);
}

}  // namespace
}  // namespace tf::gui

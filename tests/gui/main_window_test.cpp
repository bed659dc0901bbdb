#include "gui/shell/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "core/project/analysis_layout.h"
#include "core/shell/program_data.h"
#include "gui/shell/splash_window.h"
#include "gui/shell/startup.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/event_wait.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

using Message = test::ScriptedPrompter::Message;

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() {
        test::writeFile(programDir / "ZUdavu.dat", buildProgramData({1, {"消息一", "消息二"}}));
    }
    QString dir() const { return QString::fromStdString(programDir.path().string()); }
    QTabWidget* pages(MainWindow& w) { return w.findChild<QTabWidget*>("选择夹1"); }

    test::TempDir programDir;
    test::ScriptedPrompter prompter;
};

TEST_F(MainWindowTest, StartsThroughTheSplashOntoTheStartPage) {
    // The start registers project files with the desktop: in a folder of the test's own.
    const auto desktop = programDir.path() / "xdg";
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((desktop / "home").string()));
    qputenv("XDG_DATA_DIRS", QByteArray::fromStdString((desktop / "system").string()));
    MainWindow window(dir(), &prompter);
    SplashWindow splash;
    EXPECT_EQ(splash.geometry().center(), splash.screen()->availableGeometry().center());
    EXPECT_EQ(splash.timer(1).interval(), 1500);
    EXPECT_EQ(splash.timer(2).interval(), 1000);
    EXPECT_EQ(splash.timer(3).interval(), 500);
    ASSERT_TRUE(startProgram(window, splash, {}));
    EXPECT_EQ(splash.captionHistory(),
              (QStringList{"程序正在初始化……", "加载功能模块……", "数据初始化……", "程序准备完毕"}));
    EXPECT_FALSE(splash.isVisible());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Tallyframe2009(现场版)[*]");
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(pages(window)->currentIndex(), MainWindow::StartPage);
    EXPECT_EQ(window.dataNumber(), 1);
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_NE(test::readFile(desktop / "home/applications/tallyframe.desktop").find("%f"),
              std::string::npos)
        << "double-clicking a project file starts the program with it";
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
    // The data file is held until the program ends.
    EXPECT_FALSE(ExclusiveFile::open(programDir / "ZUdavu.dat", ExclusiveFile::Mode::ReadOnly));
    for (const char* name :
         {"图片框1",  "图形按钮1",  "图形按钮4", "图形按钮15", "分析表",  "统计表",
          "分统计表", "累计统计表", "材料表",    "树型框1",    "树型框2", "单选框1",
          "标签1",    "标签2",      "标签3",     "标签7",      "标签8",   "标签12",
          "状态条1",  "编辑框1",    "外形框1",   "图形按钮14"}) {
        EXPECT_NE(window.findChild<QWidget*>(name), nullptr) << name;
    }
}

TEST_F(MainWindowTest, ALongStatusNoteIsCutBeforeTheLinkNotDrawnOverIt) {
    MainWindow window(dir(), &prompter);
    window.resize(900, 600);
    window.show();
    auto* panel = window.findChild<QLabel*>("消息面板");
    auto* link = window.findChild<QLabel*>("标签8");
    QCoreApplication::processEvents();
    const int width = window.width();
    panel->setText(QString("标题过长，打印文件中只保存了能放下的部分。").repeated(6));
    ASSERT_TRUE(test::waitUntil(
        [&] { return panel->geometry().right() < link->geometry().left() && link->isVisible(); }));
    EXPECT_EQ(window.width(), width) << "the window keeps its width";
    EXPECT_LE(link->geometry().right(), window.statusBar()->width());
}

TEST_F(MainWindowTest, MissingDataFileStopsTheStart) {
    std::filesystem::remove(programDir / "ZUdavu.dat");
    MainWindow window(dir(), &prompter);
    SplashWindow splash;
    EXPECT_FALSE(startProgram(window, splash, {}));
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"加载ZUdavu.dat文件失败，系统无法正常启动！", "错误:", 48}}));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, UnreadableDataFileIsRefused) {
    test::writeFile(programDir / "ZUdavu.dat", "xy");
    MainWindow window(dir(), &prompter);
    EXPECT_FALSE(window.loadProgramData());
}

QStringList menuTexts(MainWindow& window, Menu menu) {
    window.popupMenu(menu, QPoint(0, 0));
    auto* popup = window.findChild<QMenu*>(QString::fromUtf8(menuTitle(menu).data()));
    QStringList texts;
    for (QAction* action : popup->actions()) {
        texts << (action->isSeparator() ? "-" : action->text());
    }
    popup->close();
    delete popup;
    return texts;
}

TEST_F(MainWindowTest, MenusShowTheirCaptionsKeysAndSeparators) {
    MainWindow window(dir(), &prompter);
    EXPECT_EQ(menuTexts(window, Menu::File),
              (QStringList{"工程向导", "-", "新建\tCtrl+N", "打开\tCtrl+O", "-", "保存\tCtrl+S",
                           "另存为", "-", "工程对比…", "保存版本…", "版本…", "-", "自动保存设置",
                           "-", "打印\tCtrl+P", "-", "退出"}));
    EXPECT_EQ(menuTexts(window, Menu::Material),
              (QStringList{"添加一行\tInsert", "删除一行    Ctrl+Del", "-", "导入数据", "导出数据",
                           "-", "从价格库取价…", "价格库…", "保存到价格库", "-", "查找",
                           "查找下一个\tCtrl+G", "查找上一个\tCtrl+Shift+G", "-", "材料关联\tF8",
                           "-", "导出为Excel…", "导出全部为Excel…"}));
    EXPECT_EQ(
        menuTexts(window, Menu::Analysis),
        (QStringList{"添加新数据   (空格键)", "插入部位      Ins", "修改          F3", "-",
                     "删除一组      Ctrl+Del", "-", "统计数据      F2", "-", "查看附加资料  F6",
                     "查看单元格内容", "-", "导出为Excel…", "导出全部为Excel…"}));
}

TEST_F(MainWindowTest, ProgramKeysAreNumberedInOrder) {
    MainWindow window(dir(), &prompter);
    const auto& entries = window.shortcuts().entries();
    ASSERT_EQ(entries.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(entries[static_cast<std::size_t>(i)].number, i + 1);
    }
    EXPECT_EQ(entries[2].command, Command::SaveProject);
    EXPECT_EQ(entries[4].key, "F4");
}

TEST_F(MainWindowTest, PageButtonsSwitchPagesAndTheStatus) {
    MainWindow window(dir(), &prompter);
    window.show();
    window.pressPageButton(MainWindow::MaterialPage);
    EXPECT_EQ(prompter.status(), "材料表");
    EXPECT_EQ(pages(window)->currentIndex(), MainWindow::MaterialPage);
    EXPECT_TRUE(window.findChild<QToolButton*>("图形按钮3")->isChecked());
    EXPECT_EQ(window.document().materials.cursor(), (CellPos{1, 1}));

    // Pressing the pressed button changes only the status text.
    prompter.setStatus("其他");
    window.document().materials.setCursor(5, 2);
    window.pressPageButton(MainWindow::MaterialPage);
    EXPECT_EQ(prompter.status(), "材料表");
    EXPECT_EQ(window.document().materials.cursor(), (CellPos{5, 2}));

    window.findChild<QToolButton*>("图形按钮1")->click();
    EXPECT_EQ(pages(window)->currentIndex(), MainWindow::AnalysisPage);
    EXPECT_FALSE(window.findChild<QToolButton*>("图形按钮3")->isChecked());
    EXPECT_EQ(prompter.status(), "分析表");
}

TEST_F(MainWindowTest, ColumnLayoutFollowsTheWindowWidth) {
    MainWindow window(dir(), &prompter);
    window.resize(1100, 700);
    window.show();
    EXPECT_EQ(window.document().analysis.column(7).width, 140);
    EXPECT_EQ(window.document().materials.column(2).width, 250);
    QCoreApplication::processEvents();  // the view follows its grid on the next loop turn
    EXPECT_EQ(window.findChild<GridView*>("分析表")->columnWidth(7), 140);
}

TEST_F(MainWindowTest, ClosingWithCancelKeepsTheProgramAndTheProject) {
    MainWindow window(dir(), &prompter);
    window.show();
    window.document().analysis.setText(2, 1, "客厅");
    window.document().modified = true;
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.document().analysis.text(2, 1), "客厅");
    EXPECT_TRUE(window.document().modified);
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{{"文件被修改，是否保存？", "询问:", 547}}));

    prompter.answer(Answer::No);
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowTest, CommandLineOpensAProjectAndIgnoresOtherNames) {
    MainWindow window(dir(), &prompter);
    window.openFromCommandLine({(programDir / "nothing.gdb").string().c_str()});
    window.openFromCommandLine({(programDir / "ZUdavu.dat").string().c_str()});
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(window.windowTitle(), "Tallyframe2009(现场版)[*]");
}

}  // namespace
}  // namespace tf::gui

namespace tf::gui {
namespace {

TEST_F(MainWindowTest, RefreshOnTheMaterialPageRewritesTheTable) {
    MainWindow window(dir(), &prompter);
    window.show();
    window.pressPageButton(MainWindow::MaterialPage);
    window.dispatch(Command::Refresh);
    const auto& history = prompter.statusHistory();
    ASSERT_GE(history.size(), 2u);
    EXPECT_EQ(history[history.size() - 2], "刷新当前表格");
    EXPECT_EQ(history.back(), "刷新完毕");
}

}  // namespace
}  // namespace tf::gui

#include "cli/sample_project.h"
#include "core/entry/entry_form.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "gui/entry/entry_dialog.h"
#include "tests/gui/pane_alignment.h"

namespace tf::gui {
namespace {

// The material 1001: 水泥砂浆 (砂浆, 立方米).
void addMortar(ProjectDocument& doc) {
    doc.materials.setText(1, MaterialColumn::kCategory, "砂浆");
    doc.materials.setText(1, MaterialColumn::kName, "水泥砂浆");
    doc.materials.setText(1, MaterialColumn::kUnit, "立方米");
    rebuildCatalogue(doc);
}

TEST_F(MainWindowTest, PressingARowMakesItsLocationCurrentAndDeleteRemovesIt) {
    MainWindow window(dir(), &prompter);
    window.show();
    ProjectDocument& doc = window.document();
    addMortar(doc);
    EntryForm form(doc, prompter);
    form.open();
    for (const char* name : {"客厅", "卧室"}) {
        form.location = name;
        form.grid().setText(1, EntryColumn::kCode, "030201");
        form.grid().setText(1, EntryColumn::kWorkQuantity, "2");
        form.pickMaterial(1, 1001);
        form.grid().setText(1, EntryColumn::kMaterialQuantity, "1");
        ASSERT_TRUE(form.confirm());
    }
    auto* view = window.findChild<GridView*>("分析表");
    view->refresh();
    emit view->cellPressed(3, 1, Qt::LeftButton, QPoint());
    EXPECT_EQ(window.currentLocation(), 1);
    emit view->cellPressed(10, 1, Qt::LeftButton, QPoint());  // 序号 3: no such location
    EXPECT_FALSE(window.currentLocation());

    emit view->cellPressed(2, 1, Qt::LeftButton, QPoint());
    prompter.answer(Answer::No);
    window.dispatch(Command::DeleteLocation);
    EXPECT_EQ(doc.locations.size(), 2u);
    EXPECT_EQ(prompter.messages().back().text, "确定删除当前部位“客厅”的全部数据吗？")
        << "nothing attached, nothing more said";
    prompter.answer(Answer::Yes);
    window.dispatch(Command::DeleteLocation);
    EXPECT_EQ(doc.locations, (LocationIndex{{2, 2}}));
    EXPECT_EQ(doc.analysis.text(2, AnalysisColumn::kLocation), "卧室");
    EXPECT_EQ(doc.analysis.text(2, AnalysisColumn::kNumber), "1");
    EXPECT_EQ(prompter.messages().back().flags, 292);
}

// Covers `row` in some dataChanged emission the spy recorded.
bool toldOfRow(const QSignalSpy& spy, int row) {
    for (const QList<QVariant>& arguments : spy) {
        const auto top = arguments[0].toModelIndex();
        const auto bottom = arguments[1].toModelIndex();
        if (top.row() <= row && row <= bottom.row()) {
            return true;
        }
    }
    return false;
}

TEST_F(MainWindowTest, ARepairedRenameReachesTheAnalysisViewAtOnce) {
    MainWindow window(dir(), &prompter);
    window.show();
    ProjectDocument& doc = window.document();
    addMortar(doc);
    EntryForm form(doc, prompter);
    form.open();
    form.location = "客厅";
    for (int r = 1; r <= 2; ++r) {
        form.grid().setText(r, EntryColumn::kCode, r == 1 ? "030201" : "030202");
        form.grid().setText(r, EntryColumn::kWorkQuantity, "2");
        form.pickMaterial(r, 1001);
        form.grid().setText(r, EntryColumn::kMaterialQuantity, "1");
    }
    ASSERT_TRUE(form.confirm());
    QCoreApplication::processEvents();

    auto* analysis = window.findChild<GridView*>("分析表");
    auto* materials = window.findChild<GridView*>("材料表");
    window.pressPageButton(MainWindow::MaterialPage);
    for (const QString name : {"水泥砂浆M5", "水泥砂浆M7.5"}) {
        QSignalSpy spy(analysis->gridModel(), &QAbstractItemModel::dataChanged);
        const QModelIndex cell = materials->gridModel()->index(1, MaterialColumn::kName);
        materials->setCurrentIndex(cell);
        materials->edit(cell);
        auto* line = materials->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        line->setText(name);
        prompter.answer(Answer::Yes);  // repair the analysis rows
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();  // the commit
        QCoreApplication::processEvents();  // the views follow
        EXPECT_EQ(doc.analysis.text(3, AnalysisColumn::kMaterialName), name.toStdString());
        EXPECT_TRUE(toldOfRow(spy, 2) && toldOfRow(spy, 3)) << name.toStdString();
        EXPECT_EQ(analysis->gridModel()->index(3, AnalysisColumn::kMaterialName).data(), name);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(MainWindowTest, ANewEntryIsNoLocationAndClosingTheDialogNamesThePageAgain) {
    MainWindow window(dir(), &prompter);
    window.show();
    ProjectDocument& doc = window.document();
    addMortar(doc);
    window.pressPageButton(MainWindow::AnalysisPage);
    EntryDialog& dialog = window.entryDialog();
    dialog.openForAdd();
    dialog.form().location = "客厅";
    dialog.form().grid().setText(1, EntryColumn::kCode, "030201");
    dialog.form().grid().setText(1, EntryColumn::kWorkQuantity, "2");
    dialog.form().pickMaterial(1, 1001);
    dialog.form().grid().setText(1, EntryColumn::kMaterialQuantity, "1");
    ASSERT_TRUE(dialog.form().confirm());
    QCoreApplication::processEvents();

    // The user clicks the location, then starts a new entry and types a row: F3 now has no
    // location to switch to, so the typed row stays.
    auto* analysis = window.findChild<GridView*>("分析表");
    emit analysis->cellPressed(2, 1, Qt::LeftButton, QPoint());
    ASSERT_EQ(window.currentLocation(), 0);
    window.dispatch(Command::AddEntry);
    EXPECT_EQ(prompter.status(), "添加或修改数据");
    EXPECT_FALSE(window.currentLocation());
    dialog.form().grid().setText(1, EntryColumn::kItemSize, "3×4");
    QTest::keyClick(analysis, Qt::Key_F3);
    EXPECT_EQ(dialog.windowTitle(), "数据录入");
    EXPECT_EQ(dialog.form().grid().text(1, EntryColumn::kItemSize), "3×4");

    dialog.findChild<QPushButton*>("取消按钮")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompter.status(), "分析表");
}

TEST_F(MainWindowTest, FixedPanesStayOnTheirRowsWhenTheTablesScrollToTheEnd) {
    MainWindow window(dir(), &prompter);
    cli::buildSampleProject(window.document(), 40);
    window.resize(1280, 800);
    window.show();
    for (const auto& [page, name] : {std::pair{MainWindow::MaterialPage, "材料表"},
                                     std::pair{MainWindow::AnalysisPage, "分析表"}}) {
        window.pressPageButton(page);
        auto* view = window.findChild<GridView*>(name);
        expectPanesAligned(*view, name);
        wheelToTheEnd(*view);
        expectPanesAligned(*view, name);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        expectPanesAligned(*view, name);
    }
}

}  // namespace
}  // namespace tf::gui

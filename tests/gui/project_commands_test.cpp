// The project commands through the main window: new, entry, save as, close, reopen; files
// dropped on the tables; the auto-save settings window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include "core/base/text_codec.h"
#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "core/shell/program_data.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/grid_view.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

using Message = test::ScriptedPrompter::Message;

class ProjectCommandsTest : public ::testing::Test {
  protected:
    ProjectCommandsTest() {
        test::writeFile(programDir / "ZUdavu.dat", buildProgramData({1, {"消息"}}));
    }
    QString dir() const { return QString::fromStdString(programDir.path().string()); }
    std::unique_ptr<MainWindow> window() {
        auto w = std::make_unique<MainWindow>(dir(), &prompter);
        w->resize(1200, 800);
        w->show();
        return w;
    }
    // Types into a cell through the view's own editor.
    static void type(GridView& view, int row, int column, const QString& text) {
        view.setCurrentIndex(view.gridModel()->index(row, column));
        view.edit(view.gridModel()->index(row, column));
        auto* line = view.findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);

        line->setText(text);
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void activate(QTreeWidget* tree, const QString& text) {
        const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        emit tree->itemActivated(found.front(), 0);
    }
    static void drop(GridView& view, const std::vector<std::filesystem::path>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const auto& file : files) {
            urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
        }
        data.setUrls(urls);
        const QPointF at(view.viewport()->width() / 2.0, view.viewport()->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view.viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view.viewport(), &dropped);
    }
    // A saved project whose first location is `name`.
    std::filesystem::path project(const std::string& file, const std::string& name) {
        ProjectDocument p;
        resetProject(p);
        p.analysis.setText(2, AnalysisColumn::kLocation, name);
        p.path = (work / file).string();
        EXPECT_TRUE(saveProject(p, prompter, false));
        return p.path;
    }

    test::TempDir programDir;
    test::TempDir work;
    test::ScriptedPrompter prompter;
};

TEST_F(ProjectCommandsTest, NewEntrySaveAsCloseAndReopenReadsBackTheSameProject) {
    auto w = window();
    // The start page's new button: a fresh project begins on the material page.
    w->findChild<QToolButton*>("图形按钮7")->click();
    EXPECT_EQ(prompter.status(), "材料表");
    EXPECT_EQ(prompter.pausedMilliseconds(), 1000);
    auto& materials = *w->findChild<GridView*>("材料表");
    type(materials, 1, MaterialColumn::kCategory, "砂浆");
    type(materials, 1, MaterialColumn::kName, "水泥砂浆");
    type(materials, 1, MaterialColumn::kUnit, "立方米");
    type(materials, 1, MaterialColumn::kPrice, "320");

    w->dispatch(Command::AddEntry);
    EntryDialog& entry = w->entryDialog();
    entry.findChild<QLineEdit*>("部位名称")->setText("客厅");
    entry.openWorkItemPicker(1);
    activate(entry.findChild<QTreeWidget*>("分项选择"), "一般抹灰");
    entry.openMaterialPicker(1);
    activate(entry.findChild<QTreeWidget*>("材料选择"), "水泥砂浆");
    QCoreApplication::processEvents();
    type(entry.grid(), 1, EntryColumn::kWorkQuantity, "12.5");
    type(entry.grid(), 1, EntryColumn::kMaterialQuantity, "0.25");
    entry.findChild<QPushButton*>("确认按钮")->click();
    entry.close();
    ASSERT_EQ(w->document().locations.size(), 1u);
    EXPECT_TRUE(w->document().modified);

    const std::string path = (work / "客厅.gdb").string();
    prompter.answerFile(path);
    w->dispatch(Command::SaveProjectAs);
    EXPECT_FALSE(w->document().modified);
    EXPECT_EQ(w->windowTitle().toStdString(), "Tallyframe2009(现场版) - " + path + "[*]");
    const Grid analysis = w->document().analysis;
    const Grid materialTable = w->document().materials;
    const StructureSnapshot structure = w->document().structure;
    EXPECT_TRUE(w->close());
    w.reset();

    auto again = window();
    again->openFromCommandLine({QString::fromStdString(path)});
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(prompter.status(), "分析表");
    EXPECT_TRUE(again->document().analysis == analysis);
    EXPECT_TRUE(again->document().materials == materialTable);
    EXPECT_EQ(again->document().structure, structure);
    EXPECT_EQ(again->document().analysis.text(2, AnalysisColumn::kMaterialName), "水泥砂浆");
}

TEST_F(ProjectCommandsTest, DropsOpenProjectsOnTheAnalysisTableAndImportOnTheMaterialTable) {
    auto w = window();
    const auto a = project("a.gdb", "甲");
    const auto b = project("b.GDB", "乙");
    const auto c = project("c.gdb", "丙");
    drop(*w->findChild<GridView*>("分析表"), {a, b, work / "notes.doc", c});
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"不支持此类型文件！", "", 48}}));
    EXPECT_EQ(w->document().analysis.text(2, AnalysisColumn::kLocation), "丙");
    EXPECT_EQ(w->document().path, c.string());
    EXPECT_TRUE(ExclusiveFile::open(a, ExclusiveFile::Mode::ReadWrite));

    test::writeFile(work / "材料.txt", toGbk("涂料\t乳胶漆\t\t千克\t18\t\r\n"));
    prompter.clear();
    drop(*w->findChild<GridView*>("材料表"), {work / "材料.txt", work / "a.gdb"});
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"不支持此类型文件！", "", 48}}));
    // The list goes through the import window, as one chosen by its menu command does.
    auto* import = w->findChild<QDialog*>("导入数据窗口");
    ASSERT_NE(import, nullptr);
    EXPECT_EQ(import->findChild<QLineEdit*>("导入文件")->text().toStdString(),
              (work / "材料.txt").string());
    import->findChild<QRadioButton*>("添加模式")->click();
    import->findChild<QPushButton*>("确定按钮")->click();
    EXPECT_EQ(prompter.messages().back(), (Message{"文件导入完毕！\r\n导入 1 种材料。", "", 64}));
    const Grid& table = w->document().materials;
    EXPECT_EQ(table.text(table.rowCount() - 1, MaterialColumn::kName), "乳胶漆");
    EXPECT_TRUE(w->document().modified);
}

TEST_F(ProjectCommandsTest, AutoSaveChosenBeforeARestartRunsFromTheStart) {
    test::writeFile(programDir / "Brix.ini", "[Save]\r\nType=1\r\nSTime=1\r\n");
    auto w = window();
    auto* timer = w->findChild<QTimer*>("自动存盘计时器");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive()) << "no new confirmation of the settings window needed";
    EXPECT_EQ(timer->interval(), 60000);
}

TEST_F(ProjectCommandsTest, TheSettingsWindowStoresOnlyWhenConfirmed) {
    auto w = window();
    const auto ini = programDir / "Brix.ini";
    w->dispatch(Command::AutoSaveSettings);
    auto* settings = w->findChild<QDialog*>("自动存盘设置窗口");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->windowTitle(), "自动存盘设置");
    EXPECT_TRUE(settings->isModal());
    EXPECT_EQ(test::readFile(ini), "[Save]\r\nType=0\r\n") << "opening writes the type";
    const auto boxes = settings->findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 2);
    boxes[0]->click();  // 启用自动存盘
    auto* interval = settings->findChild<QLineEdit*>("间隔时间");
    EXPECT_EQ(interval->text(), "15");
    boxes[1]->click();  // 启用存盘通知 clears the other
    EXPECT_FALSE(boxes[0]->isChecked());
    interval->clear();
    QTest::keyClicks(interval, "500");
    EXPECT_EQ(interval->text(), "120");
    settings->findChild<QPushButton*>("取消按钮")->click();
    EXPECT_EQ(test::readFile(ini), "[Save]\r\nType=0\r\nSTime=15\r\nMTime=15\r\n");

    w->dispatch(Command::AutoSaveSettings);
    settings = w->findChildren<QDialog*>("自动存盘设置窗口").back();
    settings->findChildren<QCheckBox*>()[0]->click();
    interval = settings->findChild<QLineEdit*>("间隔时间");
    interval->clear();
    QTest::keyClicks(interval, "45");
    settings->findChild<QPushButton*>("确定按钮")->click();
    EXPECT_EQ(w->settings().text("Save", "Type"), "1");
    EXPECT_EQ(w->settings().text("Save", "STime"), "45");
}

}  // namespace
}  // namespace tf::gui

#include "core/project/project_file.h"
#include "core/xlsx/workbook_reader.h"
#include "gui/print/print_editor_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <iterator>

#include "core/project/analysis_layout.h"
#include "gui/print/cell_properties_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/grid_model.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/event_wait.h"
#include "tests/gui/heading_mouse.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

// What a surveyor would see of a grid: its cells' texts, row by row.
std::vector<std::string> cellTexts(const Grid& g) {
    std::vector<std::string> texts;
    for (int r = 0; r < g.rowCount(); ++r) {
        for (int c = 0; c < g.columnCount(); ++c) {
            texts.emplace_back(g.text(r, c));
        }
    }
    return texts;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The main window on a saved sample project of three locations; the editor is opened from
// whichever page is showing, as 文件 → 打印 does.
class PrintEditorTest : public ::testing::Test {
  protected:
    PrintEditorTest() : window(test::openSampleWindow(dir.path(), prompter, 3)) {}

    PrintEditorWindow* openFrom(MainWindow::Page page) {
        if (page == MainWindow::StartPage) {
            window->showStartPage();
        } else {
            window->pressPageButton(page);
        }
        window->dispatch(Command::Print);
        auto* editor = window->findChild<PrintEditorWindow*>();
        EXPECT_NE(editor, nullptr);
        return editor;
    }
    template <typename T>
    static T* child(QWidget* parent, const char* name) {
        auto* found = parent->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void moveTo(PrintEditorWindow& editor, int row, int column) {
        GridView& view = editor.view();
        view.setCurrentIndex(view.model()->index(row, column));
    }
    // Runs the editing-menu entry `caption` at the cursor; false when the menu would not open.
    static bool runMenu(PrintEditorWindow& editor, const QString& caption) {
        std::unique_ptr<QMenu> menu(editor.editingMenu(&editor));
        if (!menu) {
            return false;
        }
        for (QAction* action : menu->actions()) {
            if (action->text() == caption) {
                action->trigger();
                QCoreApplication::processEvents();
                return true;
            }
        }
        ADD_FAILURE() << "no entry " << caption.toStdString();
        return false;
    }
    void close(PrintEditorWindow* editor) {
        child<QPushButton>(editor, "退出按钮")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(window->findChild<PrintEditorWindow*>(), nullptr);
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
};

TEST_F(PrintEditorTest, EachPageOpensItsOwnCopyAndTheProjectNeverChanges) {
    const Grid& analysis = window->document().analysis;
    PrintEditorWindow* editor = openFrom(MainWindow::AnalysisPage);
    ASSERT_NE(editor, nullptr);
    const std::vector<std::string> analysisBefore = cellTexts(analysis);
    EXPECT_EQ(editor->windowTitle(), "打印");
    EXPECT_TRUE(editor->isModal());
    EXPECT_EQ(prompter.status(), "打印当前窗口表格");
    EXPECT_EQ(child<QLineEdit>(editor, "标题")->text(), "材料分析表");
    EXPECT_EQ(editor->view().objectName(), "高级表格1");
    EXPECT_EQ(editor->view().model()->columnCount(), analysis.columnCount() - 3)
        << "the three hidden columns are left out";
    EXPECT_EQ(editor->view().model()->rowCount(), analysis.rowCount());
    // Editing the copy leaves the project alone.
    moveTo(*editor, kAnalysisHeadingRows, 1);
    EXPECT_TRUE(runMenu(*editor, "删除行"));
    EXPECT_EQ(editor->view().model()->rowCount(), analysis.rowCount() - 1)
        << "the view follows the sheet";
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(editor->isVisible()) << "a stray Escape does not throw the sheet away";
    close(editor);
    EXPECT_EQ(prompter.status(), "打印表格结束");
    EXPECT_TRUE(cellTexts(analysis) == analysisBefore);
    EXPECT_FALSE(window->document().modified);

    editor = openFrom(MainWindow::MaterialPage);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(child<QLineEdit>(editor, "标题")->text(), "材料清单");
    EXPECT_EQ(editor->sheet().grid.columnCount(), 7) << "without the material id";
    EXPECT_EQ(editor->sheet().grid.rowCount(), window->document().materials.rowCount());
    close(editor);

    editor = openFrom(MainWindow::StatisticsPage);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->sheet().title, window->statistics().title);
    EXPECT_EQ(editor->sheet().source, PrintSource::Statistics);
    close(editor);

    editor = openFrom(MainWindow::StartPage);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->sheet().grid.rowCount(), 61);
    EXPECT_EQ(editor->sheet().grid.columnCount(), 16);
    EXPECT_EQ(editor->sheet().grid.text(0, 15), "15");
    close(editor);
}

TEST_F(PrintEditorTest, TheMenuActsAtTheCursorAndStaysShutOverAHiddenColumn) {
    PrintEditorWindow* editor = openFrom(MainWindow::StartPage);
    ASSERT_NE(editor, nullptr);
    PrintSheet& sheet = editor->sheet();
    const std::int32_t width4 = sheet.grid.column(4).width;

    moveTo(*editor, 2, 4);
    EXPECT_EQ(sheet.grid.cursor().column, 4);
    ASSERT_TRUE(runMenu(*editor, "隐藏列"));
    EXPECT_EQ(sheet.grid.column(4).width, 0);
    EXPECT_FALSE(runMenu(*editor, "显示所有列")) << "the cursor sits in the hidden column";

    // A column inserted before the hidden one moves it; 显示所有列 still brings it back.
    moveTo(*editor, 2, 2);
    ASSERT_TRUE(runMenu(*editor, "插入列"));
    EXPECT_EQ(editor->view().model()->columnCount(), 17);
    EXPECT_EQ(sheet.grid.column(5).width, 0);
    EXPECT_EQ(sheet.grid.text(0, 5), "4");
    ASSERT_TRUE(runMenu(*editor, "显示所有列"));
    EXPECT_EQ(sheet.grid.column(5).width, width4);
    EXPECT_TRUE(sheet.hidden.empty());

    EXPECT_EQ(editor->view().currentIndex().column(), 2) << "on the new column";
    prompter.answerInput("长度(m)");
    ASSERT_TRUE(runMenu(*editor, "置列标题"));
    ASSERT_EQ(prompter.questions().size(), 1u);
    EXPECT_EQ(prompter.questions()[0].title, "置列标题");
    EXPECT_EQ(sheet.grid.text(0, 2), "长度(m)");

    prompter.answerInput("2");
    moveTo(*editor, 3, 6);
    ASSERT_TRUE(runMenu(*editor, "小数点位数"));
    EXPECT_EQ(prompter.questions().back().initial, "3");
    EXPECT_EQ(sheet.grid.column(6).decimals, 2);

    const int rows = editor->view().model()->rowCount();
    ASSERT_TRUE(runMenu(*editor, "添加行"));
    EXPECT_EQ(editor->view().model()->rowCount(), rows + 1);

    // A right click outside the selection takes the cursor along before the menu opens.
    GridView& view = editor->view();
    const QRect cell = view.visualRect(view.model()->index(7, 8));
    QContextMenuEvent click(QContextMenuEvent::Mouse, cell.center(),
                            view.viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(view.viewport(), &click);
    auto* menu = editor->findChild<QMenu*>("编辑菜单");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(sheet.grid.cursor(), (CellPos{7, 8}));
    menu->close();
    close(editor);
}

TEST_F(PrintEditorTest, TheTitleBoxesFollowTheTick) {
    PrintEditorWindow* editor = openFrom(MainWindow::AnalysisPage);
    ASSERT_NE(editor, nullptr);
    auto* tick = child<QCheckBox>(editor, "打印表头");
    auto* title = child<QLineEdit>(editor, "标题");
    auto* font = child<QLineEdit>(editor, "字体");
    auto* size = child<QLineEdit>(editor, "大小");
    auto* fontButton = child<QPushButton>(editor, "字体按钮");
    EXPECT_EQ(tick->text(), "打印表头：");
    EXPECT_TRUE(tick->isChecked());
    EXPECT_TRUE(title->isEnabled() && font->isEnabled() && size->isEnabled());

    title->setFocus();
    title->selectAll();
    title->insert("一层材料");
    EXPECT_EQ(editor->sheet().title, "一层材料");
    size->selectAll();
    size->insert("24");
    EXPECT_EQ(sheetTitle(editor->sheet()), (SheetTitle{"一层材料", "宋体", 24}));

    tick->click();
    EXPECT_FALSE(title->isEnabled() || font->isEnabled() || size->isEnabled() ||
                 fontButton->isEnabled());
    EXPECT_EQ(font->text(), "宋体");
    EXPECT_EQ(size->text(), "28");
    tick->click();
    EXPECT_TRUE(title->isEnabled() && fontButton->isEnabled());
    EXPECT_EQ(title->text(), "一层材料");
    close(editor);
}

TEST_F(PrintEditorTest, CellPropertiesShowTheTopLeftCellAndApplyToTheRange) {
    PrintSheet sheet = emptySheet();
    Grid& g = sheet.grid;
    g.setFont({2, 1, 2, 1}, "黑体", 11);
    g.setAlign({2, 1, 2, 1}, Align::Center);
    const CellRange range{2, 1, 3, 2};
    CellPropertiesDialog dialog(sheet, range, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "单元格属性");
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        labels << label->text();
    }
    EXPECT_TRUE(labels.contains("起始位置：2行  1列")) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains("终止位置：3行  2列"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "字体名称")->text(), "黑体");
    EXPECT_EQ(child<QLineEdit>(&dialog, "字体大小")->text(), "11");
    EXPECT_TRUE(child<QRadioButton>(&dialog, "居中")->isChecked());

    child<QLineEdit>(&dialog, "字体大小")->setText("14");
    child<QRadioButton>(&dialog, "右对齐")->click();
    child<QPushButton>(&dialog, "确定按钮")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    for (int r = 2; r <= 3; ++r) {
        for (int c = 1; c <= 2; ++c) {
            EXPECT_EQ(g.style(r, c).fontName, "黑体") << r << "," << c;
            EXPECT_EQ(g.style(r, c).fontSize, 14);
            EXPECT_EQ(g.style(r, c).align, Align::Right);
        }
    }
    EXPECT_NE(g.style(4, 1).align, Align::Right) << "outside the range";
}

TEST_F(PrintEditorTest, SavedPrintFilesOpenInAnotherEditorAndPdfsAreWritten) {
    PrintEditorWindow* editor = openFrom(MainWindow::MaterialPage);
    ASSERT_NE(editor, nullptr);
    moveTo(*editor, 1, 3);
    ASSERT_TRUE(runMenu(*editor, "隐藏列"));
    auto* title = child<QLineEdit>(editor, "标题");
    title->selectAll();
    title->insert("三层材料清单");
    // A column widened at its heading border goes into the print file with the sheet.
    QCoreApplication::processEvents();
    const int nameWidth = editor->sheet().grid.column(2).width;
    dragBorder(editor->view(), 2, 60);
    EXPECT_EQ(editor->sheet().grid.column(2).width, nameWidth + 60);
    const Grid saved = editor->sheet().grid;

    const auto pb = dir.path() / "清单.pb";
    prompter.answerFile(pb.string());
    prompter.answer(Answer::Ok);
    child<QPushButton>(editor, "保存按钮")->click();
    EXPECT_EQ(prompter.messages().back().text, "保存完毕！");

    // A cancelled file dialog writes nothing and says nothing.
    const std::size_t told = prompter.messages().size();
    prompter.answerFile(std::nullopt);
    child<QPushButton>(editor, "PDF按钮")->click();
    EXPECT_EQ(prompter.messages().size(), told);

    const auto pdf = dir.path() / "清单.pdf";
    prompter.answerFile(pdf.string());
    prompter.answer(Answer::Ok);
    child<QPushButton>(editor, "PDF按钮")->click();
    EXPECT_EQ(prompter.messages().back().text, "保存完毕！");
    EXPECT_EQ(fileBytes(pdf).substr(0, 5), "%PDF-");

    // The sheet as edited: the hidden column stays out of the workbook.
    const auto workbook = dir.path() / "清单.xlsx";
    prompter.answerFile(workbook.string());
    child<QPushButton>(editor, "Excel按钮")->click();
    const auto rows = readFirstSheet(fileBytes(workbook), 6);
    ASSERT_TRUE(rows);
    EXPECT_EQ((*rows)[0].cells,
              (std::vector<std::string>{"序号", "类别", "材料名称", "单位", "单价", "说明"}));
    EXPECT_EQ(prompter.status(), "导出完毕");
    close(editor);

    editor = openFrom(MainWindow::StartPage);
    ASSERT_NE(editor, nullptr);
    prompter.answerFile(pb.string());
    prompter.answer(Answer::Ok);
    child<QPushButton>(editor, "打开按钮")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.messages().back().text, "载入完毕！");
    EXPECT_EQ(child<QLineEdit>(editor, "标题")->text(), "三层材料清单");
    EXPECT_EQ(editor->view().model()->columnCount(), saved.columnCount());
    EXPECT_EQ(editor->sheet().grid.text(1, 1), saved.text(1, 1));
    EXPECT_EQ(editor->sheet().grid.column(2).width, nameWidth + 60);
    moveTo(*editor, 1, 3);
    EXPECT_FALSE(runMenu(*editor, "显示所有列")) << "the hidden column came back hidden";
    moveTo(*editor, 1, 2);
    ASSERT_TRUE(runMenu(*editor, "显示所有列"));
    EXPECT_GT(editor->sheet().grid.column(3).width, 0);
    close(editor);
}

TEST_F(PrintEditorTest, ItsOwnUndoTakesBackEachEditOfTheSheet) {
    PrintEditorWindow* editor = openFrom(MainWindow::MaterialPage);
    ASSERT_NE(editor, nullptr);
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor, test::kEventCeilingMs));
    const Grid opened = editor->sheet().grid;
    const std::string project = buildProjectImage(window->document());
    moveTo(*editor, 2, 2);
    ASSERT_TRUE(runMenu(*editor, "插入行"));
    ASSERT_TRUE(runMenu(*editor, "合并单元格"));
    const Grid edited = editor->sheet().grid;
    ASSERT_EQ(edited.rowCount(), opened.rowCount() + 1);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->sheet().grid.rowCount(), opened.rowCount());
    EXPECT_EQ(editor->sheet().grid.merges(), opened.merges());
    QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor->sheet().grid.rowCount(), edited.rowCount());
    EXPECT_EQ(editor->sheet().grid.merges(), edited.merges());
    // The project's own history is another.
    EXPECT_TRUE(buildProjectImage(window->document()) == project);
    close(editor);
}

}  // namespace
}  // namespace tf::gui

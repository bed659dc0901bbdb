#include "gui/widgets/grid_view.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/project/analysis_layout.h"
#include "core/project/project_document.h"
#include "core/project/project_io.h"
#include "gui/widgets/chinese_interface.h"
#include "gui/widgets/grid_delegate.h"
#include "gui/widgets/qt_prompter.h"
#include "tests/gui/event_wait.h"
#include "tests/gui/pane_alignment.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

class GridViewTest : public ::testing::Test {
  protected:
    GridViewTest() {
        initAnalysisTable(doc);
        view.resize(900, 500);
        view.setGrid(doc.analysis);
        view.show();
    }
    QTableView* pane(int index) { return view.findChildren<QTableView*>("fixedPane").at(index); }
    ProjectDocument doc;
    GridView view;
};

TEST_F(GridViewTest, ModelPassesTheModelTester) {
    doc.analysis.setText(3, 6, "7.2");
    QAbstractItemModelTester tester(view.gridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    doc.analysis.insertRows(5, 3);
    view.refresh();
    EXPECT_EQ(view.gridModel()->rowCount(), 26);
}

TEST_F(GridViewTest, TheViewFollowsCoreChangesOnTheNextLoopTurn) {
    QAbstractItemModelTester tester(view.gridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(view.gridModel(), &QAbstractItemModel::dataChanged);
    doc.analysis.setText(5, 1, "客厅");
    doc.analysis.setBackground({7, 7, 8, 10}, Rgb{255, 181, 220});
    EXPECT_TRUE(changed.isEmpty());
    QCoreApplication::processEvents();
    ASSERT_EQ(changed.size(), 1);  // one repaint for the whole operation
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 5);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 8);

    // Model and views keep the old shape until they are told, then take the new one.
    doc.analysis.insertRows(3, 4);
    EXPECT_EQ(view.gridModel()->rowCount(), 23);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.gridModel()->rowCount(), 27);
    doc.analysis.deleteRows(2, 20);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.gridModel()->rowCount(), 7);
    EXPECT_EQ(pane(1)->model()->rowCount(), 7);

    doc.analysis.merge({2, 1, 4, 1});
    QCoreApplication::processEvents();
    EXPECT_EQ(view.rowSpan(2, 1), 3);
    // A changed cell under a merge repaints every row the merge covers (the heading 序号
    // spans both heading rows): nothing of the old text is left beside the new.
    changed.clear();
    doc.analysis.setText(0, 0, "编号");
    doc.analysis.setText(2, 1, "卧室");
    QCoreApplication::processEvents();
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 4);
    doc.analysis.setColumnWidth(1, 333);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.columnWidth(1), 333);
}

TEST_F(GridViewTest, AChangeAroundTheCellBeingEditedKeepsWhatTheUserTyped) {
    const QModelIndex cell = view.gridModel()->index(3, 1);
    view.setCurrentIndex(cell);
    view.edit(cell);
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("正在输入");
    doc.analysis.setBackground({2, 0, 6, 10}, Rgb{239, 244, 254});
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->text(), "正在输入");
}

TEST_F(GridViewTest, FixedRowsStayInTheirPaneAndMergesBecomeSpans) {
    // The main view hides the heading rows and the fixed column; the top pane shows them.
    EXPECT_TRUE(view.isRowHidden(0));
    EXPECT_TRUE(view.isRowHidden(1));
    EXPECT_FALSE(view.isRowHidden(2));
    EXPECT_TRUE(view.isColumnHidden(0));
    EXPECT_TRUE(view.isColumnHidden(11));
    QTableView* top = pane(0);
    EXPECT_FALSE(top->isRowHidden(0));
    EXPECT_EQ(top->columnSpan(0, 4), 6);
    EXPECT_EQ(top->rowSpan(0, 1), 2);
    EXPECT_EQ(top->height(), 40);

    doc.analysis.merge({2, 1, 5, 1});
    view.refresh();
    EXPECT_EQ(view.rowSpan(2, 1), 4);

    // Scrolling moves the data rows, not the headings.
    doc.analysis.setRowCount(500);
    view.refresh();
    view.verticalScrollBar()->setValue(200);
    EXPECT_EQ(top->verticalScrollBar()->value(), 0);
    EXPECT_EQ(pane(1)->verticalScrollBar()->value(), 200);
    EXPECT_GT(view.rowAt(0), 150);
}

TEST_F(GridViewTest, FixedPanesStayAlignedAtEveryScrollPosition) {
    doc.analysis.setRowCount(500);
    for (int r = 2; r + 2 < 500; r += 3) {
        doc.analysis.merge({r, 1, r + 2, 1});
        doc.analysis.setText(r, 0, std::to_string(r));
    }
    for (int c = 0; c < doc.analysis.columnCount(); ++c) {
        doc.analysis.setColumnWidth(c, 150);
    }
    for (const int height : {500, 507, 493}) {
        view.resize(900, height);
        view.refresh();
        expectPanesAligned(view, "start");
        view.setCurrentIndex(view.gridModel()->index(2, 1));
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        expectPanesAligned(view, "Ctrl+End");
        view.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        expectPanesAligned(view, "one step right");
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
        expectPanesAligned(view, "right end");
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        wheelToTheEnd(view);
        expectPanesAligned(view, "wheel");
    }
}

TEST_F(GridViewTest, NumberColumnsRoundOnlyTheDisplay) {
    doc.analysis.setText(3, 6, "7.23456");
    doc.analysis.setText(4, 6, "abc");
    const QModelIndex cell = view.gridModel()->index(3, 6);
    EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), "7.235");
    EXPECT_EQ(cell.data(Qt::EditRole).toString(), "7.23456");
    EXPECT_EQ(view.gridModel()->index(4, 6).data().toString(), "abc");
    EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QColor>(), QColor(128, 0, 0));
    EXPECT_TRUE(cell.data(Qt::FontRole).value<QFont>().bold());
}

TEST_F(GridViewTest, EditHooksRefuseBeforeAndCorrectAfter) {
    view.setBeginEditHook([](int, int column) { return column != 2; });
    view.gridModel()->setEndEditHook(
        [](int, int, const std::string& text) -> std::optional<std::string> {
            if (text == "no") {
                return std::nullopt;
            }
            return text + "!";
        });
    view.setCurrentIndex(view.gridModel()->index(3, 2));
    QTest::keyClick(&view, Qt::Key_F2);
    EXPECT_EQ(view.findChild<QLineEdit*>(), nullptr);
    // Typing on a refused cell is no search either: the cursor stays, though a cell above
    // starts with what was typed.
    doc.analysis.setText(2, 2, "030801");
    view.refresh();
    QTest::keyClicks(&view, "0308");
    EXPECT_EQ(view.currentIndex(), view.gridModel()->index(3, 2));
    EXPECT_EQ(view.findChild<QLineEdit*>(), nullptr);

    view.setCurrentIndex(view.gridModel()->index(3, 1));
    view.edit(view.gridModel()->index(3, 1));
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "ab");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the delegate commits on the next loop turn
    EXPECT_EQ(doc.analysis.text(3, 1), "ab!");
    EXPECT_EQ(doc.analysis.cursor(), (CellPos{3, 1}));

    EXPECT_FALSE(view.gridModel()->setData(view.gridModel()->index(4, 1), "no", Qt::EditRole));
    EXPECT_EQ(doc.analysis.text(4, 1), "");
}

TEST_F(GridViewTest, CheckBoxColumnsTickAndUntick) {
    doc.analysis.setColumnKind(1, ColumnKind::CheckBox);
    view.refresh();
    const QModelIndex cell = view.gridModel()->index(3, 1);
    EXPECT_EQ(cell.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    view.gridModel()->setData(cell, Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(doc.analysis.text(3, 1), "1");
    EXPECT_EQ(cell.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
}

TEST_F(GridViewTest, KeysAndPressesAreReported) {
    std::vector<int> keys;
    QObject::connect(&view, &GridView::keyPressed, [&](int key, bool ctrl, bool) {
        if (key != Qt::Key_Control) {
            keys.push_back(ctrl ? -key : key);
        }
    });
    view.setKeyHook([](QKeyEvent* e) { return e->key() == Qt::Key_Delete; });
    view.setCurrentIndex(view.gridModel()->index(3, 1));
    doc.analysis.setText(3, 1, "keep");
    QTest::keyClick(&view, Qt::Key_Delete);
    QTest::keyClick(&view, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_Delete, -Qt::Key_Delete}));
    EXPECT_EQ(doc.analysis.text(3, 1), "keep");
}

TEST(QtFilter, ConvertsPipeFilters) {
    EXPECT_EQ(toQtFilter("工程数据(*.gdb)|*.gdb"), "工程数据(*.gdb)");
    EXPECT_EQ(toQtFilter("工程数据(*.gdb)|*.gdb|所有文件(*.*)|*.*"), "工程数据(*.gdb);;所有文件(*)")
        << "every file, README too";
}

}  // namespace
}  // namespace tf::gui

#include <QPdfWriter>

#include "gui/print/grid_printer.h"
#include "gui/widgets/wrapped_text.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

TEST(GridPrinter, PrintsTitleHeadingsAndPagesToPdf) {
    ProjectDocument doc;
    initAnalysisTable(doc);
    doc.analysis.setRowCount(202);
    doc.analysis.setText(2, 1, "客厅");
    doc.analysis.merge({2, 1, 60, 1});  // a merge across a page break
    test::TempDir dir;
    const QString path = QString::fromStdString((dir / "out.pdf").string());
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    const int pages = printSheet(doc.analysis, {"工程量分析表", "宋体", 20}, pdf);
    EXPECT_GE(pages, 3);
    EXPECT_GT(std::filesystem::file_size(dir / "out.pdf"), 1000u);

    Grid empty;
    QPdfWriter second(QString::fromStdString((dir / "empty.pdf").string()));
    EXPECT_EQ(printSheet(empty, {}, second), 1);
}

TEST(WrapCellText, SizesWithoutSpacesBreakAnywhereAndOnlyAnOverflowIsCut) {
    const QFont font;
    const QString size = "(4.2×5.1)×2.8-0.9×2.1";
    const int width = QFontMetrics(font).horizontalAdvance(size) / 2 + 4;
    const QStringList lines = wrapCellText(size, font, width, 3);
    EXPECT_GE(lines.size(), 2);
    EXPECT_LE(lines.size(), 3);
    EXPECT_EQ(lines.join(""), size);  // nothing cut, nothing lost
    for (const QString& line : lines) {
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), width);
    }
    // Words still break between words; a text longer than the cell is cut on its last line.
    EXPECT_EQ(wrapCellText("建施 11", font, 1000, 3), QStringList{"建施 11"});
    const QStringList cut = wrapCellText(size + size + size + size, font, width, 2);
    ASSERT_EQ(cut.size(), 2);
    EXPECT_TRUE(cut[1].endsWith(QChar(0x2026)));
    EXPECT_TRUE(wrapCellText(size, font, 0, 3).isEmpty());
}

TEST(FitCellFont, AFigureTooWideForItsCellIsSetSmallerOnScreenAndOnPaper) {
    const QString figure = "123012220.248";
    QFont screen;  // set in points
    screen.setPointSize(9);
    screen.setBold(true);
    QFont paper;  // set in pixels
    paper.setPixelSize(12);
    paper.setBold(true);
    for (QFont font : {screen, paper}) {
        const QFont before = font;
        const double wide = QFontMetricsF(font).horizontalAdvance(figure);
        fitCellFont(font, figure, wide + 1);
        EXPECT_EQ(font, before) << "a figure that fits keeps its font";
        fitCellFont(font, figure, wide * 0.7);
        EXPECT_LE(QFontMetricsF(font).horizontalAdvance(figure), wide * 0.7);
        EXPECT_TRUE(font.bold());
        // No smaller than 6 pixels: a cell far too narrow cuts the figure after all.
        fitCellFont(font, figure, 4);
        EXPECT_GE(QFontMetricsF(font).height(), 6.0 * 0.9);
        EXPECT_GT(QFontMetricsF(font).horizontalAdvance(figure), 4);
    }
}

// Long work runs off the window's thread: the window keeps painting, the progress dialog's
// 取消 stops the work, and short work shows no dialog.
TEST(QtPrompterProgress, WorkRunsBesideTheWindowAndStopsOnCancel) {
    QWidget main;
    QLabel status;
    main.show();
    QtPrompter prompter(&main, &status);
    EXPECT_TRUE(prompter.runWithProgress("短", [](WorkProgress& p) {
        p.total = 1;
        p.done = 1;
        return true;
    }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    bool cancelled = false;
    QTimer::singleShot(0, [&] {
        QProgressDialog* dialog = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                dialog = main.findChild<QProgressDialog*>("进度");
                return dialog != nullptr && dialog->isVisible();
            },
            60000));
        EXPECT_EQ(dialog->labelText(), "正在导出…");
        auto* cancel = dialog->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), "取消");
        cancel->click();
        cancelled = true;
    });
    const std::thread::id interfaceThread = std::this_thread::get_id();
    std::thread::id workThread;
    const bool finished = prompter.runWithProgress("正在导出…", [&](WorkProgress& p) {
        workThread = std::this_thread::get_id();
        p.total = 100;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!p.stopped() && std::chrono::steady_clock::now() < deadline) {
            p.done = 10;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    });
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(finished) << "stopped work has not finished";
    EXPECT_NE(workThread, interfaceThread);
}

// Work that cannot be stopped and does not say how much there is shows a busy window
// without 取消 once it takes a moment.
TEST(QtPrompterProgress, WorkOfUnknownSizeShowsABusyWindowWithoutCancel) {
    QWidget main;
    QLabel status;
    main.show();
    QtPrompter prompter(&main, &status);
    std::atomic<bool> seen{false};
    std::atomic<bool> release{false};
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                auto* dialog = main.findChild<QProgressDialog*>("进度");
                return dialog != nullptr && dialog->isVisible();
            },
            60000));
        auto* dialog = main.findChild<QProgressDialog*>("进度");
        seen = dialog != nullptr && dialog->isVisible();
        EXPECT_EQ(dialog ? dialog->findChild<QPushButton*>() : nullptr, nullptr) << "no 取消";
        release = true;
    });
    EXPECT_TRUE(prompter.runWithProgress(
        "正在保存…",
        [&](WorkProgress&) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (!release && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return true;
        },
        false));
    EXPECT_TRUE(seen);
}

// A save writes off the window's thread; an auto-save firing meanwhile waits its next turn
// instead of writing the same file at the same time.
TEST(QtPrompterProgress, ASaveWritesBesideTheWindowAndAnotherWaits) {
    QWidget main;
    QLabel status;
    main.show();
    QtPrompter prompter(&main, &status);
    test::TempDir dir;
    ProjectDocument doc;
    resetProject(doc);
    doc.analysis.setText(2, AnalysisColumn::kLocation, "客厅");
    doc.path = utf8FromPath(dir / "a.gdb");
    doc.modified = true;
    std::optional<bool> second;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(doc.saving);
        second = saveProject(doc, prompter, true);
    });
    ASSERT_TRUE(saveProject(doc, prompter, false));
    ASSERT_TRUE(second.has_value()) << "the auto-save fired while the save ran";
    EXPECT_FALSE(*second);
    EXPECT_FALSE(doc.saving);
    EXPECT_FALSE(doc.modified);
    doc.file.reset();
    ProjectDocument again;
    SilentPrompter quiet;
    ASSERT_TRUE(loadProject(again, doc.path, quiet));
    EXPECT_EQ(again.analysis.text(2, AnalysisColumn::kLocation), "客厅");
}

TEST(QtPrompterBoxes, ABoxBelongsToTheWindowThatAskedAndGivesItTheKeysBack) {
    QWidget main;
    QLabel status;
    QtPrompter prompter(&main, &status);
    main.show();
    QDialog asking(&main);  // the entry dialog, say: a window of its own
    asking.show();
    asking.activateWindow();
    ASSERT_TRUE(test::waitUntil([&] { return QApplication::activeWindow() == &asking; }));
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        parent = box->parentWidget();
        box->accept();
    });
    prompter.message("注意：同一分项下 ［工程数量］ 相等！", "信息:", MessageFlags::kInformation);
    EXPECT_EQ(parent, &asking);
    EXPECT_TRUE(test::waitUntil([&] { return QApplication::activeWindow() == &asking; }));
}

TEST(ChineseInterface, StandardButtonsAndFileDialogsSpeakChinese) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(speakChinese(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, "询问:", "文件被修改，是否保存？",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith("是"))
        << box.button(QMessageBox::Yes)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith("否"));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith("取消"));
    EXPECT_TRUE(box.button(QMessageBox::Ok)->text().startsWith("确定"));
    QFileDialog dialog(nullptr, "保存工程数据");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto labels = dialog.findChildren<QLabel*>();
    const bool chinese = std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
        return label->text().contains(QString::fromUtf8("文件名"));
    });
    EXPECT_TRUE(chinese);
}

}  // namespace
}  // namespace tf::gui

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

#include "core/project/project_document.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/heading_mouse.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

TEST(ColumnResize, DraggingAHeadingBorderSetsTheWidthAndTheProgramKeepsIt) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 4);
    ASSERT_TRUE(window);
    QCoreApplication::processEvents();  // the view shows the widths laid out for the window
    auto* view = window->findChild<GridView*>("分析表");
    QTableView* pane = headingPane(*view);
    const Grid& analysis = window->document().analysis;
    // 1200 wide: every laid-out column has (1200 - 800) / 15 = 26 more; 分项尺寸 120 + 26.
    ASSERT_EQ(analysis.column(7).width, 146);
    QSignalSpy resized(view, &GridView::columnResized);

    // The pointer over a border says it can be dragged; over a heading it does not.
    hover(*pane, rightBorder(*pane, 7));
    EXPECT_EQ(pane->viewport()->cursor().shape(), Qt::SplitHCursor);
    hover(*pane, rightBorder(*pane, 7) - QPoint(30, 0));
    EXPECT_EQ(pane->viewport()->cursor().shape(), Qt::ArrowCursor);

    const QPoint grip = rightBorder(*pane, 7);
    press(*pane, grip);
    hover(*pane, grip + QPoint(40, 0));
    EXPECT_EQ(analysis.column(7).width, 186) << "the column follows the pointer";
    EXPECT_EQ(pane->columnWidth(7), 186);
    hover(*pane, grip + QPoint(84, 0));
    release(*pane, grip + QPoint(84, 0));
    EXPECT_EQ(analysis.column(7).width, 230);
    EXPECT_EQ(view->columnWidth(7), 230);
    ASSERT_EQ(resized.size(), 1);
    EXPECT_EQ(resized[0][1].toInt(), 230);
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_FALSE(window->document().modified) << "a width is how the table is seen";

    // Dragged far to the left, a column stays a sliver, never hidden.
    const QPoint drawing = rightBorder(*pane, 2);
    press(*pane, drawing);
    release(*pane, drawing - QPoint(500, 0));
    EXPECT_EQ(analysis.column(2).width, kNarrowestUserColumn);

    // A wider window lays the other columns out again; the user's stay.
    window->resize(1400, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(analysis.column(6).width, 60 + 40);  // (1400 - 800) / 15 = 40
    EXPECT_EQ(analysis.column(7).width, 230);
    EXPECT_EQ(analysis.column(2).width, kNarrowestUserColumn);
    EXPECT_EQ(analysis.column(11).width, 0) << "the working columns stay hidden";
    EXPECT_EQ(analysis.column(12).width, 0);
    EXPECT_EQ(analysis.column(13).width, 0);

    // A double-click on a border fits the column to its texts: 图纸索引 holds "建施-11"
    // under its heading, more than the sliver shows and less than the laid-out width.
    const QPoint fit = rightBorder(*pane, 2);
    doubleClick(*pane, fit);
    const QFontMetrics metrics(view->font());
    EXPECT_GE(analysis.column(2).width, metrics.horizontalAdvance("图纸索引"));
    EXPECT_GE(analysis.column(2).width, metrics.horizontalAdvance("建施-11"));
    EXPECT_LT(analysis.column(2).width, 100);
    const int fitted = analysis.column(2).width;

    // The next start shows the table as the user left it.
    EXPECT_TRUE(window->close());
    window.reset();
    auto again = test::openSampleWindow(dir.path(), prompter, 4);
    QCoreApplication::processEvents();
    EXPECT_EQ(again->document().analysis.column(7).width, 230);
    EXPECT_EQ(again->document().analysis.column(2).width, fitted);
    EXPECT_EQ(again->document().analysis.column(6).width, 60 + 26);
}

TEST(ColumnResize, EveryTableOfTheWindowTakesWidthsOfItsOwn) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 4);
    ASSERT_TRUE(window);
    auto* materials = window->findChild<GridView*>("材料表");
    window->pressPageButton(MainWindow::MaterialPage);
    QCoreApplication::processEvents();
    QTableView* pane = headingPane(*materials);
    const int before = window->document().materials.column(2).width;
    const QPoint grip = rightBorder(*pane, 2);
    press(*pane, grip);
    release(*pane, grip + QPoint(25, 0));
    EXPECT_EQ(window->document().materials.column(2).width, before + 25);
    EXPECT_EQ(window->settings().text("列宽", "材料表"), "2:" + std::to_string(before + 25));
    EXPECT_EQ(window->settings().text("列宽", "分析表"), "");
}

}  // namespace
}  // namespace tf::gui

#include "gui/stats/statistics_page.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <set>

#include "core/base/number_text.h"
#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"
#include "core/stats/statistics_layout.h"
#include "gui/shell/main_window.h"
#include "gui/stats/busy_window.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/event_wait.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

// The main window on a saved sample project of six locations.
class StatisticsPageTest : public ::testing::Test {
  protected:
    StatisticsPageTest() : window(test::openSampleWindow(dir.path(), prompter, 6)) {
        EXPECT_TRUE(prompter.messages().empty());
    }
    template <typename T>
    T* child(const char* name) {
        auto* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::vector<int> markedAnalysisRows() {
        std::vector<int> rows;
        const Grid& a = window->document().analysis;
        for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
            if (a.style(r, AnalysisColumn::kMaterialName).background == kMarkerColour) {
                rows.push_back(r);
            }
        }
        return rows;
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
};

TEST_F(StatisticsPageTest, RebuildBehindTheBusyWindowThenEveryView) {
    const Statistics& stats = window->statistics();
    EXPECT_TRUE(stats.summary.text(1, SummaryColumn::kName).empty())
        << "an opened project's statistics are built when their page is first shown";
    EXPECT_EQ(child<QLabel>("标签2")->text(), "所有材料统计");
    window->pressPageButton(MainWindow::StatisticsPage);
    ASSERT_FALSE(stats.summary.text(1, SummaryColumn::kName).empty());
    EXPECT_EQ(stats.filter.locations().size(), 6u);
    EXPECT_EQ(child<QLabel>("标签2")->text(), "所有材料统计表") << "the list shown, as chosen";
    // Names the trees cut are whole in their tooltips.
    const auto names = child<QTreeWidget>("树型框1")->findItems(
        "金属门窗安装(铝合金门窗)", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(names.front()->toolTip(0), "金属门窗安装(铝合金门窗)");
    EXPECT_EQ(child<QTreeWidget>("树型框2")->topLevelItem(0)->toolTip(0),
              child<QTreeWidget>("树型框2")->topLevelItem(0)->text(0));

    window->dispatch(Command::BuildStatistics);
    auto* busy = window->findChild<BusyWindow*>();
    ASSERT_NE(busy, nullptr);
    // The window has its final size before it is first painted: nothing grows into an
    // unpainted strip while the work blocks painting.
    const QSize shown = busy->size();
    EXPECT_EQ(busy->minimumSize(), busy->maximumSize());
    EXPECT_EQ(busy->layout()->geometry(), busy->rect());
    EXPECT_EQ(busy->windowTitle(), " 数据分析中…");
    EXPECT_TRUE(busy->isModal());
    ASSERT_TRUE(
        test::waitUntil([&] { return child<QLabel>("分析标签")->text() == "数据分析完毕！"; }));
    EXPECT_EQ(busy->size(), shown);
    EXPECT_FALSE(busy->close()) << "the user cannot close it";
    ASSERT_TRUE(test::waitUntil([&] { return window->findChild<BusyWindow*>() == nullptr; }));
    EXPECT_EQ(child<QTabWidget>("选择夹1")->currentIndex(), MainWindow::StatisticsPage);
    EXPECT_EQ(prompter.status(), "统计表");

    // The division view: pick a work item in the tree.
    child<QRadioButton>("单选框2")->click();
    EXPECT_EQ(child<QLabel>("标签2")->text(), "分部分项统计表");
    EXPECT_TRUE(child<GridView>("分统计表")->isVisible());
    EXPECT_FALSE(child<GridView>("统计表")->isVisible());
    auto* tree1 = child<QTreeWidget>("树型框1");
    QTreeWidgetItem* item = tree1->topLevelItem(0);
    while (item->childCount() > 0) {
        item = item->child(0);
    }
    tree1->setCurrentItem(item);
    EXPECT_TRUE(child<QLabel>("标签4")->text().startsWith("分部分项："));
    const Grid& items = stats.itemSummary;
    EXPECT_EQ(items.text(0, ItemColumn::kMaterialCost), "材料费小计");
    EXPECT_EQ(items.text(items.rowCount() - 1, ItemColumn::kName), "小计：");
    EXPECT_EQ(prompter.status(), "统计完毕");

    // The filtered view: tick a location, then untick it. Its tables start at their top,
    // wherever the all-materials view had scrolled the one they share with it.
    child<QRadioButton>("单选框1")->click();
    QScrollBar* summaryBar = child<GridView>("统计表")->verticalScrollBar();
    ASSERT_GT(summaryBar->maximum(), 0);
    summaryBar->setValue(summaryBar->maximum());
    child<QRadioButton>("单选框3")->click();
    EXPECT_EQ(summaryBar->value(), 0);
    EXPECT_TRUE(child<GridView>("累计统计表")->isVisible());
    EXPECT_TRUE(child<GridView>("统计表")->isVisible());
    auto* tree2 = child<QTreeWidget>("树型框2");
    ASSERT_EQ(tree2->topLevelItemCount(), 6);
    QTreeWidgetItem* location = tree2->topLevelItem(0);
    location->setCheckState(0, Qt::Checked);
    EXPECT_EQ(location->child(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(stats.cumulative.text(1, CumulativeColumn::kLocation),
              location->text(0).toStdString());
    location->child(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(location->checkState(0),
              location->childCount() > 1 ? Qt::PartiallyChecked : Qt::Unchecked);
    location->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(stats.cumulative.text(1, CumulativeColumn::kLocation), "");

    // 查找明细 from the all-materials view lands on the analysis page with the rows marked.
    child<QRadioButton>("单选框1")->click();
    EXPECT_EQ(child<QLabel>("标签2")->text(), "所有材料统计表");
    auto* summary = child<GridView>("统计表");
    summary->setCurrentIndex(summary->gridModel()->index(1, SummaryColumn::kName));
    window->dispatch(Command::FindDetails);
    EXPECT_EQ(child<QTabWidget>("选择夹1")->currentIndex(), MainWindow::AnalysisPage);
    const auto marked = markedAnalysisRows();
    ASSERT_FALSE(marked.empty());
    EXPECT_EQ(window->document().analysis.text(marked.front(), AnalysisColumn::kMaterialName),
              stats.summary.text(1, SummaryColumn::kName));
}

// The filtered view with every location ticked shows a price changed on the material page,
// and keeps its ticks through the price's undo and redo.
TEST_F(StatisticsPageTest, AChangedPriceIsShownAndUndoKeepsTheTicks) {
    const Statistics& stats = window->statistics();
    window->pressPageButton(MainWindow::StatisticsPage);
    child<QRadioButton>("单选框3")->click();
    auto* tree2 = child<QTreeWidget>("树型框2");
    for (int i = 0; i < tree2->topLevelItemCount(); ++i) {
        tree2->topLevelItem(i)->setCheckState(0, Qt::Checked);
    }
    const auto allTicked = [&] {
        for (int i = 0; i < tree2->topLevelItemCount(); ++i) {
            if (tree2->topLevelItem(i)->checkState(0) != Qt::Checked) {
                return false;
            }
        }
        return tree2->topLevelItemCount() == 6;
    };
    ASSERT_TRUE(allTicked());
    const std::string name(stats.summary.text(1, SummaryColumn::kName));
    const double quantity = parseNumber(stats.summary.text(1, SummaryColumn::kQuantity));
    const double price = parseNumber(stats.summary.text(1, SummaryColumn::kPrice));
    ASSERT_GT(quantity, 0);
    const std::string subtotal(
        stats.cumulative.text(stats.cumulative.rowCount() - 1, CumulativeColumn::kMaterialCost));

    // Five more on the material page, typed as a surveyor types it.
    window->pressPageButton(MainWindow::MaterialPage);
    const Grid& materials = window->document().materials;
    int row = 1;
    while (row < materials.rowCount() && materials.text(row, MaterialColumn::kName) != name) {
        ++row;
    }
    ASSERT_LT(row, materials.rowCount());
    auto* view = child<GridView>("材料表");
    const QModelIndex cell = view->gridModel()->index(row, MaterialColumn::kPrice);
    view->setCurrentIndex(cell);
    view->edit(cell);
    auto* line = view->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    line->setText(QString::number(price + 5));
    QTest::keyClick(line, Qt::Key_Return);
    QCoreApplication::processEvents();

    const auto shows = [&](double unitPrice) {
        return std::abs(parseNumber(stats.summary.text(1, SummaryColumn::kPrice)) - unitPrice) <
                   1e-9 &&
               std::abs(parseNumber(stats.summary.text(1, SummaryColumn::kTotal)) -
                        quantity * unitPrice) < 1e-6;
    };
    window->pressPageButton(MainWindow::StatisticsPage);
    EXPECT_EQ(stats.summary.text(1, SummaryColumn::kName), name);
    EXPECT_TRUE(shows(price + 5)) << stats.summary.text(1, SummaryColumn::kTotal);
    EXPECT_TRUE(allTicked());
    // The location costs grew by the material's quantity × 5.
    const double grown = parseNumber(stats.cumulative.text(stats.cumulative.rowCount() - 1,
                                                           CumulativeColumn::kMaterialCost)) -
                         parseNumber(subtotal);
    EXPECT_NEAR(grown, quantity * 5, 1e-3);

    window->dispatch(Command::Undo);
    EXPECT_TRUE(allTicked()) << "undo keeps the ticks";
    EXPECT_TRUE(shows(price));
    EXPECT_EQ(
        stats.cumulative.text(stats.cumulative.rowCount() - 1, CumulativeColumn::kMaterialCost),
        subtotal);
    window->dispatch(Command::Redo);
    EXPECT_TRUE(allTicked()) << "and so does redo";
    EXPECT_TRUE(shows(price + 5));
}

// The sum of a statistics grid's column over its data rows.
double columnSum(const Grid& g, int column) {
    double sum = 0;
    for (int r = 1; r < g.rowCount(); ++r) {
        if (g.text(r, 1) != kSubtotalLabel && g.text(r, 2) != kSubtotalLabel) {
            sum += parseNumber(g.text(r, column));
        }
    }
    return sum;
}

TEST_F(StatisticsPageTest, EveryLocationIsTickedAndUntickedAtOnce) {
    window->pressPageButton(MainWindow::StatisticsPage);
    const Statistics& stats = window->statistics();
    const double allMaterials = columnSum(stats.summary, SummaryColumn::kTotal);
    ASSERT_GT(allMaterials, 0);
    child<QRadioButton>("单选框3")->click();
    auto* tree = child<QTreeWidget>("树型框2");
    child<QPushButton>("全选按钮")->click();
    for (int l = 0; l < tree->topLevelItemCount(); ++l) {
        QTreeWidgetItem* location = tree->topLevelItem(l);
        EXPECT_EQ(location->checkState(0), Qt::Checked) << l;
        for (int i = 0; i < location->childCount(); ++i) {
            EXPECT_EQ(location->child(i)->checkState(0), Qt::Checked) << l << "," << i;
        }
    }
    // All six locations together cost what all materials cost.
    EXPECT_NEAR(columnSum(stats.summary, SummaryColumn::kTotal), allMaterials, 1e-6);
    EXPECT_NEAR(columnSum(stats.cumulative, CumulativeColumn::kMaterialCost), allMaterials, 1e-6);
    std::set<std::string> places;
    for (int r = 1; r < stats.cumulative.rowCount(); ++r) {
        places.insert(std::string(stats.cumulative.text(r, CumulativeColumn::kLocation)));
    }
    places.erase("");
    places.erase(std::string(kSubtotalLabel));
    EXPECT_EQ(places.size(), 6u);

    child<QPushButton>("全不选按钮")->click();
    for (int l = 0; l < tree->topLevelItemCount(); ++l) {
        EXPECT_EQ(tree->topLevelItem(l)->checkState(0), Qt::Unchecked) << l;
        EXPECT_EQ(tree->topLevelItem(l)->child(0)->checkState(0), Qt::Unchecked) << l;
    }
    EXPECT_EQ(columnSum(stats.cumulative, CumulativeColumn::kMaterialCost), 0);
    EXPECT_FALSE(stats.filter.anyTicked());
}

TEST(LargeProjectWindow, OpensWithoutSpansForMergesOffTheScreen) {
    // Each merge made a span while the analysis page was hidden: a million-row project
    // held hundreds of megabytes of them.
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    const auto window = test::openSampleWindow(dir.path(), prompter, 300);
    const Grid& analysis = window->document().analysis;
    const auto farDown = analysis.mergesInRows(analysis.rowCount() - 20, analysis.rowCount() - 1);
    ASSERT_FALSE(farDown.empty());
    auto* view = window->findChild<GridView*>("分析表");
    EXPECT_EQ(view->rowSpan(farDown.front().top, farDown.front().left), 1);
}

TEST_F(StatisticsPageTest, OnlyNotesTakeEditsAndTheyCountAsChanges) {
    window->pressPageButton(MainWindow::StatisticsPage);
    auto* summary = child<GridView>("统计表");
    window->document().modified = false;
    summary->setCurrentIndex(summary->gridModel()->index(1, SummaryColumn::kName));
    summary->edit(summary->gridModel()->index(1, SummaryColumn::kName));
    EXPECT_EQ(summary->findChild<QLineEdit*>(), nullptr);
    summary->gridModel()->setData(summary->gridModel()->index(1, SummaryColumn::kNote), "备注",
                                  Qt::EditRole);
    EXPECT_TRUE(window->document().modified);

    // Delete clears a note, and nothing else.
    summary->setCurrentIndex(summary->gridModel()->index(1, SummaryColumn::kNote));
    QTest::keyClick(summary, Qt::Key_Delete);
    EXPECT_EQ(window->statistics().summary.text(1, SummaryColumn::kNote), "");
    summary->setCurrentIndex(summary->gridModel()->index(1, SummaryColumn::kName));
    QTest::keyClick(summary, Qt::Key_Delete);
    EXPECT_NE(window->statistics().summary.text(1, SummaryColumn::kName), "");

    // Ctrl + double click on a material runs 查找明细.
    emit summary->cellDoubleClicked(1, SummaryColumn::kName, Qt::ControlModifier);
    EXPECT_EQ(child<QTabWidget>("选择夹1")->currentIndex(), MainWindow::AnalysisPage);
    const auto marked = markedAnalysisRows();
    ASSERT_FALSE(marked.empty());
    for (const int row : marked) {
        EXPECT_EQ(window->document().analysis.text(row, AnalysisColumn::kMaterialName),
                  window->statistics().summary.text(1, SummaryColumn::kName));
    }

    auto* analysis = child<GridView>("分析表");
    analysis->edit(analysis->gridModel()->index(2, AnalysisColumn::kNote));
    EXPECT_EQ(analysis->findChild<QLineEdit*>(), nullptr) << "分析表 is never edited in place";
}

TEST_F(StatisticsPageTest, CellContentFollowsTheCursorAndNumberPressesSelectRows) {
    auto* analysis = child<GridView>("分析表");
    analysis->setCurrentIndex(analysis->gridModel()->index(2, AnalysisColumn::kLocation));
    window->dispatch(Command::ViewCellContent);
    // The window opens over the table's right-hand end, not over the banner.
    auto* cellWindow = child<QWidget>("单元格内容窗口");
    const auto onScreen = [](QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); };
    EXPECT_FALSE(cellWindow->frameGeometry().intersects(onScreen(child<QWidget>("图片框1"))));
    EXPECT_TRUE(onScreen(analysis).contains(cellWindow->frameGeometry()));
    auto* text = child<QPlainTextEdit>("内容编辑框");
    EXPECT_EQ(text->toPlainText().toStdString(),
              window->document().analysis.text(2, AnalysisColumn::kLocation));
    analysis->setCurrentIndex(analysis->gridModel()->index(3, AnalysisColumn::kMaterialName));
    EXPECT_EQ(child<QLabel>("位置标签")->text(), "行：3    列：7");
    EXPECT_EQ(text->toPlainText().toStdString(),
              window->document().analysis.text(3, AnalysisColumn::kMaterialName));

    // A click on 序号 selects the row's visible cells.
    emit analysis->cellPressed(4, 0, Qt::LeftButton, QPoint());
    EXPECT_EQ(window->document().analysis.selection(), (CellRange{4, 1, 4, 12}));
    auto* materials = child<GridView>("材料表");
    emit materials->cellPressed(2, 0, Qt::LeftButton, QPoint());
    EXPECT_EQ(window->document().materials.selection(), (CellRange{2, 1, 2, 7}));
    auto* summary = child<GridView>("统计表");
    emit summary->cellPressed(3, 0, Qt::LeftButton, QPoint());
    EXPECT_EQ(window->statistics().summary.selection(), (CellRange{3, 1, 3, 7}));
}

}  // namespace
}  // namespace tf::gui

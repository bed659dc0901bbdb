// The statistics page's 图表: the bars the page draws are the figures of the view shown, and
// they follow a tick at once.
#include <gtest/gtest.h>

#include <algorithm>

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QPushButton>
#include <QTreeWidget>

#include "cli/sample_project.h"
#include "core/charts/statistics_chart.h"
#include "gui/charts/statistics_chart_view.h"
#include "gui/stats/statistics_page.h"

namespace tf::gui {
namespace {

// The first bar's value in each series, as the page drew it (the top bar is the last one).
std::vector<double> topBar(StatisticsChartView& view) {
    std::vector<double> values;
    const auto all = view.chart()->series();
    if (all.isEmpty()) {
        return values;
    }
    auto* bars = qobject_cast<QHorizontalStackedBarSeries*>(all.front());
    for (QBarSet* set : bars->barSets()) {
        values.push_back(set->at(set->count() - 1));
    }
    return values;
}

// A sample project of `locations` locations with its statistics built.
struct SampleStatistics {
    explicit SampleStatistics(int locations) {
        cli::buildSampleProject(document, locations);
        resetStatistics(statistics);
        rebuildStatistics(document, statistics, quiet);
    }
    ProjectDocument document;
    Statistics statistics;
    SilentPrompter quiet;
};

// Its statistics page, made once they are built.
struct SamplePage : SampleStatistics {
    explicit SamplePage(int locations) : SampleStatistics(locations) {}
    StatisticsPage page{document, statistics, quiet};
};

TEST(StatisticsChartPage, DrawsTheViewsFiguresAndFollowsATick) {
    SamplePage sample(6);
    StatisticsPage& page = sample.page;
    const Statistics& statistics = sample.statistics;
    page.findChild<QCheckBox*>("图表开关")->setChecked(true);
    auto* view = page.findChild<StatisticsChartView*>("图表");
    ASSERT_TRUE(view);
    const BarChart expected = statisticsChart(statistics);
    ASSERT_FALSE(expected.bars.empty());
    EXPECT_EQ(view->shownChart().bars.size(), expected.bars.size());
    EXPECT_EQ(topBar(*view), expected.bars.front().values);
    EXPECT_EQ(topBar(*view).size(), expected.series.size()) << "one bar set a series";
    // The names drawn beside the bars, top down, and in the legend.
    QStringList names;
    for (const ChartBar& bar : expected.bars) {
        names.prepend(QString::fromStdString(bar.label));
    }
    const auto axes = view->chart()->axes(Qt::Vertical);
    ASSERT_EQ(axes.size(), 1);
    EXPECT_EQ(qobject_cast<QBarCategoryAxis*>(axes.front())->categories(), names);
    EXPECT_EQ(names.back().toStdString(), expected.bars.front().label);
    QStringList legend;
    for (QLegendMarker* marker : view->chart()->legend()->markers()) {
        legend << marker->label();
    }
    ASSERT_EQ(legend.size(), static_cast<qsizetype>(expected.series.size()));
    EXPECT_EQ(legend.front().toStdString(), expected.series.front());

    page.chooseView(StatisticsView::Filtered);
    EXPECT_TRUE(view->shownChart().bars.empty()) << "nothing ticked";
    auto* tree = page.findChild<QTreeWidget*>("树型框2");
    tree->topLevelItem(2)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(view->shownChart().bars.size(), 1u);
    EXPECT_EQ(view->shownChart().bars[0].label, tree->topLevelItem(2)->text(0).toStdString());
    EXPECT_GT(view->shownChart().bars[0].total(), 0);

    // 全选 and 全不选 reach the chart as they reach the table.
    page.findChild<QPushButton*>("全选按钮")->click();
    EXPECT_EQ(view->shownChart().bars.size(), 6u);
    page.findChild<QPushButton*>("全不选按钮")->click();
    EXPECT_TRUE(view->shownChart().bars.empty());
}

// Thirty-one bars want more height than the page has: the chart scrolls, the page keeps the
// size it had.
TEST(StatisticsChartPage, AChartOfManyBarsScrollsInsteadOfGrowingThePage) {
    SamplePage sample(40);
    StatisticsPage& page = sample.page;
    const int before = page.minimumSizeHint().height();
    page.findChild<QCheckBox*>("图表开关")->setChecked(true);
    page.chooseView(StatisticsView::Filtered);
    page.findChild<QPushButton*>("全选按钮")->click();
    auto* view = page.findChild<StatisticsChartView*>("图表");
    ASSERT_EQ(view->shownChart().bars.size(), kChartedLocations + 1);
    EXPECT_GT(view->minimumHeight(), 800) << "a line of text a bar";
    EXPECT_LT(page.minimumSizeHint().height(), std::max(before, 400) + 300);
}

}  // namespace
}  // namespace tf::gui

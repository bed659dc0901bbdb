// The statistics page's 图表: the bars the page draws are the figures of the view shown, and
// they follow a tick at once.
#include <gtest/gtest.h>

#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QHorizontalStackedBarSeries>
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

TEST(StatisticsChartPage, DrawsTheViewsFiguresAndFollowsATick) {
    ProjectDocument document;
    cli::buildSampleProject(document, 6);
    Statistics statistics;
    resetStatistics(statistics);
    SilentPrompter quiet;
    rebuildStatistics(document, statistics, quiet);
    StatisticsPage page(document, statistics, quiet);
    page.findChild<QCheckBox*>("图表开关")->setChecked(true);
    auto* view = page.findChild<StatisticsChartView*>("图表");
    ASSERT_TRUE(view);
    const BarChart expected = statisticsChart(statistics);
    ASSERT_FALSE(expected.bars.empty());
    EXPECT_EQ(view->shownChart().bars.size(), expected.bars.size());
    EXPECT_EQ(topBar(*view), expected.bars.front().values);
    EXPECT_EQ(topBar(*view).size(), expected.series.size()) << "one bar set a series";

    page.chooseView(StatisticsView::Filtered);
    EXPECT_TRUE(view->shownChart().bars.empty()) << "nothing ticked";
    auto* tree = page.findChild<QTreeWidget*>("树型框2");
    tree->topLevelItem(2)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(view->shownChart().bars.size(), 1u);
    EXPECT_EQ(view->shownChart().bars[0].label, tree->topLevelItem(2)->text(0).toStdString());
    EXPECT_GT(view->shownChart().bars[0].total(), 0);
}

}  // namespace
}  // namespace tf::gui

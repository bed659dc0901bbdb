#include "gui/charts/statistics_chart_view.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QHorizontalStackedBarSeries>
#include <QValueAxis>
#include <algorithm>

#include "gui/widgets/qt_text.h"

namespace tf::gui {

StatisticsChartView::StatisticsChartView(QWidget* parent) : QChartView(parent) {
    setObjectName("图表");
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(260);
}

void StatisticsChartView::showChart(const StatisticsChart& chart) {
    chart_ = chart;
    auto* series = new QHorizontalStackedBarSeries;
    // Bars from the top down in the chart's order: the axis counts from the bottom.
    QStringList labels;
    for (auto bar = chart.bars.rbegin(); bar != chart.bars.rend(); ++bar) {
        labels << qs(bar->label);
    }
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        auto* set = new QBarSet(qs(chart.series[s]));
        for (auto bar = chart.bars.rbegin(); bar != chart.bars.rend(); ++bar) {
            *set << (s < bar->values.size() ? bar->values[s] : 0.0);
        }
        series->append(set);
    }
    connect(series, &QAbstractBarSeries::clicked, this, [this](int index, QBarSet*) {
        const auto bars = static_cast<int>(chart_.bars.size());
        if (index >= 0 && index < bars) {
            const ChartBar& bar = chart_.bars[static_cast<std::size_t>(bars - 1 - index)];
            if (bar.firstRow >= 0) {
                emit rowsRequested(bar.firstRow, bar.lastRow);
            }
        }
    });
    auto* view = new QChart;
    view->setTitle(qs(chart.title));
    view->addSeries(series);
    auto* names = new QBarCategoryAxis;
    names->append(labels);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    names->setLabelsFont(small);
    view->addAxis(names, Qt::AlignLeft);
    series->attachAxis(names);
    auto* amounts = new QValueAxis;
    amounts->setTitleText("金额（元）");
    amounts->setLabelFormat("%.0f");
    amounts->setLabelsFont(small);
    view->addAxis(amounts, Qt::AlignBottom);
    series->attachAxis(amounts);
    amounts->applyNiceNumbers();
    series->setBarWidth(0.7);
    // Room for every bar's name: about a line of text each.
    setMinimumHeight(std::max(260, 24 * static_cast<int>(chart.bars.size()) + 140));
    view->legend()->setVisible(chart.series.size() > 1);
    view->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = QChartView::chart();
    setChart(view);
    delete old;
}

}  // namespace tf::gui

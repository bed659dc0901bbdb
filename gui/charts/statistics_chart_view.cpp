#include "gui/charts/statistics_chart_view.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <algorithm>

#include "gui/charts/chart_figure.h"

namespace tf::gui {

StatisticsChartView::StatisticsChartView(QWidget* parent) : QChartView(parent) {
    setObjectName("图表");
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(260);
}

void StatisticsChartView::showChart(const BarChart& chart) {
    chart_ = chart;
    QChart* view = newBarChart(chart, font());
    if (auto* series = qobject_cast<QAbstractBarSeries*>(view->series().value(0))) {
        connect(series, &QAbstractBarSeries::clicked, this, [this](int index, QBarSet*) {
            const auto bars = static_cast<int>(chart_.bars.size());
            if (index >= 0 && index < bars) {
                const ChartBar& bar = chart_.bars[static_cast<std::size_t>(bars - 1 - index)];
                if (bar.firstRow >= 0) {
                    emit rowsRequested(bar.firstRow, bar.lastRow);
                }
            }
        });
    }
    // Room for every bar's name: about a line of text each.
    setMinimumHeight(std::max(260, 24 * static_cast<int>(chart.bars.size()) + 140));
    QChart* old = QChartView::chart();
    setChart(view);
    delete old;
}

}  // namespace tf::gui

#pragma once

#include <QChartView>

#include "core/charts/statistics_chart.h"

namespace tf::gui {

// The chart of a statistics view: stacked bars, amounts as the tables show them; a click on
// a bar asks for its rows.
class StatisticsChartView : public QChartView {
    Q_OBJECT
  public:
    explicit StatisticsChartView(QWidget* parent = nullptr);

    void showChart(const BarChart& chart);
    const BarChart& shownChart() const { return chart_; }

  signals:
    void rowsRequested(int firstRow, int lastRow);

  private:
    BarChart chart_;
};

}  // namespace tf::gui

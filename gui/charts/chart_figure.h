#pragma once

#include <QFont>
#include <QRectF>

#include "core/charts/bar_chart.h"
#include "gui/print/grid_printer.h"

class QChart;

namespace tf::gui {

// The chart as Qt Charts draws it: stacked bars across, the first bar on top, a line of text
// for each bar's name, amounts in whole yuan on nice steps, a legend when there are several
// series. The labels take `font`, a little smaller. The caller owns it.
QChart* newBarChart(const BarChart& chart, const QFont& font);

// The chart on a printed page of its own, under its title. Qt Charts draws on the window's
// thread only: so it is drawn now, for a page of `area`, as vector graphics (paths and text on
// a PDF) that any thread then paints, shrunk to fit a smaller page; its texts are told to the
// PDF's text layer. A chart without bars has no page.
PagePainter chartPage(const BarChart& chart, const QSizeF& area);

// The chart's page of a print sheet on `layout` when it is to be printed ("打印图表"); none
// otherwise.
PagePainter chartPageOf(const PrintSheet& sheet, const QPageLayout& layout);

}  // namespace tf::gui

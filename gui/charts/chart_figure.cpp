#include "gui/charts/chart_figure.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QPainter>
#include <QPicture>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "gui/print/pdf_text_layer.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {

QChart* newBarChart(const BarChart& chart, const QFont& font) {
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
    auto* view = new QChart;
    view->setAnimationOptions(QChart::NoAnimation);
    QFont titleFont = font;
    titleFont.setBold(true);
    view->setTitleFont(titleFont);
    view->setTitle(qs(chart.title));
    view->addSeries(series);
    QFont small = font;
    if (font.pointSizeF() > 0) {
        small.setPointSizeF(font.pointSizeF() * 0.85);
    } else {
        small.setPixelSize(std::max(1, font.pixelSize() * 85 / 100));
    }
    auto* names = new QBarCategoryAxis;
    names->append(labels);
    names->setLabelsFont(small);
    view->addAxis(names, Qt::AlignLeft);
    series->attachAxis(names);
    auto* amounts = new QValueAxis;
    amounts->setTitleText("金额（元）");
    amounts->setTitleFont(small);
    amounts->setLabelFormat("%.0f");
    amounts->setLabelsFont(small);
    view->addAxis(amounts, Qt::AlignBottom);
    series->attachAxis(amounts);
    if (chart.bars.empty()) {
        amounts->setRange(0, 1);  // nothing ticked: no axis, not a range of nothing
        amounts->setVisible(false);
    } else {
        amounts->applyNiceNumbers();
    }
    series->setBarWidth(0.7);
    view->legend()->setFont(small);
    view->legend()->setVisible(chart.series.size() > 1);
    view->legend()->setAlignment(Qt::AlignBottom);
    return view;
}

PagePainter chartPage(const BarChart& chart, const QSizeF& area) {
    if (chart.bars.empty()) {
        return {};  // nothing to draw: no page
    }
    // The tables' face, in pixels as theirs: the page is drawn in screen pixels whatever the
    // device, and alike by the window and the command line.
    const QFont font = pixelFont({}, 11);
    QGraphicsScene scene;
    QChart* figure = newBarChart(chart, font);
    // Qt shortens a bar's name to "…", or leaves it out, unless a line of it and some padding
    // fit the bar's share of the axis, which thirty bars on a page do not have: the names are
    // written here instead, beside their bars, in the room kept left of them.
    auto* axis = qobject_cast<QBarCategoryAxis*>(figure->axes(Qt::Vertical).value(0));
    QFont nameFont = axis ? axis->labelsFont() : font;
    const QColor nameInk = axis ? axis->labelsBrush().color() : QColor(Qt::black);
    double widest = 0;
    for (const ChartBar& bar : chart.bars) {
        widest = std::max(widest, QFontMetricsF(nameFont).horizontalAdvance(qs(bar.label)));
    }
    if (axis) {
        axis->setLabelsVisible(false);
    }
    constexpr int kMargin = 4;  // the page has margins of its own
    figure->setMargins(
        QMargins(kMargin + static_cast<int>(std::ceil(widest)) + 8, kMargin, kMargin, kMargin));
    scene.addItem(figure);  // the scene owns it
    figure->setGeometry(QRectF(QPointF(0, 0), area));
    // Laid out now, not when the event loop comes round.
    figure->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QRectF plot = figure->plotArea();
    const double step = plot.height() / static_cast<double>(chart.bars.size());
    while (nameFont.pixelSize() > 4 && QFontMetricsF(nameFont).height() > step) {
        nameFont.setPixelSize(nameFont.pixelSize() - 1);  // more bars than lines of text
    }
    auto picture = std::make_shared<QPicture>();
    {
        QPainter recorder(picture.get());
        recorder.setRenderHint(QPainter::Antialiasing);
        scene.render(&recorder, QRectF(QPointF(0, 0), area), QRectF(QPointF(0, 0), area));
        recorder.setFont(nameFont);
        recorder.setPen(nameInk);
        for (std::size_t i = 0; i < chart.bars.size(); ++i) {  // the first bar on top
            const QRectF line(0, plot.top() + step * static_cast<double>(i), plot.left() - 6, step);
            recorder.drawText(line, Qt::AlignRight | Qt::AlignVCenter, qs(chart.bars[i].label));
        }
    }
    auto texts = std::make_shared<std::vector<std::pair<QFont, QString>>>();
    texts->emplace_back(figure->titleFont(), figure->title());
    for (QAbstractAxis* each : figure->axes()) {
        texts->emplace_back(each->titleFont(), each->titleText());
    }
    for (const ChartBar& bar : chart.bars) {
        texts->emplace_back(nameFont, qs(bar.label));
    }
    for (const auto& name : chart.series) {
        texts->emplace_back(figure->legend()->font(), qs(name));
    }
    return
        [picture, texts, drawnFor = area](QPainter& painter, const QSizeF& page, DrawnText* drawn) {
            const double scale =
                std::min({1.0, page.width() / drawnFor.width(), page.height() / drawnFor.height()});
            // A picture plays scaled from its resolution to the device's; this painter already
            // works in screen pixels.
            const double played =
                static_cast<double>(picture->logicalDpiX()) / painter.device()->logicalDpiX();
            painter.scale(scale * played, scale * played);
            painter.drawPicture(0, 0, *picture);
            if (drawn) {
                for (const auto& [face, text] : *texts) {
                    drawn->add(face, text);
                }
            }
        };
}

PagePainter chartPageOf(const PrintSheet& sheet, const QPageLayout& layout) {
    if (!sheet.chart || !sheet.printChart) {
        return {};
    }
    return chartPage(*sheet.chart, extraPageArea(layout));
}

}  // namespace tf::gui

#include "gui/widgets/grid_printer.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <vector>

#include "core/grid/grid_display.h"

namespace tf::gui {
namespace {

QColor toQColor(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

int alignmentFlags(Align align) {
    switch (align) {
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

// Where each grid column lands on paper, in device units; hidden columns get width 0.
struct ColumnPlacement {
    std::vector<double> left;
    std::vector<double> width;
};

ColumnPlacement placeColumns(const Grid& grid, double pageWidth, double unitsPerPixel) {
    double total = 0;
    for (int c = 0; c < grid.columnCount(); ++c) {
        total += grid.column(c).width;
    }
    const double scale =
        total * unitsPerPixel > pageWidth && total > 0 ? pageWidth / total : unitsPerPixel;
    ColumnPlacement p;
    double x = 0;
    for (int c = 0; c < grid.columnCount(); ++c) {
        p.left.push_back(x);
        p.width.push_back(grid.column(c).width * scale);
        x += p.width.back();
    }
    return p;
}

class PagePainter {
  public:
    PagePainter(const Grid& grid, QPainter& painter, const ColumnPlacement& columns,
                double rowHeight)
        : grid_(grid), p_(painter), columns_(columns), rowHeight_(rowHeight) {}

    // Paints rows first..last starting at y; cells of merges are painted once, clipped to
    // the rows of this page.
    void paintRows(int first, int last, double y) {
        for (int r = first; r <= last; ++r) {
            for (int c = 0; c < grid_.columnCount(); ++c) {
                if (columns_.width[static_cast<std::size_t>(c)] <= 0) {
                    continue;
                }
                CellRange area{r, c, r, c};
                if (const auto merge = grid_.mergeAt(r, c)) {
                    const bool firstOnPage = (r == merge->top || r == first) && c == merge->left;
                    if (!firstOnPage) {
                        continue;
                    }
                    area = {r, merge->left, std::min(merge->bottom, last), merge->right};
                }
                paintCell(area, y + (r - first) * rowHeight_);
            }
        }
    }

  private:
    void paintCell(const CellRange& area, double y) {
        const auto left = static_cast<std::size_t>(area.left);
        double width = 0;
        for (int c = area.left; c <= area.right; ++c) {
            width += columns_.width[static_cast<std::size_t>(c)];
        }
        const QRectF rect(columns_.left[left], y, width, rowHeight_ * (area.bottom - area.top + 1));
        const CellStyle& style = grid_.style(area.top, area.left);
        if (style.background) {
            p_.fillRect(rect, toQColor(*style.background));
        }
        p_.setPen(toQColor(grid_.gridLineColor()));
        p_.drawRect(rect);
        QFont font = p_.font();
        if (!style.fontName.empty()) {
            font.setFamily(QString::fromStdString(style.fontName));
        }
        if (style.fontSize > 0) {
            font.setPointSize(style.fontSize);
        }
        font.setBold(style.bold);
        p_.save();
        p_.setFont(font);
        p_.setPen(style.foreground ? toQColor(*style.foreground) : QColor(Qt::black));
        const int flags = alignmentFlags(effectiveAlign(grid_, area.top, area.left)) |
                          Qt::AlignVCenter | (style.wrap ? Qt::TextWordWrap : 0);
        const QString text = QString::fromStdString(displayText(grid_, area.top, area.left));
        p_.drawText(rect.adjusted(2, 0, -2, 0), flags, text);
        p_.restore();
    }

    const Grid& grid_;
    QPainter& p_;
    const ColumnPlacement& columns_;
    double rowHeight_;
};

}  // namespace

int printGrid(const Grid& grid, QPagedPaintDevice& device, const PrintTitle& title) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const double unitsPerPixel = device.logicalDpiX() / 96.0;
    const ColumnPlacement columns = placeColumns(grid, page.width(), unitsPerPixel);
    const double rowHeight = grid.rowHeight() * unitsPerPixel;
    QFont cellFont("宋体");
    cellFont.setPointSize(9);
    painter.setFont(cellFont);
    PagePainter cells(grid, painter, columns, rowHeight);

    const int headings = grid.fixedRows();
    int next = headings;
    int pages = 0;
    while (pages == 0 || next < grid.rowCount()) {
        if (pages > 0) {
            device.newPage();
        }
        double y = 0;
        if (pages == 0 && !title.text.isEmpty()) {
            QFont titleFont(title.fontName);
            titleFont.setPointSize(std::max(1, title.fontSize));
            painter.save();
            painter.setFont(titleFont);
            const double height = QFontMetricsF(titleFont, &device).height() * 1.6;
            painter.drawText(QRectF(0, 0, page.width(), height), Qt::AlignCenter, title.text);
            painter.restore();
            y = height;
        }
        cells.paintRows(0, headings - 1, y);
        y += headings * rowHeight;
        const int fit = std::max(1, static_cast<int>((page.height() - y) / rowHeight));
        const int last = std::min(grid.rowCount() - 1, next + fit - 1);
        cells.paintRows(next, last, y);
        next = last + 1;
        ++pages;
    }
    painter.end();
    return pages;
}

}  // namespace tf::gui

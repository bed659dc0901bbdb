#include "gui/print/grid_printer.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <vector>

#include "core/grid/grid_display.h"
#include "core/print/page_plan.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/wrapped_text.h"

namespace tf::gui {
namespace {

constexpr double kScreenDpi = 96;
constexpr int kCellPoints = 9;
constexpr int kFooterPoints = 9;

QColor toQColor(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

Qt::Alignment horizontalFlags(Align align) {
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

// Paints rows of the sheet in sheet pixels, a merge once per page, clipped to its rows there.
class SheetPainter {
  public:
    SheetPainter(const Grid& grid, QPainter& painter, DrawnText* drawn)
        : grid_(grid), p_(painter), drawn_(drawn) {
        double x = 0;
        for (int c = 0; c < grid.columnCount(); ++c) {
            left_.push_back(x);
            x += std::max(0, grid.column(c).width);
        }
        left_.push_back(x);
    }

    void paintRows(int first, int last, double y) {
        for (int r = first; r <= last; ++r) {
            for (int c = 0; c < grid_.columnCount(); ++c) {
                if (grid_.column(c).width <= 0) {
                    continue;
                }
                CellRange area{r, c, r, c};
                if (const auto merge = grid_.mergeAt(r, c)) {
                    if (c != merge->left || (r != merge->top && r != first)) {
                        continue;
                    }
                    area = {r, merge->left, std::min(merge->bottom, last), merge->right};
                }
                paintCell(area, merge(r, c), y + (r - first) * grid_.rowHeight());
            }
        }
    }

  private:
    // The cell whose text and style a painted area shows: a merge's top-left cell.
    CellPos merge(int r, int c) const {
        const auto m = grid_.mergeAt(r, c);
        return m ? CellPos{m->top, m->left} : CellPos{r, c};
    }

    void paintCell(const CellRange& area, CellPos owner, double y) {
        const double x = left_[static_cast<std::size_t>(area.left)];
        const double width = left_[static_cast<std::size_t>(area.right) + 1] - x;
        const QRectF rect(x, y, width, grid_.rowHeight() * (area.bottom - area.top + 1.0));
        const CellStyle& style = grid_.style(owner.row, owner.column);
        if (style.background) {
            p_.fillRect(rect, toQColor(*style.background));
        }
        p_.setPen(QPen(toQColor(grid_.gridLineColor()), 0));
        p_.drawRect(rect);
        const QString text = qs(displayText(grid_, owner.row, owner.column));
        if (text.isEmpty()) {
            return;
        }
        QFont font = pixelFont(style.fontName, style.fontSize > 0 ? style.fontSize : kCellPoints);
        font.setBold(style.bold);
        const QRectF inner = rect.adjusted(3, 0, -3, 0);
        if (!style.wrap) {
            fitCellFont(font, text, inner.width());
        }
        p_.save();
        p_.setFont(font);
        p_.setPen(style.foreground ? toQColor(*style.foreground) : QColor(Qt::black));
        const Qt::Alignment horizontal =
            horizontalFlags(effectiveAlign(grid_, owner.row, owner.column));
        const QFontMetricsF metrics(font);
        const double line = metrics.lineSpacing();
        const QStringList lines =
            style.wrap ? wrapCellText(text, font, static_cast<int>(inner.width()),
                                      std::max(1, static_cast<int>(inner.height() / line)))
                       : QStringList{metrics.elidedText(text, Qt::ElideRight, inner.width())};
        double top = inner.top() + (inner.height() - lines.size() * line) / 2;
        for (const QString& part : lines) {
            if (drawn_) {
                drawn_->add(font, part);
            }
            p_.drawText(QRectF(inner.left(), top, inner.width(), line),
                        static_cast<int>(horizontal | Qt::AlignVCenter), part);
            top += line;
        }
        p_.restore();
    }

    const Grid& grid_;
    QPainter& p_;
    DrawnText* drawn_;
    std::vector<double> left_;
};

double footerHeight(const QFont& footerFont) {
    return QFontMetricsF(footerFont).height() * 2.2;
}

}  // namespace

QFont pixelFont(const std::string& family, int points) {
    QFont font(family.empty() ? QString::fromUtf8(kDefaultTitleFont.data(),
                                                  static_cast<qsizetype>(kDefaultTitleFont.size()))
                              : qs(family));
    font.setPixelSize(std::max(1, (points * 4 + 1) / 3));
    // Shaped Latin text takes glyphs no character maps to (the CJK faces' own digits after a
    // letter), which a PDF's text layer cannot name; tables need no shaping.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QSizeF extraPageArea(const QPageLayout& layout) {
    const QRectF area = layout.paintRectPixels(static_cast<int>(kScreenDpi));
    return {area.width(), area.height() - footerHeight(pixelFont({}, kFooterPoints))};
}

SheetPages::SheetPages(const Grid& grid, SheetTitle title, const QPageLayout& layout,
                       PagePainter extraPage)
    : grid_(grid), title_(std::move(title)), layout_(layout), extraPage_(std::move(extraPage)) {
    const QRectF area = layout.paintRectPixels(static_cast<int>(kScreenDpi));
    pageWidth_ = area.width();
    pageHeight_ = area.height();
    titleFont_ = pixelFont(title_.fontName, title_.fontSize);
    // A title wider than the page is set smaller rather than cut at the edges.
    const double titleWidth = QFontMetricsF(titleFont_).horizontalAdvance(qs(title_.text));
    if (titleWidth > pageWidth_) {
        titleFont_.setPixelSize(
            std::max(1, static_cast<int>(titleFont_.pixelSize() * pageWidth_ / titleWidth)));
    }
    titleHeight_ = title_.text.empty() ? 0 : QFontMetricsF(titleFont_).height() * 1.8;
    footerFont_ = pixelFont({}, kFooterPoints);
    footerHeight_ = footerHeight(footerFont_);
    plan_ = planPages(grid, pageWidth_, pageHeight_, titleHeight_, footerHeight_);
}

void SheetPages::paint(QPainter& painter, int page, DrawnText* drawn) const {
    if (page < 0 || page >= count()) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const auto drawLine = [&](const QFont& font, const QRectF& rect, Qt::Alignment flags,
                              const QString& text) {
        if (drawn) {
            drawn->add(font, text);
        }
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(rect, static_cast<int>(flags), text);
    };
    const auto footer = [&] {
        drawLine(footerFont_, QRectF(0, pageHeight_ - footerHeight_, pageWidth_, footerHeight_),
                 Qt::AlignHCenter | Qt::AlignBottom, qs(pageFooter(page + 1, count())));
    };
    if (page == static_cast<int>(plan_.pages.size())) {
        painter.save();
        extraPage_(painter, QSizeF(pageWidth_, pageHeight_ - footerHeight_), drawn);
        painter.restore();
        footer();
        return;
    }
    double y = 0;
    if (page == 0 && titleHeight_ > 0) {
        drawLine(titleFont_, QRectF(0, 0, pageWidth_, titleHeight_), Qt::AlignCenter,
                 qs(title_.text));
        y = titleHeight_;
    }
    SheetPainter sheet(grid_, painter, drawn);
    painter.save();
    painter.translate((pageWidth_ - sheetWidth(grid_) * plan_.scale) / 2, y);  // centred
    painter.scale(plan_.scale, plan_.scale);
    sheet.paintRows(0, grid_.fixedRows() - 1, 0);
    const auto [first, last] = plan_.pages[static_cast<std::size_t>(page)];
    sheet.paintRows(first, last, grid_.fixedRows() * grid_.rowHeight());
    painter.restore();
    footer();
}

int printSheet(const SheetPages& pages, QPagedPaintDevice& device, DrawnText* drawn,
               const std::function<bool(int printed)>& carryOn) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    // Everything below is in screen pixels of the printable area.
    const double toDevice = device.logicalDpiX() / kScreenDpi;
    painter.scale(toDevice, toDevice);
    int printed = 0;
    for (int page = 0; page < pages.count(); ++page) {
        if (page > 0 && !device.newPage()) {
            break;
        }
        pages.paint(painter, page, drawn);
        ++printed;
        if (carryOn && !carryOn(printed)) {
            break;
        }
    }
    painter.end();
    return printed;
}

int printSheet(const Grid& grid, const SheetTitle& title, QPagedPaintDevice& device,
               DrawnText* drawn) {
    return printSheet(SheetPages(grid, title, device.pageLayout()), device, drawn);
}

QPageLayout sheetPageLayout(const Grid& grid, const PageSetup& setup) {
    const QMarginsF margins(setup.left, setup.top, setup.right, setup.bottom);
    const QPageSize paper(QSizeF(std::min(setup.paperWidth, setup.paperHeight),
                                 std::max(setup.paperWidth, setup.paperHeight)),
                          QPageSize::Millimeter);
    QPageLayout::Orientation orientation = setup.orientation == PageSetup::Orientation::Landscape
                                               ? QPageLayout::Landscape
                                               : QPageLayout::Portrait;
    if (setup.orientation == PageSetup::Orientation::Automatic) {
        const QPageLayout upright(paper, QPageLayout::Portrait, margins, QPageLayout::Millimeter);
        const double width = upright.paintRectPixels(static_cast<int>(kScreenDpi)).width();
        orientation = sheetWidth(grid) > width ? QPageLayout::Landscape : QPageLayout::Portrait;
    }
    return QPageLayout(paper, orientation, margins, QPageLayout::Millimeter);
}

PageSetup pageSetupOf(const QPageLayout& layout) {
    PageSetup setup;
    setup.orientation = layout.orientation() == QPageLayout::Landscape
                            ? PageSetup::Orientation::Landscape
                            : PageSetup::Orientation::Portrait;
    const QSizeF paper = layout.pageSize().size(QPageSize::Millimeter);
    setup.paperWidth = paper.width();
    setup.paperHeight = paper.height();
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    setup.left = margins.left();
    setup.top = margins.top();
    setup.right = margins.right();
    setup.bottom = margins.bottom();
    return setup;
}

QByteArray sheetPdf(const Grid& grid, const SheetTitle& title, const PageSetup& setup,
                    WorkProgress* progress, const PagePainter& extraPage) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DrawnText drawn;
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(sheetPageLayout(grid, setup));
        pdf.setCreator("Tallyframe");
        pdf.setTitle(qs(title.text));
        const SheetPages pages(grid, title, pdf.pageLayout(), extraPage);
        if (progress) {
            progress->total = pages.count();
        }
        const int printed = printSheet(pages, pdf, &drawn, [progress](int done) {
            if (progress) {
                progress->done = done;
            }
            return !progress || !progress->stopped();
        });
        if (printed == 0 || (progress && progress->stopped())) {
            return {};
        }
    }  // the writer finishes the document when it goes
    QByteArray bytes = buffer.data();
    correctTextLayer(bytes, drawn);
    return bytes;
}

}  // namespace tf::gui

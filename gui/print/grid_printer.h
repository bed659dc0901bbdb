#pragma once

#include <QByteArray>
#include <QFont>
#include <QPageLayout>
#include <QSizeF>
#include <functional>

#include "core/base/work_progress.h"
#include "core/grid/grid.h"
#include "core/print/page_plan.h"
#include "core/print/page_setup.h"
#include "core/print/print_sheet.h"
#include "gui/print/pdf_text_layer.h"

class QPagedPaintDevice;
class QPainter;

namespace tf::gui {

// What a page of its own after the sheet's shows (a chart), painted in screen pixels from the
// top left of `area`, the page without its footer; its texts go into `drawn` when one is given.
using PagePainter = std::function<void(QPainter& painter, const QSizeF& area, DrawnText* drawn)>;

// A printed font by pixel size (the painter works in screen pixels whatever the device's
// resolution): the face (the tables' own when none is named), `points` at 96 to the inch.
QFont pixelFont(const std::string& family, int points);

// The part of a page of the layout that such a page paints on.
QSizeF extraPageArea(const QPageLayout& layout);

// A sheet as the page plan lays it out on one page layout: the title over the first page,
// the heading rows on every page, merges (also across page breaks), wrapping, colours and
// fonts as the grid shows them, hidden columns left out, a sheet wider than the page scaled
// to its width, "第 n 页 共 m 页" at the foot of each page, then `extraPage` when there is one.
// Any page paints on its own, so a preview draws only the pages in view and a long print can
// stop between two pages.
class SheetPages {
  public:
    // The grid is read as pages are painted: it outlives this.
    SheetPages(const Grid& grid, SheetTitle title, const QPageLayout& layout,
               PagePainter extraPage = {});

    int count() const { return static_cast<int>(plan_.pages.size()) + (extraPage_ ? 1 : 0); }
    const QPageLayout& layout() const { return layout_; }
    // Paints a page (from 0) in screen pixels (96 to the inch) from the top left of the
    // page's printable area. What is drawn goes into `drawn` when one is given, for the text
    // layer of a PDF.
    void paint(QPainter& painter, int page, DrawnText* drawn = nullptr) const;

  private:
    const Grid& grid_;
    SheetTitle title_;
    QPageLayout layout_;
    double pageWidth_ = 0;
    double pageHeight_ = 0;
    double titleHeight_ = 0;
    double footerHeight_ = 0;
    QFont titleFont_;
    QFont footerFont_;
    PagePlan plan_;
    PagePainter extraPage_;
};

// Prints every page on the device (laid out for it); `carryOn`, when given, hears after each
// page how many are printed and stops the print by answering false. Returns the pages printed
// (0 when the device cannot be painted on).
int printSheet(const SheetPages& pages, QPagedPaintDevice& device, DrawnText* drawn = nullptr,
               const std::function<bool(int printed)>& carryOn = {});
// The sheet laid out on the device's own page layout.
int printSheet(const Grid& grid, const SheetTitle& title, QPagedPaintDevice& device,
               DrawnText* drawn = nullptr);

// The page of the setup; with the orientation left automatic, the one that prints the sheet
// largest (landscape when it is wider than an upright page). The same for paper, preview and
// PDF, so that all three break the pages alike.
QPageLayout sheetPageLayout(const Grid& grid, const PageSetup& setup);
PageSetup pageSetupOf(const QPageLayout& layout);

// The sheet as a PDF document on its page (empty when it cannot be made, or `progress`
// asked it to stop), its text layer naming what was drawn; the caller writes it the safe
// way. Pages are counted into `progress` as they are drawn.
QByteArray sheetPdf(const Grid& grid, const SheetTitle& title, const PageSetup& setup,
                    WorkProgress* progress = nullptr, const PagePainter& extraPage = {});

}  // namespace tf::gui

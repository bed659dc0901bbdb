#pragma once

#include <QByteArray>
#include <QPageLayout>

#include "core/grid/grid.h"
#include "core/print/page_setup.h"
#include "core/print/print_sheet.h"
#include "gui/print/pdf_text_layer.h"

class QPagedPaintDevice;

namespace tf::gui {

// Prints the sheet as the page plan lays it out: the title over the first page, the heading
// rows on every page, merges (also across page breaks), wrapping, colours and fonts as the
// grid shows them, hidden columns left out, a sheet wider than the page scaled to its width,
// "第 n 页 共 m 页" at the foot of each page. Returns the number of pages (0 when the device
// cannot be painted on).
// What is drawn goes into `drawn` when one is given, for the text layer of a PDF.
int printSheet(const Grid& grid, const SheetTitle& title, QPagedPaintDevice& device,
               DrawnText* drawn = nullptr);

// The page of the setup; with the orientation left automatic, the one that prints the sheet
// largest (landscape when it is wider than an upright page). The same for paper, preview and
// PDF, so that all three break the pages alike.
QPageLayout sheetPageLayout(const Grid& grid, const PageSetup& setup);
PageSetup pageSetupOf(const QPageLayout& layout);

// The sheet as a PDF document on its page (empty when it cannot be made), its text layer
// naming what was drawn; the caller writes it the safe way.
QByteArray sheetPdf(const Grid& grid, const SheetTitle& title, const PageSetup& setup);

}  // namespace tf::gui

#pragma once

#include <QByteArray>
#include <QPageLayout>

#include "core/grid/grid.h"
#include "core/print/print_sheet.h"

class QPagedPaintDevice;

namespace tf::gui {

// Prints the sheet as the page plan lays it out: the title over the first page, the heading
// rows on every page, merges (also across page breaks), wrapping, colours and fonts as the
// grid shows them, hidden columns left out, a sheet wider than the page scaled to its width,
// "第 n 页 共 m 页" at the foot of each page. Returns the number of pages (0 when the device
// cannot be painted on).
int printSheet(const Grid& grid, const SheetTitle& title, QPagedPaintDevice& device);

// A4 in the orientation that prints the sheet largest (landscape when it is wider than an
// upright page), with the sheet's margins: the same for paper, preview and PDF, so that all
// three break the pages alike.
QPageLayout sheetPageLayout(const Grid& grid);

// The sheet as a PDF document on its page layout (empty when it cannot be made);
// the caller writes it the safe way.
QByteArray sheetPdf(const Grid& grid, const SheetTitle& title);

}  // namespace tf::gui

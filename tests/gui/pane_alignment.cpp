#include "tests/gui/pane_alignment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include "gui/widgets/grid_view.h"

namespace tf::gui {
namespace {

// Where a row starts and a column starts on screen (merges aside).
int rowOnScreen(QTableView& view, int row) {
    return view.viewport()->mapToGlobal(QPoint(0, view.rowViewportPosition(row))).y();
}
int columnOnScreen(QTableView& view, int column) {
    return view.viewport()->mapToGlobal(QPoint(view.columnViewportPosition(column), 0)).x();
}

}  // namespace

void expectPanesAligned(GridView& view, const char* where) {
    QCoreApplication::processEvents();
    const auto panes = view.findChildren<QTableView*>("fixedPane");
    ASSERT_EQ(panes.size(), 3);
    QTableView& top = *panes[0];
    QTableView& left = *panes[1];
    const Grid& g = view.grid();
    const int first = view.rowAt(0);
    const int last = view.rowAt(view.viewport()->height() - 1);
    ASSERT_GE(first, g.fixedRows()) << where;
    const int column = view.columnAt(view.viewport()->width() / 2);
    for (int r = first; r <= last && r >= 0; ++r) {
        EXPECT_EQ(rowOnScreen(left, r), rowOnScreen(view, r)) << where << ", row " << r;
    }
    EXPECT_EQ(columnOnScreen(top, column), columnOnScreen(view, column)) << where;
    // No column slides partly under the fixed columns.
    EXPECT_EQ(view.columnViewportPosition(view.columnAt(0)), 0) << where;
    if (view.verticalScrollBar()->value() == view.verticalScrollBar()->maximum()) {
        const QRect lastRow = view.visualRect(view.model()->index(g.rowCount() - 1, column));
        EXPECT_LE(lastRow.bottom(), view.viewport()->height() - 1) << where;
    }
}

void wheelToTheEnd(GridView& view) {
    for (int i = 0; i < 1000; ++i) {
        const int before = view.verticalScrollBar()->value();
        const QPointF at(view.viewport()->width() / 2.0, view.viewport()->height() / 2.0);
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &wheel);
        QCoreApplication::processEvents();
        if (view.verticalScrollBar()->value() == before) {
            return;
        }
    }
}

}  // namespace tf::gui

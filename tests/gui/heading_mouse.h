#pragma once

#include <QPoint>
#include <QTableView>

namespace tf::gui {

class GridView;

// The pointer over the heading rows of a grid, its events sent straight to the pane that
// shows them (the platform's pointer is not the test's to move).
QTableView* headingPane(GridView& view);
// Just left of the border at the right of `column`, in the first heading row.
QPoint rightBorder(QTableView& pane, int column);
void hover(QTableView& pane, QPoint at);
void press(QTableView& pane, QPoint at);
void release(QTableView& pane, QPoint at);
void doubleClick(QTableView& pane, QPoint at);
// Drags the border at the right of `column` by `dx` pixels.
void dragBorder(GridView& view, int column, int dx);

}  // namespace tf::gui

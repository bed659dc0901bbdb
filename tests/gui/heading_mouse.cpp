#include "tests/gui/heading_mouse.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include "gui/widgets/grid_view.h"

namespace tf::gui {
namespace {

void mouse(QTableView& pane, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, pane.viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(pane.viewport(), &event);
}

}  // namespace

QTableView* headingPane(GridView& view) {
    return view.findChildren<QTableView*>("fixedPane").at(0);
}

QPoint rightBorder(QTableView& pane, int column) {
    return {pane.columnViewportPosition(column) + pane.columnWidth(column) - 1, 5};
}

void hover(QTableView& pane, QPoint at) {
    mouse(pane, QEvent::MouseMove, at);
}

void press(QTableView& pane, QPoint at) {
    mouse(pane, QEvent::MouseButtonPress, at);
}

void release(QTableView& pane, QPoint at) {
    mouse(pane, QEvent::MouseButtonRelease, at);
}

void doubleClick(QTableView& pane, QPoint at) {
    press(pane, at);
    release(pane, at);
    press(pane, at);
    mouse(pane, QEvent::MouseButtonDblClick, at);
    release(pane, at);
}

void dragBorder(GridView& view, int column, int dx) {
    QTableView* pane = headingPane(view);
    const QPoint grip = rightBorder(*pane, column);
    press(*pane, grip);
    hover(*pane, grip + QPoint(dx / 2, 0));
    release(*pane, grip + QPoint(dx, 0));
}

}  // namespace tf::gui

#include "gui/shell/cell_content_window.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "core/grid/grid.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

constexpr int kMargin = 5;
constexpr int kLabelBand = 35;  // the window's height above the edit box

}  // namespace

CellContentWindow::CellContentWindow(const Grid& analysis, QWidget* owner)
    : QWidget(owner, Qt::Tool), analysis_(analysis) {
    setObjectName("单元格内容窗口");
    setWindowTitle("单元格内容");
    setAttribute(Qt::WA_DeleteOnClose);
    position_ = new QLabel(this);
    position_->setObjectName("位置标签");
    position_->move(kMargin, 8);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("内容编辑框");
    resize(360, 200);
}

void CellContentWindow::showCell(int row, int column) {
    position_->setText(QString("行：%1    列：%2").arg(row).arg(column));
    position_->adjustSize();
    text_->setPlainText(qs(analysis_.text(row, column)));
}

void CellContentWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    text_->setGeometry(kMargin, kLabelBand, width() - 2 * kMargin, height() - kLabelBand);
}

}  // namespace tf::gui

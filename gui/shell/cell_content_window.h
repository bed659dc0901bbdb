#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace tf {
class Grid;
}

namespace tf::gui {

// The non-modal "单元格内容" window: the row and column of 分析表's cursor and that cell's
// whole text, following the cursor while it is open.
class CellContentWindow : public QWidget {
    Q_OBJECT
  public:
    CellContentWindow(const Grid& analysis, QWidget* owner);
    void showCell(int row, int column);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    const Grid& analysis_;
    QLabel* position_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace tf::gui

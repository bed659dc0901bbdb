#pragma once

#include <QDialog>

namespace tf::gui {

// "关于": the product, the version and build date, the legal notice and the maker's line. A
// click anywhere closes it; a click on the maker's line opens the web address first.
class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QWidget* makerLine_ = nullptr;
};

}  // namespace tf::gui

#pragma once

#include <QDialog>

#include "core/grid/grid.h"

class QCheckBox;
class QLineEdit;

namespace tf::gui {

class GridView;

// "查找": marks the rows of 材料表 whose name matches; stays open beside the table.
class MaterialSearchWindow : public QDialog {
    Q_OBJECT
  public:
    MaterialSearchWindow(Grid& materials, GridView& view, QWidget* parent);

  private:
    Grid& materials_;
    GridView& view_;
    QLineEdit* text_ = nullptr;
    QCheckBox* exact_ = nullptr;
};

}  // namespace tf::gui

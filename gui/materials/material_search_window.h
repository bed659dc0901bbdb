#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "core/grid/grid.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace tf::gui {

class GridView;

// Puts the cursor of 材料表 on the next (or previous) row after `from` that a search marked
// and shows it; returns where that row stands among the marked ones, or nothing when none
// is marked.
std::optional<std::string> goToMarkedMaterial(Grid& materials, GridView& view, int from,
                                              bool forward);

// "查找": marks the rows of 材料表 whose name matches and goes to the first of them from the
// cursor on; "下一个"/"上一个" (Ctrl+G, Ctrl+Shift+G) go through them. Stays open beside
// the table.
class MaterialSearchWindow : public QDialog {
    Q_OBJECT
  public:
    MaterialSearchWindow(Grid& materials, GridView& view, QWidget* parent);

    void go(bool forward);

  private:
    void showPosition(const std::optional<std::string>& position);

    Grid& materials_;
    GridView& view_;
    QLineEdit* text_ = nullptr;
    QCheckBox* exact_ = nullptr;
    QLabel* result_ = nullptr;
};

}  // namespace tf::gui

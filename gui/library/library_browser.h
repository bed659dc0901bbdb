#pragma once

#include <QDialog>
#include <memory>

#include "core/library/price_library.h"

class QLineEdit;
class QTreeWidget;

namespace tf::gui {

// "价格库": the library's materials with their latest price, searched as one types; the
// price history of the one chosen below.
class LibraryBrowser : public QDialog {
    Q_OBJECT
  public:
    LibraryBrowser(std::unique_ptr<PriceLibrary> library, QWidget* parent);

  private:
    void search();
    void showHistory();

    std::unique_ptr<PriceLibrary> library_;
    std::vector<PricedMaterial> found_;  // the materials listed, in the list's order
    QLineEdit* text_ = nullptr;
    QTreeWidget* materials_ = nullptr;
    QTreeWidget* history_ = nullptr;
};

}  // namespace tf::gui

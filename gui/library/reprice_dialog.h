#pragma once

#include <QDialog>

#include "core/library/repricing.h"

namespace tf::gui {

// The preview of a repricing: each material's price now and in the library on the day, the
// ones that change marked, the ones the library lacks said so. Accepted: apply it.
class RepriceDialog : public QDialog {
    Q_OBJECT
  public:
    RepriceDialog(const RepricePlan& plan, QWidget* parent);
};

}  // namespace tf::gui

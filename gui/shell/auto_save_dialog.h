#pragma once

#include <QDialog>

#include "core/shell/auto_save.h"

class QCheckBox;
class QLineEdit;

namespace tf::gui {

// "自动存盘设置": shows an AutoSaveForm and forwards the user's clicks and typing to it.
class AutoSaveDialog : public QDialog {
    Q_OBJECT
  public:
    AutoSaveDialog(AppSettings& settings, IntervalTimer& timer, QWidget* parent);

  private:
    void showForm();

    AutoSaveForm form_;
    IntervalTimer& timer_;
    QCheckBox* autoSave_ = nullptr;
    QCheckBox* reminder_ = nullptr;
    QLineEdit* interval_ = nullptr;
};

}  // namespace tf::gui

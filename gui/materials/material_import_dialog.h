#pragma once

#include <QDialog>
#include <functional>

class QPushButton;
class QRadioButton;

namespace tf::gui {

// "导入数据": shows the chosen file and the two modes; 确定 hands the mode to `run` (true
// for 覆盖模式) with the controls disabled, then closes.
class MaterialImportDialog : public QDialog {
    Q_OBJECT
  public:
    MaterialImportDialog(const QString& path, std::function<void(bool replace)> run,
                         QWidget* parent);

  private:
    std::function<void(bool)> run_;
    QRadioButton* replace_ = nullptr;
    QRadioButton* append_ = nullptr;
    QPushButton* confirm_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace tf::gui

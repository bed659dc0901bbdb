#pragma once

#include <QDialog>
#include <functional>

class QLabel;

namespace tf::gui {

// The modal " 数据分析中…" window: it runs the work once it is on screen, says
// "数据分析完毕！", and closes itself a second later, calling `finished` first. The user
// cannot close it.
class BusyWindow : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kCloseDelayMs = 1000;

    BusyWindow(std::function<void()> work, std::function<void()> finished, QWidget* parent);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override {}  // Esc and the title-bar button do nothing

  private:
    void run();

    std::function<void()> work_;
    std::function<void()> finished_;
    QLabel* picture_ = nullptr;
    QLabel* label_ = nullptr;
    bool closing_ = false;
};

}  // namespace tf::gui

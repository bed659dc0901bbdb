#pragma once

#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace tf::gui {

// The start-up window: it shows what is being prepared, and its three timers decide when
// the main window appears (after 1500 ms) and when the splash goes (1000 and 500 ms later).
class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    SplashWindow();

    void setCaption(const QString& text);
    const QStringList& captionHistory() const { return history_; }
    QTimer& timer(int number) { return timers_[number - 1]; }

  signals:
    void showMainWindow();
    void finished();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* caption_ = nullptr;
    QStringList history_;
    QTimer timers_[3];
};

}  // namespace tf::gui

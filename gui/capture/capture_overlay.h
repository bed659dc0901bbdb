#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <optional>

#include "core/capture/screen_selection.h"

class QScreen;

namespace tf::gui {

class CapturePanel;

// The full-screen capture overlay: a frozen picture of the screen on which the user picks a
// rectangle. Every rule is ScreenSelection's; this window draws it and forwards events.
class CaptureOverlay : public QDialog {
    Q_OBJECT
  public:
    explicit CaptureOverlay(QScreen* screen, QColor frame = QColor(10, 100, 130));

    // Shows the overlay modally; the picture of the rectangle when one was captured (it is on
    // the clipboard too, replacing what was there).
    std::optional<QImage> run();
    const ScreenSelection& selection() const { return selection_; }
    CapturePanel& panel() { return *panel_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    ScreenPoint at(const QMouseEvent* event) const;
    void follow(CaptureStep step);
    void showState();
    void slidePanel();
    void paintLabels(QPainter& painter);

    QPixmap snapshot_;
    QImage pixels_;
    QColor frame_;
    ScreenSelection selection_;
    CapturePanel* panel_ = nullptr;
    QTimer slide_;
    int slideStep_ = 0;
    std::optional<QImage> picture_;
};

// The instruction panel: the pixel line and the state's hints, white on dark.
class CapturePanel : public QWidget {
    Q_OBJECT
  public:
    explicit CapturePanel(QWidget* parent);
    void setLines(std::vector<std::string> lines);
    const std::vector<std::string>& lines() const { return lines_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<std::string> lines_;
};

}  // namespace tf::gui

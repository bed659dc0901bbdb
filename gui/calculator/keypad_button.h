#pragma once

#include <QAbstractButton>
#include <QColor>

namespace tf::gui {

// One face of the calculator's keypad: 36 × 27 pixels (wider for Backspace and CE), drawn
// in three states (normal, hover, pressed) with its label on top.
class KeypadButton : public QAbstractButton {
    Q_OBJECT
  public:
    enum class Face { Digit, Operator, Function, Edit };
    KeypadButton(const QString& label, Face face, int width, QWidget* parent);

    // Shows the button pressed for a moment, as when its key is typed.
    void flash();
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    Face face_;
    int width_;
    bool hover_ = false;
};

}  // namespace tf::gui

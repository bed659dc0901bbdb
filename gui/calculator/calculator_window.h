#pragma once

#include <QDialog>
#include <map>

#include "core/base/prompter.h"
#include "core/expr/calculator.h"

class QFrame;
class QGridLayout;
class QKeyEvent;
class QPlainTextEdit;

namespace tf::gui {

class KeypadButton;

// "表达式计算器": a record of lines and a keypad. Keys and clicks go to a CalculatorRecord;
// the window maps Qt's keys to the key table and shows the record.
class CalculatorWindow : public QDialog {
    Q_OBJECT
  public:
    CalculatorWindow(Prompter& prompter, QWidget* parent);

    QPlainTextEdit& record() { return *box_; }
    KeypadButton& button(CalcButton button) { return *buttons_.at(button); }
    bool staysOnTop() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildKeypad(QGridLayout* keypad);
    void press(CalcButton button);
    void toggleOnTop();
    bool handleKey(QKeyEvent* event);

    Prompter& prompter_;
    CalculatorRecord record_;
    std::map<CalcButton, KeypadButton*> buttons_;
    QWidget* keypad_ = nullptr;
    QFrame* frame_ = nullptr;
    QPlainTextEdit* box_ = nullptr;
    bool sized_ = false;
};

// A Qt key press as the Windows virtual-key code (keypad keys by their own codes, 0 for
// none) and Shift of the US-keyboard key that produces its character.
struct KeyStroke {
    int virtualKey = 0;
    bool shift = false;
};
KeyStroke keyStrokeOf(const QKeyEvent& event);

}  // namespace tf::gui

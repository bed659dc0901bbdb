#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/prompter.h"

namespace tf {

// The keypad of the expression calculator.
enum class CalcButton {
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Point,
    Plus,
    Minus,
    Times,
    Divide,
    Brackets,
    Sin,
    Cos,
    Tan,
    Ctg,
    Backspace,
    Clear,
    Equals,
};

// The calculator's record of lines with its caret and selection, as the edit box holds
// them: lines end in "\n" and positions count UTF-8 bytes. Buttons act on it as if their
// text were typed at the caret.
class CalculatorRecord {
  public:
    const std::string& text() const { return text_; }
    std::size_t caret() const { return caret_; }
    std::size_t anchor() const { return anchor_; }

    // Takes over the edit box's state (positions are clamped to the text and moved off the
    // middle of a character).
    void set(std::string text, std::size_t caret, std::size_t anchor);
    void set(std::string text, std::size_t caret) { set(std::move(text), caret, caret); }

    // A button's click. "=" evaluates the last line and returns the text for the clipboard
    // (the empty text when nothing could be computed); other buttons return nothing.
    std::optional<std::string> press(CalcButton button, Prompter& prompter);

  private:
    void type(std::string_view typed);
    void backspace();
    std::optional<std::string> equals(Prompter& prompter);

    std::string text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
};

// What a key pressed in the record does before the edit box sees it.
enum class CalcKeyAction {
    Press,        // presses `button`
    Pass,         // the edit box handles it
    Swallow,      // nothing happens
    ToggleOnTop,  // the window stays on top, or stops doing so
};

struct CalcKey {
    CalcKeyAction action = CalcKeyAction::Swallow;
    CalcButton button = CalcButton::Digit0;
    friend bool operator==(const CalcKey&, const CalcKey&) = default;
};

// Keys by their Windows virtual-key codes (digits and letters are their ASCII codes).
namespace VirtualKey {
inline constexpr int kBackspace = 8;
inline constexpr int kEnter = 13;
inline constexpr int kCapsLock = 20;
inline constexpr int kEscape = 27;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kDelete = 46;
inline constexpr int kPad0 = 96;
inline constexpr int kPadTimes = 106;
inline constexpr int kPadPlus = 107;
inline constexpr int kPadMinus = 109;
inline constexpr int kPadPoint = 110;
inline constexpr int kPadDivide = 111;
inline constexpr int kF3 = 114;
inline constexpr int kEquals = 187;
inline constexpr int kMinus = 189;
inline constexpr int kPoint = 190;
inline constexpr int kSlash = 191;
}  // namespace VirtualKey

// The calculator's key table, by the character a key produces: digits, "*" "+" of either
// keyboard, "-" "." "/" and "=" of the main keyboard, Enter, Backspace and Esc press buttons;
// the letters of the function names, Caps Lock, "(" ")" "^", the caret keys, Delete and
// Ctrl+X/C/V go to the box; F3 toggles staying on top; every other key (the letter x, the
// keypad's digits, "!") is swallowed. `shift` tells the character of a main-keyboard key
// as a US keyboard has it: Shift+8 is "*", Shift+= is "+".
CalcKey calculatorKey(int virtualKey, bool shift, bool control);

}  // namespace tf

#include "core/expr/calculator.h"

#include <algorithm>

#include "core/expr/expression_evaluator.h"

namespace tf {
namespace {

bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t characterStart(std::string_view text, std::size_t at) {
    at = std::min(at, text.size());
    while (at > 0 && at < text.size() && continuationByte(text[at])) {
        --at;
    }
    return at;
}

std::string crLfLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace

void CalculatorRecord::set(std::string text, std::size_t caret, std::size_t anchor) {
    text_ = std::move(text);
    caret_ = characterStart(text_, caret);
    anchor_ = characterStart(text_, anchor);
}

std::optional<std::string> CalculatorRecord::press(CalcButton button, Prompter& prompter) {
    using B = CalcButton;
    if (button <= B::Digit9) {
        type(std::string(1, static_cast<char>('0' + static_cast<int>(button))));
        return std::nullopt;
    }
    switch (button) {
        case B::Point:
            type(".");
            break;
        case B::Plus:
            type("+");
            break;
        case B::Minus:
            type("-");
            break;
        case B::Times:
            type("*");
            break;
        case B::Divide:
            type("/");
            break;
        case B::Sin:
        case B::Cos:
        case B::Tan:
        case B::Ctg: {
            static constexpr std::string_view kNames[] = {"Sin", "Cos", "Tan", "Ctg"};
            type(kNames[static_cast<int>(button) - static_cast<int>(B::Sin)]);
            [[fallthrough]];
        }
        case B::Brackets:
            type("()");
            caret_ = anchor_ = caret_ - 1;  // between the two, wherever they were typed
            break;
        case B::Backspace:
            backspace();
            break;
        case B::Clear:
            set({}, 0);
            break;
        case B::Equals:
            return equals(prompter);
        default:
            break;
    }
    return std::nullopt;
}

void CalculatorRecord::type(std::string_view typed) {
    const std::size_t from = std::min(caret_, anchor_);
    const std::size_t to = std::max(caret_, anchor_);
    text_.replace(from, to - from, typed);
    caret_ = anchor_ = from + typed.size();
}

void CalculatorRecord::backspace() {
    if (caret_ != anchor_) {
        type({});
        return;
    }
    if (caret_ == 0) {
        return;
    }
    std::size_t from = caret_ - 1;
    while (from > 0 && continuationByte(text_[from])) {
        --from;
    }
    text_.erase(from, caret_ - from);
    caret_ = anchor_ = from;
}

std::optional<std::string> CalculatorRecord::equals(Prompter& prompter) {
    std::string result = calculateLastLine(crLfLines(text_), prompter);
    if (!result.empty()) {
        text_ += "=" + result + "\n";
    } else if (!text_.ends_with('\n')) {
        text_ += '\n';
    }
    caret_ = anchor_ = text_.size();
    return result;
}

CalcKey calculatorKey(int key, bool shift, bool control) {
    namespace K = VirtualKey;
    const auto press = [](CalcButton button) { return CalcKey{CalcKeyAction::Press, button}; };
    constexpr CalcKey kPass{CalcKeyAction::Pass, CalcButton::Digit0};
    constexpr CalcKey kSwallow{};
    if (control && (key == 'X' || key == 'C' || key == 'V')) {
        return kPass;
    }
    if (key >= '0' && key <= '9') {
        if (!shift) {
            return press(static_cast<CalcButton>(key - '0'));
        }
        // A shifted digit is the character it produces: "*" is ×; the parentheses and "^"
        // (which has no button) go to the box; "!", "@" and the like are no part of a formula.
        switch (key) {
            case '8':
                return press(CalcButton::Times);
            case '9':
            case '0':
            case '6':
                return kPass;
            default:
                return kSwallow;
        }
    }
    if (shift && (key == K::kMinus || key == K::kPoint || key == K::kSlash)) {
        return kSwallow;  // "_", ">" and "?"
    }
    switch (key) {
        case K::kEnter:
            return press(CalcButton::Equals);
        case K::kEquals:
            return press(shift ? CalcButton::Plus : CalcButton::Equals);
        case K::kPadTimes:
            return press(CalcButton::Times);
        case K::kSlash:
            return press(CalcButton::Divide);
        case K::kPadPlus:
            return press(CalcButton::Plus);
        case K::kMinus:
            return press(CalcButton::Minus);
        case K::kPoint:
            return press(CalcButton::Point);
        case K::kBackspace:
            return press(CalcButton::Backspace);
        case K::kEscape:
            return press(CalcButton::Clear);
        case K::kF3:
            return {CalcKeyAction::ToggleOnTop, CalcButton::Digit0};
        case K::kCapsLock:
        case 'S':
        case 'I':
        case 'N':
        case 'C':
        case 'O':
        case 'T':
        case 'A':
        case 'G':
        case K::kEnd:
        case K::kHome:
        case K::kLeft:
        case K::kUp:
        case K::kRight:
        case K::kDown:
        case K::kDelete:
            return kPass;
        default:
            return kSwallow;
    }
}

}  // namespace tf

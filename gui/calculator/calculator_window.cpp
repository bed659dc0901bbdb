#include "gui/calculator/calculator_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/calculator/keypad_button.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

constexpr int kKeyWidth = 36;
constexpr int kRecordHeight = 150;

// A caret of the box (UTF-16 units) as a position in the record's UTF-8 text, and back.
std::size_t utf8Position(const QString& text, int position) {
    return static_cast<std::size_t>(text.left(position).toUtf8().size());
}

int boxPosition(const std::string& text, std::size_t position) {
    return static_cast<int>(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(position)).size());
}

}  // namespace

KeyStroke keyStrokeOf(const QKeyEvent& event) {
    namespace K = VirtualKey;
    const int key = event.key();
    if (event.modifiers().testFlag(Qt::KeypadModifier)) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            return {K::kPad0 + (key - Qt::Key_0), false};
        }
        switch (key) {
            case Qt::Key_Asterisk:
                return {K::kPadTimes, false};
            case Qt::Key_Plus:
                return {K::kPadPlus, false};
            case Qt::Key_Minus:
                return {K::kPadMinus, false};
            case Qt::Key_Period:
            case Qt::Key_Comma:
                return {K::kPadPoint, false};
            case Qt::Key_Slash:
                return {K::kPadDivide, false};
            case Qt::Key_Enter:
                return {K::kEnter, false};
            default:
                break;  // the keypad's caret keys act as the main ones
        }
    }
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return {key, shift};  // Qt's codes are the ASCII codes here, as the virtual keys are
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return {key, false};
    }
    // Qt names the character the key produced, whatever the layout: it is given as the key
    // of a US keyboard that produces it, with Shift where that one needs it.
    switch (key) {
        case Qt::Key_ParenRight:
            return {'0', true};
        case Qt::Key_Exclam:
            return {'1', true};
        case Qt::Key_At:
            return {'2', true};
        case Qt::Key_NumberSign:
            return {'3', true};
        case Qt::Key_Dollar:
            return {'4', true};
        case Qt::Key_Percent:
            return {'5', true};
        case Qt::Key_AsciiCircum:
            return {'6', true};
        case Qt::Key_Ampersand:
            return {'7', true};
        case Qt::Key_Asterisk:
            return {'8', true};
        case Qt::Key_ParenLeft:
            return {'9', true};
        case Qt::Key_Minus:
            return {K::kMinus, false};
        case Qt::Key_Underscore:
            return {K::kMinus, true};
        case Qt::Key_Period:
            return {K::kPoint, false};
        case Qt::Key_Greater:
            return {K::kPoint, true};
        case Qt::Key_Slash:
            return {K::kSlash, false};
        case Qt::Key_Question:
            return {K::kSlash, true};
        case Qt::Key_Equal:
            return {K::kEquals, false};
        case Qt::Key_Plus:
            return {K::kEquals, true};
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return {K::kEnter, shift};
        case Qt::Key_Backspace:
            return {K::kBackspace, shift};
        case Qt::Key_Escape:
            return {K::kEscape, shift};
        case Qt::Key_CapsLock:
            return {K::kCapsLock, shift};
        case Qt::Key_F3:
            return {K::kF3, shift};
        case Qt::Key_End:
            return {K::kEnd, shift};
        case Qt::Key_Home:
            return {K::kHome, shift};
        case Qt::Key_Left:
            return {K::kLeft, shift};
        case Qt::Key_Up:
            return {K::kUp, shift};
        case Qt::Key_Right:
            return {K::kRight, shift};
        case Qt::Key_Down:
            return {K::kDown, shift};
        case Qt::Key_Delete:
            return {K::kDelete, shift};
        default:
            return {0, shift};
    }
}

CalculatorWindow::CalculatorWindow(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName("表达式计算器窗口");
    setWindowTitle("表达式计算器 （F3 顶置窗口）");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    keypad_ = new QWidget(this);
    auto* keypad = new QGridLayout(keypad_);
    keypad->setContentsMargins(0, 0, 0, 0);
    keypad->setSpacing(2);
    buildKeypad(keypad);
    keypad_->setFixedSize(keypad_->sizeHint());
    layout->addWidget(keypad_);

    frame_ = new QFrame(this);
    frame_->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frame_);
    frameLayout->setContentsMargins(1, 1, 1, 1);  // the box 2 pixels less high than the frame
    box_ = new QPlainTextEdit(frame_);
    box_->setObjectName("计算记录");
    box_->setFrameShape(QFrame::NoFrame);
    box_->document()->setDocumentMargin(3);
    box_->setMinimumHeight(kRecordHeight);
    box_->installEventFilter(this);
    frameLayout->addWidget(box_);
    layout->addWidget(frame_, 1);
}

void CalculatorWindow::buildKeypad(QGridLayout* keypad) {
    using B = CalcButton;
    using F = KeypadButton::Face;
    struct Key {
        B button;
        const char* label;
        F face;
        int row, column, span;
    };
    static constexpr Key kKeys[] = {
        {B::Sin, "Sin", F::Function, 0, 0, 1},
        {B::Cos, "Cos", F::Function, 0, 1, 1},
        {B::Tan, "Tan", F::Function, 0, 2, 1},
        {B::Ctg, "Ctg", F::Function, 0, 3, 1},
        {B::Brackets, "( )", F::Operator, 0, 4, 1},
        {B::Digit7, "7", F::Digit, 1, 0, 1},
        {B::Digit8, "8", F::Digit, 1, 1, 1},
        {B::Digit9, "9", F::Digit, 1, 2, 1},
        {B::Divide, "÷", F::Operator, 1, 3, 1},
        {B::Times, "×", F::Operator, 1, 4, 1},
        {B::Digit4, "4", F::Digit, 2, 0, 1},
        {B::Digit5, "5", F::Digit, 2, 1, 1},
        {B::Digit6, "6", F::Digit, 2, 2, 1},
        {B::Minus, "－", F::Operator, 2, 3, 1},
        {B::Plus, "＋", F::Operator, 2, 4, 1},
        {B::Digit1, "1", F::Digit, 3, 0, 1},
        {B::Digit2, "2", F::Digit, 3, 1, 1},
        {B::Digit3, "3", F::Digit, 3, 2, 1},
        {B::Backspace, "Backspace", F::Edit, 3, 3, 2},
        {B::Digit0, "0", F::Digit, 4, 0, 1},
        {B::Point, ".", F::Digit, 4, 1, 1},
        {B::Equals, "＝", F::Operator, 4, 2, 1},
        {B::Clear, "CE", F::Edit, 4, 3, 2},
    };
    for (const Key& key : kKeys) {
        auto* button = new KeypadButton(QString::fromUtf8(key.label), key.face,
                                        kKeyWidth * key.span + 2 * (key.span - 1), keypad_);
        button->setObjectName(QString::fromUtf8(key.label));
        keypad->addWidget(button, key.row, key.column, 1, key.span);
        const B which = key.button;
        connect(button, &QAbstractButton::clicked, this, [this, which] { press(which); });
        buttons_[which] = button;
    }
}

void CalculatorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!sized_) {  // the width stays as first laid out; the height may grow to the screen's
        sized_ = true;
        adjustSize();
        const QMargins margins = layout()->contentsMargins();
        setFixedWidth(keypad_->width() + margins.left() + margins.right());
        setMinimumHeight(height());
        if (const QScreen* s = screen()) {
            setMaximumHeight(s->availableGeometry().height());
        }
    }
    box_->setFocus();
}

bool CalculatorWindow::staysOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void CalculatorWindow::toggleOnTop() {
    setWindowFlag(Qt::WindowStaysOnTopHint, !staysOnTop());
    show();  // changing the flags hides the window
}

void CalculatorWindow::press(CalcButton button) {
    const QString shown = box_->toPlainText();
    const QTextCursor cursor = box_->textCursor();
    record_.set(shown.toStdString(), utf8Position(shown, cursor.position()),
                utf8Position(shown, cursor.anchor()));
    const auto copied = record_.press(button, prompter_);
    if (copied) {
        QApplication::clipboard()->setText(qs(*copied));
    }
    const std::string& text = record_.text();
    if (qs(text) != shown) {
        box_->setPlainText(qs(text));
    }
    QTextCursor moved = box_->textCursor();
    moved.setPosition(boxPosition(text, record_.anchor()));
    moved.setPosition(boxPosition(text, record_.caret()), QTextCursor::KeepAnchor);
    box_->setTextCursor(moved);
    box_->ensureCursorVisible();
    box_->setFocus();
}

bool CalculatorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::KeyPress) {
        return handleKey(static_cast<QKeyEvent*>(event));
    }
    if (watched == box_ && event->type() == QEvent::ShortcutOverride) {
        // Ctrl+X/C/V belong to the box; every other shortcut stays with the key table.
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool CalculatorWindow::handleKey(QKeyEvent* event) {
    const KeyStroke stroke = keyStrokeOf(*event);
    const CalcKey key = calculatorKey(stroke.virtualKey, stroke.shift,
                                      event->modifiers().testFlag(Qt::ControlModifier));
    switch (key.action) {
        case CalcKeyAction::Pass:
            return false;
        case CalcKeyAction::Press:
            // The click acts at once so that keys typed quickly keep their order; the face
            // shows the press for a moment.
            buttons_.at(key.button)->flash();
            press(key.button);
            return true;
        case CalcKeyAction::ToggleOnTop:
            toggleOnTop();
            return true;
        case CalcKeyAction::Swallow:
            return true;
    }
    return true;
}

}  // namespace tf::gui

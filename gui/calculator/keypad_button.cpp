#include "gui/calculator/keypad_button.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

namespace tf::gui {
namespace {

constexpr int kHeight = 27;
constexpr int kFlashMs = 100;

}  // namespace

KeypadButton::KeypadButton(const QString& label, Face face, int width, QWidget* parent)
    : QAbstractButton(parent), face_(face), width_(width) {
    setText(label);
    setFixedSize(width_, kHeight);
    setFocusPolicy(Qt::NoFocus);  // the record keeps the keyboard
}

QSize KeypadButton::sizeHint() const {
    return {width_, kHeight};
}

void KeypadButton::flash() {
    setDown(true);
    QTimer::singleShot(kFlashMs, this, [this] { setDown(false); });
}

void KeypadButton::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void KeypadButton::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void KeypadButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    if (isDown()) {
        fill.setColorAt(0, QColor(200, 208, 220));
        fill.setColorAt(1, QColor(228, 232, 240));
    } else if (hover_) {
        fill.setColorAt(0, QColor(255, 255, 255));
        fill.setColorAt(1, QColor(220, 232, 250));
    } else {
        fill.setColorAt(0, QColor(250, 250, 250));
        fill.setColorAt(1, QColor(226, 228, 232));
    }
    p.setBrush(fill);
    p.setPen(QColor(isDown() ? 110 : 150, isDown() ? 120 : 158, 172));
    p.drawRoundedRect(box, 3, 3);

    QFont font = p.font();
    QColor ink(20, 20, 20);
    switch (face_) {
        case Face::Operator:
            font.setBold(true);
            ink = QColor(210, 0, 0);
            break;
        case Face::Function:
            ink = QColor(0, 0, 220);
            break;
        case Face::Digit:
        case Face::Edit:
            break;
    }
    p.setFont(font);
    p.setPen(ink);
    p.drawText(rect().translated(isDown() ? 1 : 0, isDown() ? 1 : 0), Qt::AlignCenter, text());
}

}  // namespace tf::gui

#include "gui/shell/ticker_label.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace tf::gui {

TickerLabel::TickerLabel(QWidget* parent) : QWidget(parent) {
    setObjectName("广告标签");
    setCursor(Qt::PointingHandCursor);
    setMinimumHeight(24);
    timer_.setInterval(30);
    connect(&timer_, &QTimer::timeout, this, &TickerLabel::step);
}

void TickerLabel::setMessages(const QStringList& messages) {
    messages_ = messages;
    current_ = 0;
    offset_ = 0;
    if (messages_.isEmpty()) {
        timer_.stop();
    } else if (!paused_) {
        timer_.start();
    }
    update();
}

void TickerLabel::setPaused(bool paused) {
    paused_ = paused;
    if (paused || messages_.isEmpty()) {
        timer_.stop();
    } else {
        timer_.start();
    }
}

void TickerLabel::step() {
    if (QApplication::activeModalWidget() != nullptr) {
        return;  // stands still while a dialog is in front
    }
    const int textWidth = fontMetrics().horizontalAdvance(messages_.value(current_));
    offset_ += 2;
    if (offset_ > width() + textWidth) {
        offset_ = 0;
        current_ = (current_ + 1) % static_cast<int>(messages_.size());
    }
    update();
}

void TickerLabel::paintEvent(QPaintEvent*) {
    if (messages_.isEmpty()) {
        return;
    }
    QPainter p(this);
    p.setPen(QColor(30, 80, 150));
    p.drawText(QRect(width() - offset_, 0, width() + offset_, height()),
               Qt::AlignLeft | Qt::AlignVCenter, messages_.value(current_));
}

void TickerLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}

}  // namespace tf::gui

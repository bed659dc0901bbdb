#include "gui/shell/splash_window.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/shell/artwork.h"

namespace tf::gui {

SplashWindow::SplashWindow() {
    setObjectName("启动窗口");
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(460, 260);
    move(screen()->availableGeometry().center() - rect().center());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    auto* icon = new QLabel(this);
    icon->setPixmap(programIconPixmap(64));
    auto* title = new QLabel(
        "<span style='font-size:22pt; font-weight:600; color:white'>"
        "Tallyframe2009</span><br><span style='color:#cfe0f5'>"
        "现场版 · 建筑装饰装修工程量分析</span>",
        this);
    caption_ = new QLabel(this);
    caption_->setObjectName("splashCaption");
    caption_->setStyleSheet("color: white;");
    layout->addWidget(icon);
    layout->addWidget(title);
    layout->addStretch(1);
    layout->addWidget(caption_);
    setCaption("程序正在初始化……");

    const int intervals[] = {1500, 1000, 500};
    for (int i = 0; i < 3; ++i) {
        timers_[i].setObjectName(QString("timer%1").arg(i + 1));
        timers_[i].setSingleShot(true);
        timers_[i].setInterval(intervals[i]);
    }
    connect(&timers_[0], &QTimer::timeout, this, [this] {
        emit showMainWindow();
        setCaption("数据初始化……");
        timers_[1].start();
    });
    connect(&timers_[1], &QTimer::timeout, this, [this] {
        setCaption("程序准备完毕");
        timers_[2].start();
    });
    connect(&timers_[2], &QTimer::timeout, this, [this] {
        close();
        emit finished();
    });
}

void SplashWindow::setCaption(const QString& text) {
    caption_->setText(text);
    history_ << text;
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 && event->modifiers().testFlag(Qt::AltModifier)) {
        return;  // Alt+F4 is swallowed while the splash is up
    }
    QWidget::keyPressEvent(event);
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    if (timers_[2].isActive() || timers_[1].isActive() || timers_[0].isActive()) {
        event->ignore();  // only the last timer closes the splash
        return;
    }
    QWidget::closeEvent(event);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(rect(), bannerPixmap(width(), height()));
}

}  // namespace tf::gui

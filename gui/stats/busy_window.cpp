#include "gui/stats/busy_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "gui/shell/artwork.h"
#include "gui/widgets/page_widgets.h"

namespace tf::gui {

BusyWindow::BusyWindow(std::function<void()> work, std::function<void()> finished, QWidget* parent)
    : QDialog(parent), work_(std::move(work)), finished_(std::move(finished)) {
    setObjectName("数据分析窗口");
    setWindowTitle(" 数据分析中…");
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(20, 16, 24, 16);
    picture_ = new QLabel(this);
    picture_->setObjectName("分析图片");
    picture_->setPixmap(glyphIcon(Glyph::Statistics, kPageInk).pixmap(40, 40));
    label_ = new QLabel("数据正在分析中，请您稍等片刻…", this);
    label_->setObjectName("分析标签");
    label_->setMinimumWidth(240);
    layout->addWidget(picture_);
    layout->addWidget(label_, 1);
    // The window keeps one size from the start: the work blocks painting, so any growth
    // once it is on screen would stay unpainted until the work is done.
    setFixedSize(sizeHint());
    // The work starts once the window has been painted.
    QTimer::singleShot(0, this, &BusyWindow::run);
}

void BusyWindow::run() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
    work_();
    picture_->hide();
    label_->setText("数据分析完毕！");
    QTimer::singleShot(kCloseDelayMs, this, [this] {
        finished_();
        closing_ = true;
        accept();
    });
}

void BusyWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        event->ignore();
    }
}

void BusyWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 && event->modifiers().testFlag(Qt::ControlModifier)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tf::gui

#include "gui/capture/capture_overlay.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

constexpr int kPanelWidth = 330;
constexpr int kPanelLineHeight = 20;
constexpr int kPanelPadding = 8;

Qt::CursorShape cursorFor(Grip grip) {
    switch (grip) {
        case Grip::TopLeft:
        case Grip::BottomRight:
            return Qt::SizeFDiagCursor;
        case Grip::TopRight:
        case Grip::BottomLeft:
            return Qt::SizeBDiagCursor;
        case Grip::Top:
        case Grip::Bottom:
            return Qt::SizeVerCursor;
        case Grip::Left:
        case Grip::Right:
            return Qt::SizeHorCursor;
        case Grip::Inside:
            return Qt::SizeAllCursor;
        case Grip::None:
            break;
    }
    return Qt::CrossCursor;
}

}  // namespace

CapturePanel::CapturePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("说明板");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CapturePanel::setLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    resize(kPanelWidth, static_cast<int>(lines_.size()) * kPanelLineHeight + 2 * kPanelPadding);
    update();
}

void CapturePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(QColor(20, 40, 60, 215));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setPen(Qt::white);
    int y = kPanelPadding;
    for (const std::string& line : lines_) {
        p.drawText(QRect(kPanelPadding, y, width() - 2 * kPanelPadding, kPanelLineHeight),
                   Qt::AlignVCenter | Qt::AlignLeft, qs(line));
        y += kPanelLineHeight;
    }
}

CaptureOverlay::CaptureOverlay(QScreen* screen, QColor frame)
    : QDialog(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      frame_(frame),
      selection_(screen->geometry().width(), screen->geometry().height()) {
    setObjectName("截图窗口");
    setModal(true);
    snapshot_ = screen->grabWindow(0);
    snapshot_.setDevicePixelRatio(1);
    pixels_ = snapshot_.toImage().convertToFormat(QImage::Format_ARGB32);
    setGeometry(screen->geometry());
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    panel_ = new CapturePanel(this);
    panel_->move(kPanelPadding, kPanelStartTop);
    showState();
    slide_.setInterval(kPanelSlideMilliseconds);
    connect(&slide_, &QTimer::timeout, this, &CaptureOverlay::slidePanel);
}

std::optional<QImage> CaptureOverlay::run() {
    picture_.reset();
    slideStep_ = 0;
    slide_.start();
    showFullScreen();
    activateWindow();
    exec();
    return picture_;
}

void CaptureOverlay::slidePanel() {
    const std::vector<int> tops = panelSlideTops();
    if (slideStep_ >= static_cast<int>(tops.size())) {
        slide_.stop();
        return;
    }
    panel_->move(panel_->x(), tops[static_cast<std::size_t>(slideStep_++)]);
}

ScreenPoint CaptureOverlay::at(const QMouseEvent* event) const {
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

void CaptureOverlay::showState() {
    const ScreenPoint p = selection_.pointer();
    std::vector<std::string> lines;
    if (pixels_.valid(p.x, p.y)) {
        const QColor c = pixels_.pixelColor(p.x, p.y);
        lines.push_back(pixelColourLine(c.red(), c.green(), c.blue()));
    } else {
        lines.push_back(pixelColourLine(0, 0, 0));
    }
    for (std::string& hint : selection_.hintLines()) {
        lines.push_back(std::move(hint));
    }
    panel_->setLines(std::move(lines));
    if (panel_->geometry().contains(p.x, p.y)) {
        panel_->move(panelLeftAfterPointer(p.x, width(), panel_->width()), panel_->y());
    }
    setCursor(selection_.dragging() ? cursor().shape() : cursorFor(selection_.gripAt(p)));
    update();
}

void CaptureOverlay::follow(CaptureStep step) {
    if (step == CaptureStep::Close) {
        picture_.reset();
        reject();
        return;
    }
    if (step == CaptureStep::Capture) {
        const PixelRect r = selection_.captureRect();
        const QImage picture = pixels_.copy(r.left, r.top, r.width(), r.height());
        QGuiApplication::clipboard()->setImage(picture);
        picture_ = picture;
        selection_.reset();
        accept();
        return;
    }
    showState();
}

void CaptureOverlay::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        follow(selection_.leftDown(at(event)));
    }
}

void CaptureOverlay::mouseMoveEvent(QMouseEvent* event) {
    follow(selection_.move(at(event)));
}

void CaptureOverlay::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        follow(selection_.leftUp(at(event)));
    } else if (event->button() == Qt::RightButton) {
        follow(selection_.rightUp());
    }
}

void CaptureOverlay::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        follow(selection_.doubleClick(at(event)));
    }
}

void CaptureOverlay::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            return follow(selection_.key(CaptureKey::Escape));
        case Qt::Key_Delete:
            return follow(selection_.key(CaptureKey::Delete));
        case Qt::Key_Left:
            return follow(selection_.key(CaptureKey::Left));
        case Qt::Key_Right:
            return follow(selection_.key(CaptureKey::Right));
        case Qt::Key_Up:
            return follow(selection_.key(CaptureKey::Up));
        case Qt::Key_Down:
            return follow(selection_.key(CaptureKey::Down));
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return follow(selection_.key(CaptureKey::Enter));
        default:
            event->ignore();
    }
}

void CaptureOverlay::closeEvent(QCloseEvent* event) {
    if (result() == QDialog::Accepted || picture_) {
        event->accept();
        return;
    }
    if (selection_.closeRequested() == CaptureStep::Stay) {
        event->ignore();
        showState();
        return;
    }
    event->accept();
}

void CaptureOverlay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, snapshot_);
    if (!selection_.hasRect()) {
        return;
    }
    const PixelRect r = selection_.rect();
    p.setPen(QPen(frame_, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    paintLabels(p);
}

void CaptureOverlay::paintLabels(QPainter& p) {
    const auto labels = selection_.labels();
    const QFontMetrics metrics(font());
    int captionWidth = 0;
    int valueWidth = 0;
    for (const auto& [caption, value] : labels) {
        captionWidth = std::max(captionWidth, metrics.horizontalAdvance(qs(caption)));
        valueWidth = std::max(valueWidth, metrics.horizontalAdvance(qs(value)));
    }
    const int line = metrics.height() + 2;
    const int blockWidth = captionWidth + valueWidth + 18;
    const int blockHeight = line * static_cast<int>(labels.size()) + 6;
    const ScreenPoint o =
        labelOrigin(selection_.rect(), blockWidth, blockHeight, width(), height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 225, 230));
    p.drawRect(o.x, o.y, blockWidth, blockHeight);
    p.setPen(frame_);
    int y = o.y + 3;
    for (const auto& [caption, value] : labels) {
        p.drawText(QRect(o.x + 5, y, captionWidth, line), Qt::AlignVCenter, qs(caption));
        p.drawText(QRect(o.x + 13 + captionWidth, y, valueWidth, line), Qt::AlignVCenter,
                   qs(value));
        y += line;
    }
}

}  // namespace tf::gui

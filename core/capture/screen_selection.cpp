#include "core/capture/screen_selection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tf {
namespace {

constexpr int kGripReach = 2;
constexpr int kPanelSteps = 34;
constexpr int kPanelStep = 5;
constexpr int kPanelMargin = 8;
constexpr int kLabelGap = 4;

PixelRect normalised(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

bool near(int a, int b) {
    return std::abs(a - b) <= kGripReach;
}

}  // namespace

ScreenSelection::ScreenSelection(int screenWidth, int screenHeight)
    : width_(std::max(1, screenWidth)), height_(std::max(1, screenHeight)) {}

Grip ScreenSelection::gripAt(ScreenPoint p) const {
    if (!selected_) {
        return Grip::None;
    }
    const PixelRect& r = rect_;
    const bool withinX = p.x >= r.left - kGripReach && p.x <= r.right + kGripReach;
    const bool withinY = p.y >= r.top - kGripReach && p.y <= r.bottom + kGripReach;
    if (!withinX || !withinY) {
        return Grip::None;
    }
    const bool left = near(p.x, r.left);
    const bool right = near(p.x, r.right) && !left;
    const bool top = near(p.y, r.top);
    const bool bottom = near(p.y, r.bottom) && !top;
    if (top) {
        return left ? Grip::TopLeft : right ? Grip::TopRight : Grip::Top;
    }
    if (bottom) {
        return left ? Grip::BottomLeft : right ? Grip::BottomRight : Grip::Bottom;
    }
    if (left) {
        return Grip::Left;
    }
    if (right) {
        return Grip::Right;
    }
    return Grip::Inside;
}

CaptureStep ScreenSelection::leftDown(ScreenPoint p) {
    pointer_ = p;
    if (!selected_) {
        rect_ = {p.x, p.y, p.x, p.y};
        grip_ = Grip::None;
        anchor_ = p;
        dragging_ = true;
        return CaptureStep::Stay;
    }
    grip_ = gripAt(p);
    if (grip_ != Grip::None) {
        anchor_ = p;
        original_ = rect_;
        dragging_ = true;
    }
    return CaptureStep::Stay;
}

CaptureStep ScreenSelection::move(ScreenPoint p) {
    pointer_ = p;
    if (!dragging_) {
        return CaptureStep::Stay;
    }
    const PixelRect o = original_;
    switch (grip_) {
        case Grip::None:
            rect_ = normalised(anchor_.x, anchor_.y, p.x, p.y);
            break;
        case Grip::Inside: {
            const int dx = p.x - anchor_.x;
            const int dy = p.y - anchor_.y;
            rect_ = {o.left + dx, o.top + dy, o.right + dx, o.bottom + dy};
            break;
        }
        case Grip::TopLeft:
            rect_ = normalised(p.x, p.y, o.right, o.bottom);
            break;
        case Grip::Top:
            rect_ = normalised(o.left, p.y, o.right, o.bottom);
            break;
        case Grip::TopRight:
            rect_ = normalised(o.left, p.y, p.x, o.bottom);
            break;
        case Grip::Right:
            rect_ = normalised(o.left, o.top, p.x, o.bottom);
            break;
        case Grip::BottomRight:
            rect_ = normalised(o.left, o.top, p.x, p.y);
            break;
        case Grip::Bottom:
            rect_ = normalised(o.left, o.top, o.right, p.y);
            break;
        case Grip::BottomLeft:
            rect_ = normalised(p.x, o.top, o.right, p.y);
            break;
        case Grip::Left:
            rect_ = normalised(p.x, o.top, o.right, o.bottom);
            break;
    }
    return CaptureStep::Stay;
}

CaptureStep ScreenSelection::leftUp(ScreenPoint p) {
    if (!dragging_) {
        return CaptureStep::Stay;
    }
    move(p);
    dragging_ = false;
    if (rect_.width() > 1 || rect_.height() > 1) {
        selected_ = true;
    } else {
        clear();  // a click without movement
    }
    return CaptureStep::Stay;
}

CaptureStep ScreenSelection::doubleClick(ScreenPoint p) {
    pointer_ = p;
    return selected_ && rect_.contains(p) ? CaptureStep::Capture : CaptureStep::Stay;
}

CaptureStep ScreenSelection::rightUp() {
    if (hasRect()) {
        clear();
        return CaptureStep::Stay;
    }
    return CaptureStep::Close;
}

CaptureStep ScreenSelection::key(CaptureKey key) {
    switch (key) {
        case CaptureKey::Escape:
            return rightUp();
        case CaptureKey::Delete:
            if (selected_) {
                clear();
            }
            return CaptureStep::Stay;
        case CaptureKey::Enter:
            return selected_ ? CaptureStep::Capture : CaptureStep::Stay;
        case CaptureKey::Left:
        case CaptureKey::Right:
        case CaptureKey::Up:
        case CaptureKey::Down: {
            if (!selected_ || dragging_) {
                return CaptureStep::Stay;
            }
            const int dx = key == CaptureKey::Left ? -1 : key == CaptureKey::Right ? 1 : 0;
            const int dy = key == CaptureKey::Up ? -1 : key == CaptureKey::Down ? 1 : 0;
            rect_ = {rect_.left + dx, rect_.top + dy, rect_.right + dx, rect_.bottom + dy};
            return CaptureStep::Stay;
        }
    }
    return CaptureStep::Stay;
}

CaptureStep ScreenSelection::closeRequested() {
    return rightUp();
}

PixelRect ScreenSelection::captureRect() const {
    return {std::clamp(rect_.left, 0, width_ - 1), std::clamp(rect_.top, 0, height_ - 1),
            std::clamp(rect_.right, 0, width_ - 1), std::clamp(rect_.bottom, 0, height_ - 1)};
}

void ScreenSelection::clear() {
    rect_ = {-1, -1, -1, -1};
    selected_ = false;
    dragging_ = false;
    grip_ = Grip::None;
}

void ScreenSelection::reset() {
    clear();
}

std::vector<std::string> ScreenSelection::hintLines() const {
    if (selected_ && !dragging_) {
        return {"·用鼠标左键调整截取范围的大小和位置", "·截取范围内双击鼠标左键保存图像，结束操作",
                "·点击鼠标右键重新选择"};
    }
    if (dragging_) {
        return {"·松开鼠标左键确定截取范围", "·按'ESC'键退出"};
    }
    return {"·按下鼠标左键不放选择截取范围", "·按'ESC'键或鼠标右键退出"};
}

std::vector<std::pair<std::string, std::string>> ScreenSelection::labels() const {
    const auto pair = [](int a, int b) {
        return "(" + std::to_string(a) + "," + std::to_string(b) + ")";
    };
    return {{"顶点位置", pair(rect_.left, rect_.top)},
            {"矩形大小", pair(rect_.width(), rect_.height())},
            {"光标坐标", pair(pointer_.x, pointer_.y)}};
}

std::string pixelColourLine(int red, int green, int blue) {
    char values[16];
    std::snprintf(values, sizeof values, "%3d,%3d,%3d", std::clamp(red, 0, 255),
                  std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
    return std::string("·当前像素RGB(") + values + ")";
}

std::vector<int> panelSlideTops() {
    std::vector<int> tops;
    for (int step = 1; step <= kPanelSteps; ++step) {
        tops.push_back(kPanelStartTop + step * kPanelStep);
    }
    return tops;
}

int panelLeftAfterPointer(int pointerX, int screenWidth, int panelWidth) {
    return pointerX < screenWidth / 2 ? screenWidth - panelWidth - kPanelMargin : kPanelMargin;
}

ScreenPoint labelOrigin(const PixelRect& rect, int blockWidth, int blockHeight, int screenWidth,
                        int screenHeight) {
    int y = rect.top - kLabelGap - blockHeight;
    if (y < 0) {
        y = rect.bottom + kLabelGap;
        if (y + blockHeight > screenHeight) {
            y = rect.top + kLabelGap;
        }
    }
    const int x = std::clamp(rect.left, 0, std::max(0, screenWidth - blockWidth));
    return {x, std::clamp(y, 0, std::max(0, screenHeight - blockHeight))};
}

}  // namespace tf

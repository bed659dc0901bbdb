#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tf {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A rectangle in screen pixels, both corners inside it. "No rectangle" is all four −5 at
// the start and −1 after a reset.
struct PixelRect {
    int left = -5;
    int top = -5;
    int right = -5;
    int bottom = -5;
    bool none() const { return left < 0 && top < 0 && right < 0 && bottom < 0; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool contains(ScreenPoint p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// What the pointer holds of a selected rectangle.
enum class Grip {
    None,
    TopLeft,
    Top,
    TopRight,
    Right,
    BottomRight,
    Bottom,
    BottomLeft,
    Left,
    Inside,
};

enum class CaptureKey { Escape, Delete, Left, Right, Up, Down, Enter };

// What the overlay does after an event.
enum class CaptureStep { Stay, Close, Capture };

// The capture overlay's selection as a state machine: no rectangle, dragging (a new one, or
// moving or resizing the selected one), selected. The window feeds it pointer and key events
// in screen pixels and draws what it says.
class ScreenSelection {
  public:
    ScreenSelection(int screenWidth, int screenHeight);

    const PixelRect& rect() const { return rect_; }
    bool selected() const { return selected_; }
    bool dragging() const { return dragging_; }
    bool hasRect() const { return !rect_.none(); }
    ScreenPoint pointer() const { return pointer_; }
    // The grip under a point of the selected rectangle: corners and edges within 2 pixels.
    Grip gripAt(ScreenPoint p) const;

    CaptureStep leftDown(ScreenPoint p);
    CaptureStep move(ScreenPoint p);
    CaptureStep leftUp(ScreenPoint p);
    CaptureStep doubleClick(ScreenPoint p);
    CaptureStep rightUp();
    CaptureStep key(CaptureKey key);
    // The window's close command: clears a rectangle, or closes when there is none.
    CaptureStep closeRequested();

    // The selection as captured: clamped to the screen.
    PixelRect captureRect() const;
    void reset();

    // The instruction panel's lines: the pixel line, then the state's hints.
    std::vector<std::string> hintLines() const;
    // The three labels beside the rectangle, as (caption, value).
    std::vector<std::pair<std::string, std::string>> labels() const;

  private:
    void clear();

    int width_;
    int height_;
    PixelRect rect_;
    bool selected_ = false;
    bool dragging_ = false;
    Grip grip_ = Grip::None;
    ScreenPoint anchor_;
    PixelRect original_;
    ScreenPoint pointer_;
};

// "·当前像素RGB(" with each value right-aligned in 3 characters.
std::string pixelColourLine(int red, int green, int blue);

// The instruction panel: its top for each step of the slide (from 160 above the top edge
// to 10 below it, 5 pixels a step), and its left edge after the pointer came over it.
inline constexpr int kPanelStartTop = -160;
std::vector<int> panelSlideTops();
inline constexpr int kPanelSlideMilliseconds = 8;
int panelLeftAfterPointer(int pointerX, int screenWidth, int panelWidth);

// Where a block of labels of the given size goes beside the rectangle: above its top-left
// corner, below it when there is no room above, inside it when neither fits; always on
// the screen.
ScreenPoint labelOrigin(const PixelRect& rect, int blockWidth, int blockHeight, int screenWidth,
                        int screenHeight);

}  // namespace tf

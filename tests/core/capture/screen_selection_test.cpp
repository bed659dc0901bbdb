#include "core/capture/screen_selection.h"

#include <gtest/gtest.h>

#include "core/base/byte_io.h"
#include "core/capture/bmp_file.h"

namespace tf {
namespace {

using Step = CaptureStep;

// Drags from `from` to `to` with the left button.
void drag(ScreenSelection& s, ScreenPoint from, ScreenPoint to) {
    s.leftDown(from);
    s.move({(from.x + to.x) / 2, (from.y + to.y) / 2});
    s.move(to);
    s.leftUp(to);
}

TEST(ScreenSelection, ANewRectangleIsNormalisedSelectedAndLabelled) {
    ScreenSelection s(800, 600);
    EXPECT_EQ(s.rect(), (PixelRect{-5, -5, -5, -5})) << "nothing at the start";
    EXPECT_EQ(s.hintLines(), (std::vector<std::string>{"·按下鼠标左键不放选择截取范围",
                                                       "·按'ESC'键或鼠标右键退出"}));
    s.leftDown({100, 50});
    s.move({20, 10});  // up and to the left of where it started
    EXPECT_TRUE(s.dragging());
    EXPECT_EQ(s.rect(), (PixelRect{20, 10, 100, 50}));
    EXPECT_EQ(s.hintLines(),
              (std::vector<std::string>{"·松开鼠标左键确定截取范围", "·按'ESC'键退出"}));
    s.leftUp({20, 10});
    EXPECT_TRUE(s.selected());
    EXPECT_EQ(s.hintLines().size(), 3u);
    EXPECT_EQ(s.hintLines()[1], "·截取范围内双击鼠标左键保存图像，结束操作");
    s.move({30, 40});
    EXPECT_EQ(s.labels(), (std::vector<std::pair<std::string, std::string>>{
                              {"顶点位置", "(20,10)"},
                              {"矩形大小", "(81,41)"},  // 100 − 20 + 1, 50 − 10 + 1
                              {"光标坐标", "(30,40)"}}));
    EXPECT_EQ(s.doubleClick({500, 500}), Step::Stay) << "outside the rectangle";
    EXPECT_EQ(s.doubleClick({21, 11}), Step::Capture);
}

TEST(ScreenSelection, ClicksEscapeAndTheCloseCommand) {
    ScreenSelection s(800, 600);
    s.leftDown({40, 40});
    s.leftUp({40, 40});
    EXPECT_FALSE(s.selected()) << "a click without movement selects nothing";
    EXPECT_EQ(s.rect(), (PixelRect{-1, -1, -1, -1}));

    drag(s, {10, 10}, {60, 60});
    EXPECT_EQ(s.key(CaptureKey::Escape), Step::Stay) << "the first Esc clears";
    EXPECT_FALSE(s.hasRect());
    EXPECT_EQ(s.key(CaptureKey::Escape), Step::Close) << "the second leaves";

    s.leftDown({10, 10});
    s.move({50, 50});
    EXPECT_EQ(s.rightUp(), Step::Stay) << "a rectangle being drawn is cleared too";
    EXPECT_FALSE(s.dragging());
    EXPECT_EQ(s.rightUp(), Step::Close);

    drag(s, {10, 10}, {60, 60});
    EXPECT_EQ(s.closeRequested(), Step::Stay);
    EXPECT_EQ(s.closeRequested(), Step::Close);
    drag(s, {10, 10}, {60, 60});
    EXPECT_EQ(s.key(CaptureKey::Delete), Step::Stay);
    EXPECT_FALSE(s.hasRect());
    EXPECT_EQ(s.key(CaptureKey::Enter), Step::Stay) << "nothing to capture";
}

TEST(ScreenSelection, GripsResizeAndMoveAndKeysNudge) {
    ScreenSelection s(800, 600);
    drag(s, {100, 100}, {200, 150});
    EXPECT_EQ(s.gripAt({98, 98}), Grip::TopLeft) << "within 2 pixels";
    EXPECT_EQ(s.gripAt({97, 100}), Grip::None) << "3 pixels away";
    EXPECT_EQ(s.gripAt({150, 152}), Grip::Bottom);
    EXPECT_EQ(s.gripAt({201, 120}), Grip::Right);
    EXPECT_EQ(s.gripAt({202, 148}), Grip::BottomRight);
    EXPECT_EQ(s.gripAt({150, 120}), Grip::Inside);

    drag(s, {201, 149}, {250, 170});  // the bottom-right corner
    EXPECT_EQ(s.rect(), (PixelRect{100, 100, 250, 170}));
    drag(s, {100, 150}, {300, 150});  // the left edge across the right one
    EXPECT_EQ(s.rect(), (PixelRect{250, 100, 300, 170}));
    drag(s, {275, 120}, {175, 140});  // inside: the whole rectangle moves
    EXPECT_EQ(s.rect(), (PixelRect{150, 120, 200, 190}));
    s.leftDown({20, 20});  // outside a selection: nothing starts
    EXPECT_FALSE(s.dragging());
    s.leftUp({20, 20});
    EXPECT_TRUE(s.selected());

    s.key(CaptureKey::Left);
    s.key(CaptureKey::Down);
    s.key(CaptureKey::Down);
    EXPECT_EQ(s.rect(), (PixelRect{149, 122, 199, 192}));
    EXPECT_EQ(s.key(CaptureKey::Enter), Step::Capture);
}

TEST(ScreenSelection, TheCaptureIsClampedToTheScreen) {
    ScreenSelection s(800, 600);
    drag(s, {700, 550}, {900, 650});  // past the right and bottom edges
    EXPECT_EQ(s.rect(), (PixelRect{700, 550, 900, 650}));
    const PixelRect cut = s.captureRect();
    EXPECT_EQ(cut, (PixelRect{700, 550, 799, 599}));
    EXPECT_EQ(cut.width(), 100);
    EXPECT_EQ(cut.height(), 50);
    drag(s, {750, 580}, {-30, 500});  // moved past the left edge
    EXPECT_EQ(s.captureRect().left, 0);
}

TEST(ScreenSelection, ThePanelAndTheLabelsStayOnTheScreen) {
    EXPECT_EQ(pixelColourLine(10, 100, 130), "·当前像素RGB( 10,100,130)");
    EXPECT_EQ(pixelColourLine(0, 5, 255), "·当前像素RGB(  0,  5,255)");
    const std::vector<int> tops = panelSlideTops();
    ASSERT_EQ(tops.size(), 34u);
    EXPECT_EQ(tops.front(), -155);
    EXPECT_EQ(tops.back(), 10) << "160 above the top to 10 below it";
    EXPECT_EQ(panelLeftAfterPointer(100, 1280, 300), 1280 - 300 - 8);
    EXPECT_EQ(panelLeftAfterPointer(700, 1280, 300), 8);

    // Room above: the labels sit over the top-left corner.
    EXPECT_EQ(labelOrigin({100, 200, 300, 400}, 150, 60, 800, 600), (ScreenPoint{100, 136}));
    // No room above: below the rectangle.
    EXPECT_EQ(labelOrigin({100, 20, 300, 400}, 150, 60, 800, 600), (ScreenPoint{100, 404}));
    // Neither: inside it; and pulled back from the right edge.
    EXPECT_EQ(labelOrigin({700, 10, 799, 590}, 150, 60, 800, 600), (ScreenPoint{650, 14}));
}

TEST(BmpFile, HeadersAndBottomUpRows) {
    // 2 × 2: red, green on top; blue, white below.
    const std::uint32_t pixels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    const std::string bmp = bmpFile(2, 2, pixels);
    ASSERT_EQ(bmp.size(), 14u + 40 + 16);
    ByteReader r(bmp);
    EXPECT_EQ(*r.bytes(2), "BM");
    EXPECT_EQ(*r.u32(), 70u) << "file size";
    EXPECT_EQ(*r.u32(), 0u);
    EXPECT_EQ(*r.u32(), 54u) << "pixel offset";
    EXPECT_EQ(*r.u32(), 40u) << "information header";
    EXPECT_EQ(*r.i32(), 2);
    EXPECT_EQ(*r.i32(), 2) << "positive height: bottom-up";
    EXPECT_EQ(*r.u16(), 1);
    EXPECT_EQ(*r.u16(), 32);
    EXPECT_EQ(*r.u32(), 0u);
    EXPECT_EQ(*r.u32(), 16u);
    r.bytes(16);
    EXPECT_EQ(*r.bytes(4), std::string("\xFF\x00\x00\xFF", 4)) << "bottom row first: blue";
    EXPECT_EQ(*r.bytes(4), std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(*r.bytes(4), std::string("\x00\x00\xFF\xFF", 4)) << "then red, as B G R A";
    EXPECT_EQ(*r.bytes(4), std::string("\x00\xFF\x00\xFF", 4));
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(bmpFile(0, 2, {}), "");
    EXPECT_EQ(bmpFile(3, 2, pixels), "") << "too few pixels";
}

}  // namespace
}  // namespace tf

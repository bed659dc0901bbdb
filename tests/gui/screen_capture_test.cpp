// The capture tool on a real (virtual) screen: it must grab what is shown. Run under Xvfb.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <functional>

#include "core/base/byte_io.h"
#include "gui/attach/attachment_window.h"
#include "gui/capture/capture_overlay.h"
#include "tests/gui/event_wait.h"

namespace tf::gui {
namespace {

// The whole screen painted red, with a green block at x 100…199, y 100…149.
class Pattern : public QWidget {
  public:
    Pattern() : QWidget(nullptr, Qt::FramelessWindowHint) {
        setGeometry(QGuiApplication::primaryScreen()->geometry());
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(255, 0, 0));
        p.fillRect(QRect(100, 100, 100, 50), QColor(0, 255, 0));
    }
};

CaptureOverlay* overlay() {
    return test::shownWindow<CaptureOverlay>();
}

void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* target = overlay();
    ASSERT_NE(target, nullptr);
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void key(int code) {
    QTest::keyClick(overlay(), static_cast<Qt::Key>(code));
}

// Runs `gestures` once the overlay is up.
void whenShown(std::function<void()> gestures) {
    test::whenReady([] { return overlay() != nullptr; }, std::move(gestures));
}

struct Bmp {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::string bytes;
    // B, G, R of the pixel at (x, y) counted from the top.
    std::array<int, 3> pixel(int x, int y) const {
        const std::size_t at = 54 + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
        return {static_cast<unsigned char>(bytes[at]), static_cast<unsigned char>(bytes[at + 1]),
                static_cast<unsigned char>(bytes[at + 2])};
    }
};

Bmp readBmp(const std::string& bytes) {
    ByteReader r(bytes);
    EXPECT_EQ(*r.bytes(2), "BM");
    r.bytes(16);
    Bmp bmp;
    bmp.width = *r.i32();
    bmp.height = *r.i32();
    bmp.bytes = bytes;
    EXPECT_EQ(bytes.size(), 54u + static_cast<std::size_t>(bmp.width) * bmp.height * 4);
    return bmp;
}

class ScreenCaptureTest : public ::testing::Test {
  protected:
    ScreenCaptureTest() {
        pattern.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&pattern, test::kEventCeilingMs));
        // Exposed is not yet drawn: wait until the screen itself shows the pattern.
        EXPECT_TRUE(test::waitUntil([] {
            const QImage shown = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
            return shown.pixelColor(50, 50) == QColor(255, 0, 0) &&
                   shown.pixelColor(150, 120) == QColor(0, 255, 0);
        }));
    }
    Pattern pattern;
    QtAttachmentDesktop desktop;
};

TEST_F(ScreenCaptureTest, ADraggedRectangleComesBackAsABmpThroughTheClipboard) {
    QGuiApplication::clipboard()->setText("what was there before");
    whenShown([] {
        mouse(QEvent::MouseButtonPress, {90, 90});
        mouse(QEvent::MouseMove, {150, 120});
        mouse(QEvent::MouseMove, {209, 159});
        mouse(QEvent::MouseButtonRelease, {209, 159});
        EXPECT_TRUE(overlay()->selection().selected());
        EXPECT_EQ(overlay()->panel().lines().size(), 4u) << "the pixel line and three hints";
        mouse(QEvent::MouseButtonPress, {150, 120});
        mouse(QEvent::MouseButtonRelease, {150, 120});
        mouse(QEvent::MouseButtonDblClick, {150, 120});
    });
    const auto picture = desktop.captureScreen(false);
    ASSERT_TRUE(picture);
    const Bmp bmp = readBmp(*picture);
    EXPECT_EQ(bmp.width, 120);  // 209 − 90 + 1
    EXPECT_EQ(bmp.height, 70);  // 159 − 90 + 1
    EXPECT_EQ(bmp.pixel(0, 0), (std::array<int, 3>{0, 0, 255})) << "red at (90, 90)";
    EXPECT_EQ(bmp.pixel(10, 10), (std::array<int, 3>{0, 255, 0})) << "green at (100, 100)";
    EXPECT_EQ(bmp.pixel(109, 59), (std::array<int, 3>{0, 255, 0})) << "green at (199, 149)";
    EXPECT_EQ(bmp.pixel(110, 60), (std::array<int, 3>{0, 0, 255})) << "red at (200, 150)";
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasText())
        << "the picture replaced the clipboard";
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
}

TEST_F(ScreenCaptureTest, ARectanglePastTheEdgeIsCutAndEscapeTwiceTakesNothing) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    whenShown([screen] {
        mouse(QEvent::MouseButtonPress, {screen.width() - 24, 700 % screen.height()});
        mouse(QEvent::MouseMove, {screen.width() + 100, 700 % screen.height() + 40});
        mouse(QEvent::MouseButtonRelease, {screen.width() + 100, 700 % screen.height() + 40});
        key(Qt::Key_Return);
    });
    const auto cut = desktop.captureScreen(false);
    ASSERT_TRUE(cut);
    EXPECT_EQ(readBmp(*cut).width, 24) << "cut at the last column";
    EXPECT_EQ(readBmp(*cut).height, 41);

    whenShown([] {
        mouse(QEvent::MouseButtonPress, {10, 10});
        mouse(QEvent::MouseMove, {50, 50});
        mouse(QEvent::MouseButtonRelease, {50, 50});
        key(Qt::Key_Escape);
        EXPECT_FALSE(overlay()->selection().hasRect());
        EXPECT_TRUE(overlay()->isVisible()) << "the first Escape only clears";
        key(Qt::Key_Escape);
    });
    EXPECT_FALSE(desktop.captureScreen(false));
}

}  // namespace
}  // namespace tf::gui

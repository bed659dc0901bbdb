#include "gui/widgets/wrapped_text.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <algorithm>

namespace tf::gui {

QStringList wrapCellText(const QString& text, const QFont& font, int width, int maxLines) {
    QStringList lines;
    if (text.isEmpty() || width <= 0 || maxLines <= 0) {
        return lines;
    }
    QTextLayout layout(text);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFont(font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() + 1 == maxLines) {
            // The last line that fits takes the rest, cut if it is too long.
            lines << QFontMetrics(font).elidedText(text.mid(line.textStart()).remove('\n'),
                                                   Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).remove('\n');
    }
    layout.endLayout();
    return lines;
}

void fitCellFont(QFont& font, const QString& text, double width) {
    constexpr int kSmallestPixels = 6;
    const double smallestPoints = kSmallestPixels * 72.0 / QFontMetricsF(font).fontDpi();
    // Widths do not shrink exactly with the size (hinting): a few rounds make sure.
    for (int round = 0; round < 8 && width > 0; ++round) {
        const double needed = QFontMetricsF(font).horizontalAdvance(text);
        if (needed <= width) {
            return;
        }
        const double scale = std::min(width / needed, 0.95);
        // Fonts on screen are set in points, on paper in pixels: the one that is set shrinks.
        if (font.pixelSize() > 0) {
            const int pixels =
                std::max(kSmallestPixels, static_cast<int>(font.pixelSize() * scale));
            if (pixels == font.pixelSize()) {
                return;
            }
            font.setPixelSize(pixels);
        } else {
            const double points = std::max(smallestPoints, font.pointSizeF() * scale);
            if (points >= font.pointSizeF()) {
                return;
            }
            font.setPointSizeF(points);
        }
    }
}

}  // namespace tf::gui

#pragma once

#include <QFont>
#include <QStringList>

namespace tf::gui {

// The lines a wrapped cell shows in `width` pixels, on screen and on paper alike: broken
// between words where it can and anywhere else where it must (a size such as
// (4.2×5.1)×2.8-0.9×2.1 has no spaces), at most `maxLines` of them, the last cut with "…"
// only when the text goes on.
QStringList wrapCellText(const QString& text, const QFont& font, int width, int maxLines);

// A figure must be read whole: the font of a one-line cell made smaller until the text fits
// its `width` in pixels (down to 6 pixels, below which it is cut after all).
void fitCellFont(QFont& font, const QString& text, double width);

}  // namespace tf::gui

#pragma once

#include <QFont>
#include <QStringList>

namespace tf::gui {

// The lines a wrapped cell shows in `width` pixels, on screen and on paper alike: broken
// between words where it can and anywhere else where it must (a size such as
// (4.2×5.1)×2.8-0.9×2.1 has no spaces), at most `maxLines` of them, the last cut with "…"
// only when the text goes on.
QStringList wrapCellText(const QString& text, const QFont& font, int width, int maxLines);

}  // namespace tf::gui

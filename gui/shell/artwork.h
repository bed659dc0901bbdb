#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tf::gui {

// The program's pictures, drawn here so that nothing comes from elsewhere.
enum class Glyph {
    File,
    Edit,
    Help,
    Analysis,
    Statistics,
    Material,
    Save,
    Refresh,
    Open,
    New,
    Structure
};

QIcon glyphIcon(Glyph glyph, const QColor& tint);
QPixmap bannerPixmap(int width, int height);
// The program icon (also written as "Brix.ico").
QIcon programIcon();
QPixmap programIconPixmap(int size);

}  // namespace tf::gui

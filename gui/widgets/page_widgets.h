#pragma once

#include <QColor>
#include <QString>

#include "gui/shell/artwork.h"

class QLabel;
class QToolButton;
class QWidget;

namespace tf::gui {

inline const QColor kPageInk(34, 86, 160);
inline constexpr int kToolTipMs = 1500;  // how long a tooltip stays; it appears after 100 ms

// A flat button with a drawn picture and its text below it.
QToolButton* pictureButton(const QString& name, const QString& text, Glyph glyph, const QColor& ink,
                           QWidget* parent);

// The centred, large caption above a page's table.
QLabel* pageCaption(const QString& name, const QString& text, QWidget* parent);

}  // namespace tf::gui

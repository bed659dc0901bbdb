#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <string_view>

#include "core/materials/material_catalogue.h"

class QTreeWidget;
class QWidget;

namespace tf::gui {

// A small pop-up tree at `topLeft` (screen coordinates) that closes itself when Esc is
// pressed or the focus goes elsewhere, and is deleted once closed.
QTreeWidget* popupTree(QWidget* parent, const QPoint& topLeft, const QString& name);

// The material picker "材料选择": the catalogue's categories with their materials, opened
// onto the material named `current`; choosing a material closes it and calls `chosen`.
QTreeWidget* openMaterialPicker(QWidget* parent, const QPoint& topLeft,
                                const MaterialCatalogue& catalogue, std::string_view current,
                                std::function<void(std::int32_t)> chosen);

}  // namespace tf::gui

#pragma once

#include <vector>

#include "core/structure/division_item.h"

class QIcon;
class QTreeWidget;
class QTreeWidgetItem;

namespace tf::gui {

// The icons of the program's trees: a folder for a grouping node or a category, a leaf for a
// work item or a material.
QIcon groupIcon();
QIcon leafIcon();

// Adds the nodes of a division list to the tree widget, nested by level, each holding its
// list index under Qt::UserRole and the icon of what it is; returns the items in list order.
std::vector<QTreeWidgetItem*> addDivisionNodes(QTreeWidget& tree, const DivisionTree& nodes);

// Makes the item current, with every node above it opened and the item scrolled into view.
void revealItem(QTreeWidget& tree, QTreeWidgetItem* item);

}  // namespace tf::gui

#pragma once

#include <vector>

#include "core/structure/division_item.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace tf::gui {

// Adds the nodes of a division list to the tree widget, nested by level, each holding its
// list index under Qt::UserRole; returns the items in list order.
std::vector<QTreeWidgetItem*> addDivisionNodes(QTreeWidget& tree, const DivisionTree& nodes);

}  // namespace tf::gui

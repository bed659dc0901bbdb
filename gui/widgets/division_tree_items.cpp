#include "gui/widgets/division_tree_items.h"

#include <QTreeWidget>

#include "gui/widgets/qt_text.h"

namespace tf::gui {

std::vector<QTreeWidgetItem*> addDivisionNodes(QTreeWidget& tree, const DivisionTree& nodes) {
    std::vector<QTreeWidgetItem*> items;
    std::vector<QTreeWidgetItem*> parents;
    items.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        // A level deeper than its predecessor allows hangs under the deepest parent so far.
        const auto level =
            std::min(static_cast<std::size_t>(std::max(nodes[i].level, 1)), parents.size() + 1);
        parents.resize(level);
        auto* item =
            level == 1 ? new QTreeWidgetItem(&tree) : new QTreeWidgetItem(parents[level - 2]);
        item->setText(0, qs(nodes[i].name));
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
        parents[level - 1] = item;
        items.push_back(item);
    }
    return items;
}

}  // namespace tf::gui

#include "gui/widgets/division_tree_items.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidget>

#include "gui/widgets/qt_text.h"

namespace tf::gui {

QIcon groupIcon() {
    return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
}

QIcon leafIcon() {
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

std::vector<QTreeWidgetItem*> addDivisionNodes(QTreeWidget& tree, const DivisionTree& nodes) {
    std::vector<QTreeWidgetItem*> items;
    std::vector<QTreeWidgetItem*> parents;
    items.reserve(nodes.size());
    const QIcon group = groupIcon();
    const QIcon leaf = leafIcon();
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        // A level deeper than its predecessor allows hangs under the deepest parent so far.
        const auto level =
            std::min(static_cast<std::size_t>(std::max(nodes[i].level, 1)), parents.size() + 1);
        parents.resize(level);
        auto* item =
            level == 1 ? new QTreeWidgetItem(&tree) : new QTreeWidgetItem(parents[level - 2]);
        item->setText(0, qs(nodes[i].name));
        item->setToolTip(0, item->text(0));  // a narrow tree cuts long names
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
        item->setIcon(0, isWorkItem(nodes, i) ? leaf : group);
        parents[level - 1] = item;
        items.push_back(item);
    }
    return items;
}

void revealItem(QTreeWidget& tree, QTreeWidgetItem* item) {
    for (QTreeWidgetItem* above = item->parent(); above != nullptr; above = above->parent()) {
        above->setExpanded(true);
    }
    tree.setCurrentItem(item);
    tree.scrollToItem(item);
}

}  // namespace tf::gui

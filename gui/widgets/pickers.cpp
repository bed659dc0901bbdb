#include "gui/widgets/pickers.h"

#include <QKeyEvent>
#include <QTreeWidget>

#include "gui/widgets/division_tree_items.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

// A tree lets Esc go by, and a pop-up passes no key on to anyone who would close it.
class ClosedByEscape : public QObject {
  public:
    explicit ClosedByEscape(QWidget* popup) : QObject(popup), popup_(popup) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == popup_ && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
            popup_->close();
            return true;
        }
        return false;
    }

  private:
    QWidget* popup_;
};

}  // namespace

QTreeWidget* popupTree(QWidget* parent, const QPoint& topLeft, const QString& name) {
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setWindowFlags(Qt::Popup);
    tree->setHeaderHidden(true);
    tree->setAttribute(Qt::WA_DeleteOnClose);
    tree->installEventFilter(new ClosedByEscape(tree));
    tree->resize(320, 360);
    tree->move(topLeft);
    return tree;
}

QTreeWidget* openMaterialPicker(QWidget* parent, const QPoint& topLeft,
                                const MaterialCatalogue& catalogue, std::string_view current,
                                std::function<void(std::int32_t)> chosen) {
    QTreeWidget* tree = popupTree(parent, topLeft, "材料选择");
    bool selected = false;
    for (int c = 1; c <= catalogue.categoryCount(); ++c) {
        auto* category = new QTreeWidgetItem(tree);
        category->setText(0, qs(catalogue.category(c)->name));
        category->setIcon(0, groupIcon());
        const auto& entries = catalogue.category(c)->entries;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].removed) {
                continue;
            }
            auto* item = new QTreeWidgetItem(category);
            item->setText(0, qs(entries[i].name));
            item->setIcon(0, leafIcon());
            item->setData(0, Qt::UserRole, materialId(c, static_cast<int>(i) + 1));
            if (!selected && entries[i].name == current) {
                revealItem(*tree, item);
                selected = true;
            }
        }
    }
    QObject::connect(tree, &QTreeWidget::itemActivated, tree,
                     [tree, chosen = std::move(chosen)](QTreeWidgetItem* item) {
                         if (item->parent() == nullptr) {
                             return;  // a category picks nothing
                         }
                         const auto id = item->data(0, Qt::UserRole).toInt();
                         tree->close();
                         chosen(id);
                     });
    tree->show();
    return tree;
}

}  // namespace tf::gui

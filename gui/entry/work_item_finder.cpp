#include "gui/entry/work_item_finder.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/structure/codes.h"
#include "core/structure/item_search.h"
#include "gui/widgets/division_tree_items.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {

WorkItemFinder::WorkItemFinder(DivisionTree tree, QWidget* parent)
    : QFrame(parent, Qt::Popup), tree_(std::move(tree)) {
    setObjectName("分项查找");
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    edit_ = new QLineEdit(this);
    edit_->setObjectName("分项查找框");
    edit_->setPlaceholderText("分项代号或名称");
    list_ = new QListWidget(this);
    list_->setObjectName("分项匹配");
    list_->setFocusPolicy(Qt::NoFocus);  // the keys stay with the box
    layout->addWidget(edit_);
    layout->addWidget(list_, 1);
    resize(360, 260);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, &WorkItemFinder::refill);
    connect(list_, &QListWidget::itemDoubleClicked, this, &WorkItemFinder::takeCurrent);
}

void WorkItemFinder::start(const QString& typed, const QPoint& topLeft) {
    move(topLeft);
    edit_->setText(typed);
    refill();
    show();
    edit_->setFocus();
}

void WorkItemFinder::refill() {
    list_->clear();
    for (const std::size_t node : findWorkItems(tree_, edit_->text().toStdString(), kMostMatches)) {
        auto* item = new QListWidgetItem(
            leafIcon(), qs(itemCodeOfNode(tree_, node)) + "  " + qs(tree_[node].name), list_);
        item->setData(Qt::UserRole, static_cast<qulonglong>(node));
    }
    list_->setCurrentRow(list_->count() > 0 ? 0 : -1);
}

void WorkItemFinder::takeCurrent() {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr) {
        return;  // nothing matches: the surveyor types on or leaves
    }
    const auto node = static_cast<std::size_t>(item->data(Qt::UserRole).toULongLong());
    close();
    emit chosen(node);
}

bool WorkItemFinder::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_ || event->type() != QEvent::KeyPress) {
        return QFrame::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            takeCurrent();
            return true;
        case Qt::Key_Escape:
            close();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            const int step = key->key() == Qt::Key_Up ? -1 : key->key() == Qt::Key_Down ? 1 : 0;
            const int page = key->key() == Qt::Key_PageUp     ? -8
                             : key->key() == Qt::Key_PageDown ? 8
                                                              : 0;
            if (list_->count() > 0) {
                list_->setCurrentRow(
                    std::clamp(list_->currentRow() + step + page, 0, list_->count() - 1));
            }
            return true;
        }
        default:
            return false;
    }
}

}  // namespace tf::gui

#include "gui/widgets/grid_delegate.h"

#include <QComboBox>

#include "gui/widgets/grid_model.h"

namespace tf::gui {

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const Column& column = model_.grid().column(index.column());
    if (column.kind != ColumnKind::PickList) {
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    for (const auto& item : column.pickList) {
        box->addItem(QString::fromStdString(item));
    }
    return box;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setCurrentText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void GridDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (model_.grid().style(index.row(), index.column()).wrap) {
        option->features |= QStyleOptionViewItem::WrapText;
    } else {
        option->features &= ~QStyleOptionViewItem::WrapText;
    }
}

}  // namespace tf::gui

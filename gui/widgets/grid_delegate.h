#pragma once

#include <QStyledItemDelegate>

namespace tf::gui {

class GridModel;

// Per-cell word wrap and the pick-list editor of pick-list columns.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    GridDelegate(GridModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

  private:
    GridModel& model_;
};

}  // namespace tf::gui

#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

class QFont;

namespace tf::gui {

class GridModel;

// The lines a wrapped cell shows in `width` pixels: broken between words where it can and
// anywhere else where it must (a size such as (4.2×5.1)×2.8-0.9×2.1 has no spaces), at most
// `maxLines` of them, the last cut with "…" only when the text goes on.
QStringList wrapCellText(const QString& text, const QFont& font, int width, int maxLines);

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

#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <optional>
#include <string>

#include "core/grid/grid.h"

namespace tf::gui {

// A thin Qt model over a core Grid: reads come straight from the grid, edits go through
// the end-of-edit hook and then into the grid. After core operations change the grid's
// shape, call reload().
class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // Gets the committed text of (row, column); returns the text to store, corrected as
    // needed, or nothing to refuse the edit.
    using EndEditHook = std::function<std::optional<std::string>(int, int, const std::string&)>;

    explicit GridModel(Grid& grid, QObject* parent = nullptr);

    Grid& grid() { return grid_; }
    const Grid& grid() const { return grid_; }
    void setEndEditHook(EndEditHook hook) { endEdit_ = std::move(hook); }
    void reload();
    // Repaints cells whose texts or styles changed without a change of shape.
    void refreshCells();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    void cellEdited(int row, int column);

  private:
    bool isFixed(int row, int column) const;

    Grid& grid_;
    EndEditHook endEdit_;
};

}  // namespace tf::gui

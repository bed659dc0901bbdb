#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/grid/grid.h"

namespace tf::gui {

// A thin Qt model over a core Grid: reads come straight from the grid, edits go through
// the end-of-edit hook and then into the grid. Every change of the grid, by whatever core
// operation, reaches the views on the next turn of the event loop: changed rows repaint,
// a changed shape resets the model. The row and column counts the views know change only
// then, so views and model always agree.
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
    // Wraps the writing of an edit and what follows it (cellEdited), e.g. as a step of a
    // history.
    using WriteScope = std::function<void(const std::function<void()>& write)>;
    void setWriteScope(WriteScope scope) { writeScope_ = std::move(scope); }
    // Shows the grid's pending changes now; a new shape (and `reset`) resets the model.
    void showChanges(bool reset = false);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    void cellEdited(int row, int column);
    // After the model was reset for a new shape or the layout changed, and after merges
    // changed: the views lay themselves out again.
    void layoutNeeded();
    void mergesChanged();

  private:
    bool isFixed(int row, int column) const;

    Grid& grid_;
    std::shared_ptr<GridChanges> changes_;
    int rows_ = 0;
    int columns_ = 0;
    EndEditHook endEdit_;
    WriteScope writeScope_;
};

}  // namespace tf::gui

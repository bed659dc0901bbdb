#pragma once

#include <QTableView>
#include <functional>
#include <memory>

#include "core/grid/grid.h"
#include "core/shell/column_widths.h"
#include "gui/widgets/grid_model.h"

namespace tf::gui {

class FixedPane;

// Shows a core Grid: merges as spans, fixed rows and columns that stay in place while the
// rest scrolls, colours, fonts, alignment, wrapping, number decimals, pick lists and
// check boxes. Spans are set for the rows on screen only, so a table of a million rows
// with a merge in every block stays fluid. The view follows every change of its grid by
// itself (see GridModel).
class GridView : public QTableView {
    Q_OBJECT
  public:
    // Asked before an edit starts in (row, column); false refuses it.
    using BeginEditHook = std::function<bool(int, int)>;
    // Sees every key first; true when it handled the key.
    using KeyHook = std::function<bool(QKeyEvent*)>;

    explicit GridView(QWidget* parent = nullptr);
    using QTableView::edit;
    ~GridView() override;

    void setGrid(Grid& grid);
    Grid& grid() { return model_->grid(); }
    GridModel* gridModel() { return model_.get(); }
    void setBeginEditHook(BeginEditHook hook) { beginEdit_ = std::move(hook); }
    void setKeyHook(KeyHook hook) { keyHook_ = std::move(hook); }

    // Shows the grid as it stands now instead of on the next turn of the event loop: for
    // moving the cursor onto rows just made.
    void refresh();

    // Lets the user drag the border of a column in the heading rows to set its width, and
    // double-click it to fit the column to its texts. With a memory the widths are kept
    // (and put back whenever the table is laid out again); without one they live in the
    // grid itself, as the print editor's sheet keeps them in its file.
    void letUserResizeColumns(std::unique_ptr<ColumnWidthMemory> memory = nullptr);
    // The width that shows the column's texts whole: in the heading rows and in the rows
    // from the top one in view on, as far as kFitRows.
    int fittingWidth(int column) const;
    static constexpr int kFitRows = 20000;

    // Files dropped on the table are handed on by `filesDropped` once this is on.
    void setAcceptsFileDrops(bool accepts);

    // Puts the cursor on (row, first) and selects the row's cells first…last.
    void selectRowCells(int row, int first, int last);
    // The pane that shows a cell at the given viewport point of this view.
    QModelIndex cellAt(const QPoint& viewportPos) const { return indexAt(viewportPos); }
    // Letters typed on a cell that takes none are not a search: the cursor stays, and the
    // text goes to whoever wants it (`typedOnCell`), typed keys and input methods alike.
    void keyboardSearch(const QString& text) override { emit typedOnCell(text); }

  signals:
    void cellPressed(int row, int column, Qt::MouseButton button, QPoint globalPos);
    void cellReleased(int row, int column, Qt::MouseButton button, QPoint globalPos);
    void cellDoubleClicked(int row, int column, Qt::KeyboardModifiers modifiers);
    void cursorMoved(int row, int column);
    void keyPressed(int key, bool ctrl, bool shift);
    // The full local names of the files dropped, in the order they came.
    void filesDropped(const QStringList& paths);
    // Text typed on the cursor cell when that cell takes no typing.
    void typedOnCell(const QString& text);
    // An edit ended with Enter (the cell has its text already).
    void editSubmitted(int row, int column);
    // The user gave a column a width, by dragging or fitting; the grid has it already.
    void columnResized(int column, int width);

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    friend class FixedPane;
    void applyLayout();
    void applySpans();
    void syncSpans();
    void placePanes();
    void acceptFileDrag(QDragMoveEvent* event);
    // A width the user chose, from the panes that show the heading rows.
    void resizeColumnByUser(int column, int width, bool finished);
    bool columnsResizable() const { return resizable_; }
    int fixedWidth() const;
    int fixedHeight() const;

    std::unique_ptr<GridModel> model_;
    FixedPane* top_ = nullptr;
    FixedPane* left_ = nullptr;
    FixedPane* corner_ = nullptr;
    BeginEditHook beginEdit_;
    KeyHook keyHook_;
    bool placing_ = false;
    bool acceptsFileDrops_ = false;
    bool resizable_ = false;
    std::unique_ptr<ColumnWidthMemory> widthMemory_;
};

}  // namespace tf::gui

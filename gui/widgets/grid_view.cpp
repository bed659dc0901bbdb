#include "gui/widgets/grid_view.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <map>

#include "core/grid/cell_block.h"
#include "gui/widgets/grid_delegate.h"

namespace tf::gui {
namespace {

// Scrolled to its end, Qt lays the last column flush with the right edge, which slides the
// first column in view partly under the fixed ones; the table starts at a whole column
// there too, as everywhere else.
void startAtWholeColumn(QTableView& view) {
    const QScrollBar* bar = view.horizontalScrollBar();
    QHeaderView* header = view.horizontalHeader();
    if (bar->maximum() == 0 || bar->value() != bar->maximum()) {
        return;
    }
    const int offset = header->offset();
    header->setOffsetToSectionPosition(bar->value());
    if (header->offset() != offset) {
        view.viewport()->update();
    }
}

// How near a column border the pointer must be to take hold of it.
constexpr int kBorderGrip = 4;

}  // namespace

// One of the panes laid over the view's headers: the fixed rows (top), the fixed columns
// (left) and their crossing (corner). Panes never scroll on their own; they follow the
// view, and pass mouse presses on to it.
class FixedPane : public QTableView {
  public:
    FixedPane(GridView& owner, bool followsHorizontal, bool followsVertical)
        : QTableView(&owner), owner_(owner) {
        setObjectName("fixedPane");
        setFocusPolicy(Qt::NoFocus);
        setEditTriggers(NoEditTriggers);
        setSelectionMode(NoSelection);
        horizontalHeader()->hide();
        verticalHeader()->hide();
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollMode(ScrollPerItem);
        setVerticalScrollMode(ScrollPerItem);
        setFrameShape(QFrame::NoFrame);
        if (followsHorizontal) {
            connect(owner.horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(),
                    &QScrollBar::setValue);
        }
        if (followsVertical) {
            connect(owner.verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
                    &QScrollBar::setValue);
        }
    }

  protected:
    void scrollContentsBy(int dx, int dy) override {
        QTableView::scrollContentsBy(dx, dy);
        startAtWholeColumn(*this);
    }
    void updateGeometries() override {
        QTableView::updateGeometries();
        startAtWholeColumn(*this);
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint pos = event->position().toPoint();
        if (event->button() == Qt::LeftButton) {
            dragged_ = borderAt(pos);
            if (dragged_ >= 0) {
                dragStartX_ = pos.x();
                dragStartWidth_ = columnWidth(dragged_);
                return;
            }
        }
        const QModelIndex index = indexAt(pos);
        emit owner_.cellPressed(index.row(), index.column(), event->button(),
                                event->globalPosition().toPoint());
        if (index.isValid() && index.flags().testFlag(Qt::ItemIsUserCheckable)) {
            QTableView::mousePressEvent(event);
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint pos = event->position().toPoint();
        if (dragged_ >= 0) {
            owner_.resizeColumnByUser(dragged_, dragStartWidth_ + pos.x() - dragStartX_, false);
            return;
        }
        if (borderAt(pos) >= 0) {
            viewport()->setCursor(Qt::SplitHCursor);
        } else {
            viewport()->unsetCursor();
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const QPoint pos = event->position().toPoint();
        if (dragged_ >= 0) {
            const int column = std::exchange(dragged_, -1);
            if (pos.x() != dragStartX_) {  // a click on a border leaves the width as laid out
                owner_.resizeColumnByUser(column, dragStartWidth_ + pos.x() - dragStartX_, true);
            }
            return;
        }
        const QModelIndex index = indexAt(pos);
        emit owner_.cellReleased(index.row(), index.column(), event->button(),
                                 event->globalPosition().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        const QPoint pos = event->position().toPoint();
        if (const int column = borderAt(pos); column >= 0) {
            dragged_ = -1;  // the press before started no drag
            owner_.resizeColumnByUser(column, owner_.fittingWidth(column), true);
            return;
        }
        const QModelIndex index = indexAt(pos);
        emit owner_.cellDoubleClicked(index.row(), index.column(), event->modifiers());
    }

  private:
    // The column whose right border is under the point, when the user may drag it there.
    int borderAt(const QPoint& pos) const {
        if (!owner_.columnsResizable() || model() == nullptr) {
            return -1;
        }
        const auto shownBefore = [this](int column) {
            do {
                --column;
            } while (column >= 0 && isColumnHidden(column));
            return column;
        };
        const int x = pos.x();
        const int column = columnAt(x);
        if (column < 0) {  // right of the last column
            const int last = shownBefore(model()->columnCount());
            return last >= 0 &&
                           x - (columnViewportPosition(last) + columnWidth(last)) <= kBorderGrip
                       ? last
                       : -1;
        }
        const int left = columnViewportPosition(column);
        if (left + columnWidth(column) - x <= kBorderGrip) {
            return column;
        }
        // The left edge is the border of the column before, when that one is in this pane.
        return left > 0 && x - left <= kBorderGrip ? shownBefore(column) : -1;
    }

    GridView& owner_;
    int dragged_ = -1;
    int dragStartX_ = 0;
    int dragStartWidth_ = 0;
};

GridView::GridView(QWidget* parent) : QTableView(parent) {
    // The headers stay shown, sized to the fixed rows and columns, so that the table itself
    // keeps its viewport where the panes leave room and works out its scrolling for that
    // viewport; the panes cover them.
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setUpdatesEnabled(false);  // never seen: no painting
    }
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(0);
    // Whole columns, as whole rows: a column never slides half under the fixed ones.
    setHorizontalScrollMode(ScrollPerItem);
    setVerticalScrollMode(ScrollPerItem);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setWordWrap(true);
    top_ = new FixedPane(*this, true, false);
    left_ = new FixedPane(*this, false, true);
    corner_ = new FixedPane(*this, false, false);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GridView::syncSpans);
}

GridView::~GridView() {
    // The panes and the view share the model: let go of it before it goes. The grid may be
    // gone already (its owner's members die before its child widgets), so nothing that
    // follows from letting go may read it.
    const std::unique_ptr<GridModel> model = std::move(model_);
    for (QTableView* view : {static_cast<QTableView*>(this), static_cast<QTableView*>(top_),
                             static_cast<QTableView*>(left_), static_cast<QTableView*>(corner_)}) {
        view->setModel(nullptr);
    }
}

void GridView::setGrid(Grid& grid) {
    auto model = std::make_unique<GridModel>(grid);
    for (QTableView* view : {static_cast<QTableView*>(this), static_cast<QTableView*>(top_),
                             static_cast<QTableView*>(left_), static_cast<QTableView*>(corner_)}) {
        view->setModel(model.get());
        view->setItemDelegate(new GridDelegate(*model, view));
    }
    model_ = std::move(model);
    connect(model_.get(), &GridModel::layoutNeeded, this, &GridView::applyLayout);
    connect(model_.get(), &GridModel::mergesChanged, this, &GridView::applySpans);
    applyLayout();
}

void GridView::refresh() {
    if (model_) {
        model_->showChanges(true);
    }
}

int GridView::fixedWidth() const {
    int width = 0;
    for (int c = 0; c < model_->grid().fixedColumns(); ++c) {
        width += model_->grid().column(c).width;
    }
    return width;
}

int GridView::fixedHeight() const {
    return model_->grid().fixedRows() * model_->grid().rowHeight();
}

void GridView::letUserResizeColumns(std::unique_ptr<ColumnWidthMemory> memory) {
    resizable_ = true;
    widthMemory_ = std::move(memory);
    for (FixedPane* pane : {top_, corner_}) {
        pane->viewport()->setMouseTracking(true);
    }
    if (model_) {
        applyLayout();
    }
}

void GridView::resizeColumnByUser(int column, int width, bool finished) {
    Grid& g = model_->grid();
    if (column < 0 || column >= g.columnCount() || g.column(column).width == 0) {
        return;
    }
    width = std::clamp(width, kNarrowestUserColumn, kWidestUserColumn);
    if (widthMemory_) {  // first, or laying the table out would put the old width back
        widthMemory_->hold(column, width);
        if (finished) {
            widthMemory_->keep();
        }
    }
    g.setColumnWidth(column, width);
    model_->showChanges();  // now, under the moving pointer
    if (finished) {
        emit columnResized(column, width);
    }
}

int GridView::fittingWidth(int column) const {
    const Grid& g = model_->grid();
    std::map<StyleId, QFontMetrics> metrics;
    int widest = 0;
    const auto measure = [&](int row) {
        const auto merge = g.mergeAt(row, column);
        if (merge && merge->left != merge->right) {
            return;  // a text across columns says nothing of this one
        }
        const QModelIndex index = model_->index(row, column);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.isEmpty()) {
            return;
        }
        auto it = metrics.find(g.styleId(row, column));
        if (it == metrics.end()) {
            const QVariant cellFont = index.data(Qt::FontRole);
            it = metrics
                     .emplace(g.styleId(row, column),
                              QFontMetrics(cellFont.isValid() ? cellFont.value<QFont>() : font()))
                     .first;
        }
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            widest = std::max(widest, it->second.horizontalAdvance(line));
        }
    };
    for (int r = 0; r < std::min(g.fixedRows(), g.rowCount()); ++r) {
        measure(r);
    }
    const int top = std::max(rowAt(0), g.fixedRows());
    for (int r = top; r < std::min(g.rowCount(), top + kFitRows); ++r) {
        measure(r);
    }
    // The delegate's margin on either side and the grid line.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return widest + 2 * margin + 1;
}

void GridView::applyLayout() {
    if (widthMemory_) {
        widthMemory_->apply(model_->grid());
    }
    const Grid& g = model_->grid();
    const auto rgb = g.gridLineColor();
    const QString lines = QStringLiteral("QTableView { gridline-color: rgb(%1, %2, %3); }")
                              .arg(rgb.red)
                              .arg(rgb.green)
                              .arg(rgb.blue);
    for (QTableView* view : {static_cast<QTableView*>(this), static_cast<QTableView*>(top_),
                             static_cast<QTableView*>(left_), static_cast<QTableView*>(corner_)}) {
        view->verticalHeader()->setMinimumSectionSize(1);
        view->verticalHeader()->setDefaultSectionSize(g.rowHeight());
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->horizontalHeader()->setMinimumSectionSize(0);
        view->setStyleSheet(lines);
        for (int c = 0; c < g.columnCount(); ++c) {
            const bool fixed = c < g.fixedColumns();
            const bool shown =
                g.column(c).width > 0 && (view == this || view == top_ ? !fixed : fixed);
            view->setColumnHidden(c, !shown);
            if (shown) {
                view->setColumnWidth(c, g.column(c).width);
            }
        }
        for (int r = 0; r < g.fixedRows(); ++r) {
            view->setRowHidden(r, view == this || view == left_);
        }
    }
    const CellPos cursor = g.cursor();
    if (cursor.row >= 0) {
        setCurrentIndex(model_->index(cursor.row, cursor.column));
    }
    placePanes();
    applySpans();
}

void GridView::applySpans() {
    const Grid& g = model_->grid();
    for (FixedPane* pane : {top_, corner_}) {
        pane->clearSpans();
        for (const auto& m : g.mergesInRows(0, g.fixedRows() - 1)) {
            pane->setSpan(m.top, m.left, m.bottom - m.top + 1, m.right - m.left + 1);
        }
    }
    syncSpans();
}

void GridView::syncSpans() {
    if (!model_) {
        return;
    }
    const Grid& g = model_->grid();
    const int first = std::max(rowAt(0), g.fixedRows());
    int last = rowAt(viewport()->height());
    if (last < 0) {  // the rows end above the bottom, or the view is not laid out yet
        const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
        last = std::min(g.rowCount() - 1, first + viewport()->height() / rowHeight + 1);
    }
    const auto merges = g.mergesInRows(first, last);
    clearSpans();
    left_->clearSpans();
    for (const auto& m : merges) {
        if (m.top < g.fixedRows()) {
            continue;
        }
        const int rows = m.bottom - m.top + 1;
        const int columns = m.right - m.left + 1;
        setSpan(m.top, m.left, rows, columns);
        if (m.left < g.fixedColumns()) {
            left_->setSpan(m.top, m.left, rows, columns);
        }
    }
}

void GridView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    startAtWholeColumn(*this);
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    startAtWholeColumn(*this);
    placePanes();
    syncSpans();  // a taller view shows more rows, and their merges
}

void GridView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                           const QList<int>& roles) {
    const QModelIndex editing = currentIndex();
    const bool editorInside =
        state() == EditingState && editing.isValid() && editing.row() >= topLeft.row() &&
        editing.row() <= bottomRight.row() && editing.column() >= topLeft.column() &&
        editing.column() <= bottomRight.column();
    if (!editorInside || topLeft == bottomRight) {
        QTableView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    // A change around the cell being edited must not put the stored text back into the
    // editor over what the user is typing: tell the view of the cells around it only.
    const auto part = [&](int top, int left, int bottom, int right) {
        if (top <= bottom && left <= right) {
            QTableView::dataChanged(model()->index(top, left), model()->index(bottom, right),
                                    roles);
        }
    };
    part(topLeft.row(), topLeft.column(), editing.row() - 1, bottomRight.column());
    part(editing.row(), topLeft.column(), editing.row(), editing.column() - 1);
    part(editing.row(), editing.column() + 1, editing.row(), bottomRight.column());
    part(editing.row() + 1, topLeft.column(), bottomRight.row(), bottomRight.column());
}

void GridView::placePanes() {
    if (!model_ || placing_) {
        return;
    }
    placing_ = true;
    const int width = fixedWidth();
    const int height = fixedHeight();
    if (verticalHeader()->maximumWidth() != width ||
        horizontalHeader()->maximumHeight() != height) {
        verticalHeader()->setFixedWidth(width);
        horizontalHeader()->setFixedHeight(height);
        QTableView::updateGeometries();
    }
    const QRect area = viewport()->geometry();
    top_->setGeometry(area.x(), area.y() - height, area.width(), height);
    left_->setGeometry(area.x() - width, area.y(), width, area.height());
    corner_->setGeometry(area.x() - width, area.y() - height, width, height);
    top_->setVisible(height > 0);
    left_->setVisible(width > 0);
    corner_->setVisible(width > 0 && height > 0);
    for (FixedPane* pane : {top_, left_, corner_}) {
        pane->raise();
    }
    top_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    left_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    placing_ = false;
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const QModelIndex edited = currentIndex();
    QTableView::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache && edited.isValid()) {
        emit editSubmitted(edited.row(), edited.column());
    }
}

void GridView::setAcceptsFileDrops(bool accepts) {
    acceptsFileDrops_ = accepts;
    setAcceptDrops(accepts);
    viewport()->setAcceptDrops(accepts);
    setDragDropMode(accepts ? DropOnly : NoDragDrop);
}

namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    return paths;
}

}  // namespace

void GridView::acceptFileDrag(QDragMoveEvent* event) {
    if (acceptsFileDrops_ && !localFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void GridView::dragEnterEvent(QDragEnterEvent* event) {
    acceptFileDrag(event);
}

void GridView::dragMoveEvent(QDragMoveEvent* event) {
    acceptFileDrag(event);
}

void GridView::dropEvent(QDropEvent* event) {
    const QStringList paths = localFiles(event->mimeData());
    if (!acceptsFileDrops_ || paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(paths);
}

void GridView::selectRowCells(int row, int first, int last) {
    if (!model_ || row < 0 || row >= model_->rowCount()) {
        return;
    }
    setCurrentIndex(model_->index(row, first));
    selectionModel()->select(QItemSelection(model_->index(row, first), model_->index(row, last)),
                             QItemSelectionModel::ClearAndSelect);
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (trigger == NoEditTriggers || trigger == CurrentChanged || !index.isValid() || !model_) {
        return QTableView::edit(index, trigger, event);
    }
    // An editor must not open on a shape that is about to be replaced: the new shape would
    // close it and lose what is typed.
    const int row = index.row();
    const int column = index.column();
    model_->showChanges();
    const QModelIndex cell = model_->index(row, column);
    if (!cell.isValid() ||
        ((cell.flags() & Qt::ItemIsEditable) && beginEdit_ && !beginEdit_(row, column))) {
        return false;
    }
    return QTableView::edit(cell, trigger, event);
}

void GridView::keyPressEvent(QKeyEvent* event) {
    emit keyPressed(event->key(), event->modifiers().testFlag(Qt::ControlModifier),
                    event->modifiers().testFlag(Qt::ShiftModifier));
    if (keyHook_ && keyHook_(event)) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy) && model_) {
        // The selected block (or the cursor cell) as spreadsheets take it.
        const Grid& g = model_->grid();
        const CellPos cursor = g.cursor();
        const CellRange block = g.selection().top >= 0 ? g.selection()
                                                       : CellRange{cursor.row, cursor.column,
                                                                   cursor.row, cursor.column};
        QGuiApplication::clipboard()->setText(QString::fromStdString(blockText(g, block)));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    emit cellPressed(index.row(), index.column(), event->button(),
                     event->globalPosition().toPoint());
    if (event->button() != Qt::RightButton) {  // a right press opens menus; the cursor stays
        QTableView::mousePressEvent(event);
    }
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    emit cellReleased(index.row(), index.column(), event->button(),
                      event->globalPosition().toPoint());
    QTableView::mouseReleaseEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    emit cellDoubleClicked(index.row(), index.column(), event->modifiers());
    QTableView::mouseDoubleClickEvent(event);
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (model_ && current.isValid()) {
        model_->grid().setCursor(current.row(), current.column());
        emit cursorMoved(current.row(), current.column());
    }
}

void GridView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    if (!model_) {
        return;
    }
    CellRange bounds;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const CellRange r{range.top(), range.left(), range.bottom(), range.right()};
        bounds =
            bounds.top < 0
                ? r
                : CellRange{std::min(bounds.top, r.top), std::min(bounds.left, r.left),
                            std::max(bounds.bottom, r.bottom), std::max(bounds.right, r.right)};
    }
    model_->grid().setSelection(bounds);
}

}  // namespace tf::gui

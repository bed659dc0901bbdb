#include "gui/widgets/grid_model.h"

#include <QColor>
#include <QFont>
#include <QPointer>

#include "core/grid/grid_display.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

QColor toQColor(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

const QColor kFixedBackground(236, 236, 236);

Qt::Alignment toQtAlignment(Align align) {
    switch (align) {
        case Align::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case Align::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

GridModel::GridModel(Grid& grid, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      changes_(grid.changes()),
      rows_(grid.rowCount()),
      columns_(grid.columnCount()) {
    changes_->take();  // a new model shows the grid as it stands
    changes_->setWake([model = QPointer<GridModel>(this)] {
        if (model) {
            QMetaObject::invokeMethod(
                model, [model] { model->showChanges(); }, Qt::QueuedConnection);
        }
    });
}

void GridModel::showChanges(bool reset) {
    const GridChanges::Pending pending = changes_->take();
    if (reset || pending.shape || rows_ != grid_.rowCount() || columns_ != grid_.columnCount()) {
        beginResetModel();
        rows_ = grid_.rowCount();
        columns_ = grid_.columnCount();
        endResetModel();
        emit layoutNeeded();
        return;
    }
    if (pending.layout) {
        emit layoutNeeded();
        if (rows_ > 0 && columns_ > 0) {
            emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
        }
        return;
    }
    if (pending.spans) {
        emit mergesChanged();
    }
    if (pending.firstRow >= 0 && pending.firstRow < rows_ && columns_ > 0) {
        // A view repaints the rows it is told of; a merge drawn across more rows must be
        // repainted whole, or its old text stays visible outside them.
        int first = pending.firstRow;
        int last = std::min(pending.lastRow, rows_ - 1);
        for (const CellRange& m : grid_.mergesInRows(first, last)) {
            first = std::min(first, m.top);
            last = std::max(last, std::min(m.bottom, rows_ - 1));
        }
        emit dataChanged(index(first, 0), index(last, columns_ - 1));
    }
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

bool GridModel::isFixed(int row, int column) const {
    return row < grid_.fixedRows() || column < grid_.fixedColumns();
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int r = index.row();
    const int c = index.column();
    const bool checkColumn = grid_.column(c).kind == ColumnKind::CheckBox && !isFixed(r, c);
    switch (role) {
        case Qt::DisplayRole:
            return checkColumn ? QVariant() : QVariant(qs(displayText(grid_, r, c)));
        case Qt::EditRole:
            return qs(grid_.text(r, c));
        case Qt::CheckStateRole:
            if (checkColumn) {
                return isTicked(grid_.text(r, c)) ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(toQtAlignment(effectiveAlign(grid_, r, c)));
        case Qt::BackgroundRole: {
            const auto& bg = grid_.style(r, c).background;
            if (bg) {
                return toQColor(*bg);
            }
            return isFixed(r, c) ? QVariant(kFixedBackground) : QVariant();
        }
        case Qt::ForegroundRole: {
            const auto& fg = grid_.style(r, c).foreground;
            return fg ? QVariant(toQColor(*fg)) : QVariant();
        }
        case Qt::FontRole: {
            const CellStyle& s = grid_.style(r, c);
            if (s.fontName.empty() && s.fontSize == 0 && !s.bold) {
                return {};
            }
            QFont font;
            if (!s.fontName.empty()) {
                font.setFamily(qs(s.fontName));
            }
            if (s.fontSize > 0) {
                font.setPointSize(s.fontSize);
            }
            font.setBold(s.bold);
            return font;
        }
        default:
            return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) {
        return false;
    }
    const int r = index.row();
    const int c = index.column();
    std::string text;
    if (role == Qt::CheckStateRole) {
        text = std::string(value.value<Qt::CheckState>() == Qt::Checked ? kTicked : kUnticked);
    } else if (role == Qt::EditRole) {
        text = value.toString().toStdString();
    } else {
        return false;
    }
    if (endEdit_) {
        const auto corrected = endEdit_(r, c, text);
        if (!corrected) {
            return false;
        }
        text = *corrected;
    }
    const auto write = [&] {
        grid_.setText(r, c, text);
        emit dataChanged(index, index);
        emit cellEdited(r, c);
    };
    if (writeScope_) {
        writeScope_(write);
    } else {
        write();
    }
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (isFixed(index.row(), index.column())) {
        return Qt::ItemIsEnabled;
    }
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (grid_.column(index.column()).kind == ColumnKind::CheckBox) {
        return f | Qt::ItemIsUserCheckable;
    }
    return f | Qt::ItemIsEditable;
}

}  // namespace tf::gui

#include "gui/widgets/grid_delegate.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QValidator>

#include "core/base/number_text.h"
#include "gui/widgets/grid_model.h"
#include "gui/widgets/wrapped_text.h"

namespace tf::gui {
namespace {

// A number cell's editor takes only what can still become a number.
class NumberDraftValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return isNumberDraft(input.toStdString()) ? Acceptable : Invalid;
    }
};

}  // namespace

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const Column& column = model_.grid().column(index.column());
    if (column.kind == ColumnKind::Number) {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setValidator(new NumberDraftValidator(line));
        }
        return editor;
    }
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

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = opt.rect.adjusted(margin, 0, -margin, 0);
    if (!opt.features.testFlag(QStyleOptionViewItem::WrapText) || opt.text.isEmpty()) {
        // A figure is set smaller rather than cut to a number it is not, as on paper.
        if (model_.grid().column(index.column()).kind == ColumnKind::Number) {
            fitCellFont(opt.font, opt.text, area.width());
            opt.fontMetrics = QFontMetrics(opt.font);
        }
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        return;
    }
    // The style wraps only between words; sizes have none, so the lines are laid out here.
    const QString text = opt.text;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const int lineHeight = opt.fontMetrics.lineSpacing();
    const QStringList lines =
        wrapCellText(text, opt.font, area.width(), std::max(1, area.height() / lineHeight));
    const int height = static_cast<int>(lines.size()) * lineHeight;
    int y = area.top() + (area.height() - height) / 2;
    painter->save();
    painter->setFont(opt.font);
    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    painter->setPen(
        opt.palette.color(QPalette::Normal, selected ? QPalette::HighlightedText : QPalette::Text));
    const Qt::Alignment horizontal = opt.displayAlignment & Qt::AlignHorizontal_Mask;
    for (const QString& line : lines) {
        painter->drawText(QRect(area.left(), y, area.width(), lineHeight),
                          static_cast<int>(horizontal | Qt::AlignVCenter), line);
        y += lineHeight;
    }
    painter->restore();
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

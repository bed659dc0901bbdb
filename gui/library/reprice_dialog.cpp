#include "gui/library/reprice_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/base/number_text.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {

RepriceDialog::RepriceDialog(const RepricePlan& plan, QWidget* parent) : QDialog(parent) {
    setWindowTitle("从价格库取价");
    auto* summary = new QLabel(qs("按 " + plan.day + " 的价格：" + std::to_string(plan.changed()) +
                                  " 种材料改价，" + std::to_string(plan.missing()) +
                                  " 种价格库中没有（单价不变）。"));
    summary->setObjectName("取价摘要");
    auto* table = new QTableWidget(static_cast<int>(plan.lines.size()), 6);
    table->setObjectName("取价明细");
    table->setHorizontalHeaderLabels({"类别", "材料名称", "最小规格", "单位", "原单价", "新单价"});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    const std::vector<const RepriceLine*> shown = plan.previewOrder();
    for (int r = 0; r < table->rowCount(); ++r) {
        const RepriceLine& line = *shown[static_cast<std::size_t>(r)];
        const QStringList cells{qs(line.material.category),
                                qs(line.material.name),
                                qs(line.material.spec),
                                qs(line.material.unit),
                                qs(formatNumber(line.oldPrice)),
                                line.newPrice ? qs(formatNumber(*line.newPrice)) : "价格库中没有"};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 4) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (!line.newPrice) {
                item->setForeground(Qt::gray);
            } else if (line.changes()) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setForeground(*line.newPrice > line.oldPrice ? QColor(192, 0, 0)
                                                                   : QColor(0, 112, 0));
            }
            table->setItem(r, c, item);
        }
    }
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox;
    QPushButton* apply = buttons->addButton("应用", QDialogButtonBox::AcceptRole);
    apply->setEnabled(plan.changed() > 0);
    buttons->addButton("取消", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table, 1);
    layout->addWidget(buttons);
    resize(720, 480);
}

}  // namespace tf::gui

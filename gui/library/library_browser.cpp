#include "gui/library/library_browser.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/base/number_text.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

constexpr int kShownMaterials = 1000;

QTreeWidget* listOf(const QStringList& headings, const QString& name) {
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setHeaderLabels(headings);
    list->setRootIsDecorated(false);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

}  // namespace

LibraryBrowser::LibraryBrowser(std::unique_ptr<PriceLibrary> library, QWidget* parent)
    : QDialog(parent), library_(std::move(library)) {
    setWindowTitle("价格库");
    text_ = new QLineEdit;
    text_->setObjectName("价格库查找");
    text_->setPlaceholderText("查找类别、材料名称或规格");
    materials_ =
        listOf({"类别", "材料名称", "最小规格", "单位", "最新单价", "日期", "来源"}, "价格库材料");
    history_ = listOf({"日期", "单价", "来源", "供应商", "地区"}, "价格历史");
    connect(text_, &QLineEdit::textChanged, this, [this] { search(); });
    connect(materials_, &QTreeWidget::currentItemChanged, this, [this] { showHistory(); });
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(materials_);
    split->addWidget(history_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText("关闭");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    resize(820, 560);
    search();
}

void LibraryBrowser::search() {
    materials_->clear();
    history_->clear();
    try {
        found_ = library_->search(text_->text().toStdString(), kShownMaterials);
        for (const PricedMaterial& m : found_) {
            auto* item = new QTreeWidgetItem({qs(m.material.category), qs(m.material.name),
                                              qs(m.material.spec), qs(m.material.unit),
                                              qs(formatNumber(m.price.price)), qs(m.price.day),
                                              qs(m.price.source)});
            item->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
            materials_->addTopLevelItem(item);
        }
    } catch (const LibraryError& e) {
        materials_->addTopLevelItem(new QTreeWidgetItem({"价格库无法使用：" + qs(e.what())}));
    }
}

void LibraryBrowser::showHistory() {
    history_->clear();
    const int row = materials_->indexOfTopLevelItem(materials_->currentItem());
    if (row < 0 || row >= static_cast<int>(found_.size())) {
        return;
    }
    try {
        for (const LibraryPrice& price :
             library_->historyOf(found_[static_cast<std::size_t>(row)].material)) {
            auto* item =
                new QTreeWidgetItem({qs(price.day), qs(formatNumber(price.price)), qs(price.source),
                                     qs(price.supplier), qs(price.region)});
            item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            history_->addTopLevelItem(item);
        }
    } catch (const LibraryError& e) {
        history_->addTopLevelItem(new QTreeWidgetItem({"价格库无法使用：" + qs(e.what())}));
    }
}

}  // namespace tf::gui

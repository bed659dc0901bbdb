#include "gui/stats/statistics_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/charts/statistics_chart.h"
#include "core/stats/statistics_layout.h"
#include "gui/charts/statistics_chart_view.h"
#include "gui/widgets/division_tree_items.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/page_widgets.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

constexpr int kSideWidth = 230;
constexpr int kLocationRole = Qt::UserRole;
constexpr int kItemRole = Qt::UserRole + 1;

Qt::CheckState checkState(Tick tick) {
    switch (tick) {
        case Tick::Ticked:
            return Qt::Checked;
        case Tick::Partly:
            return Qt::PartiallyChecked;
        case Tick::Unticked:
            break;
    }
    return Qt::Unchecked;
}

Tick tickOf(Qt::CheckState state) {
    switch (state) {
        case Qt::Checked:
            return Tick::Ticked;
        case Qt::PartiallyChecked:
            return Tick::Partly;
        case Qt::Unchecked:
            break;
    }
    return Tick::Unticked;
}

// A titled frame on the side: its heading, a refresh button and a tree.
QGroupBox* treeFrame(const QString& name, QLabel* heading, QToolButton* refresh,
                     QTreeWidget* tree) {
    auto* frame = new QGroupBox;
    frame->setObjectName(name);
    auto* layout = new QVBoxLayout(frame);
    auto* top = new QHBoxLayout;
    top->addWidget(heading, 1);
    top->addWidget(refresh);
    layout->addLayout(top);
    layout->addWidget(tree, 1);
    return frame;
}

}  // namespace

StatisticsPage::StatisticsPage(const ProjectDocument& document, Statistics& statistics,
                               Prompter& prompter, QWidget* parent)
    : QWidget(parent), document_(document), statistics_(statistics), prompter_(prompter) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(buildSide());

    auto* right = new QVBoxLayout;
    title_ = pageCaption("标签2", "材料统计表", this);
    right->addWidget(title_);
    buildGrids();
    right->addWidget(summaryView_, 1);
    right->addWidget(itemSummaryView_, 1);
    right->addWidget(cumulativeView_, 1);
    chartView_ = new StatisticsChartView;
    chartArea_ = new QScrollArea;
    chartArea_->setObjectName("图表区");
    chartArea_->setWidget(chartView_);
    chartArea_->setWidgetResizable(true);
    chartArea_->setFrameShape(QFrame::NoFrame);
    chartArea_->setVisible(false);
    connect(chartView_, &StatisticsChartView::rowsRequested, this, [this](int first, int last) {
        GridView& table = statistics_.view == StatisticsView::Division   ? *itemSummaryView_
                          : statistics_.view == StatisticsView::Filtered ? *cumulativeView_
                                                                         : *summaryView_;
        table.selectRowCells(first, 1, table.grid().columnCount() - 1);
        table.scrollTo(table.model()->index(last, 1));
        table.scrollTo(table.model()->index(first, 1));
        table.setFocus();
    });
    right->addWidget(chartArea_, 2);
    layout->addLayout(right, 1);
    // The chart follows the tables: whatever changed them reaches it as it reaches them.
    for (GridView* table : {summaryView_, itemSummaryView_, cumulativeView_}) {
        connect(table->gridModel(), &QAbstractItemModel::dataChanged, this,
                [this] { refreshChart(); });
        connect(table->gridModel(), &QAbstractItemModel::modelReset, this,
                [this] { refreshChart(); });
    }
    reload();
}

QWidget* StatisticsPage::buildSide() {
    auto* side = new QWidget;
    side->setFixedWidth(kSideWidth);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* options = new QGroupBox("统计方式");
    options->setObjectName("统计选项框");
    auto* optionLayout = new QVBoxLayout(options);
    const char* const texts[] = {"所有材料统计", "分部分项统计", "筛选统计"};
    const StatisticsView views[] = {StatisticsView::AllMaterials, StatisticsView::Division,
                                    StatisticsView::Filtered};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(texts[i]);
        radio->setObjectName(QString("单选框%1").arg(i + 1));
        const StatisticsView view = views[i];
        connect(radio, &QRadioButton::clicked, this, [this, view] { chooseView(view); });
        optionLayout->addWidget(radio);
        viewButtons_[i] = radio;
    }
    chartToggle_ = new QCheckBox("图表");
    chartToggle_->setObjectName("图表开关");
    connect(chartToggle_, &QCheckBox::toggled, this, [this](bool on) {
        chartArea_->setVisible(on);
        chartShown_.clear();
        refreshChart();
    });
    optionLayout->addWidget(chartToggle_);
    layout->addWidget(options);

    divisionHeading_ = new QLabel(qs(kDivisionHeading));
    divisionHeading_->setObjectName("标签4");
    divisionTree_ = new QTreeWidget;
    divisionTree_->setObjectName("树型框1");
    divisionTree_->setHeaderHidden(true);
    connect(divisionTree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (filling_ || item == nullptr) {
            return;
        }
        selectDivisionNode(statistics_, item->data(0, Qt::UserRole).toULongLong(), prompter_);
        divisionHeading_->setText(qs(statistics_.divisionHeading));
        refreshChart();
    });

    auto* filterHeading = new QLabel("勾选统计");
    filterHeading->setObjectName("标签7");
    filterTree_ = new QTreeWidget;
    filterTree_->setObjectName("树型框2");
    filterTree_->setHeaderHidden(true);
    connect(filterTree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (!filling_) {
            filterItemChanged(item);
        }
    });

    QToolButton* refreshButtons[2] = {};
    for (int i = 0; i < 2; ++i) {
        QToolButton* refresh =
            pictureButton(QString("图形按钮%1").arg(18 + i), "", Glyph::Refresh, kPageInk, side);
        refresh->setToolButtonStyle(Qt::ToolButtonIconOnly);
        refresh->setIconSize(QSize(18, 18));
        refresh->setToolTip("刷新下表");
        refresh->setToolTipDuration(kToolTipMs);
        refreshButtons[i] = refresh;
    }
    connect(refreshButtons[0], &QToolButton::clicked, this, [this] {
        rebuildDivisionTree(document_, statistics_, prompter_);
        fillDivisionTree();
    });
    connect(refreshButtons[1], &QToolButton::clicked, this, [this] {
        rebuildFilterTree(document_, statistics_, prompter_);
        fillFilterTree();
    });
    codeFrame_ = treeFrame("代号框", divisionHeading_, refreshButtons[0], divisionTree_);
    filterFrame_ = treeFrame("条件框", filterHeading, refreshButtons[1], filterTree_);
    // Every location at once: a project of thousands is not ticked one box at a time.
    auto* everyRow = new QHBoxLayout;
    for (const bool ticked : {true, false}) {
        auto* every = new QPushButton(ticked ? "全选" : "全不选", filterFrame_);
        every->setObjectName(ticked ? "全选按钮" : "全不选按钮");
        every->setStatusTip(ticked ? "勾选所有部位" : "取消所有部位的勾选");
        connect(every, &QPushButton::clicked, this, [this, ticked] {
            tickEveryFilterLocation(document_, statistics_, ticked, prompter_);
            showFilterTicks();
            refreshChart();
        });
        everyRow->addWidget(every);
    }
    everyRow->addStretch(1);
    static_cast<QVBoxLayout*>(filterFrame_->layout())->insertLayout(1, everyRow);
    layout->addWidget(codeFrame_, 1);
    layout->addWidget(filterFrame_, 1);
    layout->addStretch(0);
    return side;
}

void StatisticsPage::buildGrids() {
    summaryView_ = new GridView;
    summaryView_->setObjectName("统计表");
    summaryView_->setGrid(statistics_.summary);
    itemSummaryView_ = new GridView;
    itemSummaryView_->setObjectName("分统计表");
    itemSummaryView_->setGrid(statistics_.itemSummary);
    cumulativeView_ = new GridView;
    cumulativeView_->setObjectName("累计统计表");
    cumulativeView_->setGrid(statistics_.cumulative);
    wireGrid(summaryView_, StatisticsGrid::Summary);
    wireGrid(itemSummaryView_, StatisticsGrid::ItemSummary);
    wireGrid(cumulativeView_, StatisticsGrid::Cumulative);
}

void StatisticsPage::wireGrid(GridView* view, StatisticsGrid grid) {
    view->gridModel()->setWriteScope(
        [this](const std::function<void()>& write) { scope_(StepName::kNote, false, write); });
    view->setBeginEditHook([view](int row, int column) {
        return isEditableStatisticsCell(view->grid(), row, column);
    });
    view->setKeyHook([this, view](QKeyEvent* event) { return handleKey(view, event); });
    connect(view->gridModel(), &GridModel::cellEdited, this,
            [this, grid] { emit noteEdited(grid != StatisticsGrid::Cumulative); });
    connect(view, &GridView::cellPressed, this,
            [this, view, grid](int row, int column, Qt::MouseButton button, QPoint global) {
                if (button == Qt::RightButton) {
                    emit popupRequested(grid, row, global);
                } else if (column == 0 && row >= 1) {
                    view->selectRowCells(row, 1, view->grid().columnCount() - 1);
                }
            });
    connect(view, &GridView::cellDoubleClicked, this,
            [this, view, grid](int row, int, Qt::KeyboardModifiers modifiers) {
                if (!modifiers.testFlag(Qt::ControlModifier)) {
                    return;
                }
                if (const auto cell = detailsCellAt(statistics_, grid, row)) {
                    view->grid().setCursor(cell->row, cell->column);
                    emit commandRequested(Command::FindDetails);
                }
            });
}

bool StatisticsPage::handleKey(GridView* view, QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    if (ctrl && (event->key() == Qt::Key_V || event->key() == Qt::Key_X)) {
        return true;
    }
    if (event->key() == Qt::Key_Delete) {
        bool deleted = false;
        scope_(StepName::kNoteDeleted, false, [&] { deleted = deleteNoteAtCursor(view->grid()); });
        if (deleted) {
            emit noteEdited(view != cumulativeView_);
        }
        return true;
    }
    return false;
}

void StatisticsPage::filterItemChanged(QTreeWidgetItem* item) {
    const auto location = item->data(0, kLocationRole).toULongLong();
    if (item->parent() == nullptr) {
        tickFilterLocation(document_, statistics_, location, tickOf(item->checkState(0)),
                           prompter_);
    } else {
        tickFilterItem(document_, statistics_, location, item->data(0, kItemRole).toULongLong(),
                       item->checkState(0) == Qt::Checked, prompter_);
    }
    // Show the ticks as core keeps them: a location's items follow it, and it follows them.
    filling_ = true;
    QTreeWidgetItem* top = item->parent() != nullptr ? item->parent() : item;
    const FilterLocation& l = statistics_.filter.locations()[location];
    top->setCheckState(0, checkState(l.tick));
    for (int i = 0; i < top->childCount() && i < static_cast<int>(l.items.size()); ++i) {
        top->child(i)->setCheckState(
            0, l.items[static_cast<std::size_t>(i)].ticked ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
    refreshChart();
}

void StatisticsPage::showFilterTicks() {
    filling_ = true;
    // A box at a time the view would hear of every one of a million items: it reads them
    // again when it paints.
    const QSignalBlocker quiet(filterTree_->model());
    const auto& locations = statistics_.filter.locations();
    const int count =
        std::min(filterTree_->topLevelItemCount(), static_cast<int>(locations.size()));
    for (int l = 0; l < count; ++l) {
        const FilterLocation& location = locations[static_cast<std::size_t>(l)];
        QTreeWidgetItem* top = filterTree_->topLevelItem(l);
        top->setCheckState(0, checkState(location.tick));
        for (int i = 0; i < top->childCount() && i < static_cast<int>(location.items.size()); ++i) {
            top->child(i)->setCheckState(0, location.items[static_cast<std::size_t>(i)].ticked
                                                ? Qt::Checked
                                                : Qt::Unchecked);
        }
    }
    filling_ = false;
    filterTree_->viewport()->update();
}

void StatisticsPage::fillDivisionTree() {
    filling_ = true;
    divisionTree_->clear();
    const DivisionTree& nodes = statistics_.divisionTree.tree;
    const auto items = addDivisionNodes(*divisionTree_, nodes);
    divisionTree_->expandAll();
    if (statistics_.selectedNode && *statistics_.selectedNode < items.size()) {
        divisionTree_->setCurrentItem(items[*statistics_.selectedNode]);
    }
    filling_ = false;
}

void StatisticsPage::fillFilterTree() {
    filling_ = true;
    filterTree_->clear();
    const auto& locations = statistics_.filter.locations();
    QList<QTreeWidgetItem*> tops;
    tops.reserve(static_cast<qsizetype>(locations.size()));
    for (std::size_t l = 0; l < locations.size(); ++l) {
        auto* top = new QTreeWidgetItem;
        top->setText(0, qs(locations[l].name));
        top->setToolTip(0, top->text(0));
        top->setData(0, kLocationRole, static_cast<qulonglong>(l));
        top->setFlags(top->flags() | Qt::ItemIsUserCheckable);
        top->setCheckState(0, checkState(locations[l].tick));
        for (std::size_t i = 0; i < locations[l].items.size(); ++i) {
            auto* child = new QTreeWidgetItem(top);
            child->setText(0, qs(locations[l].items[i].code));
            child->setData(0, kLocationRole, static_cast<qulonglong>(l));
            child->setData(0, kItemRole, static_cast<qulonglong>(i));
            child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
            child->setCheckState(0, locations[l].items[i].ticked ? Qt::Checked : Qt::Unchecked);
        }
        tops.append(top);
    }
    filterTree_->addTopLevelItems(tops);
    filling_ = false;
}

void StatisticsPage::showViewLayout() {
    const StatisticsView view = statistics_.view;
    viewButtons_[static_cast<int>(view)]->setChecked(true);
    title_->setText(qs(statistics_.title));
    divisionHeading_->setText(qs(statistics_.divisionHeading));
    summaryView_->setVisible(view != StatisticsView::Division);
    itemSummaryView_->setVisible(view == StatisticsView::Division);
    cumulativeView_->setVisible(view == StatisticsView::Filtered);
    codeFrame_->setVisible(view == StatisticsView::Division);
    filterFrame_->setVisible(view == StatisticsView::Filtered);
    refreshChart();
}

void StatisticsPage::refreshChart() {
    if (!chartToggle_->isChecked()) {
        return;
    }
    // Never old figures: drawn again whenever the grids it reads changed.
    const std::vector<std::uint64_t> from{
        static_cast<std::uint64_t>(statistics_.view), statistics_.summary.revision(),
        statistics_.itemSummary.revision(), statistics_.cumulative.revision(),
        statistics_.selectedNode.value_or(~std::size_t{0})};
    if (from != chartShown_) {
        chartShown_ = from;
        chartView_->showChart(statisticsChart(statistics_));
    }
}

void StatisticsPage::reload() {
    fillDivisionTree();
    fillFilterTree();
    showViewLayout();
}

void StatisticsPage::chooseView(StatisticsView view) {
    chooseStatisticsView(document_, statistics_, view, prompter_);
    showViewLayout();
    // Another view's tables start at their top: the all-materials and the filtered view share
    // one, and its scroll position belongs to the other view's rows.
    for (GridView* table : {summaryView_, itemSummaryView_, cumulativeView_}) {
        table->scrollToTop();
    }
    mainView().setFocus();
}

void StatisticsPage::keepColumnWidths(AppSettings& settings) {
    summaryView_->letUserResizeColumns(std::make_unique<ColumnWidthMemory>(settings, "统计表"));
    itemSummaryView_->letUserResizeColumns(
        std::make_unique<ColumnWidthMemory>(settings, "分统计表"));
    cumulativeView_->letUserResizeColumns(
        std::make_unique<ColumnWidthMemory>(settings, "累计统计表"));
}

GridView& StatisticsPage::mainView() {
    return statistics_.view == StatisticsView::Division ? *itemSummaryView_ : *summaryView_;
}

GridView& StatisticsPage::view(StatisticsGrid grid) {
    switch (grid) {
        case StatisticsGrid::Summary:
            break;
        case StatisticsGrid::ItemSummary:
            return *itemSummaryView_;
        case StatisticsGrid::Cumulative:
            return *cumulativeView_;
    }
    return *summaryView_;
}

StatisticsGrid StatisticsPage::focusedGrid() const {
    if (cumulativeView_->hasFocus()) {
        return StatisticsGrid::Cumulative;
    }
    return statistics_.view == StatisticsView::Division ? StatisticsGrid::ItemSummary
                                                        : StatisticsGrid::Summary;
}

}  // namespace tf::gui

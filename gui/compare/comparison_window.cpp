#include "gui/compare/comparison_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/base/number_text.h"
#include "core/print/print_sheet.h"
#include "core/xlsx/workbook_writer.h"
#include "gui/print/print_editor_window.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

// The summary in lines: the two projects, the totals and their split, the kinds of cost,
// then the counts.
QString summaryText(const ComparisonView& view) {
    const auto lines = comparisonSummary(view.comparison);
    QString text = qs("对比前：" + view.beforeName + "    对比后：" + view.afterName);
    // Lines break after the totals' split (5), the kinds of cost (4) and each count (3).
    constexpr std::size_t kBreaks[] = {5, 9, 12, 15, 18};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool first = i == 0 || std::ranges::find(kBreaks, i) != std::end(kBreaks);
        // Money to the cent on screen; the workbook and the command line keep every digit.
        const std::string figure =
            i < kMoneyLines ? formatFixed(parseNumber(lines[i].second), 2) : lines[i].second;
        text += (first ? "\n" : "    ") + qs(lines[i].first) + "：" + qs(figure);
    }
    const ComparisonSummary& s = view.comparison.summary;
    if (s.locations.added + s.locations.removed + s.locations.changed + s.materials.added +
                s.materials.removed + s.materials.changed ==
            0 &&
        view.comparison.structure.empty()) {
        text += "\n两个工程的数量和费用相同。";
    }
    return text;
}

}  // namespace

ComparisonWindow::ComparisonWindow(std::shared_ptr<ComparisonView> view, Prompter& prompter,
                                   AppSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window),
      view_(std::move(view)),
      prompter_(prompter),
      settings_(settings) {
    setWindowTitle(qs("工程对比 - " + view_->beforeName + " → " + view_->afterName));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* summary = new QLabel(summaryText(*view_));
    summary->setObjectName("对比摘要");
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tabs_ = new QTabWidget;
    for (std::size_t t = 0; t < grids_.size(); ++t) {
        grids_[t] = new GridView;
        grids_[t]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tabs_->addTab(grids_[t], qs(comparisonTableTitle(kComparisonTables[t])));
    }
    connect(grids_[0], &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& at) {
        const std::string_view name = shownGrid().text(at.row(), 0);
        if (at.row() > 0 && !name.empty()) {
            emit locationRequested(qs(name));
        }
    });
    onlyChanges_ = new QCheckBox("只显示变化");
    onlyChanges_->setChecked(true);
    connect(onlyChanges_, &QCheckBox::toggled, this, [this] { showLines(); });
    auto* printButton = new QPushButton("打印…");
    connect(printButton, &QPushButton::clicked, this, [this] { print(); });
    auto* excelButton = new QPushButton("导出Excel…");
    connect(excelButton, &QPushButton::clicked, this, [this] { exportWorkbook(); });
    auto* closeButton = new QPushButton("关闭");
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(onlyChanges_);
    buttons->addStretch();
    buttons->addWidget(printButton);
    buttons->addWidget(excelButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    resize(1100, 650);
    showLines();
}

void ComparisonWindow::showLines() {
    auto& grids = onlyChanges_->isChecked() ? view_->changes : view_->all;
    for (std::size_t t = 0; t < grids_.size(); ++t) {
        grids_[t]->setGrid(grids[t]);
    }
}

ComparisonTable ComparisonWindow::shownTable() const {
    return kComparisonTables[static_cast<std::size_t>(std::max(0, tabs_->currentIndex()))];
}

const Grid& ComparisonWindow::shownGrid() const {
    const auto t = static_cast<std::size_t>(std::max(0, tabs_->currentIndex()));
    return (onlyChanges_->isChecked() ? view_->changes : view_->all)[t];
}

void ComparisonWindow::print() {
    PrintSheet sheet =
        statisticsSheet(shownGrid(),
                        "工程对比（" + std::string(comparisonTableTitle(shownTable())) + "）：" +
                            view_->beforeName + " → " + view_->afterName,
                        false, {});
    // On paper the changes read from the 变化 column: no colour, in the first column either.
    sheet.grid.setBackground({1, 0, sheet.grid.rowCount() - 1, 0}, std::nullopt);
    auto* editor = new PrintEditorWindow(std::move(sheet), prompter_, settings_, this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->open();
}

void ComparisonWindow::exportWorkbook() {
    // What the window shows: every line, or only the changed ones.
    exportWorkbookAsked(prompter_, [view = view_, only = onlyChanges_->isChecked()](Prompter&) {
        return comparisonWorkbookSheets(view, only);
    });
}

}  // namespace tf::gui

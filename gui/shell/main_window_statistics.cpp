// The main window's statistics side: its page, the 统计 commands, the rebuild behind the busy
// window, and the refresh of whichever table is shown.
#include "gui/attach/attachment_window.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"

#include "core/analysis/location_commands.h"
#include "core/stats/find_details.h"
#include "core/stats/statistic_row.h"
#include "core/stats/statistics_commands.h"
#include "core/stats/statistics_export.h"
#include "gui/materials/material_editor.h"
#include "gui/stats/busy_window.h"
#include "gui/stats/statistics_page.h"
#include "gui/widgets/grid_view.h"

namespace tf::gui {

QWidget* MainWindow::buildStatisticsPage() {
    statisticsPage_ = new gui::StatisticsPage(document_, statistics_, *prompter_);
    statisticsPage_->keepColumnWidths(settings_);
    statisticsPage_->setActionScope(actionScope(history_, document_));
    connect(statisticsPage_, &gui::StatisticsPage::commandRequested, this, &MainWindow::dispatch);
    connect(statisticsPage_, &gui::StatisticsPage::noteEdited, this, [this](bool counts) {
        if (counts) {
            document_.modified = true;
        }
    });
    connect(
        statisticsPage_, &gui::StatisticsPage::popupRequested, this,
        [this](StatisticsGrid grid, int row, QPoint global) {
            if (!statisticsCommandEnabled(statistics_, grid, row, Command::SumAllRows)) {
                return;  // outside the table's rows
            }
            popupTable_ = grid == StatisticsGrid::Summary       ? ExportTable::Summary
                          : grid == StatisticsGrid::ItemSummary ? ExportTable::ItemSummary
                                                                : ExportTable::Cumulative;
            popupMenu(Menu::Statistics, global, [this, grid, row](Command command) {
                return statisticsCommandEnabled(statistics_, grid, row, command).value_or(false);
            });
        });
    return statisticsPage_;
}

void MainWindow::registerStatisticsCommands() {
    const auto onSummary = [this](void (*command)(Grid&, std::optional<int>&)) {
        return [this, command] { command(statistics_.summary, statistics_.statisticRow); };
    };
    handlers_[Command::BuildStatistics] = [this] { buildStatistics(); };
    handlers_[Command::SumAllRows] = onSummary(sumAllRows);
    handlers_[Command::SumSelectedRows] = onSummary(sumSelectedRows);
    handlers_[Command::DeleteStatisticRow] = onSummary(deleteStatisticRow);
    handlers_[Command::FindDetails] = [this] {
        BusyCursor busy(*prompter_);
        if (!findDetails(statistics_, document_.analysis)) {
            return;
        }
        pressPageButton(AnalysisPage);
        analysisView_->setFocus();
        const CellPos cursor = document_.analysis.cursor();
        if (cursor.row >= 0) {
            analysisView_->setCurrentIndex(
                analysisView_->gridModel()->index(cursor.row, cursor.column));
        }
    };
    handlers_[Command::ExportStatistics] = [this] {
        const auto path =
            prompter_->chooseSaveFile("导出数据为文本文件", "文本文件(*.txt)|*.txt", "txt");
        if (path) {
            exportStatistics(statistics_, *path, *prompter_);
        }
    };
}

void MainWindow::buildStatistics() {
    auto* busy = new BusyWindow(
        [this] {
            rebuildStatistics(document_, statistics_, *prompter_);
            statisticsPage_->reload();
        },
        [this] {
            pressPageButton(StatisticsPage);
            GridView& view = statisticsPage_->mainView();
            view.setFocus();
            if (view.grid().cursor().row < 0) {
                view.setCurrentIndex(view.gridModel()->index(1, 1));
            }
        },
        this);
    busy->setAttribute(Qt::WA_DeleteOnClose);
    busy->open();
}

void MainWindow::analysisChanged() {
    followStatistics();
    applyColumnLayout();
    followCurrentLocation();  // a location deleted or moved
}

void MainWindow::followStatistics() {
    if (pages_->currentIndex() == StatisticsPage &&
        ensureStatisticsCurrent(document_, statistics_, *prompter_)) {
        statisticsPage_->reload();
    }
}

void MainWindow::refreshCurrentTable() {
    switch (pages_->currentIndex()) {
        case AnalysisPage:
            refreshAnalysisTable(document_.analysis, *prompter_);
            break;
        case StatisticsPage: {
            const StatisticsGrid grid = statisticsPage_->focusedGrid();
            refreshStatisticsGrid(statistics_, grid, *prompter_);
            break;
        }
        case MaterialPage:
            materialEditor_->refresh();
            break;
        default:
            break;
    }
}

}  // namespace tf::gui

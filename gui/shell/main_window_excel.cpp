// The main window's Excel export: the table a pop-up opened on, or every table.
#include "core/stats/project_workbook.h"
#include "core/stats/table_sheets.h"
#include "core/xlsx/workbook_writer.h"
#include "gui/shell/main_window.h"
#include "gui/stats/statistics_page.h"

namespace tf::gui {

void MainWindow::registerExcelCommands() {
    handlers_[Command::ExportExcel] = [this] {
        exportWorkbookAsked(*prompter_, [this] {
            return std::vector<SheetSource>{tableSheet(document_, statistics_, popupTable_)};
        });
    };
    handlers_[Command::ExportAllExcel] = [this] {
        exportWorkbookAsked(*prompter_, [this] {
            if (ensureStatisticsCurrent(document_, statistics_, *prompter_)) {
                statisticsPage_->reload();
            }
            return projectWorkbookSheets(document_, statistics_, *prompter_);
        });
    };
}

}  // namespace tf::gui

// The main window's Excel export: the table a pop-up opened on, or every table.
#include "core/stats/project_workbook.h"
#include "core/stats/table_sheets.h"
#include "core/xlsx/workbook_writer.h"
#include "gui/shell/main_window.h"
#include "gui/stats/statistics_page.h"

namespace tf::gui {

void MainWindow::registerExcelCommands() {
    handlers_[Command::ExportExcel] = [this] {
        exportWorkbookAsked(*prompter_, [this](Prompter&) {
            return std::vector<SheetSource>{tableSheet(document_, statistics_, popupTable_)};
        });
    };
    handlers_[Command::ExportAllExcel] = [this] {
        // Built here, with the busy window, so that the gathering behind the progress only reads.
        if (ensureStatisticsCurrent(document_, statistics_, *prompter_)) {
            statisticsPage_->reload();
        }
        exportWorkbookAsked(*prompter_, [this](Prompter& silent) {
            return projectWorkbookSheets(document_, statistics_, silent);
        });
    };
}

}  // namespace tf::gui

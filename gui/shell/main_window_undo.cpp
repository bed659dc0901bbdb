// The main window's undo and redo: the keys, the handlers and what follows a step.

#include "core/analysis/location_index.h"
#include "core/stats/statistics.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/stats/statistics_page.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/undo_keys.h"

namespace tf::gui {

void MainWindow::registerUndoCommands() {
    const auto step = [this](bool redo) {
        // While the entry dialog is open, Ctrl+Z belongs to its grid, not to the project.
        if (entryDialog_ != nullptr && entryDialog_->isVisible()) {
            return;
        }
        const auto name =
            redo ? history_.redo(document_, *prompter_) : history_.undo(document_, *prompter_);
        if (name) {
            projectStepped(redo ? redoCaption(*name) : undoCaption(*name));
        }
    };
    handlers_[Command::Undo] = [step] { step(false); };
    handlers_[Command::Redo] = [step] { step(true); };
    addUndoKeys(this, [this](bool redo) { dispatch(redo ? Command::Redo : Command::Undo); });
}

void MainWindow::projectStepped(const std::string& caption) {
    if (entryDialog_ != nullptr) {
        entryDialog_->form().reloadStructure();
    }
    applyColumnLayout();
    // The location the cursor stands on after the step, as if its row had been pressed (the
    // view takes the table's cursor when it catches up with the step).
    currentLocation_ = locationNumberedOnRow(document_.analysis, document_.locations,
                                             document_.analysis.cursor().row);
    followCurrentLocation();
    // A table or the structure went back: the statistics follow with their view, ticks and
    // node. A step of the statistics alone (a statistic row) is shown as it stands.
    followStatistics();
    statisticsPage_->reload();
    refreshTitle();
    prompter_->setStatus(caption);
}

}  // namespace tf::gui

// The main window's undo and redo: the keys, the handlers and what follows a step.
#include <QShortcut>

#include "core/stats/statistics.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/stats/statistics_page.h"
#include "gui/widgets/qt_text.h"

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
    // The main window's own keys: in a dialog or a cell being edited they stay theirs.
    const auto key = [this](const char* sequence, Command command) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(sequence)), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, command] { dispatch(command); });
    };
    key("Ctrl+Z", Command::Undo);
    key("Ctrl+Y", Command::Redo);
    key("Ctrl+Shift+Z", Command::Redo);
}

void MainWindow::projectStepped(const std::string& caption) {
    currentLocation_.reset();
    if (entryDialog_ != nullptr) {
        entryDialog_->form().reloadStructure();
    }
    applyColumnLayout();
    // A table or the structure went back: the statistics shown are built again whole. A step
    // of the statistics alone (a statistic row) is shown as it stands.
    if (statistics_.built && history_.steppedProject()) {
        rebuildStatistics(document_, statistics_, *prompter_);
    }
    statisticsPage_->reload();
    refreshTitle();
    prompter_->setStatus(caption);
}

}  // namespace tf::gui

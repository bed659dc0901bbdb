// The main window's side of the attachments window: which location it shows and in which
// mode, and where its changes go.
#include <QStandardPaths>

#include "core/attach/attachment_table.h"
#include "core/attach/release_folder.h"
#include "core/project/analysis_layout.h"
#include "core/shell/app_settings.h"
#include "gui/attach/attachment_window.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {

AttachmentWindow& MainWindow::attachmentWindow() {
    if (attachments_ == nullptr) {
        const auto folder =
            writableProgramFolder(
                pathOf(programDirectory_),
                pathOf(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))) /
            kReleaseFolderName;
        attachments_ = new AttachmentWindow(*prompter_, folder, this);
    }
    return *attachments_;
}

void MainWindow::viewAttachments() {
    std::string_view block;
    std::string_view location;
    if (currentLocation_ &&
        static_cast<std::size_t>(*currentLocation_) < document_.locations.size()) {
        const auto first = static_cast<std::size_t>(document_.locations[*currentLocation_].first);
        location = document_.analysis.text(static_cast<int>(first), AnalysisColumn::kLocation);
        if (first < document_.attachments.records.size()) {
            block = document_.attachments.records[first];
        }
    }
    attachmentWindow().open(location, block, AttachMode::View, 0, this);
}

void MainWindow::editAttachments() {
    EntryForm& form = entryDialog().form();
    std::optional<int> record;
    if (const auto k = form.modifiedLocation()) {
        record = document_.locations[static_cast<std::size_t>(*k)].first;
    }
    attachmentWindow().open(
        form.location, form.attachments, AttachMode::Edit,
        attachmentRoom(document_.attachments, record), entryDialog_,
        [this](const std::string& block) { entryDialog_->form().attachments = block; });
}

void MainWindow::followCurrentLocation() {
    const bool entering = entryDialog_ != nullptr && entryDialog_->isVisible();
    if (!entering && attachments_ != nullptr && attachments_->isVisible() &&
        attachments_->manager().mode() == AttachMode::View) {
        viewAttachments();
    }
}

void MainWindow::followEntryForm() {
    if (attachments_ != nullptr && attachments_->isVisible() &&
        attachments_->manager().mode() == AttachMode::Edit) {
        editAttachments();
    }
}

}  // namespace tf::gui

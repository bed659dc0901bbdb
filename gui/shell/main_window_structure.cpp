// The main window's structure side: the structure editor ("分部分项表设置", "材料关联" and F8
// on the material page) and the export of the project's structure.
#include <QToolButton>

#include "core/structure/structure_file.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/stats/statistics_page.h"
#include "gui/structure/structure_editor_window.h"
#include "gui/widgets/grid_view.h"

namespace tf::gui {

void MainWindow::registerStructureCommands() {
    handlers_[Command::StructureSettings] = [this] { openStructureEditor(false); };
    handlers_[Command::MaterialLinks] = [this] { openStructureEditor(true); };
    connect(findChild<QToolButton*>("图形按钮15"), &QToolButton::clicked, this,
            [this] { exportStructureAsked(document_.structure, *prompter_); });
    connect(materialView_, &GridView::keyPressed, this, [this](int key, bool, bool) {
        if (key == Qt::Key_F8) {
            dispatch(Command::MaterialLinks);
        }
    });
}

StructureEditorWindow* MainWindow::openStructureEditor(bool materialLinks) {
    prompter_->setStatus("分部分项表设置");
    auto* window = new StructureEditorWindow(document_, *prompter_, *materialView_, this);
    window->setActionScope(actionScope(history_, document_));
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &StructureEditorWindow::wantMaterialPage, this,
            [this] { pressPageButton(MaterialPage); });
    connect(window, &StructureEditorWindow::committed, this, [this] {
        // The pickers and the statistics' division tree take the new structure at once.
        if (entryDialog_ != nullptr) {
            entryDialog_->form().reloadStructure();
        }
        followStatistics();
    });
    connect(window, &QDialog::finished, this, [this] { prompter_->setStatus("设置完毕"); });
    if (materialLinks) {
        window->resize(726, window->height());
        window->showLinksPage(true);
    }
    window->open();
    return window;
}

}  // namespace tf::gui

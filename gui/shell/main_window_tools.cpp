// The main window's tool windows: the material import and search windows and the
// expression calculator.
#include "core/materials/material_replace.h"
#include "core/materials/material_text_file.h"
#include "gui/calculator/calculator_window.h"
#include "gui/materials/material_import_dialog.h"
#include "gui/materials/material_search_window.h"
#include "gui/shell/main_window.h"
#include "gui/stats/statistics_page.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {

void MainWindow::registerToolCommands() {
    handlers_[Command::ImportMaterials] = [this] {
        if (const auto path =
                prompter_->chooseOpenFile("导入文本文件数据", "文本文件(*.txt)|*.txt")) {
            importMaterialFile(*path);
        }
    };
    handlers_[Command::FindMaterial] = [this] {
        if (!materialSearch_) {
            materialSearch_ = new MaterialSearchWindow(document_.materials, *materialView_, this);
            materialSearch_->setAttribute(Qt::WA_DeleteOnClose);
        }
        materialSearch_->show();
        materialSearch_->raise();
        materialSearch_->activateWindow();
    };
    handlers_[Command::Calculator] = [this] {
        if (!calculator_) {
            calculator_ = new CalculatorWindow(*prompter_, this);
            calculator_->setAttribute(Qt::WA_DeleteOnClose);
        }
        calculator_->show();
        calculator_->raise();
        calculator_->activateWindow();
    };
}

void MainWindow::importMaterialFile(const std::string& path) {
    auto* dialog = new MaterialImportDialog(
        qs(path),
        [this, path](bool replace) {
            const bool imported =
                replace ? importMaterialsReplacing(document_, path, *prompter_,
                                                   [this] { pressPageButton(AnalysisPage); })
                              .has_value()
                        : importMaterialsAppending(document_, path, *prompter_);
            if (!imported) {
                return;
            }
            // Prices and ids changed under the locations.
            rebuildStatistics(document_, statistics_, *prompter_);
            statisticsPage_->reload();
            refreshTitle();
        },
        this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace tf::gui

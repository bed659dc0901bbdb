// The main window's tool windows: the material import and search windows, the price library,
// the expression calculator and the print editor.
#include "core/base/fill_advice.h"
#include "core/charts/statistics_chart.h"
#include "core/materials/material_replace.h"
#include "core/materials/material_text_file.h"
#include "core/print/print_sheet.h"
#include "gui/calculator/calculator_window.h"
#include "gui/library/library_commands.h"
#include "gui/materials/material_editor.h"
#include "gui/materials/material_import_dialog.h"
#include "gui/materials/material_search_window.h"
#include "gui/print/print_editor_window.h"
#include "gui/shell/main_window.h"
#include "gui/stats/statistics_page.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {

void MainWindow::registerToolCommands() {
    handlers_[Command::ImportMaterials] = [this] {
        if (const auto path = prompter_->chooseOpenFile(
                "导入材料价格（文本文件或Excel工作簿）",
                "材料文件(*.txt *.xlsx)|*.txt;*.xlsx|文本文件(*.txt)|*.txt|"
                "Excel 工作簿(*.xlsx)|*.xlsx")) {
            importMaterialFile(*path);
        }
    };
    const auto library = [this] {
        return LibraryHost{document_, *prompter_, settings_, this,
                           [this](const std::function<void()>& change) {
                               {
                                   // The table's look follows its prices in the same step.
                                   UndoHistory::Action action(history_, document_, "从价格库取价");
                                   change();
                                   materialEditor_->refresh();
                               }
                               followStatistics();
                               refreshTitle();
                           }};
    };
    handlers_[Command::RepriceFromLibrary] = [library] { repriceFromLibrary(library()); };
    handlers_[Command::BrowseLibrary] = [library] { browseLibrary(library()); };
    handlers_[Command::SavePricesToLibrary] = [library] { savePricesToLibrary(library()); };
    handlers_[Command::FindMaterial] = [this] {
        if (!materialSearch_) {
            materialSearch_ = new MaterialSearchWindow(document_.materials, *materialView_, this);
            materialSearch_->setAttribute(Qt::WA_DeleteOnClose);
        }
        materialSearch_->show();
        materialSearch_->raise();
        materialSearch_->activateWindow();
    };
    for (const auto& [command, forward] : {std::pair(Command::FindNextMaterial, true),
                                           std::pair(Command::FindPreviousMaterial, false)}) {
        // Copied by name: a structured binding cannot be captured by every compiler.
        handlers_[command] = [this, down = forward] {
            pressPageButton(MaterialPage);
            const auto position = goToMarkedMaterial(document_.materials, *materialView_,
                                                     document_.materials.cursor().row, down);
            prompter_->setStatus(position ? *position : "没有查找到的材料，请先查找。");
        };
    }
    // Ctrl+G and Ctrl+Shift+G in 材料表: keys no other command of the window has.
    connect(materialView_, &GridView::keyPressed, this, [this](int key, bool ctrl, bool shift) {
        if (key == Qt::Key_G && ctrl) {
            dispatch(shift ? Command::FindPreviousMaterial : Command::FindNextMaterial);
        }
    });
    handlers_[Command::Calculator] = [this] {
        if (!calculator_) {
            calculator_ = new CalculatorWindow(*prompter_, this);
            calculator_->setAttribute(Qt::WA_DeleteOnClose);
        }
        calculator_->show();
        calculator_->raise();
        calculator_->activateWindow();
    };
    handlers_[Command::Print] = [this] { openPrintEditor(); };
}

PrintEditorWindow* MainWindow::openPrintEditor() {
    BusyCursor busy(*prompter_);  // a million rows take half a second
    prompter_->setStatus("打印当前窗口表格");
    PrintSheet sheet;
    switch (pages_->currentIndex()) {
        case AnalysisPage:
            sheet = analysisSheet(document_.analysis, keptColumnWidths(settings_, "分析表"));
            break;
        case StatisticsPage: {
            followStatistics();
            const StatisticsGrid shown = statisticsPage_->focusedGrid();
            const Grid& grid = shown == StatisticsGrid::Cumulative ? statistics_.cumulative
                               : shown == StatisticsGrid::Summary  ? statistics_.summary
                                                                   : statistics_.itemSummary;
            const std::string_view table = shown == StatisticsGrid::Cumulative ? "累计统计表"
                                           : shown == StatisticsGrid::Summary  ? "统计表"
                                                                               : "分统计表";
            sheet = statisticsSheet(grid, statistics_.title, shown == StatisticsGrid::ItemSummary,
                                    keptColumnWidths(settings_, table));
            sheet.chart = tableChart(statistics_, grid);
            break;
        }
        case MaterialPage:
            sheet = materialSheet(document_.materials, keptColumnWidths(settings_, "材料表"));
            break;
        default:
            sheet = emptySheet();
            break;
    }
    auto* editor = new PrintEditorWindow(std::move(sheet), *prompter_, settings_, this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &QDialog::finished, this, [this] { prompter_->setStatus("打印表格结束"); });
    // Its copy of the table and the pages it drew are freed by now: the memory goes back.
    connect(editor, &QObject::destroyed, this, [] { returnFreedMemory(); });
    editor->open();
    return editor;
}

void MainWindow::importMaterialFile(const std::string& path) {
    auto* dialog = new MaterialImportDialog(
        qs(path),
        [this, path](bool replace) {
            UndoHistory::Action action(history_, document_, StepName::kImport);
            ReplaceOptions options;
            options.showAnalysisPage = [this] { pressPageButton(AnalysisPage); };
            const bool imported =
                replace ? importMaterialsReplacing(document_, path, *prompter_, options).has_value()
                        : importMaterialsAppending(document_, path, *prompter_).has_value();
            if (!imported) {
                return;
            }
            // Prices and ids changed under the locations.
            followStatistics();
            refreshTitle();
        },
        this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace tf::gui

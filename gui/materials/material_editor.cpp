#include "gui/materials/material_editor.h"
#include "gui/widgets/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include "core/grid/cell_block.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_paste.h"
#include "core/materials/material_table.h"
#include "core/materials/material_text_file.h"
#include "gui/widgets/grid_view.h"

namespace tf::gui {

MaterialEditor::MaterialEditor(GridView& view, ProjectDocument& document, Prompter& prompter,
                               std::function<void()> showAnalysisPage)
    : QObject(&view),
      view_(view),
      document_(document),
      prompter_(prompter),
      showAnalysisPage_(std::move(showAnalysisPage)) {
    view_.setBeginEditHook([this](int row, int column) {
        if (canBeginMaterialEdit(document_, row, column, prompter_)) {
            return true;
        }
        followCursor();
        return false;
    });
    view_.setKeyHook([this](QKeyEvent* event) { return handleKey(event); });
    connect(view_.gridModel(), &GridModel::cellEdited, this, &MaterialEditor::commit);
}

void MaterialEditor::commit(int row, int column) {
    // The typed text is in the cell already: the step takes it in with the repairs.
    scope_(StepName::kMaterialEdit, true,
           [&] { commitMaterialEdit(document_, row, column, prompter_, showAnalysisPage_); });
    emit changed();
}

void MaterialEditor::appendRow() {
    const int row = appendMaterialRow(document_);
    view_.refresh();
    view_.setCurrentIndex(view_.gridModel()->index(row, MaterialColumn::kCategory));
    emit changed();
}

void MaterialEditor::insertRow() {
    const int row = std::max(document_.materials.cursor().row, 1);
    insertMaterialRow(document_, row);
    view_.refresh();
    view_.setCurrentIndex(view_.gridModel()->index(row, MaterialColumn::kCategory));
    emit changed();
}

void MaterialEditor::deleteRow() {
    const CellPos cursor = document_.materials.cursor();
    if (cursor.row < 1) {
        return;
    }
    deleteMaterialRow(document_, cursor.row);
    emit changed();
}

void MaterialEditor::refresh() {
    refreshMaterialPage(document_, prompter_);
}

void MaterialEditor::exportTable() {
    const auto path =
        prompter_.chooseSaveFile("导出数据为文本文件", "文本文件(*.txt)|*.txt", "txt");
    if (path) {
        exportMaterials(document_.materials, *path, prompter_);
    }
}

void MaterialEditor::paste() {
    const std::string text = QApplication::clipboard()->text().toStdString();
    const auto block = parseCellBlock(text);
    if (!block) {
        prompter_.message(kBlockTooLarge, Captions::kWarning, MessageFlags::kWarning);
        return;
    }
    PasteReport report;
    scope_(StepName::kPaste, false, [&] {
        if (block->rows.empty() || block->singleCell()) {
            pasteIntoMaterialCell(document_, text, prompter_, showAnalysisPage_);
        } else {
            report = pasteMaterialBlock(document_, document_.materials.cursor(), *block, prompter_,
                                        showAnalysisPage_);
        }
    });
    view_.refresh();
    followCursor();
    emit changed();
    report.tell(prompter_);
}

void MaterialEditor::cut() {
    std::optional<std::string> text;
    scope_(StepName::kCut, false,
           [&] { text = cutMaterialCell(document_, prompter_, showAnalysisPage_); });
    if (text) {
        QApplication::clipboard()->setText(qs(*text));
    }
    followCursor();
    emit changed();
}

void MaterialEditor::followCursor() {
    const CellPos cursor = document_.materials.cursor();
    view_.setCurrentIndex(view_.gridModel()->index(cursor.row, cursor.column));
}

bool MaterialEditor::handleKey(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const CellPos cursor = document_.materials.cursor();
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (cursor.row == document_.materials.rowCount() - 1 &&
                cursor.column == MaterialColumn::kNote) {
                appendRow();
                return true;
            }
            return false;
        case Qt::Key_Insert:
            insertRow();
            return true;
        case Qt::Key_Delete:
            if (ctrl) {
                deleteRow();
            }
            return true;  // Delete alone never clears a cell
        case Qt::Key_V:
            if (ctrl) {
                paste();
                return true;
            }
            return false;
        case Qt::Key_X:
            if (ctrl) {
                cut();
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace tf::gui

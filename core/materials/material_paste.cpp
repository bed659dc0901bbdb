#include "core/materials/material_paste.h"

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"

namespace tf {

using namespace MaterialColumn;

PasteReport pasteMaterialBlock(ProjectDocument& document, CellPos at, const CellBlock& block,
                               Prompter& prompter, const std::function<void()>& showAnalysisPage) {
    PasteReport report;
    Grid& g = document.materials;
    if (at.row < 1 || block.rows.empty()) {
        return report;
    }
    GatheringPrompter gathering(prompter);
    gathering.gather(true);
    for (std::size_t i = 0; i < block.rows.size(); ++i) {
        const int row = at.row + static_cast<int>(i);
        while (row >= g.rowCount()) {
            appendMaterialRow(document);
        }
        const auto& cells = block.rows[i];
        const std::vector<int> columns = pasteColumns(g, at.column, cells.size());
        for (std::size_t j = 0; j < cells.size(); ++j) {
            if (j >= columns.size()) {
                if (!isBlank(cells[j])) {
                    report.refuseOutside(row, cells[j]);
                }
                continue;
            }
            const int column = columns[j];
            const std::string title(g.text(0, column));
            if (column == kNumber) {  // numbers copied along are passed over
                if (!isBlank(cells[j]) && !isWholeNumber(trimSpaces(cells[j]))) {
                    report.refuse(row, title, cells[j], "：序号由程序编排");
                }
                continue;
            }
            if (column != kCategory && withoutSpaces(g.text(row, kCategory)).empty()) {
                if (!isBlank(cells[j])) {
                    report.refuse(row, title, cells[j], "：这一行还没有类别");
                }
                continue;
            }
            if (column == kPrice && !isBlank(cells[j]) && !isPlainNumber(cells[j])) {
                report.refuse(row, title, cells[j], "：不是数值");
                continue;
            }
            g.setText(row, column, cells[j]);
            commitMaterialEdit(document, row, column, gathering, showAnalysisPage);
            if (const std::string told = gathering.takeTold(); !told.empty()) {
                report.note(row, title, told);
            }
        }
    }
    g.setCursor(at.row, at.column);
    document.modified = true;
    return report;
}

}  // namespace tf

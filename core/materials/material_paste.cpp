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
    pasteBlockCells(
        g, at, block, gathering, report, [&document] { appendMaterialRow(document); },
        [&](int row, int column, const std::string& text) -> std::optional<std::string> {
            if (column == kNumber) {  // numbers copied along are passed over
                return isBlank(text) || isWholeNumber(trimSpaces(text))
                           ? std::nullopt
                           : std::optional<std::string>("：序号由程序编排");
            }
            if (column != kCategory && withoutSpaces(g.text(row, kCategory)).empty()) {
                return isBlank(text) ? std::nullopt
                                     : std::optional<std::string>("：这一行还没有类别");
            }
            if (column == kPrice && !isBlank(text) && !isPlainNumber(text)) {
                return "：不是数值";
            }
            g.setText(row, column, text);
            commitMaterialEdit(document, row, column, gathering, showAnalysisPage);
            return std::nullopt;
        });
    g.setCursor(at.row, at.column);
    document.modified = true;
    return report;
}

}  // namespace tf

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/entry/entry_form.h"
#include "core/structure/codes.h"

namespace tf {

using namespace EntryColumn;

PasteReport EntryForm::paste(CellPos at, const CellBlock& block) {
    PasteReport report;
    if (at.row < 1 || block.rows.empty()) {
        return report;
    }
    const bool processWanted = std::exchange(useProcess, false);
    pasteBlockCells(
        grid_, at, block, prompter_, report, [this] { addRow(grid_.rowCount() - 1); },
        [this](int row, int column, const std::string& text) {
            return pasteCell(row, column, text);
        });
    useProcess = processWanted;
    return report;
}

std::optional<std::string> EntryForm::pasteCell(int row, int column, const std::string& text) {
    const std::string trimmed(trimSpaces(text));
    switch (column) {
        case kNumber:  // numbers copied along are passed over: the form numbers its rows
            return trimmed.empty() || isWholeNumber(trimmed)
                       ? std::nullopt
                       : std::optional<std::string>("：序号由程序编排");
        case kUnit:  // follows the material: a unit copied along with it is passed over
            return trimmed.empty() || trimmed == grid_.text(row, kUnit)
                       ? std::nullopt
                       : std::optional<std::string>("：材料单位随所选材料而定");
        case kCode: {
            if (trimmed.empty()) {
                grid_.setText(row, kCode, {});
                return std::nullopt;
            }
            const DivisionTree& tree = working_.tree;
            for (std::size_t node = 0; node < tree.size(); ++node) {
                if (isWorkItem(tree, node) && itemCodeOfNode(tree, node) == trimmed) {
                    pickWorkItem(row, node);
                    return std::nullopt;
                }
            }
            return "：没有这个分项代号";
        }
        case kMaterialName: {
            if (trimmed.empty()) {
                grid_.clearTexts({row, kMaterialName, row, kUnit});
                grid_.setText(row, kMaterialId, {});
                return std::nullopt;
            }
            const auto ids = document_.catalogue.idsNamed(trimmed);
            if (ids.empty()) {
                return "：材料表中没有这种材料";
            }
            if (ids.size() > 1) {
                return "：材料表中有几种材料同名，请用材料选择窗口选定";
            }
            pickMaterial(row, ids.front());
            return std::nullopt;
        }
        case kWorkQuantity:
        case kMaterialQuantity:
            if (trimmed.empty()) {  // the quantity its size or usage gave stays
                return std::nullopt;
            }
            if (!isPlainNumber(trimmed)) {
                return "：不是数值";
            }
            grid_.setText(row, column, trimmed);
            commitEdit(row, column);
            return std::nullopt;
        default:  // 分项尺寸 and 说明, as typed
            grid_.setText(row, column, text);
            commitEdit(row, column);
            return std::nullopt;
    }
}

}  // namespace tf

#include "core/grid/paste_report.h"

#include <utility>

#include "core/base/text_util.h"

namespace tf {
namespace {

// A box's text on one line of the report.
std::string oneLine(std::string_view text) {
    std::string line = replaceAll(replaceAll(text, "\r\n", ""), "\n", "");
    return std::string(trimSpaces(line));
}

bool asksSomething(int flags) {
    // The button group is the low nibble: 0 is OK alone.
    return (flags & 0x0F) != 0;
}

}  // namespace

void PasteReport::refuse(int row, std::string_view column, std::string_view text,
                         std::string_view why) {
    lines_.push_back("第" + std::to_string(row) + "行“" + std::string(column) + "”的“" +
                     std::string(text) + "”" + std::string(why) + "，未粘贴。");
}

void PasteReport::refuseOutside(int row, std::string_view text) {
    lines_.push_back("第" + std::to_string(row) + "行的“" + std::string(text) +
                     "”在表格右边之外，未粘贴。");
}

void PasteReport::note(int row, std::string_view column, std::string_view said) {
    lines_.push_back("第" + std::to_string(row) + "行“" + std::string(column) + "”：" +
                     oneLine(said));
}

void PasteReport::tell(Prompter& prompter) const {
    if (lines_.empty()) {
        return;
    }
    std::string text = "粘贴时有以下单元格需要注意：";
    for (std::size_t i = 0; i < std::min(lines_.size(), kMostNamed); ++i) {
        text += "\r\n" + lines_[i];
    }
    if (lines_.size() > kMostNamed) {
        text += "\r\n……另有" + std::to_string(lines_.size() - kMostNamed) + "个单元格。";
    }
    prompter.message(text, "提示:", MessageFlags::kInformation);
}

std::string GatheringPrompter::takeTold() {
    return std::exchange(told_, {});
}

Answer GatheringPrompter::message(std::string_view text, std::string_view caption, int flags) {
    if (!gathering_ || asksSomething(flags)) {
        return user_.message(text, caption, flags);
    }
    if (!told_.empty()) {
        told_ += ' ';
    }
    told_ += oneLine(text);
    return Answer::Ok;
}

void pasteBlockCells(
    Grid& grid, CellPos at, const CellBlock& block, GatheringPrompter& told, PasteReport& report,
    const std::function<void()>& addRow,
    const std::function<std::optional<std::string>(int row, int column, const std::string& text)>&
        paste) {
    told.gather(true);
    for (std::size_t i = 0; i < block.rows.size(); ++i) {
        const int row = at.row + static_cast<int>(i);
        while (row >= grid.rowCount()) {
            addRow();
        }
        const auto& cells = block.rows[i];
        const std::vector<int> columns = pasteColumns(grid, at.column, cells.size());
        for (std::size_t j = 0; j < cells.size(); ++j) {
            if (j >= columns.size()) {
                if (!isBlank(cells[j])) {
                    report.refuseOutside(row, cells[j]);
                }
                continue;
            }
            const int column = columns[j];
            const std::string title(grid.text(0, column));
            if (const auto why = paste(row, column, cells[j])) {
                report.refuse(row, title, cells[j], *why);
            } else if (const std::string said = told.takeTold(); !said.empty()) {
                report.note(row, title, said);
            }
        }
    }
    told.gather(false);
}

}  // namespace tf

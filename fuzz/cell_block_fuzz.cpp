// The clipboard as a block paste reads it: any bytes. What is read copies back out and reads
// the same, and pasting it into the entry rows and 材料表 keeps them whole.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/entry/entry_form.h"
#include "core/grid/cell_block.h"
#include "core/materials/material_paste.h"
#include "core/project/project_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto block = tf::parseCellBlock(bytes);
    if (!block || block->rows.size() > 64) {
        return 0;
    }
    std::size_t columns = 0;
    for (const auto& row : block->rows) {
        columns = std::max(columns, row.size());
    }
    if (columns > 64) {
        return 0;
    }
    tf::Grid grid(static_cast<int>(block->rows.size()), static_cast<int>(columns));
    for (std::size_t r = 0; r < block->rows.size(); ++r) {
        for (std::size_t c = 0; c < block->rows[r].size(); ++c) {
            grid.setText(static_cast<int>(r), static_cast<int>(c), block->rows[r][c]);
        }
    }
    if (!block->rows.empty() && columns > 0) {
        const auto again = tf::parseCellBlock(
            tf::blockText(grid, {0, 0, grid.rowCount() - 1, grid.columnCount() - 1}));
        if (!again || again->rows.size() != block->rows.size()) {
            __builtin_trap();
        }
        for (std::size_t r = 0; r < block->rows.size(); ++r) {
            for (std::size_t c = 0; c < block->rows[r].size(); ++c) {
                if (again->rows[r][c] != block->rows[r][c]) {
                    __builtin_trap();
                }
            }
        }
    }

    tf::ProjectDocument document;
    tf::resetProject(document);
    tf::SilentPrompter prompter;
    tf::EntryForm form(document, prompter);
    form.open();
    form.autoCalculate = true;
    form.paste({1, 1}, *block);
    tf::pasteMaterialBlock(document, {1, 1}, *block, prompter);
    return 0;
}

#pragma once

#include <optional>
#include <vector>

#include "core/attach/attachment_table.h"
#include "core/grid/grid.h"

namespace tf {

// One location of the analysis table: its block of consecutive rows. A location's number
// is its position in the index counted from 1.
struct LocationSpan {
    int first = 0;
    int last = 0;
    friend bool operator==(const LocationSpan&, const LocationSpan&) = default;
};
using LocationIndex = std::vector<LocationSpan>;

// The location (0-based) whose block holds `row`.
std::optional<int> locationOfRow(const LocationIndex& index, int row);

// The location whose number 序号 shows on `row`; nothing when it names none.
std::optional<int> locationNumberedOnRow(const Grid& analysis, const LocationIndex& index, int row);

// Reads the index back from 序号 and 部位名称 of the data rows.
LocationIndex rebuildLocationIndex(const Grid& analysis);

// Moves every entry after entry k (0-based) by delta rows; with `renumber`, the rows of
// each moved entry get the number it has once entry k is gone. Repaints the bands from
// entry k's first row to the end of the table.
void shiftLocationSpans(LocationIndex& index, Grid& analysis, int k, int delta, bool renumber);

// Alignment, colours and wrapping of entry k's rows; repaints the bands below them.
void formatLocationBlock(Grid& analysis, const LocationIndex& index, int k);

// Removes location k's rows; the following locations move up and are renumbered, and the
// rows below the last location are numbered on from it.
void deleteLocation(LocationIndex& index, Grid& analysis, AttachmentTable& attachments, int k);

// Removes one analysis row with its attachment record. Its location shrinks (the location's
// attachments move to its new first row when the first row goes) and the following
// locations move up; a location that loses its last row goes as deleteLocation removes it.
void deleteAnalysisRow(LocationIndex& index, Grid& analysis, AttachmentTable& attachments, int row);

// Merges each run of equal 分项代号 over 分项代号, 分项尺寸 and 工程数量, and 序号, 部位名称,
// 图纸索引 and 结构尺寸 over the whole block.
void mergeLocationBlock(Grid& analysis, int first, int last);

}  // namespace tf

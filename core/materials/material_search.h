#pragma once

#include <optional>
#include <string>

#include "core/grid/grid.h"

namespace tf {

// Going through the rows of 材料表 that a search marked: the next marked row after `from`
// (or before it, going back), round past the end; nothing when no row is marked.
std::optional<int> nextMarkedMaterial(const Grid& materials, int from, bool forward);

// Where a marked row stands among the marked rows: "第 2 个，共 5 个"; "共找到 5 个" when
// the row is not one of them.
std::string markedPositionText(const Grid& materials, int row);

}  // namespace tf

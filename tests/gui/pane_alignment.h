#pragma once

#include <QTableView>

namespace tf::gui {

class GridView;

// Every row on screen in the main view stands level with its 序号 in the fixed column, the
// heading stands over its column, and a view scrolled to the end shows its last row whole.
void expectPanesAligned(GridView& view, const char* where);

// Scrolls with the wheel until the view stops moving.
void wheelToTheEnd(GridView& view);

}  // namespace tf::gui

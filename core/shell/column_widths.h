#pragma once

#include <map>
#include <string>
#include <string_view>

#include "core/grid/grid.h"
#include "core/shell/app_settings.h"

namespace tf {

// The narrowest and widest a user may drag a column: a dragged column never vanishes (hiding
// is a command of its own) and never swallows the screen.
inline constexpr int kNarrowestUserColumn = 12;
inline constexpr int kWidestUserColumn = 2000;

// Widths by column number.
using ColumnWidths = std::map<int, int>;

// "column:width" pairs separated by commas, as kept in the settings file. Pairs that are not
// two whole numbers, or name a column beyond any table, are skipped; widths are held to the
// bounds above.
ColumnWidths parseColumnWidths(std::string_view text);
std::string columnWidthsText(const ColumnWidths& widths);

// The widths kept for a table, and put over a grid's: a hidden column (width 0) stays hidden.
ColumnWidths keptColumnWidths(const AppSettings& settings, std::string_view table);
void applyColumnWidths(Grid& grid, const ColumnWidths& widths);

// The widths the user gave the columns of one table by hand, kept in "Brix.ini" under
// [列宽] with the table's name as key, so that the table looks the same at the next start.
// Laying the table out again (for the window's width, a new view of the statistics) does not
// undo them: `apply` puts them back over whatever was laid out. A hidden column (width 0)
// stays hidden whatever was kept for it.
class ColumnWidthMemory {
  public:
    ColumnWidthMemory(AppSettings& settings, std::string table);

    const ColumnWidths& widths() const { return widths_; }
    // A width while the user is still dragging; `keep` writes the widths held.
    void hold(int column, int width);
    void keep();
    void keep(int column, int width) {
        hold(column, width);
        keep();
    }
    void apply(Grid& grid) const;

  private:
    AppSettings& settings_;
    std::string table_;
    ColumnWidths widths_;
};

}  // namespace tf

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/print/print_sheet.h"
#include "core/shell/app_settings.h"

namespace tf {

// The page a sheet prints on, as the user set it in the page-setup dialog of the preview or
// the print dialog: kept for the rest of the editor's session and, per table, in "Brix.ini"
// for the next time; the command line prints with the same. Untouched, a sheet prints on A4
// in the orientation that prints it largest, 12 mm from every edge.
struct PageSetup {
    enum class Orientation { Automatic, Portrait, Landscape };
    Orientation orientation = Orientation::Automatic;
    double paperWidth = 210;  // millimetres, upright
    double paperHeight = 297;
    double left = 12, top = 12, right = 12, bottom = 12;
    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// "portrait|landscape|auto width height left top right bottom", millimetres. Text that does
// not read as a page a sheet can be printed on (paper of 50 mm to 2 m, margins that leave
// at least half of it) reads as nothing.
std::string pageSetupText(const PageSetup& setup);
std::optional<PageSetup> parsePageSetup(std::string_view text);

// The name the page of a sheet is kept under: the table it was copied from.
std::string_view pageSetupKey(const PrintSheet& sheet);
PageSetup keptPageSetup(const AppSettings& settings, std::string_view key);
void keepPageSetup(AppSettings& settings, std::string_view key, const PageSetup& setup);

}  // namespace tf

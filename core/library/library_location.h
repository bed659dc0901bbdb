#pragma once

#include <optional>
#include <string>

#include "core/shell/app_settings.h"

namespace tf {

// Where the price library is: the location given (a command's --library), else Brix.ini's
// [Library] Location (a server's libpq URI, or a file), else "PriceLibrary.sqlite" in the
// user's data folder, whose folder is made.
std::string libraryLocation(const AppSettings& settings, const std::optional<std::string>& given);

}  // namespace tf

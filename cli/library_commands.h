#pragma once

#include <string>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// The price library, on the engine `--library LOCATION` (or Brix.ini's [Library] Location)
// names, else the user's own SQLite file. Dates are YYYY-MM-DD, today when not given.
//   library import FILE [--date D] [--source S] [--supplier X] [--region R]
//                                                      (lines left out named on stderr)
//   library save FILE.gdb [--date D] [--source S]     the project's 材料表 into the library
//   library list [--search T]                          category, name, spec, unit, price, day,
//                                                      source of each material's latest price
//   library history NAME [UNIT]                        day, price, source, supplier, region,
//                                                      category, spec, unit, oldest first
//   reprice FILE.gdb [--date D]                        材料表 priced as of the day, then saved:
//                                                      category, name, spec, unit, old and
//                                                      new price (blank: not in the library)
// A library that cannot be reached or read is told, and the project stays as it was.
// Status 2 for arguments it does not understand.
int libraryCommand(const std::vector<std::string>& args, Streams io);
int repriceCommand(const std::vector<std::string>& args, Streams io);

}  // namespace tf::cli

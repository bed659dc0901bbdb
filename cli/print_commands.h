#pragma once

#include <string>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// `print` followed by `words`:
//   FILE.gdb --table 分析表|材料表|统计表 [--title T] OUT.pdf
//       the table as the print editor opens it (统计表: the all-materials view), printed to
//       PDF with its default title unless one is given;
//   FILE.pb OUT.pdf
//       a print file with its own title, font and size.
// Status 2 when the words are none of these. Printing paints, so the command runs in a
// window-system application (offscreen unless another platform is asked for) made from
// `argc` and `argv`.
int printCommand(const std::vector<std::string>& words, int argc, char** argv, Streams io);

}  // namespace tf::cli

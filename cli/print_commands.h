#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// The words `print` takes:
//   FILE.gdb --table 分析表|材料表|统计表 [--title T] [--chart] OUT.pdf
//       the table as the print editor opens it (统计表: the all-materials view), printed to
//       PDF with its default title unless one is given; 统计表 with its chart on a page of
//       its own after it when asked;
//   FILE.pb OUT.pdf
//       a print file with its own title, font and size.
bool printWordsFit(const std::vector<std::string>& words);
// The words without "--chart", and whether it was among them.
std::pair<std::vector<std::string>, bool> withoutChartWord(std::vector<std::string> words);

// The program that prints, beside tallyframe-cli. Printing paints with Qt's window-system
// libraries, which take longer to load than most commands take to run, so only it links them.
inline constexpr const char* kPrintProgram = "tallyframe-cli-print";

// `print` followed by `words`, done by the printing program, which takes over this process.
// Status 2 when the words do not fit, 1 when the printing program cannot be started.
int printElsewhere(const std::vector<std::string>& words, Streams io);

// The printing program's work: `words` as for `print`. It runs in a window-system
// application (offscreen unless another platform is asked for) made from `argc` and `argv`.
// Status 2 when the words do not fit.
int printCommand(const std::vector<std::string>& words, int argc, char** argv, Streams io);

}  // namespace tf::cli

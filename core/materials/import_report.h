#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/materials/price_list.h"

namespace tf {

// What an import did: the materials it added and the lines it left out, by line.
struct ImportReport {
    int added = 0;
    std::vector<SkippedLine> skipped;
    // Whether any line was refused for what it held (a blank line is no refusal).
    bool refusedAny() const;
    // The skipped lines in file order.
    void sortByLine();
};

// How many skipped lines the window's message lists; the command line lists them all.
inline constexpr std::size_t kSkippedLinesShown = 10;
inline constexpr std::size_t kEverySkippedLine = std::numeric_limits<std::size_t>::max();

// Lines as "第 12 行：单价不是数字（“面议”）", each ending in CR LF; at most `count` of them.
std::string skippedLinesText(const std::vector<SkippedLine>& skipped,
                             std::size_t count = kEverySkippedLine);

// Tells how an import went in one message: `heading` ("文件导入完毕！"), how many materials
// came in and how many lines did not, then the first `shown` of those with their reasons.
// When more were skipped than shown, the user is asked whether to keep the whole list as a
// text file. `caption` and `flags` are the message's when nothing is left unshown.
void tellImport(std::string_view heading, const ImportReport& report, std::size_t shown,
                Prompter& prompter, std::string_view caption = {},
                int flags = MessageFlags::kInformation);

// "文件导入失败！" and why the file could not be read.
void tellImportFailure(std::string_view failure, Prompter& prompter);

}  // namespace tf

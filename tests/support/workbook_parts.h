#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tf::test {

// A zip archive of the named parts, deflated.
std::string zipOf(const std::vector<std::pair<std::string, std::string>>& parts);

// A workbook as a spreadsheet program writes one: package and workbook relationships, one
// sheet named 价格 holding `sheetData` (the XML inside <sheetData>), and shared strings when
// given (the XML inside <sst>).
std::vector<std::pair<std::string, std::string>> workbookParts(const std::string& sheetData,
                                                               const std::string& sharedStrings);

// workbookParts zipped.
std::string workbookOf(const std::string& sheetData, const std::string& sharedStrings = {});

}  // namespace tf::test

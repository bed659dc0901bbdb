#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// One row of a sheet as texts: the first columns asked for, empty where a row has no cell.
struct SheetRow {
    std::vector<std::string> cells;
};

// Bytes beyond this, unpacked, make a workbook refused: a price list never comes near it, a
// zip bomb soon does.
inline constexpr std::size_t kLargestUnpackedWorkbook = 200u << 20;

// Does the content look like a zip archive, as every .xlsx workbook is?
bool looksLikeWorkbook(std::string_view bytes);

// The rows of the first sheet of an .xlsx workbook that hold anything within the first
// `columns` columns, in file order, each as that many texts: shared and inline strings as they are,
// numbers in the program's number form, TRUE and FALSE for truth values. Nothing when the bytes are
// not a workbook this can read: a damaged or truncated archive, a missing part, XML that is
// malformed or declares a DTD, no sheet, or more than `unpackedLimit` bytes unpacked.
std::optional<std::vector<SheetRow>> readFirstSheet(
    std::string_view bytes, int columns, std::size_t unpackedLimit = kLargestUnpackedWorkbook);

}  // namespace tf

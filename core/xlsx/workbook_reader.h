#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// One row of a sheet as texts: the first columns asked for, empty where a row has no cell.
struct SheetRow {
    std::vector<std::string> cells;
    int number = 0;  // the sheet's row number, from 1
    // Columns (of those asked for) whose cell is a formula saved without its result: empty in
    // `cells`, though the sheet means something there.
    std::vector<int> uncomputed;
};

// Why a workbook could not be read.
enum class WorkbookFault {
    NotAWorkbook,  // not a zip archive at all
    Damaged,       // a damaged or truncated archive, a missing part, bad XML, no sheet
    TooLarge,      // more bytes unpacked than allowed
    Unsupported,   // this build reads no workbooks
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
// malformed or declares a DTD, no sheet, or more than `unpackedLimit` bytes unpacked; `why`, when
// given, then tells which.
std::optional<std::vector<SheetRow>> readFirstSheet(
    std::string_view bytes, int columns, std::size_t unpackedLimit = kLargestUnpackedWorkbook,
    WorkbookFault* why = nullptr);

}  // namespace tf

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/print/print_sheet.h"

namespace tf {

// A print file (".pb"): fixed-row byte, hidden-column entries (column byte, width before
// hiding as signed 32 bits), the title, font name and size text in 50-, 20- and 10-byte
// zero-padded GBK fields, then the sheet's grid in the grid's own format.
struct PrintFile {
    int fixedRows = 0;
    std::vector<HiddenColumn> hidden;
    std::string title;
    std::string fontName;
    std::string fontSize;
    Grid grid;
};

inline constexpr std::size_t kPrintTitleBytes = 50;
inline constexpr std::size_t kPrintFontBytes = 20;
inline constexpr std::size_t kPrintSizeBytes = 10;

struct PrintFileBytes {
    std::string bytes;
    std::vector<std::string> cut;  // the fields that had to be cut to fit, by their box names
};

// The file of a sheet; nothing when its hidden columns cannot be stored (more than 255
// entries, or a column beyond 255). A text longer than its field is cut after its last whole
// character that fits.
std::optional<PrintFileBytes> serializePrintFile(const PrintSheet& sheet);

// The whole file checked before anything is taken: every length, every width, and the grid.
std::optional<PrintFile> parsePrintFile(std::string_view bytes);

// The file's contents into the sheet: grid, hidden-column list, title, font and size boxes;
// column 0 white from the fixed rows down.
void applyPrintFile(PrintSheet& sheet, PrintFile file);

// "保存(&S)": asks for the file ("保存为打印文件"), writes it safely, tells "保存完毕！" or
// "保存失败！" (the reason in the status bar). Fields cut to fit are named in the status bar.
bool savePrintFileAsked(const PrintSheet& sheet, Prompter& prompter);
// "打开(&O)": asks for the file ("载入打印文件") and loads it whole or not at all ("载入完毕！"
// or "载入失败！").
bool openPrintFileAsked(PrintSheet& sheet, Prompter& prompter);
// The same without dialogs or messages (tallyframe-cli).
std::optional<PrintFile> readPrintFile(const std::string& path);

}  // namespace tf

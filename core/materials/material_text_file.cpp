#include "core/materials/material_text_file.h"

#include <algorithm>
#include <set>
#include <span>

#include "core/base/file_bytes.h"
#include "core/base/file_names.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/text_codec.h"
#include "core/base/text_lines.h"
#include "core/base/text_util.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/xlsx/workbook_reader.h"

namespace tf {
namespace {

// A material list of this size holds far more than the catalogue can number.
constexpr std::size_t kLargestFile = 16u << 20;
constexpr std::size_t kMostFields = 6;

bool usable(std::span<const std::string_view> fields) {
    return (fields.size() == kMostFields - 1 || fields.size() == kMostFields) &&
           !isBlank(fields[0]) && !isBlank(fields[1]);
}

bool isWorkbookFile(const std::string& path, std::string_view bytes) {
    return looksLikeWorkbook(bytes) || hasExtension(path, ".xlsx");
}

std::string key(std::string_view category, std::string_view name) {
    return asciiUpper(std::string(trimSpaces(category)) + "?" + std::string(trimSpaces(name)));
}

}  // namespace

void forEachMaterialLine(std::string_view bytes,
                         const std::function<void(const MaterialFields&)>& visit) {
    forEachTextLine(bytes, [&](int, std::string_view line) {
        const auto fields = tabFields(line, kMostFields + 1);
        if (!usable(fields)) {
            return;
        }
        MaterialFields copy;
        std::copy(fields.begin(), fields.end(), copy.begin());
        visit(copy);
    });
}

bool forEachMaterialInFile(const std::string& path,
                           const std::function<void(const MaterialFields&)>& visit) {
    const auto bytes = readFileBytes(path, kLargestFile);
    if (!bytes) {
        return false;
    }
    if (!isWorkbookFile(path, *bytes)) {
        forEachMaterialLine(*bytes, visit);
        return true;
    }
    // One column more: 材料表 as the program exports it starts with 序号.
    const auto rows = readFirstSheet(*bytes, kMostFields + 1);
    if (!rows) {
        return false;
    }
    const auto heading = [&](std::size_t column) -> std::string_view {
        return rows->empty() ? std::string_view() : (*rows)[0].cells[column];
    };
    const bool numbered = heading(0) == "序号" && heading(1) == "类别";
    const bool headings = numbered || heading(0) == "类别";
    const auto first = static_cast<std::ptrdiff_t>(numbered ? 1 : 0);
    for (std::size_t i = headings ? 1 : 0; i < rows->size(); ++i) {
        const SheetRow& row = (*rows)[i];
        const auto begin = row.cells.begin() + first;
        const std::vector<std::string_view> fields(begin, begin + kMostFields);
        if (!usable(fields)) {
            continue;
        }
        MaterialFields copy;
        std::copy(begin, begin + kMostFields, copy.begin());
        visit(copy);
    }
    return true;
}

bool importMaterialsAppending(ProjectDocument& document, const std::string& path,
                              Prompter& prompter) {
    BusyCursor busy(prompter);
    std::vector<MaterialFields> read;
    if (!forEachMaterialInFile(path,
                               [&](const MaterialFields& fields) { read.push_back(fields); })) {
        prompter.message("文件导入失败！", "", MessageFlags::kError);
        return false;
    }
    Grid& g = document.materials;
    std::set<std::string> present;
    for (int r = 1; r < g.rowCount(); ++r) {
        present.insert(key(g.text(r, MaterialColumn::kCategory), g.text(r, MaterialColumn::kName)));
    }
    for (const MaterialFields& fields : read) {
        if (!present.insert(key(fields[0], fields[1])).second) {
            continue;
        }
        const int row = appendMaterialRow(document);
        for (int i = 0; i < 6; ++i) {
            g.setText(row, MaterialColumn::kCategory + i, fields[static_cast<std::size_t>(i)]);
        }
        enterMaterialRow(document, row, prompter);
    }
    document.modified = true;
    prompter.message("文件导入完毕！", "", MessageFlags::kInformation);
    return true;
}

std::string materialText(const Grid& g) {
    std::string text;
    for (int r = 1; r < g.rowCount(); ++r) {
        std::string line;
        bool any = false;
        for (int c = MaterialColumn::kCategory; c <= MaterialColumn::kNote; ++c) {
            any = any || !isBlank(g.text(r, c));
            line += tabField(g.text(r, c));
            line += c == MaterialColumn::kNote ? "\r\n" : "\t";
        }
        if (any) {
            text += line;
        }
    }
    return toGbk(text);
}

bool exportMaterials(const Grid& materials, const std::string& path, Prompter& prompter) {
    return writeFileTelling(pathFromUtf8(path), materialText(materials), prompter);
}

}  // namespace tf

#include "core/materials/material_text_file.h"

#include <algorithm>
#include <set>

#include "core/base/file_bytes.h"
#include "core/base/safe_write.h"
#include "core/base/text_codec.h"
#include "core/base/text_lines.h"
#include "core/base/text_util.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"

namespace tf {
namespace {

// A material list of this size holds far more than the catalogue can number.
constexpr std::size_t kLargestTextFile = 16u << 20;
constexpr std::size_t kMostFields = 6;

std::string key(std::string_view category, std::string_view name) {
    return asciiUpper(std::string(trimSpaces(category)) + "?" + std::string(trimSpaces(name)));
}

}  // namespace

void forEachMaterialLine(std::string_view bytes,
                         const std::function<void(const MaterialFields&)>& visit) {
    forEachTextLine(bytes, [&](int, std::string_view line) {
        const auto fields = tabFields(line, kMostFields + 1);
        if ((fields.size() != kMostFields - 1 && fields.size() != kMostFields) ||
            isBlank(fields[0]) || isBlank(fields[1])) {
            return;
        }
        MaterialFields copy;
        std::copy(fields.begin(), fields.end(), copy.begin());
        visit(copy);
    });
}

bool importMaterialsAppending(ProjectDocument& document, const std::string& path,
                              Prompter& prompter) {
    BusyCursor busy(prompter);
    const auto bytes = readFileBytes(path, kLargestTextFile);
    if (!bytes) {
        prompter.message("文件导入失败！", "", MessageFlags::kError);
        return false;
    }
    Grid& g = document.materials;
    std::set<std::string> present;
    for (int r = 1; r < g.rowCount(); ++r) {
        present.insert(key(g.text(r, MaterialColumn::kCategory), g.text(r, MaterialColumn::kName)));
    }
    forEachMaterialLine(*bytes, [&](const MaterialFields& fields) {
        if (!present.insert(key(fields[0], fields[1])).second) {
            return;
        }
        const int row = appendMaterialRow(document);
        for (int i = 0; i < 6; ++i) {
            g.setText(row, MaterialColumn::kCategory + i, fields[static_cast<std::size_t>(i)]);
        }
        enterMaterialRow(document, row, prompter);
    });
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
    return writeFileTelling(path, materialText(materials), prompter);
}

}  // namespace tf

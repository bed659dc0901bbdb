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

constexpr std::size_t kLargestTextFile = 256u << 20;

std::string key(std::string_view category, std::string_view name) {
    return asciiUpper(std::string(trimSpaces(category)) + "?" + std::string(trimSpaces(name)));
}

}  // namespace

std::vector<MaterialFields> parseMaterialText(std::string_view bytes) {
    std::vector<MaterialFields> usable;
    for (const std::string& line : textLines(bytes)) {
        const auto fields = tabFields(line);
        if ((fields.size() != 5 && fields.size() != 6) || isBlank(fields[0]) ||
            isBlank(fields[1])) {
            continue;
        }
        MaterialFields copy;
        std::copy(fields.begin(), fields.end(), copy.begin());
        usable.push_back(std::move(copy));
    }
    return usable;
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
    for (const MaterialFields& fields : parseMaterialText(*bytes)) {
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
    return writeFileTelling(path, materialText(materials), prompter);
}

}  // namespace tf

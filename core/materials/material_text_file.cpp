#include "core/materials/material_text_file.h"

#include <algorithm>

#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/text_codec.h"
#include "core/base/text_lines.h"
#include "core/base/text_util.h"
#include "core/materials/material_intake.h"
#include "core/materials/material_layout.h"

namespace tf {

std::optional<ImportReport> importMaterialsAppending(ProjectDocument& document,
                                                     const std::string& path, Prompter& prompter,
                                                     std::size_t shown) {
    BusyCursor busy(prompter);
    PriceList list = readPriceList(path);
    if (!list.failure.empty()) {
        tellImportFailure(list.failure, prompter);
        return std::nullopt;
    }
    ImportReport report;
    report.skipped = std::move(list.skipped);
    MaterialIntake intake;
    intake.takeTable(document.materials);
    for (const PriceLine& line : list.materials) {
        std::string refused = intake.refusal(line, document.catalogue);
        if (!refused.empty()) {
            report.skipped.push_back({line.line, std::move(refused)});
            continue;
        }
        appendImportedMaterial(document, line.fields, prompter);
        ++report.added;
    }
    report.sortByLine();
    document.modified = true;
    tellImport("文件导入完毕！", report, shown, prompter);
    return report;
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

#include "core/materials/material_replace.h"

#include <algorithm>
#include <set>

#include "core/analysis/location_index.h"
#include "core/base/text_util.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/materials/material_text_file.h"
#include "core/project/analysis_layout.h"

namespace tf {
namespace {

namespace A = AnalysisColumn;
using namespace MaterialColumn;

std::string materialKey(std::string_view category, std::string_view name) {
    return "|" + asciiUpper(trimSpaces(category)) + "?" + asciiUpper(trimSpaces(name)) + "|";
}

// Every analysis row with a location gets the id of the first material of the same name and
// unit (Latin case aside); the others lose their id, are marked and returned.
std::vector<MissingMaterialRow> linkAgain(ProjectDocument& document) {
    Grid& a = document.analysis;
    const Grid& m = document.materials;
    std::vector<MissingMaterialRow> missing;
    for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
        if (isBlank(a.text(r, A::kLocation))) {
            continue;
        }
        const std::string name = asciiUpper(a.text(r, A::kMaterialName));
        const std::string unit = asciiUpper(a.text(r, A::kMaterialUnit));
        int found = 0;
        for (int row = 1; row < m.rowCount() && found == 0; ++row) {
            if (asciiUpper(m.text(row, kName)) == name && asciiUpper(m.text(row, kUnit)) == unit) {
                found = row;
            }
        }
        if (found != 0) {
            a.setText(r, A::kMaterialId, m.text(found, kId));
        } else {
            // The old id now names some other material of the new table: kept, the row would
            // be counted and priced as that one.
            a.setText(r, A::kMaterialId, "0");
            a.setBackground({r, A::kMaterialName, r, A::kMaterialName + 3}, kMarkerColour);
            missing.push_back({r, std::string(a.text(r, A::kLocation)),
                               std::string(a.text(r, A::kMaterialName)),
                               std::string(a.text(r, A::kMaterialUnit))});
        }
    }
    return missing;
}

}  // namespace

std::optional<std::vector<MissingMaterialRow>> importMaterialsReplacing(
    ProjectDocument& document, const std::string& path, Prompter& prompter,
    const std::function<void()>& showAnalysisPage) {
    BusyCursor busy(prompter);
    // Everything is read and staged before the old table goes.
    std::vector<MaterialFields> staged;
    std::set<std::string> keys;
    const bool read = forEachMaterialInFile(path, [&](const MaterialFields& fields) {
        if (keys.insert(materialKey(fields[0], fields[1])).second) {
            staged.push_back(fields);
        }
    });
    if (!read) {
        prompter.message("文件导入失败！", "", MessageFlags::kError);
        return std::nullopt;
    }
    if (staged.empty()) {
        prompter.message("未导入任何可用材料！", Captions::kInformation, 0);
        return std::nullopt;
    }
    document.modified = true;
    Grid& g = document.materials;
    g.setRowCount(1);
    g.setPickList(kCategory, {});
    document.catalogue.clear();
    for (const MaterialFields& fields : staged) {
        const int row = appendMaterialRow(document);
        for (int i = 0; i < 6; ++i) {
            g.setText(row, kCategory + i, fields[static_cast<std::size_t>(i)]);
        }
        enterMaterialRow(document, row, prompter);
    }
    prompter.message("文件导入完毕！开始梳理分析表材料缺损。", "", MessageFlags::kInformation);

    Grid& a = document.analysis;
    const bool anyLocation = [&] {
        for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
            if (!isBlank(a.text(r, A::kLocation))) {
                return true;
            }
        }
        return false;
    }();
    if (!anyLocation) {
        return std::vector<MissingMaterialRow>{};
    }
    paintAnalysisBands(a, kAnalysisHeadingRows, a.rowCount() - 1);
    if (showAnalysisPage) {
        showAnalysisPage();
    }
    std::vector<MissingMaterialRow> missing = linkAgain(document);
    if (!missing.empty() &&
        prompter.message("高亮显示行所示材料已经不存在！\r\n要删除点击确认钮，手动修改点击取消。",
                         Captions::kQuestion, MessageFlags::kOkCancelWarning) == Answer::Ok) {
        // From the bottom up, so the rows still to go keep their numbers.
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            deleteAnalysisRow(document.locations, a, document.attachments, it->row);
        }
    }
    return missing;
}

int markMaterialMatches(Grid& materials, std::string_view text, bool exact) {
    paintMaterialBands(materials);
    const std::string wanted(trimSpaces(text));
    const std::string wantedLower = asciiLower(wanted);
    int marked = 0;
    for (int r = 1; r < materials.rowCount(); ++r) {
        const std::string_view name = materials.text(r, kName);
        const bool match =
            exact ? name == wanted
                  : asciiLower(trimSpaces(name)).find(wantedLower) != std::string::npos;
        if (match) {
            materials.setBackground({r, kCategory, r, kNote}, kMarkerColour);
            ++marked;
        }
    }
    return marked;
}

}  // namespace tf

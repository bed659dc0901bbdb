#include "core/entry/entry_sheet.h"

#include <array>
#include <cmath>
#include <set>

#include "core/base/number_text.h"
#include "core/base/text_lines.h"
#include "core/base/text_util.h"
#include "core/entry/entry_form.h"
#include "core/expr/expression_evaluator.h"
#include "core/structure/codes.h"

namespace tf {
namespace {

constexpr std::size_t kFields = 10;
// A sheet with more problems than this is not the sheet the user meant: the first are told.
constexpr std::size_t kMostProblems = 100;

// Digits with an optional fraction, spaces around them aside: no sign, exponent or comma.
bool isPlainDecimal(std::string_view text) {
    const std::string_view number = trimSpaces(text);
    return isPlainNumber(number) && number.front() != '-' && number.front() != '+';
}

struct SheetRow {
    std::array<std::string, kFields> fields;
    double quantity = 0;
    std::int32_t materialId = 0;
};

std::int32_t findMaterial(const MaterialCatalogue& catalogue, std::string_view category,
                          std::string_view name) {
    const std::string wantedCategory = asciiUpper(trimSpaces(category));
    const std::string wantedName = asciiUpper(trimSpaces(name));
    for (int c = 1; c <= catalogue.categoryCount(); ++c) {
        const MaterialCategory& entry = *catalogue.category(c);
        if (asciiUpper(trimSpaces(entry.name)) != wantedCategory) {
            continue;
        }
        for (std::size_t i = 0; i < entry.entries.size(); ++i) {
            if (!entry.entries[i].removed &&
                asciiUpper(trimSpaces(entry.entries[i].name)) == wantedName) {
                return materialId(c, static_cast<int>(i) + 1);
            }
        }
    }
    return 0;
}

}  // namespace

std::vector<SheetProblem> importEntrySheet(ProjectDocument& document, std::string_view bytes,
                                           Prompter& prompter) {
    const auto structure = parseStructure(document.structure);
    std::set<std::string> workItemCodes;
    for (std::size_t i = 0; structure && i < structure->tree.size(); ++i) {
        if (isWorkItem(structure->tree, i)) {
            workItemCodes.insert(itemCodeOfNode(structure->tree, i));
        }
    }
    std::vector<SheetProblem> problems;
    std::vector<SheetRow> rows;
    forEachTextLine(
        bytes,
        [&](int lineNumber, std::string_view line) {
            if (problems.size() >= kMostProblems ||
                line.find_first_not_of(" \t") == std::string_view::npos) {
                return;
            }
            const auto fields = tabFields(line, kFields + 1);
            if (fields.size() > kFields) {
                problems.push_back({lineNumber, "more than 10 fields"});
                return;
            }
            SheetRow row;
            std::copy(fields.begin(), fields.end(), row.fields.begin());
            const auto& f = row.fields;
            if (f[0].find_first_not_of(' ') == std::string::npos) {
                problems.push_back({lineNumber, "no location name"});
                return;
            }
            if (workItemCodes.count(f[3]) == 0) {
                problems.push_back({lineNumber, "code \"" + f[3] + "\" is not a work item"});
                return;
            }
            // Numbers are plain decimals: nothing is coerced into a quantity the user did not
            // write.
            for (const auto& [field, name] :
                 {std::pair{5, "quantity"}, std::pair{8, "unit usage"}}) {
                const std::string& text = f[static_cast<std::size_t>(field)];
                if (!isBlank(text) && !isPlainDecimal(text)) {
                    problems.push_back({lineNumber, std::string(name) + " \"" + text +
                                                        "\" is not a plain decimal number"});
                    return;
                }
                if (!readNumber(text)) {
                    problems.push_back({lineNumber, std::string(name) + " \"" + text.substr(0, 20) +
                                                        "…\" is too large for a number"});
                    return;
                }
            }
            if (f[5].find_first_not_of(' ') == std::string::npos) {
                SilentPrompter quiet;  // a failed expression simply gives no quantity
                const std::string expression = replaceAll(withTimesSigns(f[4]), "×", "*");
                row.quantity = parseNumber(evaluateLastLine(expression, quiet));
                if (std::fabs(row.quantity) <= 0.0000001) {
                    problems.push_back({lineNumber, "no quantity from \"" + f[4] + "\""});
                    return;
                }
            } else {
                row.quantity = parseNumber(f[5]);
            }
            row.materialId = findMaterial(document.catalogue, f[6], f[7]);
            if (row.materialId == 0) {
                problems.push_back({lineNumber, "unknown material " + f[6] + "/" + f[7]});
                return;
            }
            rows.push_back(std::move(row));
        },
        [&](int lineNumber) {
            if (problems.size() < kMostProblems) {
                problems.push_back(
                    {lineNumber, "longer than " + std::to_string(kLongestTextLine) + " bytes"});
            }
        });
    if (!problems.empty()) {
        return problems;
    }

    EntryForm form(document, prompter);
    form.open();
    std::size_t start = 0;
    while (start < rows.size()) {
        std::size_t end = start;
        const auto sameLocation = [&](const SheetRow& a, const SheetRow& b) {
            return a.fields[0] == b.fields[0] && a.fields[1] == b.fields[1] &&
                   a.fields[2] == b.fields[2];
        };
        while (end < rows.size() && sameLocation(rows[end], rows[start])) {
            ++end;
        }
        form.clear();
        form.location = rows[start].fields[0];
        form.drawing = rows[start].fields[1];
        form.structureSize = withTimesSigns(rows[start].fields[2]);
        Grid& g = form.grid();
        while (g.rowCount() - 1 < static_cast<int>(end - start)) {
            form.addRow(g.rowCount() - 1);
        }
        for (std::size_t i = start; i < end; ++i) {
            const SheetRow& row = rows[i];
            const int r = static_cast<int>(i - start) + 1;
            const double usage = parseNumber(row.fields[8]);
            g.setText(r, EntryColumn::kCode, row.fields[3]);
            g.setText(r, EntryColumn::kItemSize, withTimesSigns(row.fields[4]));
            g.setText(r, EntryColumn::kWorkQuantity, formatNumber(row.quantity));
            form.pickMaterial(r, row.materialId);
            g.setText(r, EntryColumn::kUnitUsage, formatNumber(usage));
            g.setText(r, EntryColumn::kMaterialQuantity, formatNumber(row.quantity * usage));
            g.setText(r, EntryColumn::kNote, row.fields[9]);
        }
        form.confirm();
        start = end;
    }
    return {};
}

}  // namespace tf

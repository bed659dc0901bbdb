#include "core/entry/entry_form.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/analysis/location_index.h"
#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/expr/expression_evaluator.h"
#include "core/project/analysis_layout.h"
#include "core/structure/codes.h"
#include "core/structure/item_table.h"
#include "core/structure/link_table.h"

namespace tf {
namespace {

using namespace EntryColumn;
namespace A = AnalysisColumn;

constexpr double kNearZero = 0.0000001;
constexpr Rgb kEntryRed{128, 0, 0};
constexpr Rgb kEntryBlue{0, 0, 255};

// Columns of an analysis row and of an entry row that carry the same value.
constexpr std::array<std::pair<int, int>, 9> kWrittenColumns = {{
    {A::kItemCode, kCode},
    {A::kItemSize, kItemSize},
    {A::kWorkQuantity, kWorkQuantity},
    {A::kMaterialName, kMaterialName},
    {A::kMaterialQuantity, kMaterialQuantity},
    {A::kMaterialUnit, kUnit},
    {A::kNote, kNote},
    {A::kMaterialId, kMaterialId},
    {A::kUnitUsage, kUnitUsage},
}};

}  // namespace

std::string withTimesSigns(std::string_view text) {
    // "5.4x3.6", "(4.5+5.4)x2": a Latin x between two factors is how surveyors write the
    // sign too. A factor ends in a digit or ")" and begins with a digit or "("; spaces
    // around the x do not count.
    std::string signs;
    signs.reserve(text.size());
    const auto numeric = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::size_t before = i;
        while (before > 0 && text[before - 1] == ' ') {
            --before;
        }
        std::size_t after = i + 1;
        while (after < text.size() && text[after] == ' ') {
            ++after;
        }
        const bool between = before > 0 && after < text.size() &&
                             (numeric(text[before - 1]) || text[before - 1] == ')') &&
                             (numeric(text[after]) || text[after] == '(');
        signs += (c == 'x' || c == 'X') && between ? '*' : c;
    }
    return replaceAll(signs, "*", "×");
}

EntryForm::EntryForm(ProjectDocument& document, Prompter& prompter)
    : document_(document), prompter_(prompter) {
    clear();
}

std::string EntryForm::caption() const {
    return modifying_ ? "数据修改" : insertingBefore_ ? "插入部位" : "数据录入";
}

std::string EntryForm::heading() const {
    std::string where;
    if (insertingBefore_) {
        const int k = *insertingBefore_;
        const LocationSpan span = document_.locations.at(static_cast<std::size_t>(k));
        where = "：在第 " + std::to_string(k + 1) + " 个部位“" +
                std::string(document_.analysis.text(span.first, A::kLocation)) + "”之前";
    }
    return " " + caption() + where + " (同一分项下，工程数量必须一致)";
}

std::string EntryForm::confirmCaption() const {
    return modifying_ ? "确认修改(&M)" : insertingBefore_ ? "确认插入(&O)" : "确认录入(&O)";
}

bool EntryForm::isTypeable(int column) {
    return column == kItemSize || column == kWorkQuantity || column == kMaterialQuantity ||
           column == kNote;
}

void EntryForm::open() {
    reloadStructure();
    clear();
    grid_.setCursor(1, kItemSize);
}

void EntryForm::reloadStructure() {
    if (auto structure = parseStructure(document_.structure)) {
        working_ = std::move(*structure);
    }
}

void EntryForm::clear() {
    location.clear();
    drawing.clear();
    structureSize.clear();
    attachments.clear();
    modifying_.reset();
    insertingBefore_.reset();
    grid_ = Grid(kFreshEntryRows, kCount);
    grid_.setFixedRows(1);
    constexpr std::array<const char*, 8> kTitles = {
        "序号", "分项代号", "分项尺寸", "工程数量", "使用材料名称", "材料数量", "材料单位", "说明"};
    constexpr std::array<int, kCount> kWidths = {40, 80, 140, 80, 140, 80, 60, 120, 0, 0};
    for (int c = 0; c < kCount; ++c) {
        if (c < static_cast<int>(kTitles.size())) {
            grid_.setText(0, c, kTitles[static_cast<std::size_t>(c)]);
        }
        grid_.setColumnWidth(c, kWidths[static_cast<std::size_t>(c)]);
    }
    grid_.setAlign({0, 0, 0, kCount - 1}, Align::Center);
    grid_.setColumnKind(kWorkQuantity, ColumnKind::Number, 3);
    grid_.setColumnKind(kMaterialQuantity, ColumnKind::Number, 3);
    for (int r = 1; r < grid_.rowCount(); ++r) {
        formatRow(r);
    }
    renumber();
}

void EntryForm::formatRow(int r) {
    grid_.setAlign({r, kNumber, r, kNumber}, Align::Center);
    grid_.setAlign({r, kWorkQuantity, r, kWorkQuantity}, Align::Center);
    grid_.setAlign({r, kMaterialQuantity, r, kUnit}, Align::Center);
    grid_.setForeground({r, kCode, r, kUnit}, kEntryRed);
    for (const int c : {kWorkQuantity, kMaterialQuantity}) {
        grid_.setForeground({r, c, r, c}, kEntryBlue);
        grid_.setBold({r, c, r, c}, true);
    }
}

void EntryForm::renumber(int from) {
    for (int r = std::max(from, 1); r < grid_.rowCount(); ++r) {
        grid_.setText(r, kNumber, std::to_string(r));
    }
}

double EntryForm::number(int row, int column) const {
    return parseNumber(grid_.text(row, column));
}

void EntryForm::setNumber(int row, int column, double value) {
    grid_.setText(row, column, formatNumber(value));
}

void EntryForm::pickWorkItem(int row, std::size_t node) {
    if (node >= working_.tree.size() || !isWorkItem(working_.tree, node)) {
        return;
    }
    const std::string code = itemCodeOfNode(working_.tree, node);
    if (useProcess) {
        applyItemProcess(row, node, code);
    } else {
        grid_.setText(row, kCode, code);
    }
}

void EntryForm::applyItemProcess(int row, std::size_t node, const std::string& code) {
    const auto itemRow = findItemRowByCode(working_.items, code);
    if (!itemRow) {
        return;
    }
    Grid process;
    const std::string& stored = working_.items[*itemRow].currentProcess;
    if (stored.empty() || !process.load(stored)) {
        grid_.setText(row, kCode, code);
        return;
    }
    // The quantity the item has already (its size typed first) goes to every row it fills.
    const std::string quantityText(grid_.text(row, kWorkQuantity));
    const double quantity = number(row, kWorkQuantity);
    int filled = 0;
    int last = row;
    bool cleared = false;
    for (int p = 1; p < process.rowCount(); ++p) {
        const MaterialLink link = readLink(process, p);
        if (!link.linked) {
            continue;
        }
        const MaterialEntry* entry = document_.catalogue.byId(link.materialId);
        if (entry == nullptr || entry->removed) {
            continue;
        }
        if (trimSpaces(link.materialName) != entry->name) {
            process.setText(p, LinkColumn::kLinked, "0");
            cleared = true;
            continue;
        }
        const int target = filled == 0 ? row : last + 1;
        if (filled > 0) {
            grid_.insertRows(target);
            formatRow(target);
            grid_.setText(target, kWorkQuantity, quantityText);
        }
        grid_.setText(target, kCode, code);
        grid_.setText(target, kMaterialName, entry->name);
        grid_.setText(target, kUnit, entry->unit);
        grid_.setText(target, kMaterialId, std::to_string(link.materialId));
        setNumber(target, kUnitUsage, link.unitUsage);
        if (std::fabs(quantity) > kNearZero && std::fabs(link.unitUsage) > kNearZero) {
            setNumber(target, kMaterialQuantity, quantity * link.unitUsage);
        }
        last = target;
        ++filled;
    }
    renumber();  // before the reminder, which shows the rows behind it
    if (filled > 0) {
        prompter_.message("注意：同一分项下 ［工程数量］ 相等！", Captions::kInformation,
                          MessageFlags::kInformation);
    } else {
        grid_.setText(row, kCode, code);
    }
    if (cleared) {
        // Links whose material changed lose their tick in the stored process too.
        working_.items[node].currentProcess = process.save();
        document_.structure.items = serializeItemTable(working_.items);
        document_.modified = true;
    }
}

void EntryForm::pickMaterial(int row, std::int32_t id) {
    const MaterialEntry* entry = document_.catalogue.byId(id);
    if (entry == nullptr) {
        return;
    }
    grid_.setText(row, kMaterialName, entry->name);
    grid_.setText(row, kUnit, entry->unit);
    grid_.setText(row, kMaterialId, std::to_string(id));
}

void EntryForm::commitEdit(int row, int column) {
    if (column == kItemSize) {
        std::string typed(grid_.text(row, kItemSize));
        std::erase(typed, ' ');
        const std::string shown = withTimesSigns(typed);
        grid_.setText(row, kItemSize, shown);
        const std::string expression = replaceAll(shown, "×", "*");
        // A size that does not read wholly ("3.6米", "2a") cannot give its quantity: the
        // evaluator would give a number the surveyor never meant.
        const double v =
            unreadablePart(expression) ? 0.0 : parseNumber(evaluateLastLine(expression, prompter_));
        if (!autoCalculate) {
            return;
        }
        if (std::fabs(v) <= kNearZero) {
            prompter_.message(
                "输入的分项尺寸无法直接计算出结果，或结果为零！\r\n"
                "建议使用表达式计算器完成后复制到此单元格。",
                "提示:", MessageFlags::kInformation);
            return;
        }
        // The rows of one work item share their quantity, however it was given.
        setNumber(row, kWorkQuantity, v);
        propagateQuantity(row);
    } else if ((column == kWorkQuantity || column == kMaterialQuantity) &&
               !readNumber(grid_.text(row, column))) {
        // Too large for a number: it would count as 0 in every cost.
        prompter_.message(kNumberOutOfRange, Captions::kWarning, MessageFlags::kWarning);
        grid_.setText(row, column, {});
    } else if (column == kWorkQuantity) {
        propagateQuantity(row);
    } else if (column == kMaterialQuantity) {
        setNumber(row, kMaterialQuantity, std::fabs(number(row, kMaterialQuantity)));
    }
}

void EntryForm::propagateQuantity(int row) {
    double q = number(row, kWorkQuantity);
    if (q < -kNearZero) {
        q = std::fabs(q);
        setNumber(row, kWorkQuantity, q);
    }
    const auto follow = [&](int r) {
        if (r != row) {
            grid_.setText(r, kWorkQuantity, grid_.text(row, kWorkQuantity));
        }
        const double usage = number(r, kUnitUsage);
        if (std::fabs(usage) > kNearZero) {
            setNumber(r, kMaterialQuantity, usage * q);
        }
    };
    follow(row);
    const std::string code(grid_.text(row, kCode));
    if (code.empty()) {
        return;
    }
    for (int r = row - 1; r >= 1 && grid_.text(r, kCode) == code; --r) {
        follow(r);
    }
    for (int r = row + 1; r < grid_.rowCount() && grid_.text(r, kCode) == code; ++r) {
        follow(r);
    }
}

void EntryForm::setUnitUsage(int row) {
    const std::string current = formatNumber(number(row, kUnitUsage));
    const auto answer = prompter_.input("第 " + std::to_string(row) + " 行的材料单位用量：" +
                                            current + "\r\n\r\n单位用量为零时，不参与自动运算！",
                                        "设置单位用量", current);
    if (!answer) {
        return;
    }
    const double x = std::fabs(parseNumber(*answer));
    if (x <= kNearZero) {
        return;
    }
    setNumber(row, kUnitUsage, x);
    setNumber(row, kMaterialQuantity, x * number(row, kWorkQuantity));
}

void EntryForm::showUnitUsage(int row) {
    prompter_.message(
        "第 " + std::to_string(row) + " 行单位用量：" + formatNumber(number(row, kUnitUsage)), "",
        MessageFlags::kInformation);
}

void EntryForm::addRow(int below) {
    const int row = std::clamp(below + 1, 1, grid_.rowCount());
    grid_.insertRows(row);
    formatRow(row);
    renumber(row);  // the rows above keep their numbers: a row added at the end costs one
}

void EntryForm::deleteRow(int row) {
    if (row >= 1 && row < grid_.rowCount()) {
        grid_.deleteRows(row);
        renumber(row);
    }
}

void EntryForm::beginInsert(int k) {
    open();
    if (k >= 0 && static_cast<std::size_t>(k) < document_.locations.size()) {
        insertingBefore_ = k;
    }
}

void EntryForm::beginModify(int k) {
    open();
    const LocationSpan span = document_.locations.at(static_cast<std::size_t>(k));
    const Grid& a = document_.analysis;
    location = std::string(a.text(span.first, A::kLocation));
    drawing = std::string(a.text(span.first, A::kDrawing));
    structureSize = std::string(a.text(span.first, A::kStructureSize));
    if (static_cast<std::size_t>(span.first) < document_.attachments.records.size()) {
        attachments = document_.attachments.records[static_cast<std::size_t>(span.first)];
    }
    const int rows = span.last - span.first + 1;
    if (grid_.rowCount() - 1 < rows) {
        const int from = grid_.rowCount();
        grid_.appendRows(rows - (grid_.rowCount() - 1));
        for (int r = from; r < grid_.rowCount(); ++r) {
            formatRow(r);
        }
        renumber();
    }
    for (int i = 0; i < rows; ++i) {
        for (const auto& [analysisColumn, entryColumn] : kWrittenColumns) {
            grid_.setText(i + 1, entryColumn, a.text(span.first + i, analysisColumn));
        }
    }
    modifying_ = k;
}

bool EntryForm::confirm(const std::function<void()>& showAnalysisPage) {
    if (isBlank(location)) {
        prompter_.message("部位名称不能为空！", "", MessageFlags::kInformation);
        return false;
    }
    if (showAnalysisPage) {
        showAnalysisPage();
    }
    std::vector<int> taken;
    std::vector<int> incomplete;
    for (int r = 1; r < grid_.rowCount(); ++r) {
        const auto filled = [&](int column) { return !isBlank(grid_.text(r, column)); };
        if (filled(kCode) && filled(kWorkQuantity) && filled(kMaterialName) &&
            filled(kMaterialQuantity) && filled(kUnit)) {
            taken.push_back(r);
        } else if (std::ranges::any_of(std::array{kCode, kItemSize, kWorkQuantity, kMaterialName,
                                                  kMaterialQuantity, kUnit, kNote},
                                       filled)) {
            incomplete.push_back(r);
        }
    }
    if (taken.empty()) {
        prompter_.setStatus("没有完整的数据行，未录入任何数据。");
        return false;  // the table stays as it is
    }
    if (!incomplete.empty()) {
        // Typed work never vanishes without a word.
        std::string rows;
        for (const int r : incomplete) {
            rows += (rows.empty() ? "" : ", ") + std::to_string(r);
        }
        if (prompter_.message("第 " + rows + " 行数据不完整，不会被录入。是否继续录入其余数据？",
                              Captions::kQuestion, MessageFlags::kYesNoDefaultNo) != Answer::Yes) {
            return false;
        }
    }
    // Rows of one work item stand together, in code order; a code's rows keep their order.
    std::stable_sort(taken.begin(), taken.end(),
                     [&](int x, int y) { return grid_.text(x, kCode) < grid_.text(y, kCode); });
    const int count = static_cast<int>(taken.size());

    Grid& a = document_.analysis;
    LocationIndex& index = document_.locations;
    int k = 0;
    int first = 0;
    if (modifying_) {
        k = *modifying_;
        LocationSpan& span = index[static_cast<std::size_t>(k)];
        first = span.first;
        const int old = span.last - span.first + 1;
        if (count > old) {
            a.insertRows(span.last + 1, count - old);
            document_.attachments.insert(span.last + 1, count - old);
        } else if (count < old) {
            a.deleteRows(first + count, old - count);
            document_.attachments.remove(first + count, old - count);
        }
        span.last = first + count - 1;
        shiftLocationSpans(index, a, k, count - old, false);
    } else if (insertingBefore_ && static_cast<std::size_t>(*insertingBefore_) < index.size()) {
        // The new block takes the place of location k, which moves down with all below it.
        k = *insertingBefore_;
        first = index[static_cast<std::size_t>(k)].first;
        a.insertRows(first, count);
        document_.attachments.insert(first, count);
        index.insert(index.begin() + k, {first, first + count - 1});
        for (std::size_t i = static_cast<std::size_t>(k) + 1; i < index.size(); ++i) {
            index[i].first += count;
            index[i].last += count;
            for (int r = index[i].first; r <= index[i].last; ++r) {
                a.setText(r, A::kNumber, std::to_string(i + 1));
            }
        }
        paintAnalysisBands(a, first, a.rowCount() - 1);
    } else {
        first = index.empty() ? kAnalysisHeadingRows : index.back().last + 1;
        if (a.rowCount() < first + count) {
            a.setRowCount(first + count);
            document_.attachments.align(a.rowCount());
        }
        index.push_back({first, first + count - 1});
        k = static_cast<int>(index.size()) - 1;
    }
    const LocationSpan span = index[static_cast<std::size_t>(k)];
    for (int i = 0; i < count; ++i) {
        const int r = span.first + i;
        const int source = taken[static_cast<std::size_t>(i)];
        a.setText(r, A::kLocation, location);
        a.setText(r, A::kDrawing, drawing);
        a.setText(r, A::kStructureSize, structureSize);
        for (const auto& [analysisColumn, entryColumn] : kWrittenColumns) {
            a.setText(r, analysisColumn, grid_.text(source, entryColumn));
        }
        for (const int c : {A::kWorkQuantity, A::kMaterialQuantity}) {
            a.setText(r, c, formatNumber(parseNumber(a.text(r, c))));
        }
    }
    for (int r = span.first; r <= span.last; ++r) {
        a.setText(r, A::kNumber, std::to_string(k + 1));
    }
    document_.attachments.align(a.rowCount());
    document_.attachments.set(span.first, attachments);
    const int n = static_cast<int>(index.size());
    for (int r = index.back().last + 1, next = n + 1; r < a.rowCount(); ++r, ++next) {
        a.setText(r, A::kNumber, std::to_string(next));
    }
    formatLocationBlock(a, index, k);
    mergeLocationBlock(a, span.first, span.last);
    document_.modified = true;
    prompter_.processEvents();
    // A run of insertions goes in in order, each before the same location as the first.
    const std::optional<int> nextInsert =
        insertingBefore_ ? std::optional<int>(k + 1) : std::nullopt;
    clear();
    insertingBefore_ = nextInsert;
    return true;
}

}  // namespace tf

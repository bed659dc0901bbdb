#include "core/materials/price_list.h"

#include <algorithm>
#include <span>

#include "core/base/file_bytes.h"
#include "core/base/file_names.h"
#include "core/base/number_text.h"
#include "core/base/text_lines.h"
#include "core/base/text_util.h"
#include "core/base/utf8.h"

namespace tf {
namespace {

// A material list of this size holds far more than the catalogue can number.
constexpr std::size_t kLargestFile = 16u << 20;
constexpr std::size_t kFields = 6;
constexpr std::size_t kPrice = 4;

// A price cell's text in a reason, cut where it would make the message a wall.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShownCharacters = 12;
    std::size_t end = 0;
    for (std::size_t shown = 0; end < text.size() && shown < kShownCharacters; ++shown) {
        utf8::next(text, end);
    }
    return "“" + std::string(text.substr(0, end)) + (end < text.size() ? "…" : "") + "”";
}

// Why a material's fields cannot be imported; empty when they can.
std::string refusal(std::span<const std::string_view> fields) {
    if (isBlank(fields[0])) {
        return "类别为空";
    }
    if (isBlank(fields[1])) {
        return "材料名称为空";
    }
    const std::string_view price = trimSpaces(fields[kPrice]);
    if (price.empty()) {
        return {};
    }
    if (!isPlainNumber(price)) {
        return "单价不是数字（" + quoted(price) + "）";
    }
    const auto value = readNumber(price);
    if (!value) {
        return "单价超出数值范围（" + quoted(price) + "）";
    }
    if (*value < 0) {
        return "单价为负数（" + quoted(price) + "）";
    }
    return {};
}

void take(PriceList& list, int line, std::span<const std::string_view> fields) {
    const std::string why = refusal(fields);
    if (!why.empty()) {
        list.skipped.push_back({line, why});
        return;
    }
    PriceLine taken{line, {}};
    std::copy(fields.begin(), fields.end(), taken.fields.begin());
    list.materials.push_back(std::move(taken));
}

bool isWorkbookFile(const std::string& path, std::string_view bytes) {
    return looksLikeWorkbook(bytes) || hasExtension(path, ".xlsx");
}

std::string workbookFailure(WorkbookFault fault) {
    switch (fault) {
        case WorkbookFault::NotAWorkbook:
            return "文件不是Excel工作簿（.xlsx）。";
        case WorkbookFault::TooLarge:
            return "工作簿解开后过大（超过 " + std::to_string(kLargestUnpackedWorkbook >> 20) +
                   " MB），不能读取。";
        case WorkbookFault::Unsupported:
            return "此版本不能读取Excel工作簿，请另存为文本文件（制表符分隔）后导入。";
        case WorkbookFault::Damaged:
            break;
    }
    return "工作簿已损坏或不完整，不能读取。";
}

}  // namespace

PriceList parsePriceList(std::string_view bytes) {
    PriceList list;
    forEachTextLine(
        bytes,
        [&](int number, std::string_view line) {
            if (isBlank(line)) {
                list.skipped.push_back({number, std::string(kBlankLine)});
                return;
            }
            const auto fields = tabFields(line, kFields + 1);
            if (fields.size() + 1 < kFields) {
                list.skipped.push_back({number, "只有 " + std::to_string(fields.size()) +
                                                    " 项，应为用制表符分开的5或6项"});
                return;
            }
            if (fields.size() > kFields) {
                list.skipped.push_back({number, "多于6项，应为用制表符分开的5或6项"});
                return;
            }
            std::array<std::string_view, kFields> six{};
            std::copy(fields.begin(), fields.end(), six.begin());
            take(list, number, six);
        },
        [&](int number) {
            list.skipped.push_back(
                {number, "行过长（超过 " + std::to_string(kLongestTextLine >> 10) + " KB）"});
        });
    return list;
}

PriceList parsePriceSheet(const std::vector<SheetRow>& rows) {
    PriceList list;
    const auto heading = [&](std::size_t column) -> std::string_view {
        return rows.empty() || column >= rows[0].cells.size() ? std::string_view()
                                                              : rows[0].cells[column];
    };
    const bool numbered = heading(0) == "序号" && heading(1) == "类别";
    const bool headings = numbered || heading(0) == "类别";
    const std::size_t first = numbered ? 1 : 0;
    for (std::size_t i = headings ? 1 : 0; i < rows.size(); ++i) {
        const SheetRow& row = rows[i];
        if (row.cells.size() < first + kFields) {
            continue;
        }
        const bool uncomputed =
            std::any_of(row.uncomputed.begin(), row.uncomputed.end(), [&](int c) {
                return c >= static_cast<int>(first) && c < static_cast<int>(first + kFields);
            });
        if (uncomputed) {
            list.skipped.push_back(
                {row.number, "有公式没有保存计算结果（请在Excel中重新计算并保存）"});
            continue;
        }
        std::array<std::string_view, kFields> six{};
        std::copy_n(row.cells.begin() + static_cast<std::ptrdiff_t>(first), kFields, six.begin());
        // A row with nothing but its 序号 (材料表's empty rows) is an empty row of the sheet.
        if (std::all_of(six.begin(), six.end(), [](std::string_view c) { return isBlank(c); })) {
            continue;
        }
        take(list, row.number, six);
    }
    return list;
}

PriceList readPriceList(const std::string& path) {
    FileReadFault fault = FileReadFault::Unreadable;
    const auto bytes = readFileBytes(path, kLargestFile, &fault);
    if (!bytes) {
        PriceList failed;
        failed.failure = fault == FileReadFault::TooLarge
                             ? "文件过大（超过 " + std::to_string(kLargestFile >> 20) + " MB）。"
                             : std::string("文件不存在或不能读取。");
        return failed;
    }
    if (!isWorkbookFile(path, *bytes)) {
        return parsePriceList(*bytes);
    }
    // One column more: 材料表 as the program exports it starts with 序号.
    WorkbookFault why = WorkbookFault::Damaged;
    const auto rows =
        readFirstSheet(*bytes, static_cast<int>(kFields) + 1, kLargestUnpackedWorkbook, &why);
    if (!rows) {
        PriceList failed;
        failed.failure = workbookFailure(why);
        return failed;
    }
    return parsePriceSheet(*rows);
}

}  // namespace tf

#include "core/print/page_setup.h"

#include <array>
#include <cmath>

#include "core/base/number_text.h"

namespace tf {
namespace {

constexpr std::string_view kSection = "页面设置";
constexpr double kSmallestPaper = 50;
constexpr double kLargestPaper = 2000;

std::string_view orientationWord(PageSetup::Orientation o) {
    switch (o) {
        case PageSetup::Orientation::Portrait:
            return "portrait";
        case PageSetup::Orientation::Landscape:
            return "landscape";
        case PageSetup::Orientation::Automatic:
            break;
    }
    return "auto";
}

std::optional<PageSetup::Orientation> orientationOf(std::string_view word) {
    for (const auto o : {PageSetup::Orientation::Automatic, PageSetup::Orientation::Portrait,
                         PageSetup::Orientation::Landscape}) {
        if (word == orientationWord(o)) {
            return o;
        }
    }
    return std::nullopt;
}

bool printable(const PageSetup& s) {
    const auto paper = [](double mm) { return mm >= kSmallestPaper && mm <= kLargestPaper; };
    const auto margin = [](double mm) { return mm >= 0 && mm <= kLargestPaper; };
    return paper(s.paperWidth) && paper(s.paperHeight) && margin(s.left) && margin(s.top) &&
           margin(s.right) && margin(s.bottom) &&
           s.left + s.right <= std::min(s.paperWidth, s.paperHeight) / 2 &&
           s.top + s.bottom <= std::min(s.paperWidth, s.paperHeight) / 2;
}

}  // namespace

std::string pageSetupText(const PageSetup& s) {
    std::string text(orientationWord(s.orientation));
    for (const double mm : {s.paperWidth, s.paperHeight, s.left, s.top, s.right, s.bottom}) {
        text += ' ' + formatNumber(std::round(mm * 100) / 100);
    }
    return text;
}

std::optional<PageSetup> parsePageSetup(std::string_view text) {
    std::array<std::string_view, 7> words{};
    std::size_t count = 0;
    while (!text.empty()) {
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            break;
        }
        text.remove_prefix(start);
        const std::size_t end = std::min(text.find(' '), text.size());
        if (count == words.size()) {
            return std::nullopt;
        }
        words[count++] = text.substr(0, end);
        text.remove_prefix(end);
    }
    if (count != words.size()) {
        return std::nullopt;
    }
    const auto orientation = orientationOf(words[0]);
    if (!orientation) {
        return std::nullopt;
    }
    PageSetup s;
    s.orientation = *orientation;
    std::array<double*, 6> values = {&s.paperWidth, &s.paperHeight, &s.left,
                                     &s.top,        &s.right,       &s.bottom};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto number = isPlainNumber(words[i + 1]) ? readNumber(words[i + 1]) : std::nullopt;
        if (!number || !std::isfinite(*number)) {
            return std::nullopt;
        }
        *values[i] = *number;
    }
    return printable(s) ? std::optional<PageSetup>(s) : std::nullopt;
}

std::string_view pageSetupKey(const PrintSheet& sheet) {
    switch (sheet.source) {
        case PrintSource::Analysis:
            return "分析表";
        case PrintSource::Materials:
            return "材料表";
        case PrintSource::Statistics:
            return sheet.itemSummary ? "分统计表" : "统计表";
        case PrintSource::Other:
            break;
    }
    return "打印表";
}

PageSetup keptPageSetup(const AppSettings& settings, std::string_view key) {
    return parsePageSetup(settings.text(kSection, key)).value_or(PageSetup{});
}

void keepPageSetup(AppSettings& settings, std::string_view key, const PageSetup& setup) {
    settings.setText(kSection, key, pageSetupText(setup));
}

}  // namespace tf

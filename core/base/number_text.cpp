#include "core/base/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace tf {
namespace {

constexpr int kSignificantDigits = 12;
// A large number keeps this many decimals beyond twelve significant digits, up to what a
// double holds: 123456789012.345 is not written as 123456789012.
constexpr int kKeptDecimals = 4;
constexpr int kMostSignificantDigits = 15;

int significantDigitsFor(double value) {
    const double magnitude = std::fabs(value);
    if (magnitude < 1e8) {
        return kSignificantDigits;
    }
    const int integerDigits = static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    return std::clamp(integerDigits + kKeptDecimals, kSignificantDigits, kMostSignificantDigits);
}

struct NumberSpan {
    bool negative = false;
    std::string_view digits;  // integer and fraction digits with the point, no sign
    std::size_t end = 0;      // where the number ends in the text
};

std::optional<NumberSpan> leadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    NumberSpan span;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        span.negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t start = pos;
    std::size_t digitCount = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        ++pos;
        ++digitCount;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            ++pos;
            ++digitCount;
        }
    }
    if (digitCount == 0) {
        return std::nullopt;
    }
    span.digits = text.substr(start, pos - start);
    span.end = pos;
    return span;
}

}  // namespace

std::string formatNumber(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return "0";
    }
    char buf[64];
    const int significant = significantDigitsFor(value);
    // So many significant digits without trailing zeros is what the general format writes,
    // as long as it needs no exponent: every number but the very large and the very small.
    const auto general =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, significant);
    const std::string_view plain(buf, static_cast<std::size_t>(general.ptr - buf));
    if (plain.find('e') == std::string_view::npos) {
        return std::string(plain);
    }
    // d.ddd…e+XX: the significant digits and the decimal exponent.
    const auto result = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                      std::chars_format::scientific, significant - 1);
    const std::string_view sci(buf, static_cast<std::size_t>(result.ptr - buf));
    const std::size_t e = sci.find('e');
    std::string digits;
    digits.push_back(sci[0]);
    digits.append(sci.substr(2, e - 2));
    int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits == "0") {
        return "0";
    }

    std::string out;
    if (value < 0) {
        out.push_back('-');
    }
    if (exponent < 0) {
        out.append("0.");
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits);
        return out;
    }
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out.append(digits);
        out.append(integerDigits - digits.size(), '0');
    } else {
        out.append(digits, 0, integerDigits);
        out.push_back('.');
        out.append(digits, integerDigits);
    }
    return out;
}

std::string formatFixed(double value, int decimals) {
    decimals = std::max(0, std::min(decimals, 30));
    // Rounded half away from zero on the number as the program writes it (formatNumber's
    // digits), as a surveyor rounds: 2.5 → 3 and 4.05 → 4.1, though 4.05 is 4.04999… in
    // binary.
    const std::string text = formatNumber(value);
    const bool negative = text.front() == '-';
    const std::string_view body = std::string_view(text).substr(negative ? 1 : 0);
    const std::size_t dot = body.find('.');
    std::string digits(body.substr(0, dot));
    std::string fraction(dot == std::string_view::npos ? "" : body.substr(dot + 1));
    const auto kept = static_cast<std::size_t>(decimals);
    const bool up = fraction.size() > kept && fraction[kept] >= '5';
    fraction.resize(kept, '0');
    digits += fraction;
    if (up) {
        auto i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }
    std::string out = digits.substr(0, digits.size() - kept);
    if (kept > 0) {
        out += '.' + digits.substr(digits.size() - kept);
    }
    if (negative && out.find_first_not_of("0.") != std::string::npos) {
        out.insert(out.begin(), '-');  // no "-0.000"
    }
    return out;
}

std::optional<double> readNumber(std::string_view text) {
    const auto span = leadingNumber(text);
    if (!span) {
        return 0.0;
    }
    double value = 0.0;
    const char* first = span->digits.data();
    const char* last = first + span->digits.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        // Too small for a double is as good as 0; too large is no number at all.
        const std::string_view integer = span->digits.substr(0, span->digits.find('.'));
        if (integer.find_first_not_of('0') != std::string_view::npos) {
            return std::nullopt;
        }
        return 0.0;
    }
    return span->negative ? -value : value;
}

double parseNumber(std::string_view text) {
    return readNumber(text).value_or(0.0);
}

bool isPlainNumber(std::string_view text) {
    const auto span = leadingNumber(text);
    return span && text.find_first_not_of(" \t", span->end) == std::string_view::npos;
}

bool isNumberDraft(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace tf

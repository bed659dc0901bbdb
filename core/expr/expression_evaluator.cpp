#include "core/expr/expression_evaluator.h"

#include <cmath>
#include <utility>
#include <vector>

#include "core/base/number_text.h"
#include "core/base/utf8.h"

namespace tf {
namespace {

constexpr double kPi = 3.14159265359;  // the program's own value, not the full-precision one

// sin and cos by quadrant, the angle reduced by π/2 in two parts first: a library that
// reduces with a 66-bit π (the x87's fsin, as MinGW's does) loses digits near multiples of
// π, where sin(360) and sin(180) land; reduced here, every system gives the same digits.
struct SineCosine {
    double sin;
    double cos;
};
SineCosine sineCosine(double x) {
    constexpr double kHalfPiHigh = 1.5707963267948966;    // the double nearest π/2
    constexpr double kHalfPiLow = 6.123233995736766e-17;  // π/2 minus that double
    int quotient = 0;
    const double high = std::remquo(x, kHalfPiHigh, &quotient);  // exact
    const double n = std::nearbyint((x - high) / kHalfPiHigh);
    const double r = high - n * kHalfPiLow;
    const double s = std::sin(r);
    const double c = std::cos(r);
    switch (((quotient % 4) + 4) % 4) {
        case 0:
            return {s, c};
        case 1:
            return {c, -s};
        case 2:
            return {-s, -c};
        default:
            return {-c, s};
    }
}
constexpr double kZeroDivisor = 0.0000001;
constexpr double kSingular = 1e-10;
// Function calls nest at most this deep; deeper nesting is refused with a message.
constexpr int kMaxNesting = 32;
constexpr std::string_view kOperators = "+-*/";

// Message texts are the program's own; captions and icons as the calculator always had.
void tellUnmatchedOpen(Prompter& p) {
    p.message("括号不匹配，缺少“)”！", "错误", MessageFlags::kWarning);
}
void tellUnmatchedClose(Prompter& p) {
    p.message("括号不匹配，缺少“(”！", "错误", MessageFlags::kWarning);
}
void tellTangent(Prompter& p) {
    p.message("正切函数中值为90度，计算失败！", "警告", MessageFlags::kWarning);
}
void tellCotangent(Prompter& p) {
    p.message("余切函数中值为0度，计算失败！", "警告", MessageFlags::kWarning);
}
void tellNesting(Prompter& p) {
    p.message("计算式中函数嵌套过深，计算失败！", "错误", MessageFlags::kWarning);
}
void tellDivision(Prompter& p) {
    p.message("计算式中有被除数为0的情况，计算不能继续，请检查数据！", "错误！",
              MessageFlags::kError);
}

// Set when an operand or a sub-result is too large for a number: the evaluation then gives
// nothing, told once, instead of going on with the 0 it would read as.
thread_local bool outOfRange = false;

// An operand as a number; each bound minus in front negates it (2*-(1-3) leaves two).
double readValue(std::string_view text) {
    bool negative = false;
    while (!text.empty() && text.front() == kBoundMinus) {
        negative = !negative;
        text.remove_prefix(1);
    }
    const auto value = readNumber(text);
    outOfRange = outOfRange || !value;
    return negative ? -value.value_or(0) : value.value_or(0);
}

// A sub-result as text; a negative value carries the bound minus so that the next scan
// does not take its sign for an operator.
std::string writeValue(double value) {
    outOfRange = outOfRange || !std::isfinite(value);
    std::string text = formatNumber(value);
    if (!text.empty() && text.front() == '-') {
        text.front() = kBoundMinus;
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Writes a sub-result where a call or group stood. Its bound minus stays bound after an
// operator, an opening parenthesis, another bound minus or at the start; after an operand
// character (x(1-3), mcos(120)) it is an ordinary minus, so the operator is not hidden.
void appendValue(std::string& text, std::string_view value) {
    constexpr std::string_view kBindsAfter = "+-*/^(";
    if (!value.empty() && value.front() == kBoundMinus && !text.empty() &&
        text.back() != kBoundMinus && kBindsAfter.find(text.back()) == std::string_view::npos) {
        text.push_back('-');
        value.remove_prefix(1);
    }
    text.append(value);
}

// Lower case, full-width forms to half-width, no spaces; the bound-minus marker cannot be
// typed, so any that arrives is made an ordinary character.
std::string normalise(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t cp = utf8::next(text, pos);
        if (cp >= 0xFF01 && cp <= 0xFF5E) {
            cp = cp - 0xFF01 + 0x21;
        } else if (cp == 0x3000) {
            cp = ' ';
        }
        if (cp == utf8::kMalformed) {
            out.append(text.substr(start, pos - start));
            continue;
        }
        if (cp >= 'A' && cp <= 'Z') {
            cp += 'a' - 'A';
        }
        if (cp == ' ') {
            continue;
        }
        utf8::append(out, cp == static_cast<char32_t>(kBoundMinus) ? U'?' : cp);
    }
    return out;
}

// A sign right after "*", "/" or "^" belongs to the operand that follows it.
std::string bindSigns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool afterOperator =
            i > 0 && (text[i - 1] == '*' || text[i - 1] == '/' || text[i - 1] == '^');
        if (afterOperator && c == '-') {
            out.push_back(kBoundMinus);
        } else if (!(afterOperator && c == '+')) {
            out.push_back(c);
        }
    }
    return out;
}

// 2(3+4) -> 2*(3+4), (1+2)(3+4) -> (1+2)*(3+4), 3sin(30) -> 3*sin(30).
std::string insertImplicitProducts(std::string_view text) {
    constexpr std::string_view kNoProductBefore = ").+-*/^";
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        out.push_back(c);
        if (i + 1 >= text.size()) {
            break;
        }
        const char n = text[i + 1];
        const bool productFollows = kNoProductBefore.find(n) == std::string_view::npos;
        if ((isDigit(c) && !isDigit(n) && productFollows) || (c == ')' && productFollows)) {
            out.push_back('*');
        }
    }
    return out;
}

std::string evaluateNormalised(std::string_view text, Prompter& prompter, int depth);

// Replaces every call of `name` by its value, leftmost first; false after a failure.
bool evaluateCalls(std::string& text, std::string_view name, Prompter& prompter, int depth) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name)) {
        const std::size_t argument = at + name.size();
        std::size_t close = argument;
        int open = 0;
        for (; close < text.size(); ++close) {
            if (text[close] == '(') {
                ++open;
            } else if (text[close] == ')' && --open < 0) {
                break;
            }
        }
        // The argument is normalised already: normalising again would spoil its bound signs.
        const std::string r = evaluateNormalised(
            std::string_view(text).substr(argument, close - argument), prompter, depth + 1);
        if (r.empty()) {
            return false;
        }
        const SineCosine x = sineCosine(readValue(r) * kPi / 180);
        std::string value;
        if (name == "tan(") {
            if (r == "90" || std::fabs(x.cos) < kSingular) {
                tellTangent(prompter);
                return false;
            }
            value = writeValue(x.sin / x.cos);
        } else if (name == "ctg(") {
            if (r == "0" || std::fabs(x.sin) < kSingular) {
                tellCotangent(prompter);
                return false;
            }
            value = writeValue(1 / readValue(writeValue(x.sin / x.cos)));
        } else {
            value = writeValue(name == "sin(" ? x.sin : x.cos);
        }
        const std::size_t tail = close < text.size() ? close + 1 : close;
        std::string replaced = text.substr(0, at);
        appendValue(replaced, value);
        replaced.append(std::string_view(text).substr(tail));
        text = std::move(replaced);
    }
    return true;
}

std::string evaluateNormalised(std::string_view input, Prompter& prompter, int depth) {
    if (depth > kMaxNesting) {
        tellNesting(prompter);
        return {};
    }
    std::string text(input);
    std::size_t opens = 0;
    std::size_t closes = 0;
    for (const char c : text) {
        opens += c == '(';
        closes += c == ')';
    }
    if (opens > closes) {
        tellUnmatchedOpen(prompter);
        return {};
    }
    if (opens < closes) {
        tellUnmatchedClose(prompter);
        return {};
    }
    text = insertImplicitProducts(bindSigns(text));
    for (const std::string_view name : {"sin(", "cos(", "tan(", "ctg("}) {
        if (!evaluateCalls(text, name, prompter, depth)) {
            return {};
        }
    }
    return resolveGroups(text, prompter);
}

// Each run between "+", "-", "*" and "/" that holds "^" becomes its value, powers taken
// left to right.
std::string evaluatePowers(std::string_view text) {
    if (text.find('^') == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(kOperators, start), text.size());
        const std::string_view factor = text.substr(start, end - start);
        if (factor.find('^') == std::string_view::npos) {
            out.append(factor);
        } else {
            std::size_t caret = factor.find('^');
            double value = readValue(factor.substr(0, caret));
            while (caret != std::string_view::npos) {
                const std::size_t next = factor.find('^', caret + 1);
                value = std::pow(value, readValue(factor.substr(caret + 1, next - caret - 1)));
                caret = next;
            }
            out.append(writeValue(value));
        }
        if (end < text.size()) {
            out.push_back(text[end]);
        }
        start = end + 1;
    }
    return out;
}

}  // namespace

std::string evaluateFlat(std::string_view input, Prompter& prompter) {
    std::string signed_;
    if (!input.empty() && (input.front() == '-' || input.front() == '+')) {
        signed_ = "0" + std::string(input);
        input = signed_;
    }
    const std::string text = evaluatePowers(input);
    const std::string_view rest(text);

    // Products and quotients as they are met; the pending product stands in front of the
    // unread rest, exactly as if it had been written back into the text.
    std::vector<std::string> terms;
    std::vector<char> additive;
    std::string pending;
    bool havePending = false;
    std::size_t pos = 0;
    for (;;) {
        if (!havePending && pos < rest.size() && (rest[pos] == '-' || rest[pos] == '+')) {
            pending = "0";
            havePending = true;
        }
        const std::size_t op = rest.find_first_of(kOperators, pos);
        if (op == std::string_view::npos) {
            break;
        }
        std::string left = havePending ? pending : std::string();
        left.append(rest.substr(pos, op - pos));
        if (rest[op] == '+' || rest[op] == '-') {
            terms.push_back(std::move(left));
            additive.push_back(rest[op]);
            havePending = false;
            pos = op + 1;
            continue;
        }
        const std::size_t next = std::min(rest.find_first_of(kOperators, op + 1), rest.size());
        const double right = readValue(rest.substr(op + 1, next - op - 1));
        if (rest[op] == '/' && std::fabs(right) <= kZeroDivisor) {
            tellDivision(prompter);
            return {};
        }
        pending = writeValue(rest[op] == '*' ? readValue(left) * right : readValue(left) / right);
        havePending = true;
        pos = next;
    }
    std::string last = havePending ? pending : std::string();
    last.append(rest.substr(std::min(pos, rest.size())));
    terms.push_back(std::move(last));

    std::string result = terms.front();
    for (std::size_t i = 0; i < additive.size(); ++i) {
        const double term = readValue(terms[i + 1]);
        result =
            writeValue(additive[i] == '+' ? readValue(result) + term : readValue(result) - term);
    }
    return result;
}

std::string resolveGroups(std::string_view text, Prompter& prompter) {
    // One pass with a stack of open groups: the first ")" always closes the last "(" before
    // it, so this replaces groups in the same order as rescanning the text would.
    std::string out;
    out.reserve(text.size());
    std::vector<std::size_t> open;
    for (const char c : text) {
        if (c == '(') {
            open.push_back(out.size());
            out.push_back(c);
        } else if (c == ')') {
            if (open.empty()) {
                return {};  // a ")" before every "(": its group is empty
            }
            const std::size_t at = open.back();
            open.pop_back();
            const std::string value = evaluateFlat(std::string_view(out).substr(at + 1), prompter);
            if (value.empty()) {
                return {};
            }
            out.resize(at);
            appendValue(out, value);
        } else {
            out.push_back(c);
        }
    }
    if (!open.empty()) {
        return {};
    }
    return evaluateFlat(out, prompter);
}

std::string evaluate(std::string_view text, Prompter& prompter) {
    outOfRange = false;
    std::string result = evaluateNormalised(normalise(text), prompter, 0);
    for (char& c : result) {
        if (c == kBoundMinus) {
            c = '-';
        }
    }
    // A number too large for a double, given or reached on the way, reads as 0 everywhere
    // else: it is refused here, whatever text it left behind.
    if ((std::exchange(outOfRange, false) || !readNumber(result)) && !result.empty()) {
        prompter.message("数值超出范围，计算不能继续，请检查数据！", "错误",
                         MessageFlags::kWarning);
        return {};
    }
    return result;
}

namespace {

std::string lastLine(std::string_view text) {
    const std::size_t lineBreak = text.rfind("\r\n");
    std::string line(lineBreak == std::string_view::npos ? text : text.substr(lineBreak + 2));
    std::erase(line, ' ');
    return line;
}

// Passes the evaluator's messages on and notes that one was shown.
class TellingPrompter : public HeadlessPrompter {
  public:
    explicit TellingPrompter(Prompter& shown) : shown_(shown) {}
    Answer message(std::string_view text, std::string_view caption, int flags) override {
        told = true;
        return shown_.message(text, caption, flags);
    }
    bool told = false;

  private:
    Prompter& shown_;
};

}  // namespace

std::string evaluateLastLine(std::string_view text, Prompter& prompter) {
    const std::string line = lastLine(text);
    if (line.empty() || line.find('=') != std::string::npos) {
        return {};
    }
    return evaluate(line, prompter);
}

std::optional<std::string> unreadablePart(std::string_view expression) {
    constexpr std::string_view kSyntax = "0123456789.^*/+-()";
    constexpr std::string_view kFunctions[] = {"sin(", "cos(", "tan(", "ctg("};
    const std::string text = normalise(expression);
    std::size_t from = std::string::npos;
    for (std::size_t i = 0; i < text.size();) {
        const std::string_view rest = std::string_view(text).substr(i);
        std::size_t readable = kSyntax.find(text[i]) != std::string_view::npos ? 1 : 0;
        for (const std::string_view name : kFunctions) {
            readable = rest.starts_with(name) ? name.size() : readable;
        }
        if (readable > 0 && from != std::string::npos) {
            return text.substr(from, i - from);
        }
        if (readable == 0 && from == std::string::npos) {
            from = i;
        }
        i += readable > 0 ? readable : 1;
    }
    if (from != std::string::npos) {
        return text.substr(from);
    }
    return std::nullopt;
}

std::string calculateLastLine(std::string_view text, Prompter& prompter) {
    const std::string line = lastLine(text);
    if (line.empty()) {
        return {};
    }
    if (const auto part = unreadablePart(line)) {
        prompter.message("计算式中有无法识别的“" + *part + "”，计算不能继续，请检查数据！", "错误",
                         MessageFlags::kWarning);
        return {};
    }
    TellingPrompter telling(prompter);
    std::string result = evaluate(line, telling);
    if (isPlainNumber(result)) {
        return result;
    }
    if (!telling.told) {  // "()", "sin()": the evaluator gives up without a word
        prompter.message("计算式无法得出结果，请检查数据！", "错误", MessageFlags::kWarning);
    }
    return {};
}

}  // namespace tf

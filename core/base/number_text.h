#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tf {

// Writes a number as cells and files hold it: plain decimal, "-" for negatives, no decimal
// point for whole values, never an exponent, rounded to 12 significant digits (so 0.1+0.2
// writes "0.3"); from 100,000,000 on, as many more as keep four decimals, up to 15 (so
// 123456789012.345 keeps its decimals). Infinity and NaN write "0".
std::string formatNumber(double value);

// Writes a number with exactly `decimals` digits after the point (a column's display form).
std::string formatFixed(double value, int decimals);

// Reads a leading decimal number: optional spaces, optional sign, digits, optional fraction;
// the rest is ignored. Empty or non-numeric text reads as 0, and so does a number too large
// or too small for a double. Exponents, hex, inf and nan are not numbers here. Independent
// of the process locale.
double parseNumber(std::string_view text);

// The same, but nothing for a number too large for a double (1 and 309 zeros): where the user
// gave the number, it is refused rather than taken as 0. A number too small reads as 0.
std::optional<double> readNumber(std::string_view text);

// "数值超出范围" and how to go on, as every reader that refuses such a number says it.
inline constexpr std::string_view kNumberOutOfRange = "数值超出范围，请检查数据！";

// True when the whole text (spaces around it aside) is one number parseNumber reads.
bool isPlainNumber(std::string_view text);

// True while a text typed into a number cell can still become a plain number: empty, a
// sign, digits with at most one point ("", "-", ".", "3.", "-0.5"). Letters, a second point
// or a sign after the first character can never be one.
bool isNumberDraft(std::string_view text);

}  // namespace tf

#pragma once

#include <string>
#include <string_view>

namespace tf {

// Small text helpers shared by the table rules. Case rules touch ASCII letters only: every
// other character (Chinese, full-width) compares as it is.

// Empty, or spaces only.
bool isBlank(std::string_view text);
// Digits only, at least one.
bool isWholeNumber(std::string_view text);
// Without spaces at either end.
std::string_view trimSpaces(std::string_view text);
// Without any space.
std::string withoutSpaces(std::string_view text);
std::string asciiUpper(std::string_view text);
std::string asciiLower(std::string_view text);
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);
// Every occurrence of `from` replaced by `to`.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace tf

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/prompter.h"

namespace tf {

// Dimension and calculator expressions, evaluated by rewriting text: every sub-result is
// written back into the expression as a number text and the text is scanned again, in a
// fixed order (functions, then parenthesised groups innermost first, then powers, products
// and quotients, then sums). Failures show at most one message and give the empty text.
//
// Signs bind: a sign directly after "*", "/" or "^", and a negative value written back into
// the text, belong to the operand they stand in front of (2*-3 = -6, 5-(3-4) = 6,
// (-2)^2 = 4), while a leading sign of the whole text or of a group still reads as
// 0 minus (-2^2 = -4). A negative value written back right after an operand character is
// an ordinary minus (x(1-3) = x-2 = -2). Chained powers go left to right (2^3^2 = 64).
// Function calls nest at most 32 deep.

// Evaluates the last line (after the last CR LF) with its spaces removed; an empty line or
// one holding "=" gives the empty text without a message.
std::string evaluateLastLine(std::string_view text, Prompter& prompter);

// The first part of an expression that is no part of the syntax, normalised: a character other
// than the digits, "." and "^*/+-()", or a word that is not one of the four functions with
// its "(" ("米", "sqrt", "="). Nothing when the whole expression reads.
std::optional<std::string> unreadablePart(std::string_view expression);

// What the calculator and the command line compute: as evaluateLastLine, but a line that
// cannot be read wholly ("3.6米", "sqrt(2)^2", "3*4=12") or that gives no number is told with a
// message and gives the empty text, never a number the line does not mean. An empty line
// gives the empty text without a message.
std::string calculateLastLine(std::string_view text, Prompter& prompter);

// The value of an expression as text, or the empty text on failure. Without any operator
// the normalised text itself is the result ("3.50" stays "3.50").
std::string evaluate(std::string_view text, Prompter& prompter);

// The steps of evaluate, on normalised text (lower case, half-width, no spaces), in which a
// bound negative sign is written as kBoundMinus.
inline constexpr char kBoundMinus = '\x01';
std::string resolveGroups(std::string_view text, Prompter& prompter);
std::string evaluateFlat(std::string_view text, Prompter& prompter);

}  // namespace tf

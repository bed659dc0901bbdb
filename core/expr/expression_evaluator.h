#pragma once

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

// The value of an expression as text, or the empty text on failure. Without any operator
// the normalised text itself is the result ("3.50" stays "3.50").
std::string evaluate(std::string_view text, Prompter& prompter);

// The steps of evaluate, on normalised text (lower case, half-width, no spaces), in which a
// bound negative sign is written as kBoundMinus.
inline constexpr char kBoundMinus = '\x01';
std::string resolveGroups(std::string_view text, Prompter& prompter);
std::string evaluateFlat(std::string_view text, Prompter& prompter);

}  // namespace tf

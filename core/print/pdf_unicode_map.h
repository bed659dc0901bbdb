#pragma once

#include <map>
#include <string>

namespace tf {

// Code points by code point: what a PDF's text layer says for a glyph, and what was drawn.
using CodePointMap = std::map<char16_t, char16_t>;

// Rewrites the destinations of the ToUnicode maps in a PDF: every single code point in
// `corrected` becomes its corrected one. Several code points share a glyph in the CJK faces
// (水 and the radical ⽔); a writer that maps each glyph back to its lowest code point names
// the radical, so copied or searched text is wrong although the page looks right.
// Only the uncompressed maps the writer makes are touched, and every replacement keeps the
// length of its token, so no offset in the file moves. Returns how many were replaced.
int correctToUnicodeMaps(std::string& pdf, const CodePointMap& corrected);

}  // namespace tf

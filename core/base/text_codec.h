#pragma once

#include <string>
#include <string_view>

namespace tf {

// Texts live in memory as UTF-8; every byte that leaves or enters the program is GBK.
// Encoding uses GB18030, which writes GBK's own bytes for every GBK character and keeps
// characters outside GBK as four-byte sequences, so nothing typed is lost.

// UTF-8 -> GB18030. Malformed UTF-8 becomes '?'.
std::string toGbk(std::string_view utf8);

// The same into a raw buffer that has room for 2 * utf8.size() bytes; returns the end.
char* encodeGbk(std::string_view utf8, char* out);

// GBK/GB18030 -> UTF-8. Bytes that form no character become U+FFFD; never fails.
std::string fromGbk(std::string_view gbk);
// The same into a raw buffer that has room for 3 * gbk.size() bytes; returns the end.
char* decodeGbk(std::string_view gbk, char* out);

// Number of bytes the text takes once encoded (what fixed-size file fields count).
std::size_t gbkLength(std::string_view utf8);

// The encoded text, cut after the last whole character that fits in `limit` bytes.
std::string gbkPrefix(std::string_view utf8, std::size_t limit);

}  // namespace tf

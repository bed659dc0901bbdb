#pragma once

#include <string_view>

namespace tf {

// Rules for names that arrive from outside (attachments, update packages) and must only
// ever become a file directly inside one folder, on every desktop.

// Bytes no desktop allows in a file name: control characters and / \ : * ? " < > |.
bool forbiddenInFileName(unsigned char c);
// CON, PRN, AUX, NUL, COM1…COM9, LPT1…LPT9 in any case, with or without an extension or
// trailing spaces before it: names Windows keeps for devices.
bool reservedDeviceName(std::string_view name);

// Whether the name ends in the extension (".xlsx"), without regard to Latin case.
bool hasExtension(std::string_view name, std::string_view extension);

}  // namespace tf

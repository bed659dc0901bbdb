// "Brix.ini" as the settings read it: any bytes, and a write that must keep every line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tf::IniFile ini = tf::IniFile::parse(bytes);
    const auto before = ini.value("Save", "Type");
    ini.setValue("Save", "STime", "30");
    const tf::IniFile again = tf::IniFile::parse(ini.serialize());
    // The value written reads back, and a key it did not touch keeps its value.
    if (again.value("save", "stime") != "30" || again.value("Save", "Type") != before) {
        __builtin_trap();
    }
    return 0;
}

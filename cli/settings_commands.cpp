#include "cli/settings_commands.h"

#include <ostream>

#include "core/base/file_bytes.h"
#include "core/base/path_text.h"
#include "core/base/text_lines.h"
#include "core/shell/app_settings.h"

namespace tf::cli {

int settingsCommand(const std::filesystem::path& file, const std::vector<std::string>& words,
                    Streams io) {
    const bool get = words.size() == 3 && words[0] == "get";
    const bool set = words.size() == 4 && words[0] == "set";
    if (!words.empty() && !get && !set) {
        return 2;
    }
    AppSettings settings(file);
    io.out << utf8FromPath(file) << '\n';
    if (words.empty()) {
        const auto bytes = readFileBytes(utf8FromPath(file), 1 << 20);
        for (const auto& line : textLines(bytes ? *bytes : std::string())) {
            io.out << line << '\n';
        }
        return 0;
    }
    if (get) {
        io.out << settings.text(words[1], words[2]) << '\n';
        return 0;
    }
    settings.setText(words[1], words[2], words[3]);
    if (settings.text(words[1], words[2]) != words[3]) {
        io.err << "tallyframe-cli: " << utf8FromPath(file) << " could not be written\n";
        return 1;
    }
    return 0;
}

}  // namespace tf::cli

#include "core/shell/desktop_files.h"

#include <algorithm>

namespace tf {

std::string projectMimePackage() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           std::string(kProjectMimeType) +
           "\">\n"
           "    <comment>" +
           std::string(kProjectTypeDescription) +
           "</comment>\n"
           "    <glob pattern=\"*.gdb\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string projectDesktopEntry(std::string_view programPath, std::string_view iconPath) {
    std::string quoted;
    for (const char c : programPath) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tallyframe2009\n"
           "Comment=建筑装饰装修工程量分析\n"
           "Exec=\"" +
           quoted + "\" %f\nIcon=" + std::string(iconPath) +
           "\nMimeType=" + std::string(kProjectMimeType) +
           ";\n"
           "Terminal=false\n"
           "Categories=Office;\n";
}

std::vector<RegistryValue> projectRegistryValues(std::string_view programPath,
                                                 std::string_view iconPath) {
    // The program's file name without its extension, whichever separator the path uses.
    std::string_view type = programPath.substr(programPath.find_last_of("/\\") + 1);
    type = type.substr(0, std::min(type.size(), type.rfind('.')));
    return {
        {".gdb/Default", std::string(type)},
        {".gdb/Content Type", std::string(kProjectTypeDescription)},
        {std::string(type) + "/BrowserFlags", 8},
        {std::string(type) + "/EditFlags", 0},
        {std::string(type) + "/DefaultIcon/Default", std::string(iconPath)},
        {std::string(type) + "/shell/Default", "open"},
        {std::string(type) + "/shell/open/command/Default",
         "\"" + std::string(programPath) + "\" \"%1\""},
    };
}

bool projectFilesHaveAProgram(const std::function<std::string(const std::string& key)>& value) {
    const std::string type = value(".gdb/Default");
    if (type.empty()) {
        return false;
    }
    std::string verb = value(type + "/shell/Default");
    if (verb.empty()) {
        verb = "open";
    }
    return !value(type + "/shell/" + verb + "/command/Default").empty();
}

}  // namespace tf

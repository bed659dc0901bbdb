#include "core/shell/desktop_files.h"

namespace tf {

std::string projectMimePackage() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           std::string(kProjectMimeType) +
           "\">\n"
           "    <comment>Brix工程数据</comment>\n"
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

}  // namespace tf

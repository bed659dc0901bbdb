#pragma once

#include <QString>
#include <filesystem>
#include <string_view>

#include "core/base/path_text.h"

namespace tf::gui {

// Core texts are UTF-8; this is how every window turns them into Qt's.
inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// File names between Qt and the core's paths, whole on every system.
inline std::filesystem::path pathOf(const QString& name) {
    return pathFromUtf8(name.toStdString());
}
inline QString qsPath(const std::filesystem::path& path) {
    return qs(utf8FromPath(path));
}

}  // namespace tf::gui

#pragma once

#include <QString>
#include <string_view>

namespace tf::gui {

// Core texts are UTF-8; this is how every window turns them into Qt's.
inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tf::gui

#include "core/base/ini_file.h"

#include "core/base/text_codec.h"
#include "core/base/text_lines.h"
#include "core/base/text_util.h"

namespace tf {
namespace {

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The name of a "[Section]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    const std::string_view trimmed = trimBlanks(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimBlanks(trimmed.substr(1, close - 1));
}

bool isComment(std::string_view line) {
    const std::string_view trimmed = trimBlanks(line);
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> keyName(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || isComment(line)) {
        return std::nullopt;
    }
    return trimBlanks(line.substr(0, equals));
}

}  // namespace

IniFile IniFile::parse(std::string_view bytes) {
    IniFile file;
    file.lines_ = textLines(bytes);
    return file;
}

std::string IniFile::serialize() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return toGbk(text);
}

std::optional<std::size_t> IniFile::sectionLine(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = sectionName(lines_[i]);
        if (name && equalIgnoringAsciiCase(*name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::keyLine(std::size_t header, std::string_view key) const {
    for (std::size_t i = header + 1; i < lines_.size() && !sectionName(lines_[i]); ++i) {
        const auto name = keyName(lines_[i]);
        if (name && equalIgnoringAsciiCase(*name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto header = sectionLine(section);
    const auto line = header ? keyLine(*header, key) : std::nullopt;
    if (!line) {
        return std::nullopt;
    }
    const std::string_view text = lines_[*line];
    return std::string(trimBlanks(text.substr(text.find('=') + 1)));
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string keyText(key);
    auto header = sectionLine(section);
    if (!header) {
        if (!lines_.empty() && !trimBlanks(lines_.back()).empty()) {
            lines_.emplace_back();
        }
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(keyText + "=" + std::string(value));
        return;
    }
    if (const auto line = keyLine(*header, key)) {
        const std::string& old = lines_[*line];
        lines_[*line] =
            std::string(trimBlanks(old.substr(0, old.find('=')))) + "=" + std::string(value);
        return;
    }
    // After the section's last line that holds anything, before the blank lines that part it
    // from the next section.
    std::size_t at = *header + 1;
    for (std::size_t i = at; i < lines_.size() && !sectionName(lines_[i]); ++i) {
        if (!trimBlanks(lines_[i]).empty()) {
            at = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  keyText + "=" + std::string(value));
}

}  // namespace tf

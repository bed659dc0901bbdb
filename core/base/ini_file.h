#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// An ordinary sectioned initialisation file: "[Section]" lines with "key=value" lines below
// them. Sections and keys are found without regard to ASCII case; values are the text after
// the first "=", without spaces or tabs at either end. Everything else (comments, blank
// lines, keys the program does not know) stays as it stands when the file is written again.
class IniFile {
  public:
    // From the bytes on disk: GBK, or UTF-8 behind a byte-order mark.
    static IniFile parse(std::string_view bytes);
    // The bytes to put on disk: GBK, CR LF line ends.
    std::string serialize() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the key's value where it stands, or adds the key at the end of its section,
    // or the section at the end of the file.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::optional<std::size_t> sectionLine(std::string_view section) const;
    std::optional<std::size_t> keyLine(std::size_t header, std::string_view key) const;

    std::vector<std::string> lines_;
};

}  // namespace tf

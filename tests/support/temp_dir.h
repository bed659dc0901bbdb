#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/base/path_text.h"

namespace tf::test {

// A fresh folder removed with everything in it when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // `name` is UTF-8, as every name in the program.
    std::filesystem::path operator/(std::string_view name) const {
        return path_ / pathFromUtf8(name);
    }

  private:
    std::filesystem::path path_;
};

// A file named by a path or, as the program keeps names, by UTF-8 text.
struct FileName {
    FileName(std::filesystem::path name) : path(std::move(name)) {}
    FileName(const std::string& utf8) : path(pathFromUtf8(utf8)) {}
    FileName(const char* utf8) : path(pathFromUtf8(utf8)) {}
    std::filesystem::path path;
};

std::string readFile(const FileName& file);
void writeFile(const FileName& file, std::string_view bytes);

}  // namespace tf::test

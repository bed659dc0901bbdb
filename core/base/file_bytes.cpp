#include "core/base/file_bytes.h"

#include <fstream>
#include <iterator>

#include "core/base/path_text.h"

namespace tf {

std::optional<std::string> readFileBytes(const std::string& path, std::size_t limit) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::size_t>(size) > limit) {
        return std::nullopt;
    }
    in.seekg(0);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace tf

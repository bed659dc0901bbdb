#include "core/base/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/base/path_text.h"

namespace tf {

std::optional<std::string> readFileBytes(const std::string& path, std::size_t limit,
                                         FileReadFault* why) {
    const auto fail = [why](FileReadFault fault) {
        if (why != nullptr) {
            *why = fault;
        }
        return std::nullopt;
    };
    std::error_code error;
    if (!std::filesystem::is_regular_file(pathFromUtf8(path), error)) {
        return fail(FileReadFault::Unreadable);  // missing, or a folder
    }
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) {
        return fail(FileReadFault::Unreadable);
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return fail(FileReadFault::Unreadable);
    }
    if (static_cast<std::size_t>(size) > limit) {
        return fail(FileReadFault::TooLarge);
    }
    in.seekg(0);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) {
        return fail(FileReadFault::Unreadable);
    }
    return bytes;
}

}  // namespace tf

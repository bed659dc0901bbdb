#include "core/base/temporary_file.h"

#include <system_error>

#include "core/base/path_text.h"

namespace tf {

void discardTemporaryFile(int fd, const std::string& name) {
    closeDescriptor(fd);
    std::error_code ec;
    std::filesystem::remove(pathFromUtf8(name), ec);
}

}  // namespace tf

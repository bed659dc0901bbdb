// The price library's commands where the build has no database engines.
#include "core/base/prompter.h"
#include "gui/library/library_commands.h"

namespace tf::gui {
namespace {

void unavailable(const LibraryHost& host) {
    host.prompter.message("本版本没有价格库。", Captions::kInformation, MessageFlags::kInformation);
}

}  // namespace

void repriceFromLibrary(const LibraryHost& host) {
    unavailable(host);
}
void browseLibrary(const LibraryHost& host) {
    unavailable(host);
}
void savePricesToLibrary(const LibraryHost& host) {
    unavailable(host);
}

}  // namespace tf::gui

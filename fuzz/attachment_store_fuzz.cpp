// A location's attachment block: whatever parses must serialise to the same bytes, and the
// folder commands must hold on it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/attach/attachment_store.h"
#include "core/attach/release_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    auto store = tf::parseAttachmentStore(input);
    if (!store) {
        return 0;
    }
    const std::string again = tf::serializeAttachmentStore(*store);
    if ((!store->empty() && again != input) || tf::serializedSize(*store) != again.size()) {
        __builtin_trap();
    }
    for (const tf::AttachmentFile& f : store->files) {
        const std::string name = tf::releasedName(f.name);
        if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
            __builtin_trap();
        }
    }
    if (!store->folders.empty()) {
        const int key = store->folders[store->folders.size() / 2].key;
        store->addFolder(key);
        store->deleteFolder(key);
        if (!tf::parseAttachmentStore(tf::serializeAttachmentStore(*store))) {
            __builtin_trap();
        }
    }
    return 0;
}

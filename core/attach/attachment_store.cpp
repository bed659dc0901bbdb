#include "core/attach/attachment_store.h"

#include <algorithm>
#include <unordered_set>

#include "core/base/byte_io.h"

namespace tf {
namespace {

constexpr std::uint8_t kFolderPartVersion = 1;
constexpr std::uint8_t kFilePartVersion = 1;
// The smallest entries, so that a count can be checked against the bytes left.
constexpr std::size_t kSmallestFolder = 4 + 4 + 4;
constexpr std::size_t kSmallestFile = 4 * 5;

std::optional<std::vector<AttachmentFolder>> parseFolders(std::string_view part) {
    ByteReader r(part);
    const auto version = r.u8();
    const auto count = r.u32();
    if (version != kFolderPartVersion || !count || *count > r.remaining() / kSmallestFolder) {
        return std::nullopt;
    }
    std::vector<AttachmentFolder> folders;
    folders.reserve(*count);
    std::unordered_set<int> keys;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto key = r.i32();
        const auto parent = r.i32();
        const auto name = r.sized();
        if (!key || !parent || !name || *key <= 0 || keys.contains(*key) ||
            (*parent != 0 && !keys.contains(*parent))) {
            return std::nullopt;
        }
        keys.insert(*key);
        folders.push_back({*key, *parent, std::string(*name)});
    }
    if (!r.atEnd()) {
        return std::nullopt;
    }
    return folders;
}

}  // namespace

const AttachmentFolder* AttachmentStore::folder(int key) const {
    const auto it = std::ranges::find(folders, key, &AttachmentFolder::key);
    return it == folders.end() ? nullptr : &*it;
}

int AttachmentStore::addFolder(int parent) {
    int largest = 1;
    for (const AttachmentFolder& f : folders) {
        largest = std::max(largest, f.key);
    }
    const int key = largest + 1;
    if (parent != 0 && !folder(parent)) {
        parent = 0;
    }
    folders.push_back({key, parent, std::string(kNewFolderName)});
    return key;
}

void AttachmentStore::deleteFolder(int key) {
    if (!folder(key)) {
        return;
    }
    // Subfolders come after their parents, so one pass in list order finds every descendant.
    std::unordered_set<int> doomed{key};
    for (const AttachmentFolder& f : folders) {
        if (doomed.contains(f.parent)) {
            doomed.insert(f.key);
        }
    }
    std::erase_if(files, [&](const AttachmentFile& f) { return doomed.contains(f.folder); });
    std::erase_if(folders, [&](const AttachmentFolder& f) { return doomed.contains(f.key); });
}

std::string AttachmentStore::folderPath(int key) const {
    std::string path;
    // Parents come first in the list, so the chain ends within as many steps as folders.
    for (std::size_t steps = 0; steps <= folders.size(); ++steps) {
        const AttachmentFolder* f = folder(key);
        if (!f) {
            break;
        }
        path = path.empty() ? f->name : f->name + "/" + path;
        key = f->parent;
    }
    return path;
}

int AttachmentStore::folderAt(std::string_view path) {
    int parent = 0;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view name = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        if (name.empty()) {
            continue;
        }
        const auto it = std::ranges::find_if(folders, [&](const AttachmentFolder& f) {
            return f.parent == parent && f.name == name;
        });
        if (it != folders.end()) {
            parent = it->key;
        } else {
            parent = addFolder(parent);
            folders.back().name = std::string(name);
        }
    }
    return parent;
}

std::vector<std::size_t> AttachmentStore::filesIn(int key) const {
    std::vector<std::size_t> listed;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i].folder == key) {
            listed.push_back(i);
        }
    }
    return listed;
}

std::size_t serializedSize(const AttachmentFile& file) {
    return kSmallestFile + file.name.size() + file.description.size() + file.time.size() +
           file.content.size();
}

std::size_t serializedSize(const AttachmentStore& store) {
    if (store.empty()) {
        return 0;
    }
    std::size_t size = 4 + 1 + 4 + 1 + 4;
    for (const AttachmentFolder& f : store.folders) {
        size += kSmallestFolder + f.name.size();
    }
    for (const AttachmentFile& f : store.files) {
        size += serializedSize(f);
    }
    return size;
}

std::string serializeAttachmentStore(const AttachmentStore& store) {
    if (store.empty()) {
        return {};
    }
    ByteWriter tree;
    tree.u8(kFolderPartVersion);
    tree.u32(static_cast<std::uint32_t>(store.folders.size()));
    for (const AttachmentFolder& f : store.folders) {
        tree.i32(f.key);
        tree.i32(f.parent);
        tree.sized(f.name);
    }
    ByteWriter out;
    out.reserve(serializedSize(store));
    out.u32(static_cast<std::uint32_t>(tree.size()));
    out.bytes(tree.data());
    out.u8(kFilePartVersion);
    out.u32(static_cast<std::uint32_t>(store.files.size()));
    for (const AttachmentFile& f : store.files) {
        out.sized(f.name);
        out.sized(f.description);
        out.sized(f.time);
        out.i32(f.folder);
        out.sized(f.content);
    }
    return out.take();
}

std::optional<AttachmentStore> parseAttachmentStore(std::string_view block) {
    if (block.empty()) {
        return AttachmentStore{};
    }
    ByteReader r(block);
    const auto treeBytes = r.sized();
    if (!treeBytes) {
        return std::nullopt;
    }
    auto folders = parseFolders(*treeBytes);
    const auto version = r.u8();
    const auto count = r.u32();
    if (!folders || version != kFilePartVersion || !count ||
        *count > r.remaining() / kSmallestFile) {
        return std::nullopt;
    }
    AttachmentStore store;
    store.folders = std::move(*folders);
    std::unordered_set<int> keys;
    for (const AttachmentFolder& f : store.folders) {
        keys.insert(f.key);
    }
    store.files.reserve(*count);
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto name = r.sized();
        const auto description = r.sized();
        const auto time = r.sized();
        const auto folder = r.i32();
        const auto content = r.sized();
        if (!name || !description || !time || !folder || !content || !keys.contains(*folder)) {
            return std::nullopt;
        }
        store.files.push_back({std::string(*name), std::string(*description), std::string(*time),
                               std::string(*content), *folder});
    }
    if (!r.atEnd()) {
        return std::nullopt;
    }
    return store;
}

}  // namespace tf

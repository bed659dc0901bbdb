#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// A folder of a location's attachments. Top-level folders have parent 0; a subfolder comes
// after its parent in the store's list.
struct AttachmentFolder {
    int key = 0;
    int parent = 0;
    std::string name;
    friend bool operator==(const AttachmentFolder&, const AttachmentFolder&) = default;
};

// One attached file. Its size is its content's length.
struct AttachmentFile {
    std::string name;  // a plain name, as shown in the list
    std::string description;
    std::string time;  // modification time, "2026-12-09 14:05:33"
    std::string content;
    int folder = 0;
    std::size_t size() const { return content.size(); }
    friend bool operator==(const AttachmentFile&, const AttachmentFile&) = default;
};

inline constexpr std::string_view kNewFolderName = "新建文件夹";

// The attachments of one location: a folder tree and the files in insertion order.
struct AttachmentStore {
    std::vector<AttachmentFolder> folders;
    std::vector<AttachmentFile> files;

    bool empty() const { return folders.empty() && files.empty(); }
    const AttachmentFolder* folder(int key) const;
    // A new folder under `parent` (0: top level) named "新建文件夹". Its key is one more than
    // the largest in use (2 for the first), so a deleted folder's key is never handed out
    // again while other folders remain.
    int addFolder(int parent);
    // The folder, its subfolders at any depth and all their files.
    void deleteFolder(int key);
    // The folder's names from the top, joined by "/".
    std::string folderPath(int key) const;
    // The folder at that path, made (with the folders above it) where missing.
    int folderAt(std::string_view path);
    // The files of one folder, as indices into `files`, in table order.
    std::vector<std::size_t> filesIn(int key) const;
    friend bool operator==(const AttachmentStore&, const AttachmentStore&) = default;
};

// The block a location keeps: u32 length N of the folder part, the folder part, the file
// part. An empty store is an empty block and an empty block an empty store. Nothing when
// the block is damaged: a length past the end, an unknown version, a folder whose parent
// is not listed before it, a repeated key, a file in a folder that does not exist.
std::string serializeAttachmentStore(const AttachmentStore& store);
// Its length, without making it.
std::size_t serializedSize(const AttachmentStore& store);
// What one more file adds to it.
std::size_t serializedSize(const AttachmentFile& file);
std::optional<AttachmentStore> parseAttachmentStore(std::string_view block);

}  // namespace tf

#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/attach/attachment_store.h"
#include "core/base/prompter.h"

namespace tf {

// The attachment window's title: "附加资料 - " and the location whose files it shows ("新部位"
// while a new location has no name yet).
std::string attachmentWindowTitle(std::string_view location);

enum class AttachMode { View, Edit };

enum class AttachCommand {
    NewFolder,
    NewSubfolder,
    DeleteFolder,
    RenameFolder,
    OpenFolder,
    OpenExternal,
    ReleaseCurrent,
    ReleaseAll,
    AddFile,
    DeleteFile,
    Screenshot,
    Describe,
    Update,
};

// Where a command is offered: the toolbar, the folder tree's pop-up, the file list's pop-up.
enum class AttachSurface { Toolbar, TreeMenu, ListMenu };

struct AttachCommandText {
    AttachCommand command;
    std::string_view button;
    std::string_view tooltip;
    std::string_view entry;
    AttachSurface menu;  // the pop-up that carries the entry
};
// The 13 commands in toolbar order.
const std::vector<AttachCommandText>& attachCommandTexts();

// The icon of a file in the list, by its lower-cased extension: 0 drawing, 1 document,
// 2 spreadsheet, 3 text, 4 any other, 5 picture, 6 sound and video.
int attachmentIcon(std::string_view fileName);

// What the manager needs of the desktop. The window's implementation opens through the
// desktop's associations; tests record the calls.
class AttachmentDesktop {
  public:
    virtual ~AttachmentDesktop() = default;
    virtual bool openFolder(const std::filesystem::path& folder) = 0;
    // Opens the file with its associated program, or lets the user choose one.
    virtual bool openFile(const std::filesystem::path& file) = 0;
    // Shows the folder holding the file, the file selected where the desktop can.
    virtual bool showInFolder(const std::filesystem::path& file) = 0;
    // The screen capture: hides the owner first when asked and always restores it; the
    // picture as the bytes of a BMP file, nothing when none was taken.
    virtual std::optional<std::string> captureScreen(bool hideOwner) = 0;
};

// The "附加资料" window as a model: one location's store, the selected folder and file, the
// enabling of every command, and the commands with their questions and messages. In edit
// mode every change is handed back as the whole block at once.
class AttachmentManager {
  public:
    AttachmentManager(Prompter& prompter, AttachmentDesktop& desktop,
                      std::filesystem::path releaseFolder);

    // Loads a block; false (and an empty view-mode store) when it is damaged. `room` is the
    // largest block the project can hold for this location.
    bool load(std::string_view block, AttachMode mode, std::size_t room);
    // Called with the new block after every change in edit mode.
    std::function<void(const std::string&)> handBack;

    AttachMode mode() const { return mode_; }
    const AttachmentStore& store() const { return store_; }
    const std::filesystem::path& releaseFolder() const { return releaseFolder_; }
    std::optional<int> selectedFolder() const { return folder_; }
    std::optional<std::size_t> selectedFile() const { return file_; }
    void selectFolder(std::optional<int> key);
    // An index into the store's files; only a file of the selected folder can be selected.
    void selectFile(std::optional<std::size_t> index);
    // The selected folder's files, as indices into the store's files.
    std::vector<std::size_t> listed() const;

    bool enabled(AttachCommand command, AttachSurface surface) const;
    // The entries a pop-up offers now, in toolbar order: in view mode the folder tree offers
    // none and the file list only the opening and releasing commands.
    std::vector<AttachCommand> menuEntries(AttachSurface menu) const;
    // Runs a command if it is enabled where it was chosen.
    void run(AttachCommand command, AttachSurface surface);

    // The commands. "添加" asks for the file itself unless given one.
    void newFolder(bool sub);
    void renameFolder();
    void deleteFolder();
    void addFile(const std::optional<std::string>& path = std::nullopt);
    void deleteFile();
    void describeFile();
    void releaseCurrent();
    void releaseAll();
    void openReleaseFolder();
    void openExternal();
    void updateFile();
    void addScreenshot();

  private:
    void changed();
    bool fits(std::size_t extraBytes);
    const AttachmentFile* current() const;
    // Writes a file into the release folder, under `name` or else its released name, with its
    // recorded time, so that an unchanged copy is seen as unchanged, and remembers which file
    // the copy came from.
    std::optional<std::filesystem::path> release(const AttachmentFile& file,
                                                 std::optional<std::string> name = {});
    // The name in the release folder of the file's copy: the one it was last released under.
    std::string copyName(const AttachmentFile& file) const;
    // Copies in the release folder edited since they were released and not read back yet;
    // emptying the folder asks first when there are any.
    bool mayEmptyReleaseFolder();

    Prompter& prompter_;
    AttachmentDesktop& desktop_;
    std::filesystem::path releaseFolder_;
    AttachmentStore store_;
    AttachMode mode_ = AttachMode::View;
    std::size_t room_ = 0;
    std::optional<int> folder_;
    std::optional<std::size_t> file_;
    // Released name → the folder and name of the file last written under it: two files of
    // one name in different folders share a name in the release folder, unless released
    // together.
    std::map<std::string, std::pair<int, std::string>> released_;
};

}  // namespace tf

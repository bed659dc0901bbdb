#include "core/attach/attachment_manager.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <set>
#include <system_error>

#include "core/attach/release_folder.h"
#include "core/base/file_bytes.h"
#include "core/base/path_text.h"
#include "core/base/text_util.h"
#include "core/base/time_text.h"

namespace tf {
namespace fs = std::filesystem;
namespace {

using C = AttachCommand;
using S = AttachSurface;

constexpr std::string_view kReleaseFailed = "文件释放失败，请重新再试。";
constexpr std::string_view kOpenFailed =
    "文件打开失败，或许是因为文件关联出错，请修复系统重新再试。";
constexpr std::string_view kTooLarge = "附加后工程文件将超出所能容纳的大小，文件未能添加。";
constexpr std::string_view kUnreadable = "文件无法读取，未作改动。";

bool folderCommand(C c) {
    return c == C::NewFolder || c == C::NewSubfolder || c == C::DeleteFolder ||
           c == C::RenameFolder;
}

}  // namespace

const std::vector<AttachCommandText>& attachCommandTexts() {
    static const std::vector<AttachCommandText> texts = {
        {C::NewFolder, "文件夹", "新建文件夹", "添加文件夹", S::TreeMenu},
        {C::NewSubfolder, "子夹", "建子文件夹", "添加子夹", S::TreeMenu},
        {C::DeleteFolder, "删除", "删除文件夹", "删除文件夹", S::TreeMenu},
        {C::RenameFolder, "重命名", "更改文件夹名", "命名", S::TreeMenu},
        {C::OpenFolder, "查目录", "打开文件所在目录", "打开文件所在目录", S::ListMenu},
        {C::OpenExternal, "编辑", "用外部程序打开", "用外部程序打开", S::ListMenu},
        {C::ReleaseCurrent, "取当前", "释放当前文件", "释放当前文件", S::ListMenu},
        {C::ReleaseAll, "取所有", "释放所有文件", "释放所有文件", S::ListMenu},
        {C::AddFile, "添加", "添加新文件", "添加", S::ListMenu},
        {C::DeleteFile, "删除", "删除当前文件", "删除", S::ListMenu},
        {C::Screenshot, "截图", "截取屏幕为图片", "添加一幅截图", S::ListMenu},
        {C::Describe, "描述", "为文件增加描述", "描述", S::ListMenu},
        {C::Update, "更新", "更新当前文件", "更新", S::ListMenu},
    };
    return texts;
}

int attachmentIcon(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    const std::string extension =
        asciiLower(dot == std::string_view::npos ? "" : fileName.substr(dot + 1));
    static constexpr std::array<std::pair<std::string_view, int>, 17> kIcons = {{
        {"dwg", 0},
        {"doc", 1},
        {"xls", 2},
        {"txt", 3},
        {"bmp", 5},
        {"jpg", 5},
        {"png", 5},
        {"gif", 5},
        {"tif", 5},
        {"tga", 5},
        {"ico", 5},
        {"mp3", 6},
        {"mp4", 6},
        {"wav", 6},
        {"avi", 6},
        {"rmvb", 6},
        {"3gp", 6},
    }};
    for (const auto& [known, icon] : kIcons) {
        if (extension == known) {
            return icon;
        }
    }
    return 4;
}

AttachmentManager::AttachmentManager(Prompter& prompter, AttachmentDesktop& desktop,
                                     fs::path releaseFolder)
    : prompter_(prompter), desktop_(desktop), releaseFolder_(std::move(releaseFolder)) {}

bool AttachmentManager::load(std::string_view block, AttachMode mode, std::size_t room) {
    folder_.reset();
    file_.reset();
    room_ = room;
    auto store = parseAttachmentStore(block);
    if (!store) {
        // Nothing may be handed back over a block that could not be read.
        store_ = {};
        mode_ = AttachMode::View;
        return false;
    }
    store_ = std::move(*store);
    mode_ = mode;
    return true;
}

void AttachmentManager::selectFolder(std::optional<int> key) {
    folder_ = key && store_.folder(*key) ? key : std::nullopt;
    file_.reset();
}

void AttachmentManager::selectFile(std::optional<std::size_t> index) {
    file_ =
        index && *index < store_.files.size() && folder_ && store_.files[*index].folder == *folder_
            ? index
            : std::nullopt;
}

std::vector<std::size_t> AttachmentManager::listed() const {
    return folder_ ? store_.filesIn(*folder_) : std::vector<std::size_t>{};
}

const AttachmentFile* AttachmentManager::current() const {
    return file_ ? &store_.files[*file_] : nullptr;
}

bool AttachmentManager::enabled(AttachCommand c, AttachSurface surface) const {
    if (mode_ == AttachMode::View) {
        if (c == C::OpenFolder || c == C::ReleaseAll) {
            return true;
        }
        return file_ && (c == C::OpenExternal || c == C::ReleaseCurrent);
    }
    if (!folder_) {
        return c == C::NewFolder || c == C::NewSubfolder;
    }
    if (file_) {
        return true;
    }
    if (c == C::ReleaseAll) {
        return surface == S::Toolbar;
    }
    return folderCommand(c) || c == C::OpenFolder || c == C::AddFile || c == C::Screenshot;
}

std::vector<AttachCommand> AttachmentManager::menuEntries(AttachSurface menu) const {
    std::vector<AttachCommand> entries;
    for (const AttachCommandText& t : attachCommandTexts()) {
        const bool viewable = t.command == C::OpenFolder || t.command == C::OpenExternal ||
                              t.command == C::ReleaseCurrent || t.command == C::ReleaseAll;
        if (t.menu == menu && (mode_ == AttachMode::Edit || viewable)) {
            entries.push_back(t.command);
        }
    }
    return entries;
}

void AttachmentManager::run(AttachCommand c, AttachSurface surface) {
    if (!enabled(c, surface)) {
        return;
    }
    switch (c) {
        case C::NewFolder:
            return newFolder(false);
        case C::NewSubfolder:
            return newFolder(true);
        case C::DeleteFolder:
            return deleteFolder();
        case C::RenameFolder:
            return renameFolder();
        case C::OpenFolder:
            return openReleaseFolder();
        case C::OpenExternal:
            return openExternal();
        case C::ReleaseCurrent:
            return releaseCurrent();
        case C::ReleaseAll:
            return releaseAll();
        case C::AddFile:
            return addFile();
        case C::DeleteFile:
            return deleteFile();
        case C::Screenshot:
            return addScreenshot();
        case C::Describe:
            return describeFile();
        case C::Update:
            return updateFile();
    }
}

void AttachmentManager::changed() {
    if (mode_ == AttachMode::Edit && handBack) {
        handBack(serializeAttachmentStore(store_));
    }
}

bool AttachmentManager::fits(std::size_t extraBytes) {
    if (serializedSize(store_) + extraBytes <= room_) {
        return true;
    }
    prompter_.message(kTooLarge, Captions::kError, MessageFlags::kWarning);
    return false;
}

std::optional<fs::path> AttachmentManager::release(const AttachmentFile& file,
                                                   std::optional<std::string> name) {
    const std::string as = name ? std::move(*name) : releasedName(file.name);
    auto written = releaseFile(releaseFolder_, as, file.content);
    if (written) {
        setFileTimeText(*written, file.time);
        released_[as] = {file.folder, file.name};
    }
    return written;
}

std::string AttachmentManager::copyName(const AttachmentFile& file) const {
    for (const auto& [name, from] : released_) {
        if (from == std::pair{file.folder, file.name}) {
            return name;
        }
    }
    return releasedName(file.name);
}

bool AttachmentManager::mayEmptyReleaseFolder() {
    std::string edited;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(releaseFolder_, error)) {
        if (!entry.is_regular_file(error) || entry.is_symlink(error)) {
            continue;
        }
        const std::string name = utf8FromPath(entry.path().filename());
        const auto from = released_.find(name);
        for (const AttachmentFile& f : store_.files) {
            const bool same = from != released_.end() ? from->second == std::pair{f.folder, f.name}
                                                      : releasedName(f.name) == name;
            if (same && fileTimeText(entry.path()) != f.time) {
                edited += (edited.empty() ? "" : "、") + name;
                break;
            }
        }
    }
    return edited.empty() ||
           prompter_.message("临时目录中的以下文件已被修改，尚未更新到工程中：\r\n" + edited +
                                 "\r\n释放文件将清空临时目录，这些修改会丢失。是否继续？",
                             Captions::kWarning,
                             MessageFlags::kYesNoWarningDefaultNo) == Answer::Yes;
}

void AttachmentManager::newFolder(bool sub) {
    if (mode_ != AttachMode::Edit) {
        return;
    }
    const int key = store_.addFolder(sub && folder_ ? *folder_ : 0);
    selectFolder(key);
    changed();
}

void AttachmentManager::renameFolder() {
    if (mode_ != AttachMode::Edit || !folder_) {
        return;
    }
    auto& folder = *std::ranges::find(store_.folders, *folder_, &AttachmentFolder::key);
    const auto name = prompter_.input("请输入新的文件夹名称：", "文件夹命名", folder.name);
    if (name && name->find_first_not_of(' ') != std::string::npos) {  // a folder needs a name
        folder.name = *name;
        changed();
    }
}

void AttachmentManager::deleteFolder() {
    if (mode_ != AttachMode::Edit || !folder_) {
        return;
    }
    if (prompter_.message("删除后无法恢复，真的要删除吗？", Captions::kWarning,
                          MessageFlags::kYesNoWarningDefaultNo) != Answer::Yes) {
        return;
    }
    store_.deleteFolder(*folder_);
    selectFolder(std::nullopt);
    changed();
}

void AttachmentManager::addFile(const std::optional<std::string>& chosen) {
    if (mode_ != AttachMode::Edit || !folder_) {
        return;
    }
    const auto path = chosen ? chosen : prompter_.chooseOpenFile("添加新文件", "所有文件(*.*)|*.*");
    if (!path) {
        return;
    }
    const fs::path source = pathFromUtf8(*path);
    AttachmentFile file{utf8FromPath(source.filename()), "", fileTimeText(source).value_or(""), "",
                        *folder_};
    std::error_code error;
    const auto size = fs::file_size(source, error);
    if (error || file.name.empty()) {
        prompter_.message(kUnreadable, Captions::kError, MessageFlags::kWarning);
        return;
    }
    if (!fits(serializedSize(file) + size)) {
        return;
    }
    auto content = readFileBytes(*path, room_);
    if (!content) {
        prompter_.message(kUnreadable, Captions::kError, MessageFlags::kWarning);
        return;
    }
    file.content = std::move(*content);
    if (!fits(serializedSize(file))) {
        return;  // it grew while being read
    }
    store_.files.push_back(std::move(file));
    file_ = store_.files.size() - 1;
    changed();
}

void AttachmentManager::deleteFile() {
    if (mode_ != AttachMode::Edit || !file_) {
        return;
    }
    if (prompter_.message("删除后不可恢复，要继续吗？", Captions::kWarning,
                          MessageFlags::kYesNoWarningDefaultNo) != Answer::Yes) {
        return;
    }
    store_.files.erase(store_.files.begin() + static_cast<std::ptrdiff_t>(*file_));
    file_.reset();
    changed();
}

void AttachmentManager::describeFile() {
    if (mode_ != AttachMode::Edit || !file_) {
        return;
    }
    AttachmentFile& file = store_.files[*file_];
    if (const auto text =
            prompter_.input("输入对本文件的描述信息。", "文件描述", file.description)) {
        file.description = *text;
        changed();
    }
}

std::string attachmentWindowTitle(std::string_view location) {
    const std::string_view name = trimSpaces(location);
    return "附加资料 - " + std::string(name.empty() ? "新部位" : name);
}

void AttachmentManager::releaseCurrent() {
    const AttachmentFile* file = current();
    if (!file) {
        return;
    }
    if (!mayEmptyReleaseFolder()) {
        return;
    }
    released_.clear();
    const auto written = emptyReleaseFolder(releaseFolder_) ? release(*file) : std::nullopt;
    if (!written) {
        prompter_.message(kReleaseFailed, Captions::kError, MessageFlags::kWarning);
        return;
    }
    if (prompter_.message("文件已经释放在 " + written->string() + "\r\n是否打开文件所在目录？",
                          Captions::kQuestion, MessageFlags::kYesNo) == Answer::Yes &&
        !desktop_.showInFolder(*written)) {
        prompter_.message(kOpenFailed, Captions::kError, MessageFlags::kWarning);
    }
}

void AttachmentManager::releaseAll() {
    if (!mayEmptyReleaseFolder()) {
        return;
    }
    released_.clear();
    bool whole = emptyReleaseFolder(releaseFolder_);
    // Names that clean to the same one ("x:1.txt", "x?1.txt", "x_1.txt") each get their own.
    std::set<std::string> taken;
    for (const std::size_t i : listed()) {
        const AttachmentFile& file = store_.files[i];
        if (whole && !file.name.empty()) {
            whole = release(file, unusedName(releasedName(file.name), taken)).has_value();
        }
    }
    if (!whole) {
        prompter_.message(kReleaseFailed, Captions::kError, MessageFlags::kWarning);
        return;
    }
    if (prompter_.message(
            "文件已经释放在 " + utf8FromPath(releaseFolder_) + "\r\n是否打开文件所在目录？",
            Captions::kQuestion, MessageFlags::kYesNo) == Answer::Yes) {
        desktop_.openFolder(releaseFolder_);
    }
}

void AttachmentManager::openReleaseFolder() {
    std::error_code error;
    fs::create_directories(releaseFolder_, error);
    if (!desktop_.openFolder(releaseFolder_)) {
        prompter_.message(kOpenFailed, Captions::kError, MessageFlags::kWarning);
    }
}

void AttachmentManager::openExternal() {
    const AttachmentFile* file = current();
    if (!file) {
        return;
    }
    const auto written = release(*file);
    if (!written) {
        prompter_.message(kReleaseFailed, Captions::kError, MessageFlags::kWarning);
        return;
    }
    if (!desktop_.openFile(*written)) {
        prompter_.message(kOpenFailed, Captions::kError, MessageFlags::kWarning);
    }
}

void AttachmentManager::updateFile() {
    if (mode_ != AttachMode::Edit || !file_) {
        return;
    }
    AttachmentFile& file = store_.files[*file_];
    const std::string name = copyName(file);
    const fs::path copy = releaseFolder_ / pathFromUtf8(name);
    // A copy last released from another file of the same name is not this file's.
    const auto from = released_.find(name);
    const bool ours = from == released_.end() || from->second == std::pair{file.folder, file.name};
    std::error_code error;
    const auto time = ours && fs::is_regular_file(fs::symlink_status(copy, error))
                          ? fileTimeText(copy)
                          : std::nullopt;
    if (time && *time != file.time) {
        const auto size = fs::file_size(copy, error);
        if (error) {
            prompter_.message(kUnreadable, Captions::kError, MessageFlags::kWarning);
            return;
        }
        const std::size_t others = serializedSize(store_) - serializedSize(file);
        if (others + serializedSize(file) - file.content.size() + size > room_) {
            prompter_.message(kTooLarge, Captions::kError, MessageFlags::kWarning);
            return;
        }
        auto content = readFileBytes(utf8FromPath(copy), room_);
        if (!content) {
            prompter_.message(kUnreadable, Captions::kError, MessageFlags::kWarning);
            return;
        }
        file.content = std::move(*content);
        file.time = *time;
        changed();
    }
    prompter_.message("文件更新成功！", "", MessageFlags::kInformation);
}

void AttachmentManager::addScreenshot() {
    if (mode_ != AttachMode::Edit || !folder_) {
        return;
    }
    const Answer hide =
        prompter_.message("是否隐藏本程序界面，然后截图？", "截图：", MessageFlags::kYesNoCancel);
    if (hide == Answer::Cancel) {
        return;
    }
    auto picture = desktop_.captureScreen(hide == Answer::Yes);
    if (!picture) {
        return;
    }
    AttachmentFile file{"截图_" + std::to_string(listed().size() + 1) + ".bmp", "",
                        localTimeText(std::chrono::system_clock::now()), std::move(*picture),
                        *folder_};
    if (!fits(serializedSize(file))) {
        return;
    }
    store_.files.push_back(std::move(file));
    file_ = store_.files.size() - 1;
    changed();
}

}  // namespace tf

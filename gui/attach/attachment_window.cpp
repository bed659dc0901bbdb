#include "gui/attach/attachment_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/capture/bmp_file.h"
#include "gui/attach/attachment_icons.h"
#include "gui/capture/capture_overlay.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

constexpr int kKeyRole = Qt::UserRole;
// Long enough for the window system to take hidden windows off the screen.
constexpr int kHideMilliseconds = 400;
constexpr int kSettleMilliseconds = 150;

QUrl localUrl(const std::filesystem::path& path) {
    return QUrl::fromLocalFile(qsPath(path));
}

std::optional<std::string> bmpOf(const QImage& image) {
    if (image.isNull()) {
        return std::nullopt;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(argb.width()) *
                   static_cast<std::size_t>(argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        pixels.insert(pixels.end(), line, line + argb.width());
    }
    std::string bmp = bmpFile(argb.width(), argb.height(), pixels);
    return bmp.empty() ? std::nullopt : std::optional<std::string>(std::move(bmp));
}

}  // namespace

bool QtAttachmentDesktop::openFolder(const std::filesystem::path& folder) {
    return QDesktopServices::openUrl(localUrl(folder));
}

bool QtAttachmentDesktop::openFile(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(localUrl(file));
}

bool QtAttachmentDesktop::showInFolder(const std::filesystem::path& file) {
    return openFolder(file.parent_path());
}

std::optional<std::string> QtAttachmentDesktop::captureScreen(bool hideOwner) {
    // "隐藏本程序界面": every window of the program leaves the screen, and all come back.
    std::vector<QPointer<QWidget>> hidden;
    if (hideOwner) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && !w->isMinimized()) {
                hidden.emplace_back(w);
                w->hide();
            }
        }
    }
    // The question just answered (and the hidden windows) must be off the screen before it
    // is grabbed.
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < (hideOwner ? kHideMilliseconds : kSettleMilliseconds)) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QScreen* screen = owner_ ? owner_->screen() : QGuiApplication::primaryScreen();
    std::optional<QImage> taken;
    {
        CaptureOverlay overlay(screen);
        taken = overlay.run();
    }
    for (const QPointer<QWidget>& w : hidden) {
        if (w) {
            w->show();
        }
    }
    if (owner_) {
        owner_->raise();
        owner_->activateWindow();
    }
    if (!taken) {
        return std::nullopt;
    }
    // The picture travels through the clipboard.
    return bmpOf(QGuiApplication::clipboard()->image());
}

AttachmentWindow::AttachmentWindow(Prompter& prompter, std::filesystem::path releaseFolder,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), manager_(prompter, desktop_, std::move(releaseFolder)) {
    setObjectName("附加资料窗口");
    setWindowTitle("附加资料");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setObjectName("工具栏");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    buildToolbar(bar);
    layout->addWidget(bar);

    auto* split = new QSplitter(this);
    folders_ = new QTreeWidget(split);
    folders_->setObjectName("文件夹树");
    folders_->setHeaderHidden(true);
    folders_->setContextMenuPolicy(Qt::CustomContextMenu);
    files_ = new QTreeWidget(split);
    files_->setObjectName("文件列表");
    files_->setRootIsDecorated(false);
    files_->setHeaderLabels({"文件", "描述", "修改时间", "大小(字节)"});
    files_->setContextMenuPolicy(Qt::CustomContextMenu);
    files_->header()->resizeSection(0, 190);
    files_->header()->resizeSection(1, 140);
    files_->header()->resizeSection(2, 145);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 3);
    split->setSizes({180, 560});
    layout->addWidget(split, 1);

    connect(folders_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (showing_) {
            return;
        }
        manager_.selectFolder(item ? std::optional<int>(item->data(0, kKeyRole).toInt())
                                   : std::nullopt);
        showFiles();
    });
    connect(files_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (showing_) {
            return;
        }
        manager_.selectFile(item ? std::optional<std::size_t>(item->data(0, kKeyRole).toULongLong())
                                 : std::nullopt);
        showEnabling();
    });
    connect(files_, &QTreeWidget::itemDoubleClicked, this,
            [this] { runCommand(AttachCommand::OpenExternal, AttachSurface::ListMenu); });
    connect(folders_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* menu = treeMenu()) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(folders_->viewport()->mapToGlobal(at));
        }
    });
    connect(files_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* menu = listMenu()) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(files_->viewport()->mapToGlobal(at));
        }
    });
    resize(860, 460);
}

void AttachmentWindow::buildToolbar(QToolBar* bar) {
    for (const AttachCommandText& t : attachCommandTexts()) {
        QAction* action = bar->addAction(qs(t.button));
        action->setToolTip(qs(t.tooltip));
        action->setObjectName(qs(t.tooltip));
        const AttachCommand command = t.command;
        connect(action, &QAction::triggered, this,
                [this, command] { runCommand(command, AttachSurface::Toolbar); });
        toolbar_[command] = action;
    }
}

void AttachmentWindow::open(std::string_view location, std::string_view block, AttachMode mode,
                            std::size_t room, QWidget* owner,
                            std::function<void(const std::string&)> handBack) {
    setWindowTitle(qs(attachmentWindowTitle(location)));
    desktop_.setOwner(owner);
    manager_.handBack = std::move(handBack);
    if (!manager_.load(block, mode, room)) {
        manager_.handBack = {};
    }
    showStore();
    show();
    raise();
    activateWindow();
}

void AttachmentWindow::runCommand(AttachCommand command, AttachSurface surface) {
    manager_.run(command, surface);
    showStore();
    if (command == AttachCommand::Screenshot) {
        raise();  // back in front of the restored windows, with the new picture in sight
        activateWindow();
    }
}

QMenu* AttachmentWindow::popup(AttachSurface surface, const char* name) {
    const std::vector<AttachCommand> entries = manager_.menuEntries(surface);
    if (entries.empty()) {
        return nullptr;
    }
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    for (const AttachCommand command : entries) {
        const auto text =
            std::ranges::find(attachCommandTexts(), command, &AttachCommandText::command);
        QAction* entry = menu->addAction(
            qs(text->entry), this, [this, command, surface] { runCommand(command, surface); });
        entry->setEnabled(manager_.enabled(command, surface));
    }
    return menu;
}

QMenu* AttachmentWindow::treeMenu() {
    return popup(AttachSurface::TreeMenu, "文件夹菜单");
}

QMenu* AttachmentWindow::listMenu() {
    return popup(AttachSurface::ListMenu, "文件菜单");
}

void AttachmentWindow::showStore() {
    showing_ = true;
    folders_->clear();
    std::map<int, QTreeWidgetItem*> items;
    const QIcon folderIcon = attachmentFolderIcon();
    for (const AttachmentFolder& f : manager_.store().folders) {
        const auto parent = items.find(f.parent);
        auto* item = parent == items.end() ? new QTreeWidgetItem(folders_)
                                           : new QTreeWidgetItem(parent->second);
        item->setText(0, qs(f.name));
        item->setIcon(0, folderIcon);
        item->setData(0, kKeyRole, f.key);
        items[f.key] = item;
    }
    folders_->expandAll();
    if (const auto selected = manager_.selectedFolder(); selected && items.contains(*selected)) {
        folders_->setCurrentItem(items[*selected]);
        items[*selected]->setSelected(true);  // highlighted, not only framed
    }
    showing_ = false;
    showFiles();
}

void AttachmentWindow::showFiles() {
    showing_ = true;
    files_->clear();
    const auto& files = manager_.store().files;
    for (const std::size_t i : manager_.listed()) {
        const AttachmentFile& f = files[i];
        auto* item = new QTreeWidgetItem(
            files_, {qs(f.name), qs(f.description), qs(f.time), QString::number(f.size())});
        item->setIcon(0, attachmentFileIcon(attachmentIcon(f.name)));
        item->setData(0, kKeyRole, static_cast<qulonglong>(i));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        if (manager_.selectedFile() == i) {
            files_->setCurrentItem(item);
        }
    }
    showing_ = false;
    showEnabling();
}

void AttachmentWindow::showEnabling() {
    for (const auto& [command, action] : toolbar_) {
        action->setEnabled(manager_.enabled(command, AttachSurface::Toolbar));
    }
}

}  // namespace tf::gui

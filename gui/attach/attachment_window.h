#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "core/attach/attachment_manager.h"

class QAction;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace tf::gui {

// The desktop as the attachment manager needs it: files and folders opened through their
// associations, the screen captured with the owner window out of the way.
class QtAttachmentDesktop : public AttachmentDesktop {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    bool openFolder(const std::filesystem::path& folder) override;
    bool openFile(const std::filesystem::path& file) override;
    bool showInFolder(const std::filesystem::path& file) override;
    std::optional<std::string> captureScreen(bool hideOwner) override;

  private:
    QPointer<QWidget> owner_;
};

// "附加资料": one location's folders and files. Every command is the AttachmentManager's;
// the window shows its state and forwards clicks.
class AttachmentWindow : public QWidget {
    Q_OBJECT
  public:
    AttachmentWindow(Prompter& prompter, std::filesystem::path releaseFolder, QWidget* parent);

    // Loads the block of the location named (the window shown and raised, the name in its
    // title). In edit mode every change goes to `handBack`; `owner` is minimised and restored
    // around a screenshot.
    void open(std::string_view location, std::string_view block, AttachMode mode, std::size_t room,
              QWidget* owner, std::function<void(const std::string&)> handBack = {});
    AttachmentManager& manager() { return manager_; }
    QTreeWidget& folders() { return *folders_; }
    QTreeWidget& files() { return *files_; }
    QAction* toolbarAction(AttachCommand command) { return toolbar_.at(command); }
    // The pop-up menus as they would open now; the caller owns them.
    QMenu* treeMenu();
    QMenu* listMenu();

  private:
    QMenu* popup(AttachSurface surface, const char* name);
    void buildToolbar(QToolBar* bar);
    void runCommand(AttachCommand command, AttachSurface surface);
    void showStore();
    void showFiles();
    void showEnabling();

    QtAttachmentDesktop desktop_;
    AttachmentManager manager_;
    QTreeWidget* folders_ = nullptr;
    QTreeWidget* files_ = nullptr;
    std::map<AttachCommand, QAction*> toolbar_;
    bool showing_ = false;  // filling the views: their selection signals are not the user's
};

}  // namespace tf::gui

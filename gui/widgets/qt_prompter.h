#pragma once

#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QString>

#include "core/base/prompter.h"

#include <QLabel>
#include <QWidget>

namespace tf::gui {

// Converts "工程数据(*.gdb)|*.gdb|所有文件(*.*)|*.*" to Qt's "工程数据(*.gdb);;所有文件(*.*)".
QString toQtFilter(std::string_view filter);

// The Prompter on message boxes, input and file dialogs, the status panel and the cursor.
class QtPrompter : public Prompter {
  public:
    QtPrompter(QWidget* owner, QLabel* statusPanel) : owner_(owner), status_(statusPanel) {}

    Answer message(std::string_view text, std::string_view caption, int flags) override;
    std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                     std::string_view initial) override;
    std::optional<std::string> chooseOpenFile(std::string_view title,
                                              std::string_view filter) override;
    std::optional<std::string> chooseSaveFile(std::string_view title, std::string_view filter,
                                              std::string_view defaultExtension) override;
    void setStatus(std::string_view text) override;
    std::string status() const override;
    void setBusy(bool busy) override;
    void processEvents() override;
    void pause(int milliseconds) override;
    bool runWithProgress(std::string_view label, const std::function<bool(WorkProgress&)>& work,
                         bool stoppable = true) override;

  private:
    // The window a box or dialog belongs to: the active one, else the owner.
    QWidget* asker() const;

    QPointer<QWidget> owner_;
    QPointer<QLabel> status_;
    // File dialogs open where the user last chose a file, the documents folder at first (the
    // home folder where there is none: a missing folder would be offered as a file name).
    QString folder_ =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).exists()
            ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            : QDir::homePath();
};

}  // namespace tf::gui

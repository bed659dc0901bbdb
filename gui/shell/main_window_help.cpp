// The help menu and the updater's side of the main window: the manual, the update checks,
// the about box, and the answers to the updater's messages and to a second start.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "core/base/platform.h"
#include "gui/shell/about_box.h"
#include "gui/shell/main_window.h"
#include "gui/shell/updater_endpoint.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {

void MainWindow::registerHelpCommands() {
    handlers_[Command::HelpTopics] = [this] { openHelp(); };
    handlers_[Command::CheckForUpdates] = [this] {
        startManualUpdateCheck(programDirectory_, updaterEndpoint().number(),
                               dataNumber().value_or(0));
    };
    handlers_[Command::About] = [this] {
        AboutBox box(this);
        box.exec();
    };
}

void MainWindow::openHelp() {
    const QDir dir(programDirectory_);
    if (kOnWindows && QFileInfo::exists(dir.filePath("help.chm"))) {
        QProcess::startDetached("hh.exe", {QDir::toNativeSeparators(dir.filePath("help.chm"))});
        return;
    }
    // The program's own manual, in the desktop's browser; a missing one is not reported.
    const QString manual = dir.filePath("help/index.html");
    if (QFileInfo::exists(manual)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(manual));
    }
}

UpdaterEndpoint& MainWindow::updaterEndpoint() {
    if (!updaterEndpoint_) {
        UpdaterHost& host = *this;
        updaterEndpoint_ =
            std::make_unique<UpdaterEndpoint>(programEndpoint(programDirectory_), host);
    }
    return *updaterEndpoint_;
}

void MainWindow::takeHandedProject(const std::string& fileName) {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    if (!fileName.empty()) {
        // After the reply: the question about unsaved changes may wait on the user.
        QTimer::singleShot(0, this, [this, name = qs(fileName)] { openFromCommandLine({name}); });
    }
}

void MainWindow::releaseDataFile() {
    dataFile_.reset();
}

bool MainWindow::reopenDataFile() {
    return loadProgramData();
}

void MainWindow::repaint() {
    QCoreApplication::processEvents();
    update();
    QCoreApplication::processEvents();
}

}  // namespace tf::gui

#include "gui/shell/startup.h"
#include "gui/widgets/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

#include "core/shell/program_data.h"
#include "gui/shell/file_association.h"
#include "gui/shell/main_window.h"
#include "gui/shell/splash_window.h"
#include "gui/shell/updater_endpoint.h"

namespace tf::gui {
namespace {

void tellDataFileFailed(Prompter& prompter) {
    prompter.message("加载ZUdavu.dat文件失败，系统无法正常启动！", Captions::kError,
                     MessageFlags::kWarning);
}

}  // namespace

bool startProgram(MainWindow& window, SplashWindow& splash, const QStringList& arguments) {
    Prompter& prompter = window.prompter();
    splash.show();
    splash.setCaption("加载功能模块……");
    QApplication::processEvents();
    const QString dataPath = QDir(window.programDirectory()).filePath(qs(kProgramDataFile));
    if (!QFileInfo::exists(dataPath)) {
        splash.setWindowFlag(Qt::WindowStaysOnTopHint, false);
        tellDataFileFailed(prompter);
        return false;
    }
    QObject::connect(&splash, &SplashWindow::showMainWindow, &window, [&window] {
        // Also fills the screen where no window manager maximises.
        window.setGeometry(window.screen()->availableGeometry());
        window.showMaximized();
    });
    QEventLoop waitForSplash;
    QObject::connect(&splash, &SplashWindow::finished, &waitForSplash, &QEventLoop::quit);
    splash.timer(1).start();
    waitForSplash.exec();

    if (auto* edit = window.findChild<QLineEdit*>("编辑框1")) {
        edit->setFocus();
    }
    prompter.pause(300);
    if (!window.loadProgramData()) {
        tellDataFileFailed(prompter);
        return false;
    }
    // The updater finds the program at its endpoint; the silent check starts without waiting.
    startSilentUpdateCheck(window.programDirectory(), window.updaterEndpoint().number(),
                           window.dataNumber().value_or(0));
    if (auto* first = window.findChild<QRadioButton*>("单选框1")) {
        first->setChecked(true);
    }
    window.openFromCommandLine(arguments);
    // Last: double-clicking a project file opens it here, unless another program has them.
    const QDir dir(window.programDirectory());
    registerProjectFileType(*platformFileAssociation(), QApplication::applicationFilePath(),
                            dir.filePath("Brix.ico"));
    return true;
}

}  // namespace tf::gui

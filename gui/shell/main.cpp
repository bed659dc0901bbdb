// tallyframe: the main program.
#include <QApplication>
#include <QProxyStyle>
#include <QStandardPaths>

#include "core/base/exclusive_file.h"
#include "core/shell/app_settings.h"
#include "gui/shell/main_window.h"
#include "gui/shell/splash_window.h"
#include "gui/shell/startup.h"
#include "gui/shell/updater_endpoint.h"
#include "gui/widgets/chinese_faces.h"
#include "gui/widgets/chinese_interface.h"
#include "gui/widgets/qt_text.h"

namespace {

// Tooltips of the picture buttons appear after 100 ms.
class ProgramStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ToolTip_WakeUpDelay) {
            return 100;
        }
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

}  // namespace

int main(int argc, char** argv) {
    tf::gui::chineseSystemLocale();
    QApplication app(argc, argv);
    QApplication::setStyle(new ProgramStyle);
    QApplication::setApplicationName(tf::gui::qs(tf::kApplicationName));
    tf::gui::speakChinese(app);
    tf::gui::useSimplifiedChineseFaces();
    tf::ExclusiveFile::setSafetyCopyFolder(
        tf::gui::pathOf(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
    // Started again, say by a double-click on a project: the program running already takes it.
    if (tf::gui::handToRunningProgram(
            tf::gui::programEndpointName(QApplication::applicationDirPath()),
            app.arguments().mid(1))) {
        return 0;
    }
    tf::gui::MainWindow window(QApplication::applicationDirPath());
    tf::gui::SplashWindow splash;
    if (!tf::gui::startProgram(window, splash, app.arguments().mid(1))) {
        return 1;
    }
    return QApplication::exec();
}

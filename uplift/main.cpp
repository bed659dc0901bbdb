// Uplift: the online updater, started by the main program with "window/number/mode".
#include <QApplication>
#include <QStandardPaths>
#include <QUrl>

#include "core/base/number_text.h"
#include "core/shell/app_settings.h"
#include "core/update/update_check.h"
#include "gui/widgets/chinese_faces.h"
#include "gui/widgets/chinese_interface.h"
#include "gui/widgets/qt_text.h"
#include "uplift/update_window.h"

namespace {

// The maker's update server; "Url" in section "Update" of the settings file points
// elsewhere (a mirror, a test server).
constexpr const char* kDefaultBase = "http://update.tallyframe.example/";
constexpr int kDefaultLimitSeconds = 90;

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parsed = tf::parseUpdaterArguments(arguments);
    if (!parsed) {
        return 0;  // not started by the main program: nothing to do, no window
    }
    tf::gui::chineseSystemLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName(tf::gui::qs(tf::kApplicationName));
    tf::gui::speakChinese(app);
    tf::gui::useSimplifiedChineseFaces();
    const std::filesystem::path programDirectory =
        tf::gui::pathOf(QApplication::applicationDirPath());
    const tf::AppSettings settings(tf::settingsFilePath(
        programDirectory,
        tf::gui::pathOf(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))));
    std::string base = settings.text("Update", "Url");
    if (base.empty()) {
        base = kDefaultBase;
    }
    if (base.back() != '/') {
        base += '/';
    }
    const std::string limitText = settings.text("Update", "TimeLimit");
    const double seconds =
        tf::isPlainNumber(limitText) ? tf::parseNumber(limitText) : kDefaultLimitSeconds;
    const auto limit =
        std::chrono::milliseconds(static_cast<long long>(std::clamp(seconds, 0.1, 3600.0) * 1000));
    // "Unattended=1": installations nobody watches (deployment scripts, tests) do not wait.
    const bool notice = settings.text("Update", "Unattended") != "1";
    tf::uplift::UpdateWindow window(*parsed, programDirectory, QUrl(tf::gui::qs(base)), limit,
                                    notice);
    window.begin();
    return QApplication::exec();
}

// tallyframe: the main program.
#include <QApplication>

#include "gui/shell/main_window.h"
#include "gui/shell/splash_window.h"
#include "gui/shell/startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyframe");
    tf::gui::MainWindow window(QApplication::applicationDirPath());
    tf::gui::SplashWindow splash;
    if (!tf::gui::startProgram(window, splash, app.arguments().mid(1))) {
        return 1;
    }
    return QApplication::exec();
}

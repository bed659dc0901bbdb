#pragma once

#include <QStringList>

namespace tf {
class Prompter;
}

namespace tf::gui {

class MainWindow;
class SplashWindow;

// The start-up sequence: the splash and its timers, "ZUdavu.dat" checked and held, then
// the command line. False when the program cannot start (the user has been told).
bool startProgram(MainWindow& window, SplashWindow& splash, const QStringList& arguments);

}  // namespace tf::gui

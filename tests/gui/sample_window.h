#pragma once

#include <filesystem>
#include <memory>

#include "core/base/prompter.h"
#include "gui/shell/main_window.h"

namespace tf::test {

// The main window, shown at 1200 × 800, on the sample project of `locations` locations
// saved as "sample.gdb" in `dir` (the program directory too).
std::unique_ptr<gui::MainWindow> openSampleWindow(const std::filesystem::path& dir,
                                                  Prompter& prompter, int locations);

}  // namespace tf::test

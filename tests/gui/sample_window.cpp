#include "tests/gui/sample_window.h"

#include "cli/sample_project.h"
#include "core/project/project_io.h"
#include "core/shell/program_data.h"
#include "tests/support/temp_dir.h"

namespace tf::test {

std::unique_ptr<gui::MainWindow> openSampleWindow(const std::filesystem::path& dir,
                                                  Prompter& prompter, int locations) {
    writeFile(dir / "ZUdavu.dat", buildProgramData({1, {"消息"}}));
    const std::string path = (dir / "sample.gdb").string();
    {
        ProjectDocument sample;  // holds the file while it lives
        cli::buildSampleProject(sample, locations);
        sample.path = path;
        if (!saveProject(sample, prompter, false)) {
            return nullptr;
        }
    }
    auto window =
        std::make_unique<gui::MainWindow>(QString::fromStdString(dir.string()), &prompter);
    window->resize(1200, 800);
    window->show();
    window->openFromCommandLine({QString::fromStdString(path)});
    return window;
}

}  // namespace tf::test

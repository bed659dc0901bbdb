#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/update/update_package.h"

namespace tf {

// The updater's command line: one argument "window/number/mode".
struct UpdaterArguments {
    long window = 0;      // names the main program's message endpoint
    long dataNumber = 0;  // the number the main program read from "ZUdavu.dat"
    int mode = 0;         // 1: silent check at start-up, else manual
    friend bool operator==(const UpdaterArguments&, const UpdaterArguments&) = default;
};
// Nothing unless there is exactly one argument of exactly three "/"-separated parts; each
// part is read as a number and truncated.
std::optional<UpdaterArguments> parseUpdaterArguments(const std::vector<std::string>& arguments);

// Codes of the messages to the main program.
namespace UpdateMessage {
inline constexpr int kRepaint = 2;
inline constexpr int kReload = 3;
inline constexpr int kRelease = 4;
}  // namespace UpdateMessage

inline constexpr int kUpdateEndMilliseconds = 800;
inline constexpr std::string_view kInstallNotice =
    "您必须退出《BrixTallyframe2009》后，更新才能继续。";

// What the window shows.
struct UpdateView {
    int progress = 0;
    bool progressShown = false;  // "进度" and the bar
    std::string status = "点击开始检测更新";
    std::string startCaption = "开 始";
    std::string endCaption = "取 消";
    bool startEnabled = true;
    bool endEnabled = true;
    bool busy = false;
    bool busyCursor = false;
    bool visible = true;
    friend bool operator==(const UpdateView&, const UpdateView&) = default;
};

// What the updater does next; the window does it and reports back.
struct UpdateStep {
    enum Kind {
        Probe,         // resolve the probe host → probed()
        FetchVersion,  // GET "Updata/UpIni.txt" → versionFetched()
        FetchPackage,  // GET "Updata/tay.dat" → packageFetched()
        Notify,        // send `code` to the main program and wait for the reply → notified()
        ShowNotice,    // kInstallNotice, "更新:", information → noticeClosed()
        Install,       // write the package → installed()
        EndSoon,       // wait 800 ms, then end the program
        Wait,          // nothing: the user decides
    };
    Kind kind = Wait;
    int code = 0;
    friend bool operator==(const UpdateStep&, const UpdateStep&) = default;
};

// The silent and the manual check as a state machine driven by the results of its steps.
class UpdateCheck {
  public:
    // `managed`: the program directory cannot be written, as when a package manager
    // installed the program; it updates the program too, so the check finds nothing to do.
    UpdateCheck(long dataNumber, bool silent, bool managed = false);

    const UpdateView& view() const { return view_; }
    // The package to install at an Install step.
    const std::vector<PackageFile>& package() const { return package_; }
    // The window's close box: refused while busy.
    bool canClose() const { return !view_.busy; }

    // Silent mode: at once. Manual mode: "开 始".
    UpdateStep start();
    UpdateStep probed(bool reachable);
    UpdateStep versionFetched(const std::optional<std::string>& body);
    UpdateStep packageFetched(const std::optional<std::string>& body);
    UpdateStep notified(int code);
    UpdateStep noticeClosed();
    UpdateStep installed(bool whole);

  private:
    UpdateStep nothingNew();
    UpdateStep failed();
    UpdateStep finish();

    long dataNumber_;
    bool silent_;
    bool managed_;
    bool updated_ = false;
    UpdateView view_;
    std::vector<PackageFile> package_;
};

}  // namespace tf

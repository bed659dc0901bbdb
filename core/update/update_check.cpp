#include "core/update/update_check.h"

#include <cmath>

#include "core/base/number_text.h"

namespace tf {
namespace {

constexpr std::string_view kChecking = "检测到新版本，正在更新……";
constexpr std::string_view kFailed = "组件更新失败！";
constexpr std::string_view kDone = "组件更新完毕。";
constexpr std::string_view kLatest = "您当前使用的是最新版。";

long truncated(std::string_view part) {
    const double value = parseNumber(part);
    return std::fabs(value) < 1e15 ? static_cast<long>(value) : 0;
}

}  // namespace

std::optional<UpdaterArguments> parseUpdaterArguments(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        return std::nullopt;
    }
    const std::string& a = arguments.front();
    const auto first = a.find('/');
    const auto second = first == std::string::npos ? first : a.find('/', first + 1);
    if (second == std::string::npos || a.find('/', second + 1) != std::string::npos) {
        return std::nullopt;
    }
    return UpdaterArguments{truncated(a.substr(0, first)),
                            truncated(a.substr(first + 1, second - first - 1)),
                            static_cast<int>(truncated(a.substr(second + 1)))};
}

UpdateCheck::UpdateCheck(long dataNumber, bool silent, bool managed)
    : dataNumber_(dataNumber), silent_(silent), managed_(managed) {
    // A silent check shows its window only once there is something to install.
    view_.visible = !silent;
}

UpdateStep UpdateCheck::start() {
    view_.busy = true;
    view_.startEnabled = false;
    view_.endEnabled = false;
    view_.progressShown = true;
    view_.status = kChecking;
    view_.progress = silent_ ? 25 : 10;
    view_.busyCursor = !silent_;
    // Nothing is fetched for a program the package manager keeps: nothing could be written.
    return managed_ ? nothingNew() : UpdateStep{UpdateStep::Probe};
}

UpdateStep UpdateCheck::probed(bool reachable) {
    return reachable ? UpdateStep{UpdateStep::FetchVersion} : nothingNew();
}

UpdateStep UpdateCheck::versionFetched(const std::optional<std::string>& body) {
    view_.progress = 25;
    const auto latest = body ? latestDataNumber(*body) : std::nullopt;
    if (!latest || !isNewerDataNumber(*latest, dataNumber_)) {
        return nothingNew();
    }
    if (silent_) {
        view_.visible = true;
    } else {
        view_.progress = 30;
    }
    return {UpdateStep::FetchPackage};
}

UpdateStep UpdateCheck::packageFetched(const std::optional<std::string>& body) {
    view_.progress = 60;
    if (!body || body->empty()) {
        return nothingNew();
    }
    auto files = parseUpdatePackage(*body);
    if (!files || !packageReadable(*files)) {
        return failed();  // a damaged or hostile package: nothing is written
    }
    package_ = std::move(*files);
    if (silent_) {
        view_.progress = 80;
    }
    return {UpdateStep::Notify, UpdateMessage::kRelease};
}

UpdateStep UpdateCheck::notified(int code) {
    if (code == UpdateMessage::kRelease) {
        if (!silent_) {
            view_.progress = 70;
        }
        return {UpdateStep::ShowNotice};
    }
    view_.progress = 100;
    if (!updated_) {
        return failed();
    }
    if (silent_) {
        view_.status = kDone;
        return {UpdateStep::EndSoon};
    }
    return finish();
}

UpdateStep UpdateCheck::noticeClosed() {
    return {UpdateStep::Install};
}

UpdateStep UpdateCheck::installed(bool whole) {
    updated_ = whole;
    if (!silent_) {
        view_.progress = 80;
    }
    // The main program reloads its data file whether or not every file went in.
    return {UpdateStep::Notify, UpdateMessage::kReload};
}

UpdateStep UpdateCheck::nothingNew() {
    if (silent_) {
        return failed();
    }
    return finish();
}

UpdateStep UpdateCheck::failed() {
    view_.progress = 100;
    view_.status = kFailed;
    if (silent_) {
        return {UpdateStep::EndSoon};
    }
    finish();
    view_.status = kFailed;
    return {UpdateStep::Wait};
}

UpdateStep UpdateCheck::finish() {
    view_.startCaption = "完成";
    view_.startEnabled = false;
    view_.endCaption = "退出";
    view_.endEnabled = true;
    view_.progress = 100;
    view_.busy = false;
    view_.busyCursor = false;
    view_.status = updated_ ? kDone : kLatest;
    return {UpdateStep::Wait};
}

}  // namespace tf

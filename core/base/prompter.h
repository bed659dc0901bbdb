#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/work_progress.h"

namespace tf {

// Flag words of message boxes: icon, buttons and default button.
namespace MessageFlags {
inline constexpr int kError = 16;
inline constexpr int kWarning = 48;
inline constexpr int kInformation = 64;
inline constexpr int kOkCancelWarning = 49;
inline constexpr int kYesNo = 36;
inline constexpr int kYesNoDefaultNo = 292;
inline constexpr int kYesNoWarningDefaultNo = 308;
inline constexpr int kYesNoCancel = 35;
inline constexpr int kYesNoCancelDefaultCancel = 547;
}  // namespace MessageFlags

namespace Captions {
inline constexpr std::string_view kError = "错误:";
inline constexpr std::string_view kWarning = "警告:";
inline constexpr std::string_view kQuestion = "询问:";
inline constexpr std::string_view kInformation = "信息:";
}  // namespace Captions

enum class Answer { Ok, Cancel, Yes, No };

// Everything core says to or asks of the user. The program implements it with message
// boxes, dialogs and the status bar; tests with a scripted, recording prompter.
class Prompter {
  public:
    virtual ~Prompter() = default;

    virtual Answer message(std::string_view text, std::string_view caption, int flags) = 0;
    // Modal text input; nothing when cancelled.
    virtual std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                             std::string_view initial) = 0;
    // File choosers; filters come as "工程数据(*.gdb)|*.gdb". Nothing when cancelled.
    virtual std::optional<std::string> chooseOpenFile(std::string_view title,
                                                      std::string_view filter) = 0;
    virtual std::optional<std::string> chooseSaveFile(std::string_view title,
                                                      std::string_view filter,
                                                      std::string_view defaultExtension) = 0;
    // The status bar's message panel.
    virtual void setStatus(std::string_view text) = 0;
    virtual std::string status() const = 0;
    virtual void setBusy(bool busy) = 0;
    // Lets pending interface events run.
    virtual void processEvents() = 0;
    // A delay that keeps the interface running.
    virtual void pause(int milliseconds) = 0;
    // Long work that reports how far it is and stops when asked: a window runs it off its
    // own thread behind a progress dialog, with 取消 when the work can stop (`work` then
    // touches nothing the window changes). False when it was stopped or failed. Without a
    // window it simply runs.
    virtual bool runWithProgress(std::string_view label,
                                 const std::function<bool(WorkProgress&)>& work,
                                 bool stoppable = true) {
        static_cast<void>(label);
        static_cast<void>(stoppable);
        WorkProgress progress;
        return work(progress);
    }
};

// A prompter without a window (command line, fuzzing): nothing is ever chosen in a
// dialog, the status text is only kept, waits do not wait. Messages are the subclass's.
class HeadlessPrompter : public Prompter {
  public:
    std::optional<std::string> input(std::string_view, std::string_view,
                                     std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseOpenFile(std::string_view, std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseSaveFile(std::string_view, std::string_view,
                                              std::string_view) override {
        return std::nullopt;
    }
    void setStatus(std::string_view text) override { status_ = std::string(text); }
    std::string status() const override { return status_; }
    void setBusy(bool) override {}
    void processEvents() override {}
    void pause(int) override {}

  private:
    std::string status_;
};

// Shows nothing and answers every message with its first button; remembers that it was
// told something (batch work, fuzzing).
class SilentPrompter : public HeadlessPrompter {
  public:
    bool told = false;
    Answer message(std::string_view, std::string_view, int) override {
        told = true;
        return Answer::Ok;
    }
};

// Shows the busy cursor for its lifetime, so every way out restores it.
class BusyCursor {
  public:
    explicit BusyCursor(Prompter& prompter) : prompter_(prompter) { prompter_.setBusy(true); }
    ~BusyCursor() { prompter_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    Prompter& prompter_;
};

}  // namespace tf

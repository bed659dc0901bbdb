#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "core/base/prompter.h"
#include "core/project/project_document.h"
#include "core/shell/app_settings.h"

namespace tf {

// Keys of "Brix.ini" for saving: what is chosen and the two intervals in minutes.
namespace SaveSettings {
inline constexpr std::string_view kSection = "Save";
inline constexpr std::string_view kType = "Type";              // 0 neither, 1 auto-save, 2 reminder
inline constexpr std::string_view kAutoSaveMinutes = "STime";  // auto-save interval
inline constexpr std::string_view kReminderMinutes = "MTime";  // reminder interval
inline constexpr int kDefaultMinutes = 15;
inline constexpr int kLongestMinutes = 120;
}  // namespace SaveSettings

// The interval timer the window provides; it calls autoSaveTimerFired at every interval
// until it is stopped. Tests give their own, to fire it without waiting.
class IntervalTimer {
  public:
    virtual ~IntervalTimer() = default;
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
};

// The settings window "自动存盘设置" as a model: two check boxes that exclude each other and
// the interval box.
class AutoSaveForm {
  public:
    explicit AutoSaveForm(AppSettings& settings) : settings_(settings) {}

    bool autoSave = false;  // "启用自动存盘"
    bool reminder = false;  // "启用存盘通知"
    std::string interval;   // "间隔时间："

    // Fills the form from the settings as the window opens.
    void open();
    void tickAutoSave(bool ticked);
    void tickReminder(bool ticked);
    // After the user typed: a number above 120 becomes "120".
    void typeInterval(std::string_view text);
    // "确定(&O)": stores the choice and (re)starts the timer, or stops it for neither.
    void confirm(IntervalTimer& timer);

  private:
    // The stored minutes of `key`, "15" written first when there are none.
    std::string storedMinutes(std::string_view key);
    // Ticking one box clears the other and shows its minutes; un-ticking empties the box.
    void tick(bool ticked, bool& box, bool& otherBox, std::string_view minutesKey);

    AppSettings& settings_;
};

// At start-up the stored choice runs as it was confirmed: a choice that silently did nothing
// after a restart would lose the work it was made to keep.
void startStoredAutoSave(const AppSettings& settings, IntervalTimer& timer);

// The timer's turn: auto-save a modified titled project, or remind the user to save (a
// modified untitled project is always reminded of: it has nowhere to be saved to), with the
// minutes since it was last saved, opened or made.
void autoSaveTimerFired(
    ProjectDocument& document, AppSettings& settings, IntervalTimer& timer, Prompter& prompter,
    std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());

}  // namespace tf

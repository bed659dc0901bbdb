#include "core/shell/auto_save.h"

#include <algorithm>

#include "core/base/number_text.h"
#include "core/project/project_io.h"

namespace tf {
namespace {

using namespace SaveSettings;

constexpr int kMinuteMs = 60000;

int savedType(const AppSettings& settings) {
    return settings.number(kSection, kType);
}

// The reminder's minutes: the stored "MTime", 15 when there is none.
int reminderMinutes(const AppSettings& settings) {
    const int minutes = settings.number(kSection, kReminderMinutes);
    return minutes > 0 ? minutes : kDefaultMinutes;
}

void remind(const ProjectDocument& document, AppSettings& settings, IntervalTimer& timer,
            Prompter& prompter, std::chrono::steady_clock::time_point now) {
    // The timer stands still while the message is open, so reminders never pile up.
    timer.stop();
    // The minutes of work not saved, which the interval only bounds from below.
    const auto unsaved = std::chrono::duration_cast<std::chrono::minutes>(now - document.savedAt);
    const long long minutes = std::max<long long>(1, unsaved.count());
    prompter.message("您已经使用了 " + std::to_string(minutes) + " 分钟，请及时保存。",
                     Captions::kInformation, MessageFlags::kInformation);
    timer.start(reminderMinutes(settings) * kMinuteMs);
}

}  // namespace

std::string AutoSaveForm::storedMinutes(std::string_view key) {
    const int minutes = settings_.number(kSection, key);
    if (minutes == 0) {
        settings_.setText(kSection, key, std::to_string(kDefaultMinutes));
        return std::to_string(kDefaultMinutes);
    }
    return settings_.text(kSection, key);
}

void AutoSaveForm::open() {
    autoSave = false;
    reminder = false;
    interval.clear();
    switch (savedType(settings_)) {
        case 0:
            settings_.setText(kSection, kType, "0");
            break;
        case 1:
            autoSave = true;
            interval = storedMinutes(kAutoSaveMinutes);
            break;
        case 2:
            reminder = true;
            interval = storedMinutes(kReminderMinutes);
            break;
        default:
            break;  // a type the program does not know stays in the file as it is
    }
}

void AutoSaveForm::tick(bool ticked, bool& box, bool& otherBox, std::string_view minutesKey) {
    box = ticked;
    if (ticked) {
        otherBox = false;
        interval = storedMinutes(minutesKey);
    } else {
        interval.clear();
    }
}

void AutoSaveForm::tickAutoSave(bool ticked) {
    tick(ticked, autoSave, reminder, kAutoSaveMinutes);
}

void AutoSaveForm::tickReminder(bool ticked) {
    tick(ticked, reminder, autoSave, kReminderMinutes);
}

void AutoSaveForm::typeInterval(std::string_view text) {
    interval =
        parseNumber(text) > kLongestMinutes ? std::to_string(kLongestMinutes) : std::string(text);
}

void AutoSaveForm::confirm(IntervalTimer& timer) {
    timer.stop();
    const double typed = parseNumber(interval);
    const int minutes =
        typed >= 1 && typed <= kLongestMinutes ? static_cast<int>(typed) : kDefaultMinutes;
    if (autoSave || reminder) {
        settings_.setText(kSection, autoSave ? kAutoSaveMinutes : kReminderMinutes,
                          std::to_string(minutes));
        settings_.setText(kSection, kType, autoSave ? "1" : "2");
        timer.start(minutes * kMinuteMs);
    } else {
        settings_.setText(kSection, kType, "0");
    }
}

void startStoredAutoSave(const AppSettings& settings, IntervalTimer& timer) {
    switch (savedType(settings)) {
        case 1: {
            const int minutes = settings.number(kSection, kAutoSaveMinutes);
            timer.start((minutes >= 1 && minutes <= kLongestMinutes ? minutes : kDefaultMinutes) *
                        kMinuteMs);
            break;
        }
        case 2:
            timer.start(reminderMinutes(settings) * kMinuteMs);
            break;
        default:
            break;
    }
}

void autoSaveTimerFired(ProjectDocument& document, AppSettings& settings, IntervalTimer& timer,
                        Prompter& prompter, std::chrono::steady_clock::time_point now) {
    if (!document.modified) {
        return;
    }
    if (document.path.empty()) {
        remind(document, settings, timer, prompter, now);
        return;
    }
    switch (savedType(settings)) {
        case 1:
            prompter.processEvents();
            saveProject(document, prompter, true);
            prompter.processEvents();
            break;
        case 2:
            remind(document, settings, timer, prompter, now);
            break;
        default:
            break;
    }
}

}  // namespace tf

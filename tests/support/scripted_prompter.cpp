#include "tests/support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace tf::test {
namespace {

bool isQuestion(int flags) {
    return flags == MessageFlags::kOkCancelWarning || flags == MessageFlags::kYesNo ||
           flags == MessageFlags::kYesNoDefaultNo ||
           flags == MessageFlags::kYesNoWarningDefaultNo || flags == MessageFlags::kYesNoCancel ||
           flags == MessageFlags::kYesNoCancelDefaultCancel;
}

template <typename T>
T take(std::deque<T>& queue, T fallback, std::string_view what) {
    if (queue.empty()) {
        ADD_FAILURE() << "no scripted answer for " << what;
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

void ScriptedPrompter::clear() {
    messages_.clear();
    statusHistory_.clear();
}

Answer ScriptedPrompter::message(std::string_view text, std::string_view caption, int flags) {
    messages_.push_back({std::string(text), std::string(caption), flags});
    if (!isQuestion(flags)) {
        return answers_.empty() ? Answer::Ok : take(answers_, Answer::Ok, text);
    }
    return take(answers_, Answer::Cancel, text);
}

std::optional<std::string> ScriptedPrompter::input(std::string_view prompt, std::string_view title,
                                                   std::string_view initial) {
    questions_.push_back({std::string(prompt), std::string(title), std::string(initial)});
    return take<std::optional<std::string>>(inputs_, std::nullopt, prompt);
}

std::optional<std::string> ScriptedPrompter::chooseOpenFile(std::string_view title,
                                                            std::string_view) {
    return take<std::optional<std::string>>(files_, std::nullopt, title);
}

std::optional<std::string> ScriptedPrompter::chooseSaveFile(std::string_view title,
                                                            std::string_view, std::string_view) {
    return take<std::optional<std::string>>(files_, std::nullopt, title);
}

void ScriptedPrompter::setStatus(std::string_view text) {
    status_ = std::string(text);
    statusHistory_.push_back(status_);
}

void ScriptedPrompter::setBusy(bool busy) {
    busyDepth_ += busy ? 1 : -1;
    busyCount_ += busy ? 1 : 0;
}

}  // namespace tf::test

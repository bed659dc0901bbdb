#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/base/prompter.h"

namespace tf::test {

// Records everything core says and answers from scripts queued by the test. A question
// (a flag word with Yes/No buttons) that the script did not answer fails the test.
class ScriptedPrompter : public Prompter {
  public:
    struct Message {
        std::string text;
        std::string caption;
        int flags = 0;
        friend bool operator==(const Message&, const Message&) = default;
        // As a failed expectation shows it: the texts themselves, not their bytes.
        friend void PrintTo(const Message& m, std::ostream* os) {
            *os << "{\"" << m.text << "\", \"" << m.caption << "\", " << m.flags << "}";
        }
    };

    struct Question {
        std::string prompt;
        std::string title;
        std::string initial;
        friend bool operator==(const Question&, const Question&) = default;
    };

    void answer(Answer a) { answers_.push_back(a); }
    void answerInput(std::optional<std::string> value) { inputs_.push_back(std::move(value)); }
    void answerFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

    const std::vector<Message>& messages() const { return messages_; }
    // The input boxes shown, with their presets.
    const std::vector<Question>& questions() const { return questions_; }
    const std::vector<std::string>& statusHistory() const { return statusHistory_; }
    int busyDepth() const { return busyDepth_; }
    int busyCount() const { return busyCount_; }
    int pausedMilliseconds() const { return paused_; }
    void clear();

    Answer message(std::string_view text, std::string_view caption, int flags) override;
    std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                     std::string_view initial) override;
    std::optional<std::string> chooseOpenFile(std::string_view title,
                                              std::string_view filter) override;
    std::optional<std::string> chooseSaveFile(std::string_view title, std::string_view filter,
                                              std::string_view defaultExtension) override;
    void setStatus(std::string_view text) override;
    std::string status() const override { return status_; }
    void setBusy(bool busy) override;
    void processEvents() override {}
    void pause(int milliseconds) override { paused_ += milliseconds; }

  private:
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::optional<std::string>> files_;
    std::vector<Message> messages_;
    std::vector<Question> questions_;
    std::vector<std::string> statusHistory_;
    std::string status_;
    int busyDepth_ = 0;
    int busyCount_ = 0;
    int paused_ = 0;
};

}  // namespace tf::test

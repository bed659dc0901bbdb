#pragma once

#include <iosfwd>
#include <string>

#include "core/base/prompter.h"

namespace tf::cli {

// The prompter of a program without a window: messages go to stderr as "caption text"
// lines, questions take their default button, nothing is ever chosen in a dialog.
class CliPrompter : public Prompter {
  public:
    explicit CliPrompter(std::ostream& err) : err_(err) {}

    // True once any message was shown: the command then exits with status 1.
    bool failed() const { return failed_; }

    Answer message(std::string_view text, std::string_view caption, int flags) override;
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
    std::ostream& err_;
    std::string status_;
    bool failed_ = false;
};

}  // namespace tf::cli

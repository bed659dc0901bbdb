#pragma once

#include <iosfwd>
#include <string>

#include "core/base/prompter.h"

namespace tf::cli {

// The prompter of a program without a window: messages go to stderr as "caption text"
// lines, questions take their default button, nothing is ever chosen in a dialog.
class CliPrompter : public HeadlessPrompter {
  public:
    explicit CliPrompter(std::ostream& err) : err_(err) {}

    // True once any message was shown: the command then exits with status 1.
    bool failed() const { return failed_; }
    // OK/Cancel questions take Cancel (nothing destructive) unless told otherwise.
    void answerOkCancel(Answer answer) { okCancel_ = answer; }

    Answer message(std::string_view text, std::string_view caption, int flags) override;

  private:
    std::ostream& err_;
    bool failed_ = false;
    Answer okCancel_ = Answer::Cancel;
};

}  // namespace tf::cli

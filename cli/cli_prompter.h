#pragma once

#include <iosfwd>
#include <string>

#include "core/base/prompter.h"

namespace tf::cli {

// The prompter of a program without a window: messages go to stderr as "caption text"
// lines, questions take their default button (OK/Cancel takes Cancel), nothing is ever chosen in a
// dialog.
class CliPrompter : public HeadlessPrompter {
  public:
    explicit CliPrompter(std::ostream& err) : err_(err) {}

    // True once any message was shown: the command then exits with status 1.
    bool failed() const { return failed_; }

    Answer message(std::string_view text, std::string_view caption, int flags) override;

  private:
    std::ostream& err_;
    bool failed_ = false;
};

}  // namespace tf::cli

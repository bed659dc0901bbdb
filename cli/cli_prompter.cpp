#include "cli/cli_prompter.h"

#include <ostream>

namespace tf::cli {

Answer CliPrompter::message(std::string_view text, std::string_view caption, int flags) {
    failed_ = true;
    if (!caption.empty()) {
        err_ << caption << ' ';
    }
    err_ << text << '\n';
    switch (flags) {
        case MessageFlags::kOkCancelWarning:
            return okCancel_;
        case MessageFlags::kYesNo:
        case MessageFlags::kYesNoCancel:
            return Answer::Yes;
        case MessageFlags::kYesNoDefaultNo:
        case MessageFlags::kYesNoWarningDefaultNo:
            return Answer::No;
        case MessageFlags::kYesNoCancelDefaultCancel:
            return Answer::Cancel;
        default:
            return Answer::Ok;
    }
}

}  // namespace tf::cli

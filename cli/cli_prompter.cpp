#include "cli/cli_prompter.h"

#include <ostream>

namespace tf::cli {

Answer CliPrompter::message(std::string_view text, std::string_view caption, int flags) {
    failed_ = true;
    if (!caption.empty()) {
        err_ << caption << ' ';
    }
    // A message of several lines keeps them, as lines of this stream.
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find("\r\n", at);
        err_ << text.substr(at, end - at) << '\n';
        if (end == std::string_view::npos) {
            break;
        }
        at = end + 2;
    }
    switch (flags) {
        case MessageFlags::kOkCancelWarning:
            return Answer::Cancel;  // nothing destructive
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

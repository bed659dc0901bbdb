#pragma once

#include "core/base/prompter.h"

namespace tf::fuzz {

// Answers everything with the default and remembers whether a message was shown.
class SilentPrompter : public HeadlessPrompter {
  public:
    bool told = false;

    Answer message(std::string_view, std::string_view, int) override {
        told = true;
        return Answer::Ok;
    }
};

}  // namespace tf::fuzz

#pragma once

#include "core/base/prompter.h"

namespace tf::fuzz {

// Answers everything with the default and remembers whether a message was shown.
class SilentPrompter : public Prompter {
  public:
    bool told = false;

    Answer message(std::string_view, std::string_view, int) override {
        told = true;
        return Answer::Ok;
    }
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
    void setStatus(std::string_view) override {}
    std::string status() const override { return {}; }
    void setBusy(bool) override {}
    void processEvents() override {}
    void pause(int) override {}
};

}  // namespace tf::fuzz

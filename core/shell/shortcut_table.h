#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/shell/commands.h"

namespace tf {

enum KeyModifier : int { kNoModifier = 0, kControl = 1, kShift = 2, kAlt = 4 };

struct ShortcutKey {
    int modifiers = kNoModifier;
    std::string key;  // "N", "O", "S", "P", "F4"
    Command command = Command::NewProject;
};

// The program-wide keys, registered in order. Each registration that succeeds is recorded
// as (window, modifiers, key, number, command), numbered from 1; one that fails is skipped.
class ShortcutTable {
  public:
    struct Entry {
        std::string window;
        int modifiers = 0;
        std::string key;
        int number = 0;
        Command command = Command::NewProject;
    };
    using Registrar = std::function<bool(const ShortcutKey& key, int number)>;

    static const std::vector<ShortcutKey>& programKeys();

    void registerAll(const std::string& window, const Registrar& tryRegister);
    std::optional<Command> commandOf(int number) const;
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    std::vector<Entry> entries_;
};

}  // namespace tf

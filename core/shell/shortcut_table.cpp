#include "core/shell/shortcut_table.h"

namespace tf {

const std::vector<ShortcutKey>& ShortcutTable::programKeys() {
    static const std::vector<ShortcutKey> keys = {{kControl, "N", Command::NewProject},
                                                  {kControl, "O", Command::OpenProject},
                                                  {kControl, "S", Command::SaveProject},
                                                  {kControl, "P", Command::Print},
                                                  {kNoModifier, "F4", Command::Calculator}};
    return keys;
}

void ShortcutTable::registerAll(const std::string& window, const Registrar& tryRegister) {
    entries_.clear();
    for (const auto& key : programKeys()) {
        const int number = static_cast<int>(entries_.size()) + 1;
        if (tryRegister(key, number)) {
            entries_.push_back({window, key.modifiers, key.key, number, key.command});
        }
    }
}

std::optional<Command> ShortcutTable::commandOf(int number) const {
    for (const auto& e : entries_) {
        if (e.number == number) {
            return e.command;
        }
    }
    return std::nullopt;
}

}  // namespace tf

#pragma once

#include "core/shell/app_settings.h"

namespace tf {

// The entry dialog's two ticks as the surveyor left them, kept in "Brix.ini" ([录入]) so
// that the next location, and the next start, begins with them.
struct EntryTicks {
    bool autoCalculate = false;  // "由分项尺寸直接计算出工程量并自动填写。"
    bool useProcess = false;     // "使用分项工艺。"
};

EntryTicks keptEntryTicks(const AppSettings& settings);
void keepEntryTicks(AppSettings& settings, const EntryTicks& ticks);

}  // namespace tf

#include "core/entry/entry_ticks.h"

namespace tf {
namespace {

constexpr std::string_view kSection = "录入";
constexpr std::string_view kAutoCalculate = "自动计算";
constexpr std::string_view kUseProcess = "使用分项工艺";

}  // namespace

EntryTicks keptEntryTicks(const AppSettings& settings) {
    return {settings.number(kSection, kAutoCalculate) != 0,
            settings.number(kSection, kUseProcess) != 0};
}

void keepEntryTicks(AppSettings& settings, const EntryTicks& ticks) {
    settings.setText(kSection, kAutoCalculate, ticks.autoCalculate ? "1" : "0");
    settings.setText(kSection, kUseProcess, ticks.useProcess ? "1" : "0");
}

}  // namespace tf

// Expressions as typed: any bytes, any number of lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/prompter.h"
#include "core/expr/expression_evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) {
        return 0;  // long inputs only repeat what short ones reach, more slowly
    }
    tf::SilentPrompter prompter;
    const std::string result =
        tf::evaluateLastLine(std::string_view(reinterpret_cast<const char*>(data), size), prompter);
    if (result.find(tf::kBoundMinus) != std::string::npos) {
        __builtin_trap();  // the internal sign marker never leaves the evaluator
    }
    return 0;
}

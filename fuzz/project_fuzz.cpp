// Project files as loadProject reads them, without the file around them (from memory, and
// through a small window as from a file: both must agree); a project that opens also has its
// statistics built, as the program does when they are first shown.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/base/byte_stream.h"
#include "core/base/prompter.h"
#include "core/project/project_io.h"
#include "core/stats/find_details.h"
#include "core/stats/statistic_row.h"
#include "core/stats/statistics.h"

namespace {

void buildEveryView(tf::ProjectDocument& document, tf::SilentPrompter& prompter) {
    tf::Statistics statistics;
    tf::resetStatistics(statistics);
    tf::rebuildStatistics(document, statistics, prompter);
    for (std::size_t node = 0; node < statistics.divisionTree.tree.size(); ++node) {
        tf::selectDivisionNode(statistics, node, prompter);
    }
    for (std::size_t l = 0; l < statistics.filter.locations().size(); ++l) {
        statistics.filter.setLocationTick(l, tf::Tick::Ticked);
    }
    tf::chooseStatisticsView(document, statistics, tf::StatisticsView::Filtered, prompter);
    statistics.summary.setCursor(1, 2);
    tf::findDetails(statistics, document.analysis);
    tf::sumAllRows(statistics.summary, statistics.statisticRow);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tf::SilentPrompter prompter;
    auto reading = tf::readProjectImage(bytes, prompter);
    const bool whole = reading && reading->lostParts.empty();
    if (whole == prompter.told) {
        __builtin_trap();  // a refusal or a salvage is always told, a whole project never
    }
    tf::ByteStream windowed(
        [bytes](std::uint64_t offset, std::span<char> out) -> std::optional<std::size_t> {
            const auto part = bytes.substr(static_cast<std::size_t>(offset), out.size());
            if (!part.empty()) {
                std::memcpy(out.data(), part.data(), part.size());
            }
            return part.size();
        },
        size, 64);
    tf::SilentPrompter quiet;
    const auto fromFile = tf::readProjectImage(windowed, quiet);
    if (fromFile.has_value() != reading.has_value() ||
        (reading && fromFile->lostParts != reading->lostParts)) {
        __builtin_trap();  // the same bytes read from a file give the same outcome
    }
    if (reading) {
        buildEveryView(reading->document, prompter);
    }
    return 0;
}

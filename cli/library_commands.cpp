#include "cli/library_commands.h"

#include <map>
#include <optional>
#include <ostream>

#include "cli/cli_prompter.h"
#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/library/library_location.h"
#include "core/library/repricing.h"
#include "core/materials/price_list.h"
#include "core/shell/program_environment.h"

namespace tf::cli {
namespace {

// The words after the command: plain ones in order, and the value of each "--name value".
struct Words {
    std::vector<std::string> plain;
    std::map<std::string, std::string> options;
};

std::optional<Words> readWords(const std::vector<std::string>& args, std::size_t from,
                               std::initializer_list<std::string_view> known) {
    Words words;
    for (std::size_t i = from; i < args.size(); ++i) {
        if (!args[i].starts_with("--")) {
            words.plain.push_back(args[i]);
            continue;
        }
        const std::string name = args[i].substr(2);
        if (std::ranges::find(known, name) == known.end() || i + 1 >= args.size()) {
            return std::nullopt;
        }
        words.options[name] = args[++i];
    }
    return words;
}

std::optional<std::string> option(const Words& words, const std::string& name) {
    const auto it = words.options.find(name);
    return it != words.options.end() ? std::optional(it->second) : std::nullopt;
}

std::unique_ptr<PriceLibrary> openLibrary(const Words& words) {
    const AppSettings settings(settingsFilePath(programDirectory(), userConfigFolder()));
    return openPriceLibrary(libraryLocation(settings, option(words, "library")));
}

// The day the words give, today without one; nothing (told) for one that is no date.
std::optional<std::string> dayOf(const Words& words, Streams io) {
    const std::string day = option(words, "date").value_or(libraryToday());
    if (!isLibraryDay(day)) {
        io.err << "tallyframe-cli: not a date (YYYY-MM-DD): " << day << '\n';
        return std::nullopt;
    }
    return day;
}

void tellImport(const PriceImport& done, std::size_t skipped, Streams io) {
    io.out << "added\t" << done.added << "\nunchanged\t" << done.unchanged << "\nskipped\t"
           << skipped << '\n';
}

int importFile(const Words& words, Streams io) {
    const auto day = dayOf(words, io);
    if (!day) {
        return 2;
    }
    const std::string& file = words.plain[0];
    const PriceList list = readPriceList(file);
    if (!list.failure.empty()) {
        io.err << "tallyframe-cli: " << file << ": " << list.failure << '\n';
        return 1;
    }
    std::vector<std::pair<LibraryMaterial, double>> prices;
    std::size_t unpriced = 0;
    for (const PriceLine& line : list.materials) {
        const MaterialFields& f = line.fields;
        if (f[4].empty()) {
            ++unpriced;  // a material without a price gives the library nothing
            continue;
        }
        prices.push_back({{f[0], f[1], f[2], f[3]}, parseNumber(f[4])});
    }
    const std::string source =
        option(words, "source").value_or(utf8FromPath(pathFromUtf8(file).filename()));
    for (const SkippedLine& skipped : list.skipped) {
        if (skipped.reason != kBlankLine) {
            io.err << "tallyframe-cli: " << file << ": line " << skipped.line << ": "
                   << skipped.reason << '\n';
        }
    }
    const PriceImport done = openLibrary(words)->importPrices(
        prices, *day, source, option(words, "supplier").value_or(""),
        option(words, "region").value_or(""));
    tellImport(done, list.skipped.size() + unpriced, io);
    return 0;
}

int saveProjectPrices(const Words& words, Streams io) {
    const auto day = dayOf(words, io);
    if (!day) {
        return 2;
    }
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProject(document, words.plain[0], prompter, io)) {
        return 1;
    }
    const std::string source =
        option(words, "source")
            .value_or("工程：" + utf8FromPath(pathFromUtf8(words.plain[0]).stem()));
    tellImport(openLibrary(words)->importPrices(projectPrices(document), *day, source), 0, io);
    return 0;
}

int listMaterials(const Words& words, Streams io) {
    for (const PricedMaterial& m : openLibrary(words)->search(option(words, "search").value_or(""),
                                                              std::numeric_limits<int>::max())) {
        io.out << m.material.category << '\t' << m.material.name << '\t' << m.material.spec << '\t'
               << m.material.unit << '\t' << formatNumber(m.price.price) << '\t' << m.price.day
               << '\t' << m.price.source << '\n';
    }
    return 0;
}

int showHistory(const Words& words, Streams io) {
    const auto prices = openLibrary(words)->history(
        words.plain[0], words.plain.size() > 1 ? words.plain[1] : std::string());
    for (const auto& [material, price] : prices) {
        io.out << price.day << '\t' << formatNumber(price.price) << '\t' << price.source << '\t'
               << price.supplier << '\t' << price.region << '\t' << material.category << '\t'
               << material.spec << '\t' << material.unit << '\n';
    }
    return 0;
}

// Runs a library command, telling a library that fails as the user reads it.
template <typename Command>
int guarded(Command command, Streams io) {
    try {
        return command();
    } catch (const LibraryError& e) {
        io.err << "tallyframe-cli: 价格库无法使用：" << e.what() << '\n';
        return 1;
    }
}

}  // namespace

int libraryCommand(const std::vector<std::string>& args, Streams io) {
    if (args.empty()) {
        return 2;
    }
    const auto words =
        readWords(args, 1, {"library", "date", "source", "supplier", "region", "search"});
    if (!words) {
        return 2;
    }
    const std::size_t plain = words->plain.size();
    if (args[0] == "import" && plain == 1) {
        return guarded([&] { return importFile(*words, io); }, io);
    }
    if (args[0] == "save" && plain == 1) {
        return guarded([&] { return saveProjectPrices(*words, io); }, io);
    }
    if (args[0] == "list" && plain == 0) {
        return guarded([&] { return listMaterials(*words, io); }, io);
    }
    if (args[0] == "history" && (plain == 1 || plain == 2)) {
        return guarded([&] { return showHistory(*words, io); }, io);
    }
    return 2;
}

int repriceCommand(const std::vector<std::string>& args, Streams io) {
    const auto words = readWords(args, 0, {"library", "date"});
    if (!words || words->plain.size() != 1) {
        return 2;
    }
    return guarded(
        [&] {
            const auto day = dayOf(*words, io);
            if (!day) {
                return 2;
            }
            CliPrompter prompter(io.err);
            ProjectDocument document;
            if (!openProjectToChange(document, words->plain[0], prompter, io)) {
                return 1;
            }
            // The library is asked before anything changes: one that fails leaves the
            // project as it was.
            const RepricePlan plan = planRepricing(document, *openLibrary(*words), *day);
            for (const RepriceLine& line : plan.lines) {
                io.out << line.material.category << '\t' << line.material.name << '\t'
                       << line.material.spec << '\t' << line.material.unit << '\t'
                       << formatNumber(line.oldPrice) << '\t'
                       << (line.newPrice ? formatNumber(*line.newPrice) : "") << '\n';
            }
            io.err << "tallyframe-cli: " << plan.changed() << " prices changed, " << plan.missing()
                   << " materials not in the library\n";
            if (applyRepricing(document, plan) > 0 && !saveProject(document, prompter, false)) {
                return 1;
            }
            return 0;
        },
        io);
}

}  // namespace tf::cli

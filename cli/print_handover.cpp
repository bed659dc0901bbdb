#include <unistd.h>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/print_commands.h"
#include "core/shell/program_environment.h"

namespace tf::cli {

std::pair<std::vector<std::string>, bool> withoutChartWord(std::vector<std::string> words) {
    const auto chart = std::ranges::find(words, "--chart");
    if (chart == words.end()) {
        return {std::move(words), false};
    }
    words.erase(chart);
    return {std::move(words), true};
}

bool printWordsFit(const std::vector<std::string>& all) {
    const auto [words, chart] = withoutChartWord(all);
    const bool file = words.size() == 2 && !chart;
    const bool table = (words.size() == 4 || (words.size() == 6 && words[3] == "--title")) &&
                       words[1] == "--table";
    return file || table;
}

int printElsewhere(const std::vector<std::string>& words, Streams io) {
    if (!printWordsFit(words)) {
        return 2;
    }
    const std::string program = (programDirectory() / kPrintProgram).string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    io.out.flush();
    ::execv(program.c_str(), argv.data());
    io.err << "tallyframe-cli: " << program
           << " prints and cannot be started: " << std::strerror(errno) << '\n';
    return 1;
}

}  // namespace tf::cli

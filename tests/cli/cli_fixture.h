#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "tests/support/temp_dir.h"

namespace tf::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the tallyframe-cli binary in a fresh folder and keeps what it said.
class CliFixture : public ::testing::Test {
  protected:
    CliRun cli(const std::string& args) { return run(std::string(TALLYFRAME_CLI) + " " + args); }
    CliRun run(const std::string& commandLine) {
        const auto errPath = dir / "stderr.txt";
        const std::string command = commandLine + " 2>" + utf8FromPath(errPath);
        CliRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buf[4096];
        std::size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) {
            run.out.append(buf, n);
        }
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = readFile(errPath);
        return run;
    }

    std::string path(std::string_view name) { return utf8FromPath(dir / name); }

    TempDir dir;
};

}  // namespace tf::test

#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tf::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// Each returns the process exit status: 0 done, 1 a failure was reported.
int newProjectCommand(const std::string& path, Streams io);
int infoCommand(const std::string& path, Streams io);

}  // namespace tf::cli

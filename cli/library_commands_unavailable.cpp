// The price library's commands where the build has no database engines.
#include <ostream>

#include "cli/library_commands.h"

namespace tf::cli {
namespace {

int unavailable(Streams io) {
    io.err << "tallyframe-cli: this build has no price library\n";
    return 1;
}

}  // namespace

int libraryCommand(const std::vector<std::string>&, Streams io) {
    return unavailable(io);
}

int repriceCommand(const std::vector<std::string>&, Streams io) {
    return unavailable(io);
}

}  // namespace tf::cli

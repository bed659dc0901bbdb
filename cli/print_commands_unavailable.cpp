// A build without Qt (the Windows cross-build) has no printing program.
#include <ostream>

#include "cli/print_commands.h"

namespace tf::cli {

int printElsewhere(const std::vector<std::string>&, Streams io) {
    io.err << "tallyframe-cli: this build cannot print (it has no Qt)\n";
    return 1;
}

}  // namespace tf::cli

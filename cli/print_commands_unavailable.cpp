// A build without Qt (the Windows cross-build) cannot paint pages.
#include <ostream>

#include "cli/print_commands.h"

namespace tf::cli {

int printCommand(const std::vector<std::string>&, int, char**, Streams io) {
    io.err << "tallyframe-cli: this build cannot print (it has no Qt)\n";
    return 1;
}

}  // namespace tf::cli

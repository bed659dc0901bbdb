// tallyframe-cli-print: the `print` command of tallyframe-cli, which hands it over.
#include <iostream>

#include "cli/print_commands.h"
#include "core/base/exclusive_file.h"
#include "core/shell/program_environment.h"

int main(int argc, char** argv) {
    tf::useByteStandardStreams();
    tf::ExclusiveFile::setSafetyCopyFolder(tf::userCacheFolder());
    const int status =
        tf::cli::printCommand(tf::programArguments(argc, argv), argc, argv, {std::cout, std::cerr});
    if (status == 2) {
        std::cerr << "usage: tallyframe-cli print FILE.gdb --table 分析表|材料表|统计表 "
                     "[--title T] [--chart] OUT.pdf\n"
                     "       tallyframe-cli print FILE.pb OUT.pdf\n";
    }
    return status;
}

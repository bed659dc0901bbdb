// tallyframe-cli: the headless companion of tallyframe, for scripting, batch work,
// benchmarks and black-box tests.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/attachment_commands.h"
#include "cli/compare_commands.h"
#include "cli/entry_commands.h"
#include "cli/export_commands.h"
#include "cli/library_commands.h"
#include "cli/material_commands.h"
#include "cli/print_commands.h"
#include "cli/project_commands.h"
#include "cli/settings_commands.h"
#include "cli/stats_commands.h"
#include "cli/structure_commands.h"
#include "core/base/exclusive_file.h"
#include "core/shell/app_settings.h"
#include "core/shell/program_environment.h"

namespace {

constexpr const char* kUsage =
    "usage: tallyframe-cli COMMAND ARGS\n"
    "  new FILE.gdb                        write a new empty project\n"
    "  info FILE.gdb                       open a project as the program does and describe\n"
    "                                      its sections (status 2 when some were damaged)\n"
    "  eval [EXPR ...]                     evaluate expressions (or each line of stdin)\n"
    "  compare OLD.gdb NEW.gdb [--by location|material|cost|structure] [--changes]\n"
    "          [--xlsx OUT.xlsx]\n"
    "                   what changed between two projects: the totals, their split into\n"
    "                   price and quantity effects and the counts; or the table asked for,\n"
    "                   only its changed lines with --changes; every table as a workbook\n"
    "  structure FILE.gdb|FILE.gd|--default\n"
    "                   list the division structure: position, level, number, code, name\n"
    "  structure export FILE.gdb OUT.gd    write the project's structure file\n"
    "  structure import FILE.gdb IN.gd     replace the project's structure\n"
    "  materials FILE.gdb                  list the material table\n"
    "  materials import FILE.gdb IN.txt|IN.xlsx\n"
    "                   append the materials of a text file or of a workbook's first sheet\n"
    "  materials import --replace FILE.gdb IN.txt|IN.xlsx [--delete-missing]\n"
    "                   replace the material table and link the analysis rows again by\n"
    "                   material name and unit; rows whose material is gone are listed and\n"
    "                   kept, or deleted with --delete-missing\n"
    "  materials export FILE.gdb OUT.txt   write the material table as a text file\n"
    "  analysis FILE.gdb                   list the analysis rows\n"
    "  attachments FILE.gdb [LOCATION]     list the attached files: location, folder, name,\n"
    "                                      description, time, size\n"
    "  attachments add FILE.gdb LOCATION [--folder PATH] FILE...\n"
    "                   attach files to a location (LOCATION: its name or number)\n"
    "  attachments extract FILE.gdb LOCATION OUTDIR\n"
    "                   write a location's attached files into OUTDIR\n"
    "  entry import FILE.gdb SHEET.txt     enter locations from a TAB-separated sheet\n"
    "  export FILE.gdb --table 分析表|材料表|统计表|分统计表|累计统计表 [--node N |\n"
    "         --filter [LOCATION ...]] OUT.xlsx\n"
    "                   write a table as an Excel workbook (statistics as for stats)\n"
    "  export FILE.gdb --all [--node N | --filter [LOCATION ...]] OUT.xlsx\n"
    "                   write every table, one sheet each\n"
    "  library import FILE [--date D] [--source S] [--supplier X] [--region R]\n"
    "                   add a price list (text file or workbook) to the price library\n"
    "  library save FILE.gdb [--date D] [--source S]\n"
    "                   add the project's material prices to the price library\n"
    "  library list [--search T]           the library's materials with their latest price\n"
    "  library history NAME [UNIT]         every price of a material, oldest first\n"
    "                   (library commands and reprice take --library LOCATION: a SQLite\n"
    "                   file or a postgresql:// URI; else Brix.ini [Library] Location, else\n"
    "                   the user's own library; dates are YYYY-MM-DD, today by default)\n"
    "  print FILE.gdb --table 分析表|材料表|统计表 [--title T] [--chart] OUT.pdf\n"
    "                   print a table as the print editor opens it, to PDF\n"
    "  print FILE.pb OUT.pdf               print a print file to PDF\n"
    "  reprice FILE.gdb [--date D]         price 材料表 from the library as of the day\n"
    "  sample OUT.gdb [--locations N] [--force]  write a sample project (N = 40);\n"
    "                                      an existing file only with --force\n"
    "  settings [get SECTION KEY | set SECTION KEY VALUE]\n"
    "                   the program's settings file: its path, then the file or the value\n"
    "  versions FILE.gdb                   the saved versions, oldest first: number, time,\n"
    "                                      label, total cost, file\n"
    "  versions save FILE.gdb LABEL        save the project as it is as a version\n"
    "  versions restore FILE.gdb VERSION   make a version (label, file name or number) the\n"
    "                                      project, the state before saved as a version\n"
    "  stats FILE.gdb                      the all-materials statistics, one row per material\n"
    "  stats FILE.gdb --node N             the statistics of structure node N\n"
    "  stats FILE.gdb --filter [LOCATION ...]\n"
    "                   the costs of the locations (all when none is named), an empty line,\n"
    "                   then their materials\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = tf::programArguments(argc, argv);
    tf::useByteStandardStreams();
    const tf::cli::Streams io{std::cout, std::cerr};
    tf::ExclusiveFile::setSafetyCopyFolder(tf::userCacheFolder());
    if (!args.empty() && args[0] == "settings") {
        const int status = tf::cli::settingsCommand(
            tf::settingsFilePath(tf::programDirectory(), tf::userConfigFolder()),
            {args.begin() + 1, args.end()}, io);
        if (status != 2) {
            return status;
        }
    }
    if (args.size() == 2 && args[0] == "new") {
        return tf::cli::newProjectCommand(args[1], io);
    }
    if (args.size() == 2 && args[0] == "info") {
        return tf::cli::infoCommand(args[1], io);
    }
    if (!args.empty() && args[0] == "eval") {
        return tf::cli::evalCommand({args.begin() + 1, args.end()}, std::cin, io);
    }
    if (args.size() == 4 && args[0] == "structure" && args[1] == "export") {
        return tf::cli::structureExportCommand(args[2], args[3], io);
    }
    if (args.size() == 4 && args[0] == "structure" && args[1] == "import") {
        return tf::cli::structureImportCommand(args[2], args[3], io);
    }
    if (args.size() == 2 && args[0] == "materials") {
        return tf::cli::materialsListCommand(args[1], io);
    }
    if (args.size() == 4 && args[0] == "materials" && args[1] == "import") {
        return tf::cli::materialsImportCommand(args[2], args[3], io);
    }
    if ((args.size() == 5 || (args.size() == 6 && args[5] == "--delete-missing")) &&
        args[0] == "materials" && args[1] == "import" && args[2] == "--replace") {
        return tf::cli::materialsReplaceCommand(args[3], args[4], args.size() == 6, io);
    }
    if (args.size() == 4 && args[0] == "materials" && args[1] == "export") {
        return tf::cli::materialsExportCommand(args[2], args[3], io);
    }
    if ((args.size() == 2 || args.size() == 3) && args[0] == "attachments" && args[1] != "add" &&
        args[1] != "extract") {
        return tf::cli::attachmentsListCommand(args[1], args.size() == 3 ? args[2] : "", io);
    }
    if (args.size() >= 5 && args[0] == "attachments" && args[1] == "add") {
        const bool folder = args[4] == "--folder";
        if (!folder || args.size() >= 7) {
            return tf::cli::attachmentsAddCommand(args[2], args[3], folder ? args[5] : "",
                                                  {args.begin() + (folder ? 6 : 4), args.end()},
                                                  io);
        }
    }
    if (args.size() == 5 && args[0] == "attachments" && args[1] == "extract") {
        return tf::cli::attachmentsExtractCommand(args[2], args[3], args[4], io);
    }
    if (args.size() == 2 && args[0] == "analysis") {
        return tf::cli::analysisCommand(args[1], io);
    }
    if (args.size() == 4 && args[0] == "entry" && args[1] == "import") {
        return tf::cli::entryImportCommand(args[2], args[3], io);
    }
    if (!args.empty() && args[0] == "print") {
        const int status = tf::cli::printElsewhere({args.begin() + 1, args.end()}, io);
        if (status != 2) {
            return status;
        }
    }
    if (args.size() >= 2 && args[0] == "sample") {
        // OUT [--locations N] [--force], the options in either order.
        int locations = 40;
        bool force = false;
        bool understood = true;
        for (std::size_t i = 2; i < args.size() && understood; ++i) {
            if (args[i] == "--force") {
                force = true;
            } else if (args[i] == "--locations" && i + 1 < args.size()) {
                locations = std::atoi(args[++i].c_str());
                understood = locations >= 0 && locations <= 1'000'000;
            } else {
                understood = false;
            }
        }
        if (understood) {
            return tf::cli::sampleCommand(args[1], locations, force, io);
        }
    }
    if (args.size() == 2 && args[0] == "stats") {
        return tf::cli::statsCommand(args[1], {}, io);
    }
    if (args.size() == 4 && args[0] == "stats" && args[2] == "--node") {
        return tf::cli::statsCommand(args[1], {args[3], std::nullopt}, io);
    }
    if (args.size() >= 3 && args[0] == "stats" && args[2] == "--filter") {
        return tf::cli::statsCommand(
            args[1], {std::nullopt, std::vector<std::string>(args.begin() + 3, args.end())}, io);
    }
    if (args.size() >= 4 && args[0] == "export") {
        const int status = tf::cli::exportCommand({args.begin() + 1, args.end()}, io);
        if (status != 2) {
            return status;
        }
    }
    if (!args.empty() && args[0] == "compare") {
        const int status = tf::cli::compareCommand({args.begin() + 1, args.end()}, io);
        if (status != 2) {
            return status;
        }
    }
    if (!args.empty() && (args[0] == "library" || args[0] == "reprice")) {
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        const int status = args[0] == "library" ? tf::cli::libraryCommand(rest, io)
                                                : tf::cli::repriceCommand(rest, io);
        if (status != 2) {
            return status;
        }
    }
    if (!args.empty() && args[0] == "versions") {
        const int status = tf::cli::versionsCommand({args.begin() + 1, args.end()}, io);
        if (status != 2) {
            return status;
        }
    }
    if (args.size() == 2 && args[0] == "structure") {
        return tf::cli::structureListCommand(args[1], io);
    }
    std::cerr << kUsage;
    return 2;
}

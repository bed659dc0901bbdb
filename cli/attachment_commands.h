#pragma once

#include <string>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// `attachments FILE.gdb [LOCATION]`: per file, TAB-separated: location, folder path, file
// name, description, time, size. A location is named by its 部位名称 or its number.
int attachmentsListCommand(const std::string& project, const std::string& location, Streams io);
// `attachments add FILE.gdb LOCATION [--folder PATH] FILE…`: adds files as the attachments
// window does, into the folder at PATH ("图纸/节点"; made where missing; by default the
// location's first folder, or a new "新建文件夹"), and saves.
int attachmentsAddCommand(const std::string& project, const std::string& location,
                          const std::string& folder, const std::vector<std::string>& files,
                          Streams io);
// `attachments extract FILE.gdb LOCATION OUTDIR`: writes the location's files into folders
// named as its folders, under cleaned names; a name met twice gets " (2)", " (3)", ….
int attachmentsExtractCommand(const std::string& project, const std::string& location,
                              const std::string& outDir, Streams io);

}  // namespace tf::cli

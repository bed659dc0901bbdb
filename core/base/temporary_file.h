#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tf {

// The program's temporary files: short names of one pattern (".tf" + 6 characters + ".tmp")
// in the folder of the file they are to replace, each locked for as long as it is written,
// so one left behind by a killed process is recognised and swept away.

// Creates, opens and locks a temporary file in the folder; its name goes to `name`. Returns
// the descriptor, or -1 when none can be made there.
int createTemporaryFile(const std::filesystem::path& folder, std::string& name);

// Closes a descriptor made here.
void closeDescriptor(int fd);

// Writes all of `data` at the descriptor's position, going on after interrupted writes.
bool writeFully(int fd, std::string_view data);

// Removes the program's temporary files in the folder that no one holds (one being written
// right now is held by its writer).
void sweepStaleTemporaryFiles(const std::filesystem::path& folder);

}  // namespace tf

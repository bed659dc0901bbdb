#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/project/project_io.h"

namespace tf::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// Loads a project as the program does; when the system refuses the file, its reason follows
// the program's message on stderr ("held by another process", "permission denied").
// For a command that changes the project: loads it as openProject does, then refuses, before any
// work is done, a project that cannot be saved where it is (a read-only file or folder, or one
// opened with damaged parts, which is saved under a new name only).
bool openProjectToChange(ProjectDocument& document, const std::string& path, Prompter& prompter,
                         Streams io);

bool openProject(ProjectDocument& document, const std::string& path, Prompter& prompter, Streams io,
                 LoadDetails* details = nullptr);

// Each returns the process exit status: 0 done, 1 a failure was reported.
int newProjectCommand(const std::string& path, Streams io);
int infoCommand(const std::string& path, Streams io);

}  // namespace tf::cli

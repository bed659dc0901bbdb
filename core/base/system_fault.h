#pragma once

#include <string>
#include <string_view>

namespace tf {

// Why the system refused the file operation of this thread that failed last, in the user's
// words: a message can then say more than that a save failed. Each file primitive notes the
// fault where its call fails; whoever reports a failure clears it before the work and reads it
// after.
enum class SystemFault {
    None,
    DiskFull,
    TooLarge,
    ReadOnly,
    NameTooLong,
    FolderMissing,
    Held,
    Other
};

// Notes the fault of the call that just failed (errno, or Windows' last error), or one known.
void noteSystemFault();
void noteSystemFault(SystemFault fault);
SystemFault lastSystemFault();
void clearSystemFault();

// "磁盘空间不足" and the like; empty when there is nothing more to say.
std::string_view systemFaultText(SystemFault fault);

// A failure's message, and on a line of its own the system's reason when there is one.
std::string withSystemFault(std::string_view message);

}  // namespace tf

#pragma once
// What a program without Qt learns from the system it runs on, in the core's terms: UTF-8
// texts and whole paths on every system.
#include <filesystem>
#include <string>
#include <vector>

namespace tf {

// The arguments after the program's name. On Windows they come from the UTF-16 command line,
// not from the ANSI `argv`.
std::vector<std::string> programArguments(int argc, char** argv);
// The folder of the running executable (empty when the system does not say).
std::filesystem::path programDirectory();
// Where this user's settings and cache files go, as Qt's AppConfigLocation and CacheLocation
// name them, so that the command-line companion and the program find the same "Brix.ini".
std::filesystem::path userConfigFolder();
std::filesystem::path userCacheFolder();
// Where this user's data lives (Qt's AppLocalDataLocation): the price library's file.
std::filesystem::path userDataFolder();
// Standard output and input carry bytes unchanged: UTF-8 with LF line ends on every system.
void useByteStandardStreams();

}  // namespace tf

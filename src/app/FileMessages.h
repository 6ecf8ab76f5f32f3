#pragma once
// What the user reads when a file fails.
#include "foundations/DataRoot.h"
#include "foundations/FileError.h"

#include <filesystem>
#include <string>

namespace athanor {

// The message of a file error, in Spanish (Windows-1252): which file, named by its place in
// the program folder ("OpzioneH/DBmain.rnd") and by what it holds, what is wrong with it and
// what to do, never the system's own words. A file outside the program folder is named by
// its full path. `installed` is the folder of the installation data, whose files the program
// puts back at start-up when they are missing.
std::string userMessage(const FileError& error, const DataRoot& programFolder,
                        const std::filesystem::path& installed = DataRoot::installedDefaults());

// The same for the program folder the program opened (openProgramFolder).
std::string userMessage(const FileError& error);

// The program folder the messages name files by; openProgramFolder sets it.
void setMessageProgramFolder(const DataRoot& programFolder);

}  // namespace athanor

// Finding, reading and writing the files the user names.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrik {

class Dialogs;

// An existing entry that is not a folder, whose modification time is a valid DOS date (1980 to 2107).
bool FileLoadable(const std::string& path);
// An existing entry that is not a folder; the date is not looked at.
bool PathIsFile(const std::string& path);

struct FileSearchPlaces {
    std::string ProjectFileName; // the current project's path (its folder is searched second)
    std::string ProgramFolder;   // ends in a path separator (searched last)
};

// Finds a data file that may have moved together with its project; returns the name itself when
// nothing is found. A file that exists but fails the date check is reported through dialogs.
std::string ResolveFileName(const std::string& name, const FileSearchPlaces& places, Dialogs& dialogs);

// Reads a whole file; throws tavrik::Error naming the file when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
// Writes a whole file, replacing any file of that name; throws tavrik::Error naming the file on failure.
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

// The folder of the running executable, ending in a separator ("" when it cannot be found): where the
// program looks for its settings, help and data files that moved with it.
std::string ExecutableFolder();

// The file-name part of a path.
std::string FileNamePart(const std::string& path);

} // namespace tavrik

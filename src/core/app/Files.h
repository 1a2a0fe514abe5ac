// Finding, reading and writing the files the user names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

class Dialogs;

// An existing entry that is not a folder, whatever its date (archives and reproducible builds date files
// in 1970).
bool PathIsFile(const std::string& path);

struct FileSearchPlaces {
    std::string ProjectFileName; // the current project's path (its folder is searched second)
    std::string ProgramFolder;   // ends in a path separator (searched last)
};

// Finds a data file that may have moved together with its project: the name as stored when absolute,
// relative to the project's folder, by its file-name part beside the project, beside the program, then in
// the current folder. Returns the name itself when nothing is found.
std::string ResolveFileName(const std::string& name, const FileSearchPlaces& places, Dialogs& dialogs);
// The first of those places that holds a file, without any message; the name itself when none does.
std::string LocateFile(const std::string& name, const FileSearchPlaces& places);

// The name made absolute from the current folder (unchanged when that fails).
std::string AbsolutePath(const std::string& name);
// Why path cannot be opened as a file (it does not exist, it is a folder), or nothing when it can.
std::optional<std::string> OpenFileProblem(const std::string& path);

// The one overwrite question: true when path names no file yet, or the user agrees to replace it.
bool ConfirmOverwrite(const std::string& path, Dialogs& dialogs);

// Reads a whole file; throws tavrik::Error naming the file when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
// Writes a whole file through a PendingFile: a failure or a kill leaves any old file of that name whole.
// Throws tavrik::Error naming the file on failure.
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);
void WriteWholeFile(const std::string& path, std::string_view text);

// The folder of the running executable, ending in a separator ("" when it cannot be found): where the
// program looks for its settings, help and data files that moved with it.
std::string ExecutableFolder();

// The file-name part of a path.
std::string FileNamePart(const std::string& path);

} // namespace tavrik

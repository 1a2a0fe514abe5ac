// The files the program keeps beside itself for updates: its executable, the downloaded archive, and the
// names of the copies earlier updaters left beside it.
#pragma once

#include <cstdint>
#include <string>

namespace tavrik {

struct ProgramFiles {
    std::string Folder;         // the program folder, ending in a separator
    std::string ExecutableName; // the running executable's file name ("tavrik")

    std::string Executable() const { return Folder + ExecutableName; }
    std::string Archive() const { return Folder + "Tavrik.zip"; }
    // "tavrik_Old": the executable's name with a suffix before any extension.
    std::string OldExecutable() const;
    // A name the updater uses itself in the folder: the archive, the old executable, and the copies an
    // earlier updater could not delete ("tavrik_Delete_Me_" and a number).
    bool IsUpdaterFileName(const std::string& name) const;
};

// The running executable's folder and name, found through /proc/self/exe.
ProgramFiles RunningProgramFiles();

// At start-up: removes the previous executable a replacement left behind; failures are ignored.
void DeleteOldExecutable(const ProgramFiles& files);

} // namespace tavrik

// The files the program keeps beside itself for updates: its executable, the downloaded archive, the
// previous executable kept aside during a replacement, and one that could not be deleted.
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
    std::string DeleteMeExecutable(uint32_t number) const;
    // A name the updater uses itself in the folder: the archive, the old executable, one not deleted.
    bool IsUpdaterFileName(const std::string& name) const;
};

// The running executable's folder and name, found through /proc/self/exe.
ProgramFiles RunningProgramFiles();

// At start-up: removes the previous executable a replacement left behind; failures are ignored.
void DeleteOldExecutable(const ProgramFiles& files);

} // namespace tavrik

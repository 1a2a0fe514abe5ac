// Replacing the program's files with those of a downloaded update: unpacked into a staging folder beside
// the program folder, then swapped in file by file, with everything moved back when any step fails.
#pragma once

#include "update/ProgramFiles.h"
#include "update/UpdateArchive.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tavrik {

// Called with a short description before each change the swap makes in the program folder; an exception
// thrown from it fails that step (how the tests pull the plug half-way).
using SwapStepHook = std::function<void(const std::string& step)>;

// A program installed by the package manager lives in a folder it may not change; the staging folder
// needs the folder above it writable too.
bool ProgramFolderWritable(const std::string& folder);
std::string PackageManagerMessage(const std::string& folder);

// Checks every entry and everything in the program folder the update would pass through before anything
// is written, then stages and swaps. The program gets mode 0755, every other file 0644, new folders 0755.
// Throws tavrik::Error ("Tavrik was not updated: ...") with the program folder exactly as it was.
void InstallUpdate(std::span<const uint8_t> archive, const ProgramFiles& files, const SwapStepHook& hook = {},
                   const UpdateArchiveLimits& limits = {});

} // namespace tavrik

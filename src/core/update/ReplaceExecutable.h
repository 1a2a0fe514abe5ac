// Replacing the running executable with the one in the downloaded archive (libzip).
#pragma once

#include "update/ProgramFiles.h"

#include <cstdint>
#include <span>
#include <string>

namespace tavrik {

class Dialogs;

// Unpacks the archive over the program folder, keeping the old executable aside as OldExecutable().
// Returns true when a new executable came out. On failure the old executable is back in place, the
// user has been told, and the archive is to be opened at exit so the user can unpack it by hand.
// An archive whose entries would land outside the program folder (absolute names, "..", symbolic
// links) is refused whole: nothing is extracted.
bool ReplaceExecutable(const ProgramFiles& files, Dialogs& dialogs);

// Whether bytes hold a whole zip archive (a cut-off download lacks the directory at its end).
bool IsZipArchive(std::span<const uint8_t> bytes);

// The message shown when the archive could not be unpacked.
std::string ExtractionFailedMessage(const ProgramFiles& files);

} // namespace tavrik

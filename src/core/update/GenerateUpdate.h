// "Generate update", a developer's command: the version file for the update server, made from the
// newest entries of CHANGELOG.md, and the plain ChangeLog.txt that "Change Log..." opens.
#pragma once

#include "update/VersionFile.h"

#include <optional>
#include <string>
#include <vector>

namespace tavrik {

class Dialogs;

inline constexpr const char* ChangeLogSourceName = "CHANGELOG.md";

// The menu item is shown only to a developer: where CHANGELOG.md lies beside the executable.
bool GenerateUpdateVisible(const std::string& programFolder);


// The version file's lines from the change log's lines below its title: the version, then the newest
// entries from the first "## " version heading on, blank lines dropped, cut before the first heading
// among lines 12 to 19 (else after line 19) so no entry is cut in half, each line trimmed, headings
// without their "## " and with an empty line before each but the first.
std::vector<std::string> VersionFileLines(const std::vector<std::string>& changeLog, const ProgramVersion& version);

struct GenerateUpdatePaths {
    std::string ProgramFolder;   // receives "tavrik_version.txt"
    std::string ChangeLogFolder; // receives "ChangeLog.txt" (the current folder)
};

// Writes ChangeLog.txt and tavrik_version.txt; returns the version file's path for the caller to open,
// or nothing after telling the user that CHANGELOG.md could not be found.
std::optional<std::string> GenerateUpdate(const GenerateUpdatePaths& paths, const ProgramVersion& version,
                                          Dialogs& dialogs);

} // namespace tavrik

// The program's version and the version file the update server hands out: the newest version on its
// first line, the newest change-log entries below it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

struct ProgramVersion {
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Release = 0;
    uint16_t Build = 0;
    auto operator<=>(const ProgramVersion&) const = default;
};

// The version this program was built as.
ProgramVersion RunningVersion();

// "major.minor.release.build", the form of the version file and of the check's "v" query value.
std::string VersionText(const ProgramVersion& version);

struct VersionFile {
    ProgramVersion Newest;
    std::vector<std::string> ChangeLog; // the lines after the first, as they came, but the checksum line
    std::string Sha256;                 // the archive's SHA-256 in lower-case hex from "sha256: HEX"; "" without
};

// Reads a version file. Throws tavrik::Error with a clear message when the first line is not four
// numbers from 0 to 65535 separated by "."; an empty text is an error too, and so is a "sha256:" line
// that does not hold 64 hex digits or appears twice.
VersionFile ParseVersionFile(std::string_view text);

// The question asked when the server has a newer version; archivePath is where it will be saved.
std::string NewVersionQuestion(const VersionFile& file, const std::string& archivePath);

} // namespace tavrik

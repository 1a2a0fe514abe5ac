// Version numbers, the version file's reading and the download question built from it.
#include "update/VersionFile.h"

#include "app/Error.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <array>
#include <cctype>

namespace tavrik {

namespace {

uint16_t VersionNumber(const std::string& part, const std::string& line) {
    const std::optional<int32_t> value = ParseIntegerText(part);
    if (!value || *value < 0 || *value > 0xFFFF)
        throw Error("The version file from the update server is not valid: its first line \"" + line +
                    "\" is not four numbers separated by \".\".");
    return static_cast<uint16_t>(*value);
}

constexpr std::string_view ChecksumMark = "sha256:";
constexpr size_t ChecksumDigits = 64;

// The hex digits of a "sha256:" line in lower case.
std::string ChecksumOf(std::string_view line) {
    std::string digits = Trim(line.substr(ChecksumMark.size()));
    bool valid = digits.size() == ChecksumDigits;
    for (char& digit : digits) {
        digit = static_cast<char>(std::tolower(static_cast<unsigned char>(digit)));
        valid = valid && std::isxdigit(static_cast<unsigned char>(digit));
    }
    if (!valid)
        throw Error("The version file from the update server is not valid: its line \"" + std::string(line) +
                    "\" does not hold the 64 hex digits of a SHA-256 checksum.");
    return digits;
}

void TakeChecksum(VersionFile& file, std::vector<std::string>::const_iterator from,
                  std::vector<std::string>::const_iterator to) {
    for (auto line = from; line != to; ++line) {
        if (!std::string_view(*line).starts_with(ChecksumMark)) {
            file.ChangeLog.push_back(*line);
            continue;
        }
        if (!file.Sha256.empty())
            throw Error("The version file from the update server is not valid: it holds two \"sha256:\" lines.");
        file.Sha256 = ChecksumOf(*line);
    }
}

bool HoldsMoreThanBlanks(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (!Trim(line).empty()) return true;
    return false;
}

} // namespace

ProgramVersion RunningVersion() {
    return {TAVRIK_VERSION_MAJOR, TAVRIK_VERSION_MINOR, TAVRIK_VERSION_RELEASE, TAVRIK_VERSION_BUILD};
}

std::string VersionText(const ProgramVersion& version) {
    return std::to_string(version.Major) + "." + std::to_string(version.Minor) + "." + std::to_string(version.Release) +
           "." + std::to_string(version.Build);
}

VersionFile ParseVersionFile(std::string_view text) {
    std::vector<std::string> lines = SplitLines(text);
    if (lines.empty()) throw Error("The version file from the update server is empty.");
    const std::string firstLine = lines.front();
    std::string rest = firstLine;
    std::array<uint16_t, 4> numbers{};
    for (size_t index = 0; index < 3; ++index)
        numbers[index] = VersionNumber(SplitAt(rest, "."), firstLine);
    numbers[3] = VersionNumber(rest, firstLine); // whatever follows the third "." is the build
    VersionFile file;
    file.Newest = {numbers[0], numbers[1], numbers[2], numbers[3]};
    TakeChecksum(file, lines.begin() + 1, lines.end());
    return file;
}

std::string NewVersionQuestion(const VersionFile& file, const std::string& archivePath) {
    const ProgramVersion& v = file.Newest;
    std::string text = "A new version " + std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." +
                       std::to_string(v.Release) + " (Build " + std::to_string(v.Build) +
                       ") of Tavrik is available!\n\n";
    if (HoldsMoreThanBlanks(file.ChangeLog)) {
        for (const std::string& line : file.ChangeLog)
            text += line + "\n";
        text += "\n";
    }
    return text + "The new version will be saved as " + archivePath + "\nWould you like to download it now?";
}

} // namespace tavrik

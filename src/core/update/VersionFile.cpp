// Version numbers, the version file's reading and the download question built from it.
#include "update/VersionFile.h"

#include "app/Error.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <array>

namespace tavrik {

namespace {

uint16_t VersionNumber(const std::string& part, const std::string& line) {
    const std::optional<int32_t> value = ParseIntegerText(part);
    if (!value || *value < 0 || *value > 0xFFFF)
        throw Error("The version file from the update server is not valid: its first line \"" + line +
                    "\" is not four numbers separated by \".\".");
    return static_cast<uint16_t>(*value);
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
    file.ChangeLog.assign(lines.begin() + 1, lines.end());
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

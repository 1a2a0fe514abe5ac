// The developer's "Generate update": CHANGELOG.md turned into ChangeLog.txt and the version file.
#include "update/GenerateUpdate.h"

#include "app/Dialogs.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <algorithm>

namespace tavrik {

namespace {

constexpr std::string_view HeadingMark = "## ";
// The entries shown with an update: at least this many lines, and a cut at the next heading before the limit.
constexpr size_t FirstCutLine = 12;
constexpr size_t LineLimit = 20;

bool IsHeading(std::string_view line) { return line.starts_with(HeadingMark); }

std::vector<std::string> NewestEntries(const std::vector<std::string>& changeLog) {
    std::vector<std::string> lines;
    auto from = std::find_if(changeLog.begin(), changeLog.end(), [](const std::string& l) { return IsHeading(l); });
    std::copy_if(from, changeLog.end(), std::back_inserter(lines),
                 [](const std::string& line) { return !Trim(line).empty(); });
    size_t cut = std::min(lines.size(), LineLimit);
    for (size_t index = FirstCutLine; index < cut; ++index)
        if (IsHeading(lines[index])) cut = index;
    lines.resize(cut);
    return lines;
}

void SaveLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

} // namespace

bool GenerateUpdateVisible(const std::string& programFolder) {
    return PathIsFile(WithSeparator(programFolder) + ChangeLogSourceName);
}

std::vector<std::string> VersionFileLines(const std::vector<std::string>& changeLog, const ProgramVersion& version) {
    std::vector<std::string> lines{VersionText(version)};
    for (const std::string& entry : NewestEntries(changeLog)) {
        const bool heading = IsHeading(entry);
        if (heading && lines.size() > 1) lines.emplace_back();
        lines.push_back(Trim(heading ? std::string_view(entry).substr(HeadingMark.size()) : entry));
    }
    return lines;
}

std::optional<std::string> GenerateUpdate(const GenerateUpdatePaths& paths, const ProgramVersion& version,
                                          Dialogs& dialogs) {
    const std::string source = WithSeparator(paths.ProgramFolder) + ChangeLogSourceName;
    if (!PathIsFile(source)) {
        dialogs.Error("Could not locate source file " + source + ". Generate failed!");
        return std::nullopt;
    }
    const std::vector<uint8_t> bytes = ReadWholeFile(source);
    std::vector<std::string> changeLog = SplitLines(std::string(bytes.begin(), bytes.end()));
    if (!changeLog.empty()) changeLog.erase(changeLog.begin()); // the title
    SaveLines(WithSeparator(paths.ChangeLogFolder) + "ChangeLog.txt", changeLog);
    const std::string versionFile = WithSeparator(paths.ProgramFolder) + "tavrik_version.txt";
    SaveLines(versionFile, VersionFileLines(changeLog, version));
    return versionFile;
}

} // namespace tavrik

// File look-up, and whole-file reading and writing.
#include "app/Files.h"

#include "app/Dialogs.h"
#include "app/Error.h"
#include "app/FileWriter.h"
#include "app/Limits.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace tavrik {

namespace fs = std::filesystem;

namespace {

std::string SystemMessage() { return std::strerror(errno); }

} // namespace

bool PathIsFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// Project files written on Windows name their data files with backslashes; those count as separators too.
std::string FileNamePart(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

namespace {

// Where a data file is looked for, in order: the name as stored when it is absolute; relative to the
// project's folder; its file-name part beside the project; beside the program (as stored, then by its
// file-name part); the current folder.
std::vector<std::string> Candidates(const std::string& name, const FileSearchPlaces& places) {
    const fs::path stored(name);
    const bool relative = stored.is_relative();
    const std::string fileName = FileNamePart(name);
    std::vector<std::string> candidates;
    const auto add = [&](const fs::path& path) {
        const std::string text = path.string();
        if (std::find(candidates.begin(), candidates.end(), text) == candidates.end()) candidates.push_back(text);
    };
    if (!relative) add(stored);
    if (!places.ProjectFileName.empty()) {
        const fs::path folder = fs::path(places.ProjectFileName).parent_path();
        if (relative) add(folder / stored);
        add(folder / fileName);
    }
    if (!places.ProgramFolder.empty()) {
        if (relative) add(fs::path(places.ProgramFolder) / stored);
        add(fs::path(places.ProgramFolder) / fileName);
    }
    if (relative) add(stored);
    return candidates;
}

} // namespace

std::string ResolveFileName(const std::string& name, const FileSearchPlaces& places, Dialogs&) {
    return LocateFile(name, places);
}

bool ConfirmOverwrite(const std::string& path, Dialogs& dialogs) {
    return !PathIsFile(path) || dialogs.Confirm(path + " already exists! Are you sure you wish to overwrite it?");
}

std::string LocateFile(const std::string& name, const FileSearchPlaces& places) {
    if (name.empty()) return name;
    for (const std::string& candidate : Candidates(name, places))
        if (PathIsFile(candidate)) return candidate;
    return name;
}

std::string AbsolutePath(const std::string& name) {
    std::error_code error;
    const fs::path path = fs::absolute(name, error);
    return error || name.empty() ? name : path.lexically_normal().string();
}

std::optional<std::string> OpenFileProblem(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) return path + " is a folder, not a file.";
    if (!PathIsFile(path)) return "The file " + path + " does not exist.";
    return std::nullopt;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error("Cannot open file " + path + ": " + SystemMessage());
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw Error("Cannot read file " + path);
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes = Allocating("the file " + path, static_cast<uint64_t>(size),
                                            [&] { return std::vector<uint8_t>(static_cast<size_t>(size)); });
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) throw Error("Read error in file " + path);
    return bytes;
}

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    PendingFile file(path);
    file.Write(bytes);
    file.Commit();
}

void WriteWholeFile(const std::string& path, std::string_view text) {
    WriteWholeFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string ExecutableFolder() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return executable.parent_path().string() + "/";
}

} // namespace tavrik

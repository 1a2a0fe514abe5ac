// File look-up, and whole-file reading and writing.
#include "app/Files.h"

#include "app/Dialogs.h"
#include "app/Error.h"
#include "app/FileWriter.h"
#include "app/Limits.h"

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

std::string ResolveFileName(const std::string& name, const FileSearchPlaces& places, Dialogs&) {
    if (PathIsFile(name)) return name;
    const std::string fileName = FileNamePart(name);
    if (!places.ProjectFileName.empty()) {
        const std::string candidate = (fs::path(places.ProjectFileName).parent_path() / fileName).string();
        if (PathIsFile(candidate)) return candidate;
    }
    const std::string candidate = places.ProgramFolder + fileName;
    return PathIsFile(candidate) ? candidate : name;
}

bool ConfirmOverwrite(const std::string& path, Dialogs& dialogs) {
    return !PathIsFile(path) || dialogs.Confirm(path + " already exists! Are you sure you wish to overwrite it?");
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

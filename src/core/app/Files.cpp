// File look-up with the DOS date rule, and whole-file reading and writing.
#include "app/Files.h"

#include "app/Dialogs.h"
#include "app/Error.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace tavrik {

namespace fs = std::filesystem;

namespace {

bool IsDosDate(time_t modified) {
    std::tm local{};
    if (localtime_r(&modified, &local) == nullptr) return false;
    const int year = local.tm_year + 1900;
    return year >= 1980 && year <= 2107;
}

std::string SystemMessage() { return std::strerror(errno); }

} // namespace

bool PathIsFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FileLoadable(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    return IsDosDate(info.st_mtime);
}

// Project files written on Windows name their data files with backslashes; those count as separators too.
std::string FileNamePart(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string ResolveFileName(const std::string& name, const FileSearchPlaces& places, Dialogs& dialogs) {
    if (FileLoadable(name)) return name;
    const std::string illegalDate = " exists but cannot be loaded, most likely due to an illegal file date";
    if (PathIsFile(name)) {
        dialogs.Error("The file " + name + illegalDate, true);
        return name;
    }
    const std::string fileName = FileNamePart(name);
    if (!places.ProjectFileName.empty()) {
        const std::string candidate = (fs::path(places.ProjectFileName).parent_path() / fileName).string();
        if (FileLoadable(candidate)) return candidate;
        if (PathIsFile(candidate)) {
            dialogs.Error("The file " + candidate + illegalDate, true);
            return name;
        }
    }
    const std::string candidate = places.ProgramFolder + fileName;
    if (FileLoadable(candidate)) return candidate;
    if (PathIsFile(candidate)) dialogs.Error("The file " + candidate + illegalDate + "!", true);
    return name;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error("Cannot open file " + path + ": " + SystemMessage());
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw Error("Cannot read file " + path);
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        throw Error("Read error in file " + path);
    return bytes;
}

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw Error("Cannot create file " + path + ": " + SystemMessage());
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw Error("Write error in file " + path);
}

std::string ExecutableFolder() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return executable.parent_path().string() + "/";
}

} // namespace tavrik

// Self-replacement: the old executable renamed aside, the archive unpacked over the program folder,
// the old executable put back when no new one came out.
#include "update/ReplaceExecutable.h"

#include "app/Dialogs.h"
#include "app/Error.h"

#include <zip.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

namespace tavrik {

namespace fs = std::filesystem;

namespace {

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipCloser>;

constexpr zip_uint32_t UnixTypeMask = S_IFMT;
constexpr fs::perms DefaultFilePermissions = fs::perms(0644);

struct Entry {
    std::string Name;
    bool IsFolder = false;
    fs::perms Permissions = DefaultFilePermissions;
};

ZipArchive OpenArchive(const std::string& path) {
    int error = 0;
    ZipArchive archive(zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) throw Error("not a readable zip archive: " + path);
    return archive;
}

// A name stays inside the folder when it is relative and no part of it is "..".
bool NameStaysInside(const std::string& name) {
    if (name.empty() || name.front() == '/') return false;
    for (const fs::path& part : fs::path(name))
        if (part == "..") return false;
    return true;
}

Entry ReadEntry(zip_t* archive, zip_uint64_t index) {
    const char* name = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
    if (name == nullptr || !NameStaysInside(name)) throw Error("an entry would land outside the program folder");
    Entry entry{name, std::string_view(name).ends_with('/')};
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) == 0 && system == ZIP_OPSYS_UNIX) {
        const zip_uint32_t mode = attributes >> 16;
        if ((mode & UnixTypeMask) == S_IFLNK) throw Error("the archive holds a symbolic link: " + entry.Name);
        if ((mode & 0777) != 0) entry.Permissions = fs::perms(mode & 0777);
    }
    return entry;
}

// Every entry, checked before anything is written, so a refused archive leaves the folder as it was.
std::vector<Entry> SafeEntries(zip_t* archive) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::vector<Entry> entries;
    for (zip_int64_t index = 0; index < count; ++index)
        entries.push_back(ReadEntry(archive, static_cast<zip_uint64_t>(index)));
    return entries;
}

void WriteEntry(zip_file_t* source, const Entry& entry, const fs::path& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(1 << 16);
    zip_int64_t read = 0;
    while ((read = zip_fread(source, buffer.data(), buffer.size())) > 0)
        out.write(buffer.data(), read);
    if (read < 0 || !out.flush()) throw Error("cannot extract " + entry.Name);
}

// Written beside the target and renamed over it, so a file in use is replaced, never half-written.
void ExtractFile(zip_t* archive, zip_uint64_t index, const Entry& entry, const fs::path& target) {
    const std::unique_ptr<zip_file_t, ZipFileCloser> source(zip_fopen_index(archive, index, 0));
    if (!source) throw Error("cannot read " + entry.Name);
    fs::create_directories(target.parent_path());
    const fs::path temporary = target.string() + ".tavrik-new";
    try {
        WriteEntry(source.get(), entry, temporary);
        fs::permissions(temporary, entry.Permissions);
        fs::rename(temporary, target);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

void ExtractAll(const std::string& archivePath, const std::string& folder) {
    const ZipArchive archive = OpenArchive(archivePath);
    const std::vector<Entry> entries = SafeEntries(archive.get());
    for (size_t index = 0; index < entries.size(); ++index) {
        const fs::path target = fs::path(folder) / entries[index].Name;
        if (entries[index].IsFolder)
            fs::create_directories(target);
        else
            ExtractFile(archive.get(), index, entries[index], target);
    }
}

// The new executable runs for whoever may read it, whatever the archive's maker stored.
void GrantRunPermission(const std::string& executable) {
    std::error_code ignored;
    const fs::perms perms = fs::status(executable, ignored).permissions();
    fs::perms run = fs::perms::owner_exec;
    if ((perms & fs::perms::group_read) != fs::perms::none) run |= fs::perms::group_exec;
    if ((perms & fs::perms::others_read) != fs::perms::none) run |= fs::perms::others_exec;
    fs::permissions(executable, run, fs::perm_options::add, ignored);
}

uint32_t RandomDeleteMeNumber() {
    std::random_device device;
    return std::uniform_int_distribution<uint32_t>(0, 99999)(device);
}

// A failed replacement puts the old executable back; whatever sits at its name and cannot be deleted
// is renamed out of the way first.
void RestoreOldExecutable(const ProgramFiles& files) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(files.Executable(), error))) {
        fs::remove(files.Executable(), error);
        if (error) fs::rename(files.Executable(), files.DeleteMeExecutable(RandomDeleteMeNumber()), error);
    }
    fs::rename(files.OldExecutable(), files.Executable(), error);
}

bool IsRegularFile(const std::string& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

} // namespace

bool IsZipArchive(std::span<const uint8_t> bytes) {
    if (bytes.empty()) return false;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_error_fini(&error);
    if (source == nullptr) return false;
    const ZipArchive archive(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, nullptr));
    if (!archive) zip_source_free(source); // on success the archive owns the source
    return archive != nullptr;
}

std::string ExtractionFailedMessage(const ProgramFiles& files) {
    return "An error occurred while extracting files from the file " + files.Archive() + ". " +
           "One or more files may be in-use, or the security settings on your computer prevent replacing the "
           "Tavrik files. \n\n(The zip file containing the latest version will be opened automatically when you "
           "close the program. You will have to extract the files over the existing files yourself).";
}

bool ReplaceExecutable(const ProgramFiles& files, Dialogs& dialogs) {
    if (!IsRegularFile(files.Archive())) {
        dialogs.Error("The zip file containing the latest version " + files.Archive() + " was not found!");
        return false;
    }
    std::error_code error;
    fs::remove(files.OldExecutable(), error);
    bool failed = false;
    fs::rename(files.Executable(), files.OldExecutable(), error);
    if (error) {
        failed = true; // the old executable is still in use at its name: nothing could be replaced
    } else {
        try {
            ExtractAll(files.Archive(), files.Folder);
        } catch (const std::exception&) {
            failed = true;
        }
        if (!IsRegularFile(files.Executable())) {
            failed = true;
            RestoreOldExecutable(files);
        } else {
            GrantRunPermission(files.Executable());
        }
    }
    if (failed) dialogs.Information(ExtractionFailedMessage(files));
    return !failed;
}

} // namespace tavrik

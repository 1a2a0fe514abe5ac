// Opening the update archive from memory, the checks every entry passes before anything is unpacked,
// and unpacking one checked file with a bound on what it may write.
#include "update/UpdateArchive.h"

#include "app/Error.h"
#include "app/FileWriter.h"

#include <zip.h>

#include <sys/stat.h>

#include <array>
#include <set>

namespace tavrik {

namespace {

constexpr size_t CopyChunk = 64 * 1024;
constexpr size_t MaxNameBytes = 1024;

[[noreturn]] void Refuse(const std::string& name, const std::string& reason) {
    throw Error("the archive's entry \"" + name + "\" " + reason);
}

std::vector<std::string> NameParts(const std::string& name) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', start)) {
        parts.push_back(name.substr(start, slash - start));
        start = slash + 1;
    }
    parts.push_back(name.substr(start));
    return parts;
}

// Names that must stay inside the program folder and never touch the files the updater keeps itself.
void CheckName(const std::string& name, const ProgramFiles& files) {
    if (name.empty()) Refuse(name, "has no name");
    if (name.size() > MaxNameBytes) Refuse(name.substr(0, 40) + "...", "has a name too long for a file");
    if (name.find('\\') != std::string::npos) Refuse(name, "holds a backslash");
    if (name.front() == '/') Refuse(name, "is an absolute name");
    for (const std::string& part : NameParts(name)) {
        if (part == "..") Refuse(name, "climbs out of the program folder with \"..\"");
        if (part.empty() || part == ".") Refuse(name, "has an empty or \".\" part in its name");
    }
    if (files.IsUpdaterFileName(NameParts(name).front())) Refuse(name, "uses a name the updater keeps for itself");
}

// The entry's kind from the Unix mode a Unix zip tool stores; archives from elsewhere mark folders by "/".
bool IsFolderEntry(zip_t* archive, zip_uint64_t index, const std::string& rawName) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    const bool namedFolder = rawName.ends_with('/');
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0 || system != ZIP_OPSYS_UNIX)
        return namedFolder;
    const zip_uint32_t mode = attributes >> 16;
    if ((mode & (S_ISUID | S_ISGID)) != 0) Refuse(rawName, "asks to run with its owner's rights (set-ID)");
    switch (mode & S_IFMT) {
    case 0:
        return namedFolder;
    case S_IFREG:
        if (namedFolder) Refuse(rawName, "is a file with a folder's name");
        return false;
    case S_IFDIR:
        return true;
    case S_IFLNK:
        Refuse(rawName, "is a symbolic link");
    default:
        Refuse(rawName, "is a device or other special file");
    }
}

UpdateArchiveEntry ReadEntry(zip_t* archive, zip_uint64_t index, const ProgramFiles& files,
                             const UpdateArchiveLimits& limits) {
    const char* rawName = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
    if (rawName == nullptr) throw Error("the archive's entry " + std::to_string(index + 1) + " has no readable name");
    UpdateArchiveEntry entry{rawName, IsFolderEntry(archive, index, rawName), 0, index};
    if (entry.Name.ends_with('/')) entry.Name.pop_back();
    CheckName(entry.Name, files);
    zip_stat_t stat;
    if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0)
        Refuse(entry.Name, "is damaged");
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE)
        Refuse(entry.Name, "is encrypted");
    entry.Size = stat.size;
    if (entry.IsFolder && entry.Size != 0) Refuse(entry.Name, "is a folder with contents of its own");
    if (entry.Size > limits.EntryBytes)
        Refuse(entry.Name, "would unpack to " + std::to_string(entry.Size) + " bytes, more than the " +
                               std::to_string(limits.EntryBytes >> 20) + " MB an update file may have");
    return entry;
}

// Across entries: each name once, no file standing where another entry needs a folder, a sane total,
// and the program itself among them.
void CheckTogether(const std::vector<UpdateArchiveEntry>& entries, const ProgramFiles& files,
                   const UpdateArchiveLimits& limits) {
    std::set<std::string> names, fileNames;
    uint64_t total = 0;
    for (const UpdateArchiveEntry& entry : entries) {
        if (!names.insert(entry.Name).second) Refuse(entry.Name, "appears twice");
        if (!entry.IsFolder) fileNames.insert(entry.Name);
        total += entry.Size;
        if (total > limits.TotalBytes)
            Refuse(entry.Name, "brings the unpacked update past the " + std::to_string(limits.TotalBytes >> 20) +
                                   " MB it may have in all");
    }
    for (const UpdateArchiveEntry& entry : entries)
        for (size_t slash = entry.Name.find('/'); slash != std::string::npos; slash = entry.Name.find('/', slash + 1))
            if (fileNames.count(entry.Name.substr(0, slash)) != 0)
                Refuse(entry.Name, "lies inside \"" + entry.Name.substr(0, slash) + "\", which the archive holds as a file");
    if (fileNames.count(files.ExecutableName) == 0)
        throw Error("the archive holds no program file \"" + files.ExecutableName + "\"");
}

struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

} // namespace

void UpdateArchive::ZipCloser::operator()(zip_t* archive) const { zip_discard(archive); }

UpdateArchive::UpdateArchive(std::span<const uint8_t> bytes, const ProgramFiles& files,
                             const UpdateArchiveLimits& limits) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = bytes.empty() ? nullptr : zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_error_fini(&error);
    if (source != nullptr) Zip.reset(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, nullptr));
    if (!Zip) {
        if (source != nullptr) zip_source_free(source); // once opened, the archive owns its source
        throw Error("the downloaded file is not a whole zip archive");
    }
    const zip_int64_t count = zip_get_num_entries(Zip.get(), 0);
    if (count < 0 || static_cast<uint64_t>(count) > limits.Entries)
        throw Error("the archive holds more than " + std::to_string(limits.Entries) + " entries");
    for (zip_int64_t index = 0; index < count; ++index)
        Checked.push_back(ReadEntry(Zip.get(), static_cast<zip_uint64_t>(index), files, limits));
    CheckTogether(Checked, files, limits);
}

UpdateArchive::~UpdateArchive() = default;

void UpdateArchive::Extract(const UpdateArchiveEntry& entry, const std::string& path, unsigned mode) const {
    const std::unique_ptr<zip_file_t, ZipFileCloser> source(zip_fopen_index(Zip.get(), entry.Index, 0));
    if (!source) Refuse(entry.Name, "cannot be read");
    PendingFile out(path);
    out.SetPermissions(mode);
    std::array<char, CopyChunk> buffer;
    uint64_t written = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(source.get(), buffer.data(), buffer.size());
        if (got < 0) Refuse(entry.Name, std::string("is damaged (") + zip_file_strerror(source.get()) + ")");
        if (got == 0) break;
        written += static_cast<uint64_t>(got);
        if (written > entry.Size) Refuse(entry.Name, "holds more than the size it announces");
        out.Write(std::span(reinterpret_cast<const uint8_t*>(buffer.data()), static_cast<size_t>(got)));
    }
    if (written != entry.Size) Refuse(entry.Name, "is cut short");
    out.Commit();
}

} // namespace tavrik

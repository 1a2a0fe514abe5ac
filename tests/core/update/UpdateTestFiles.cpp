// Zip archives written with libzip, and small file helpers of the update tests.
#include "UpdateTestFiles.h"

#include <zip.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tavrik::test {

namespace fs = std::filesystem;

void WriteZip(const fs::path& path, const std::vector<ZipEntry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) throw std::runtime_error("cannot create " + path.string());
    for (const ZipEntry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.Content.data(), entry.Content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, entry.Name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) throw std::runtime_error("cannot add " + entry.Name);
        zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                         entry.Mode << 16);
    }
    if (zip_close(archive) != 0) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string ZipBytes(const std::vector<ZipEntry>& entries) {
    const fs::path path = fs::temp_directory_path() / ("tavrik-zip-" + std::to_string(getpid()) + ".zip");
    WriteZip(path, entries);
    std::string bytes = ReadText(path);
    fs::remove(path);
    return bytes;
}

bool IsExecutable(const fs::path& path) {
    return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tavrik::test

// Zip archives written with libzip, and small file helpers of the update tests.
#include "support/UpdateTestFiles.h"
#include "support/TextFiles.h"

#include <zip.h>
#include <zlib.h>

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

std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        const fs::file_status status = entry.symlink_status();
        std::string& shown = entries[fs::relative(entry.path(), folder).string()];
        shown = std::to_string(static_cast<int>(status.type())) + " " +
                std::to_string(static_cast<unsigned>(status.permissions())) + " ";
        if (fs::is_symlink(status))
            shown += fs::read_symlink(entry.path()).string();
        else if (fs::is_regular_file(status))
            shown += ReadText(entry.path());
    }
    return entries;
}

std::string WithDamagedEntry(std::string archive, const std::string& name) {
    const std::string header = std::string("PK\x03\x04", 4);
    for (size_t at = archive.find(header); at != std::string::npos; at = archive.find(header, at + 1)) {
        const auto field = [&](size_t offset) {
            return static_cast<size_t>(static_cast<uint8_t>(archive[at + offset])) |
                   static_cast<size_t>(static_cast<uint8_t>(archive[at + offset + 1])) << 8;
        };
        if (archive.compare(at + 30, field(26), name) != 0 || field(26) != name.size()) continue;
        archive[at + 30 + field(26) + field(28) + 2] ^= 0x55;
        return archive;
    }
    throw std::runtime_error("no entry " + name);
}

namespace {

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int index = 0; index < bytes; ++index)
        out += static_cast<char>((value >> (8 * index)) & 0xFF);
}

// A megabyte of zeros as raw deflate data ending on a full flush, so copies of it can follow each other.
std::string DeflatedMegabyteOfZeros() {
    const std::string zeros(1 << 20, '\0');
    std::string out(1 << 16, '\0');
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    stream.avail_in = static_cast<uInt>(zeros.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FULL_FLUSH);
    out.resize(out.size() - stream.avail_out);
    deflateEnd(&stream);
    return out;
}

} // namespace

std::string ZipOfZeros(uint64_t bytes) {
    const uint64_t megabytes = bytes >> 20;
    const std::string block = DeflatedMegabyteOfZeros();
    std::string data;
    for (uint64_t index = 0; index < megabytes; ++index)
        data += block;
    data += std::string("\x03\x00", 2); // the final, empty block
    const std::string zeros(1 << 20, '\0');
    const uLong blockCrc = crc32(0, reinterpret_cast<const Bytef*>(zeros.data()), 1 << 20);
    uLong crc = blockCrc;
    for (uint64_t index = 1; index < megabytes; ++index)
        crc = crc32_combine(crc, blockCrc, 1 << 20);
    const std::string name = "tavrik";
    const auto fields = [&](std::string& out) { // version needed, flags, method, time, date, sizes
        for (uint32_t value : {20u, 0u, 8u, 0u, 0x21u}) PutLittleEndian(out, value, 2);
        PutLittleEndian(out, static_cast<uint32_t>(crc), 4);
        PutLittleEndian(out, static_cast<uint32_t>(data.size()), 4);
        PutLittleEndian(out, static_cast<uint32_t>(megabytes << 20), 4);
        PutLittleEndian(out, static_cast<uint32_t>(name.size()), 2);
        PutLittleEndian(out, 0, 2);
    };
    std::string zip;
    PutLittleEndian(zip, 0x04034b50, 4);
    fields(zip);
    zip += name + data;
    std::string central;
    PutLittleEndian(central, 0x02014b50, 4);
    PutLittleEndian(central, 0x0314, 2); // made on Unix
    fields(central);
    for (uint32_t value : {0u, 0u, 0u}) PutLittleEndian(central, value, 2); // comment, disk, internal
    PutLittleEndian(central, 0100755u << 16, 4);
    PutLittleEndian(central, 0, 4);
    central += name;
    const auto centralAt = static_cast<uint32_t>(zip.size());
    zip += central;
    PutLittleEndian(zip, 0x06054b50, 4);
    for (uint32_t value : {0u, 0u, 1u, 1u}) PutLittleEndian(zip, value, 2);
    PutLittleEndian(zip, static_cast<uint32_t>(central.size()), 4);
    PutLittleEndian(zip, centralAt, 4);
    PutLittleEndian(zip, 0, 2);
    return zip;
}

} // namespace tavrik::test

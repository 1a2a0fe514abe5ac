// Program folders and zip archives built by the update tests.
#pragma once

#include "support/TextFiles.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tavrik::test {

struct ZipEntry {
    std::string Name;
    std::string Content;
    uint32_t Mode = 0100644; // Unix type and permission bits
};

// Writes a zip archive with the entries, in order, as a Unix zip tool would.
void WriteZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries);
std::string ZipBytes(const std::vector<ZipEntry>& entries);

bool IsExecutable(const std::filesystem::path& path);

// Every entry below folder by its relative path: its kind, permission bits and contents (a link's target),
// so that two snapshots are equal only when the folder is byte for byte and mode for mode the same.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder);

// The archive with one byte of the named entry's stored data changed (its checksum no longer matches).
std::string WithDamagedEntry(std::string archive, const std::string& name);

// A zip archive whose entry "tavrik" unpacks to a whole number of megabytes of zeros, built without
// holding or compressing them: about a thousandth of their size.
std::string ZipOfZeros(uint64_t bytes);

} // namespace tavrik::test

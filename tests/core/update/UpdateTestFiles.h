// Program folders and zip archives built by the update tests.
#pragma once

#include <cstdint>
#include <filesystem>
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

std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);
bool IsExecutable(const std::filesystem::path& path);

// Every path below folder, relative to it, sorted.
std::vector<std::string> Listing(const std::filesystem::path& folder);

} // namespace tavrik::test

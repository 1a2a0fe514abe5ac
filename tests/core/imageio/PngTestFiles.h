// Writes and reads PNG files with libpng directly, so the program's PNG code is checked against the library
// rather than against itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrik::test {

struct RawPng {
    uint32_t Width = 0;
    uint32_t Height = 0;
    int ColourType = 0;
    int BitDepth = 8;
    bool Interlaced = false;
    std::vector<std::vector<uint8_t>> Rows; // packed as the file stores them (big-endian 16-bit samples)
    std::vector<uint8_t> Palette;           // red, green, blue triples for colour type 3
    std::vector<uint8_t> Transparency;      // tRNS bytes for colour type 3
};

std::vector<uint8_t> WriteRawPng(const RawPng& png);
// Reads without any transform: palette, bit depth and indexes exactly as stored.
RawPng ReadRawPng(const std::vector<uint8_t>& bytes);

// The offset of the first byte of the named chunk's data, or 0 when absent.
size_t PngChunkData(const std::vector<uint8_t>& bytes, const std::string& name);

} // namespace tavrik::test

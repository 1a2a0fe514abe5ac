// Reading a data file into a memory state: a WinUAE "ASF " save state (chunks walked, compressed chunks
// inflated into an uncompressed copy, chip RAM and custom registers found) or any other file as raw memory.
#pragma once

#include "memory/MemoryImage.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrik {

// Limits that keep a hostile file from making the loader allocate gigabytes. Deflate cannot shrink
// data by more than about 1032 to 1, so a larger claimed ratio is a corrupt chunk.
inline constexpr uint32_t MaxInflatedChunkSize = 64u << 20;
inline constexpr uint64_t MaxUncompressedStateSize = 256u << 20;
inline constexpr uint32_t MaxCompressionRatio = 1032;

struct ParsedDataFile {
    MemoryState Memory;
    // The walk's lines for the "Info" memo: the "Amiga State File detected: " line and one line
    // per compressed chunk; for a raw file, the one line saying it was read as raw memory of its size.
    std::vector<std::string> WalkLines;
    bool IsSaveState = false;
    bool HadCompressedChunks = false;
};

// Parses a whole file into a new memory state. A raw file (not starting with "ASF ") is memory alone:
// chip RAM at 0 and no registers. A save state without the chunk in question keeps previous's chip RAM
// position and registers; the saved colour flags always start cleared. A truncated or corrupt save state
// throws tavrik::Error naming fileName, the chunk and its offset; previous is never touched.
ParsedDataFile ParseDataFile(std::span<const uint8_t> bytes, const MemoryState& previous, const std::string& fileName);
// The same, moving the file's bytes into the memory image when they are used as they are.
ParsedDataFile ParseDataFile(std::vector<uint8_t>&& bytes, const MemoryState& previous, const std::string& fileName);

// The summary lines of the chipset state written into the "Info" memo after every load.
std::vector<std::string> ReportLines(const MemoryState& memory);

} // namespace tavrik

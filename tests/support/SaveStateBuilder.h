// Builds WinUAE "ASF " save states in memory for tests, benchmarks and fuzz seeds: the header, stored and
// zlib-compressed chunks, the "END " marker, and the data of "CHIP" and "AGAC" chunks.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrik::test {

class SaveStateBuilder {
  public:
    // The header: "ASF ", its length, 8 unread bytes, then the description, and its filler.
    explicit SaveStateBuilder(const std::string& description = "UAE 4.10.1");

    // Each adder returns the chunk's offset in the file.
    size_t Stored(const std::string& name, std::span<const uint8_t> data, uint32_t flags = 0);
    size_t Compressed(const std::string& name, std::span<const uint8_t> data, int level = 6);
    // A compressed chunk with a given stream and claimed uncompressed size, for broken files.
    size_t CompressedStream(const std::string& name, uint32_t uncompressedSize, std::span<const uint8_t> stream);
    size_t End(uint32_t lengthField = 8);
    void Append(std::span<const uint8_t> bytes) { Bytes.insert(Bytes.end(), bytes.begin(), bytes.end()); }

    size_t Size() const { return Bytes.size(); }
    const std::vector<uint8_t>& Data() const { return Bytes; }
    std::vector<uint8_t>& Data() { return Bytes; }

  private:
    std::vector<uint8_t> Bytes;
    void PutLong(uint32_t value);
    void PutFiller(size_t chunkStart, uint32_t length);
};

// Register values for a "CHIP" chunk, as the custom chips hold them.
struct ChipRegisters {
    uint32_t COP1LC = 0;
    uint32_t COP2LC = 0;
    uint16_t DIWSTRT = 0;
    uint16_t DIWSTOP = 0;
    uint16_t DDFSTRT = 0;
    uint16_t DDFSTOP = 0;
    std::array<uint32_t, 8> BPLPT{};
    uint16_t BPL1MOD = 0;
    uint16_t BPL2MOD = 0;
    std::array<uint16_t, 32> COLOR{}; // $0RGB words
    uint16_t BPLCON0 = 0;
    uint16_t BPLCON2 = 0;
    uint16_t BPLCON3 = 0;
    uint16_t BPLCON4 = 0;
    uint16_t FMODE = 0;
    uint32_t ChipsetMask = 0; // bit 2: AGA
    uint16_t VPOSR = 0;       // bit 15: a long frame
};

// The data of a "CHIP" chunk (what follows its 12 header bytes) with the registers at their places.
std::vector<uint8_t> ChipChunkData(const ChipRegisters& registers);
// The data of an "AGAC" chunk: 256 colour longs $00RRGGBB.
std::vector<uint8_t> AgacChunkData(const std::array<uint32_t, 256>& colours);

std::vector<uint8_t> ZlibCompress(std::span<const uint8_t> data, int level = 6);

// Chip RAM contents that compress as real memory does: runs of zeros, repeated graphics-like words
// and stretches of varied bytes, the same for the same seed.
std::vector<uint8_t> VariedChipRam(size_t size, uint32_t seed = 1);

// Big-endian words at an offset of a byte vector (grown as needed), for writing copper lists.
void PutWords(std::vector<uint8_t>& bytes, size_t offset, std::initializer_list<uint16_t> words);

} // namespace tavrik::test

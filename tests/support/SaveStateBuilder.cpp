// Save-state building for tests.
#include "support/SaveStateBuilder.h"

#include <zlib.h>

#include <random>
#include <stdexcept>

namespace tavrik::test {

namespace {

void PutLongAt(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    if (bytes.size() < offset + 4) bytes.resize(offset + 4);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

void PutWordAt(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    if (bytes.size() < offset + 2) bytes.resize(offset + 2);
    bytes[offset] = static_cast<uint8_t>(value >> 8);
    bytes[offset + 1] = static_cast<uint8_t>(value);
}

void PutName(std::vector<uint8_t>& bytes, const std::string& name) {
    if (name.size() != 4) throw std::invalid_argument("chunk names have 4 characters");
    bytes.insert(bytes.end(), name.begin(), name.end());
}

} // namespace

SaveStateBuilder::SaveStateBuilder(const std::string& description) {
    PutName(Bytes, "ASF ");
    const uint32_t length = static_cast<uint32_t>(16 + description.size());
    PutLong(length);
    PutLong(0);
    PutLong(1);
    Bytes.insert(Bytes.end(), description.begin(), description.end());
    PutFiller(0, length);
}

void SaveStateBuilder::PutLong(uint32_t value) { PutLongAt(Bytes, Bytes.size(), value); }

void SaveStateBuilder::PutFiller(size_t chunkStart, uint32_t length) {
    Bytes.resize(chunkStart + ((length + 4) & ~3u), 0);
}

size_t SaveStateBuilder::Stored(const std::string& name, std::span<const uint8_t> data, uint32_t flags) {
    const size_t start = Bytes.size();
    const uint32_t length = static_cast<uint32_t>(12 + data.size());
    PutName(Bytes, name);
    PutLong(length);
    PutLong(flags);
    Append(data);
    PutFiller(start, length);
    return start;
}

size_t SaveStateBuilder::Compressed(const std::string& name, std::span<const uint8_t> data, int level) {
    return CompressedStream(name, static_cast<uint32_t>(data.size()), ZlibCompress(data, level));
}

size_t SaveStateBuilder::CompressedStream(const std::string& name, uint32_t uncompressedSize,
                                          std::span<const uint8_t> stream) {
    const size_t start = Bytes.size();
    const uint32_t length = static_cast<uint32_t>(16 + stream.size());
    PutName(Bytes, name);
    PutLong(length);
    PutLong(1);
    PutLong(uncompressedSize);
    Append(stream);
    PutFiller(start, length);
    return start;
}

size_t SaveStateBuilder::End(uint32_t lengthField) {
    const size_t start = Bytes.size();
    PutName(Bytes, "END ");
    PutLong(lengthField);
    return start;
}

std::vector<uint8_t> ChipChunkData(const ChipRegisters& registers) {
    // Offsets below count from the chunk's start, 12 header bytes before this data.
    std::vector<uint8_t> data(400 - 12, 0);
    const auto at = [](size_t chunkOffset) { return chunkOffset - 12; };
    PutLongAt(data, at(144), registers.COP1LC);
    PutLongAt(data, at(148), registers.COP2LC);
    PutWordAt(data, at(158), registers.DIWSTRT);
    PutWordAt(data, at(160), registers.DIWSTOP);
    PutWordAt(data, at(162), registers.DDFSTRT);
    PutWordAt(data, at(164), registers.DDFSTOP);
    for (size_t n = 0; n < 8; ++n)
        PutLongAt(data, at(176 + 4 * n), registers.BPLPT[n]);
    PutWordAt(data, at(216), registers.BPL1MOD);
    PutWordAt(data, at(218), registers.BPL2MOD);
    for (size_t n = 0; n < 32; ++n)
        PutWordAt(data, at(240 + 2 * n), registers.COLOR[n]);
    PutLongAt(data, at(12), registers.ChipsetMask);
    PutWordAt(data, at(20), registers.VPOSR);
    PutWordAt(data, at(208), registers.BPLCON0);
    PutWordAt(data, at(212), registers.BPLCON2);
    PutWordAt(data, at(214), registers.BPLCON3);
    PutWordAt(data, at(220), registers.BPLCON4);
    PutWordAt(data, at(364), registers.FMODE);
    return data;
}

std::vector<uint8_t> AgacChunkData(const std::array<uint32_t, 256>& colours) {
    std::vector<uint8_t> data;
    for (size_t n = 0; n < colours.size(); ++n)
        PutLongAt(data, 4 * n, colours[n]);
    return data;
}

std::vector<uint8_t> ZlibCompress(std::span<const uint8_t> data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<uint8_t> stream(size);
    if (compress2(stream.data(), &size, data.data(), static_cast<uLong>(data.size()), level) != Z_OK)
        throw std::runtime_error("zlib compression failed");
    stream.resize(size);
    return stream;
}

std::vector<uint8_t> VariedChipRam(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> ram;
    ram.reserve(size);
    while (ram.size() < size) {
        const size_t run = 64 + random() % 4096;
        switch (random() % 4) {
        case 0: ram.insert(ram.end(), run, 0); break;
        case 1: { // a tile-like pattern repeated with small changes
            std::array<uint8_t, 16> pattern;
            for (uint8_t& b : pattern)
                b = static_cast<uint8_t>(random());
            for (size_t i = 0; i < run; ++i)
                ram.push_back(static_cast<uint8_t>(pattern[i % 16] ^ (random() % 16 == 0 ? random() : 0)));
            break;
        }
        case 2: // code and tables: bytes of a narrow range
            for (size_t i = 0; i < run; ++i)
                ram.push_back(static_cast<uint8_t>(0x40 + random() % 48));
            break;
        default: // packed or random data
            for (size_t i = 0; i < run; ++i)
                ram.push_back(static_cast<uint8_t>(random()));
        }
    }
    ram.resize(size);
    return ram;
}

void PutWords(std::vector<uint8_t>& bytes, size_t offset, std::initializer_list<uint16_t> words) {
    for (uint16_t word : words) {
        PutWordAt(bytes, offset, word);
        offset += 2;
    }
}

} // namespace tavrik::test

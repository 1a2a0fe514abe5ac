// Big-endian reads over a byte span and writes into a growable byte stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// A read position over bytes. Reads past the end raise no error: missing bytes read as 0,
// and the position still advances by the size of the read.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes, size_t position = 0) : Bytes(bytes), Position(position) {}

    size_t Tell() const { return Position; }
    void Seek(size_t position) { Position = position; }
    size_t Size() const { return Bytes.size(); }
    size_t Remaining() const { return Position < Bytes.size() ? Bytes.size() - Position : 0; }

    uint8_t ReadByte();
    uint16_t ReadWordBE();
    uint32_t ReadLongBE();
    // Exactly n characters; a zero byte stays a zero character, missing bytes become zero characters.
    std::string ReadFixedText(size_t n);

private:
    std::span<const uint8_t> Bytes;
    size_t Position;
};

// Reads without a stream, for random access by offset (0 past the end).
uint16_t WordBEAt(std::span<const uint8_t> bytes, size_t offset);
uint32_t LongBEAt(std::span<const uint8_t> bytes, size_t offset);

class ByteWriter {
public:
    void WriteText(std::string_view text) { Bytes.insert(Bytes.end(), text.begin(), text.end()); }
    void WriteLongBE(uint32_t value);
    void WriteWordBE(uint16_t value);
    void WriteByte(uint32_t value) { Bytes.push_back(static_cast<uint8_t>(value)); }
    void WriteBytes(std::span<const uint8_t> bytes) { Bytes.insert(Bytes.end(), bytes.begin(), bytes.end()); }
    void WriteZeros(size_t count) { Bytes.insert(Bytes.end(), count, 0); }

    size_t Size() const { return Bytes.size(); }
    std::vector<uint8_t>& Data() { return Bytes; }
    std::vector<uint8_t> Take() { return std::move(Bytes); }

private:
    std::vector<uint8_t> Bytes;
};

} // namespace tavrik

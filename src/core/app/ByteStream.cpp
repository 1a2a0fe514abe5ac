// Big-endian byte stream reads and writes.
#include "app/ByteStream.h"

#include <limits>

namespace tavrik {

uint8_t ByteReader::ReadByte() {
    const uint8_t value = Position < Bytes.size() ? Bytes[Position] : 0;
    // Past the end the position must not wrap round to the start of the bytes.
    if (Position != std::numeric_limits<size_t>::max()) ++Position;
    return value;
}

uint16_t ByteReader::ReadWordBE() {
    const uint16_t high = ReadByte();
    return static_cast<uint16_t>((high << 8) | ReadByte());
}

uint32_t ByteReader::ReadLongBE() {
    const uint32_t high = ReadWordBE();
    return (high << 16) | ReadWordBE();
}

std::string ByteReader::ReadFixedText(size_t n) {
    std::string text(n, '\0');
    for (size_t i = 0; i < n; ++i) text[i] = static_cast<char>(ReadByte());
    return text;
}

uint16_t WordBEAt(std::span<const uint8_t> bytes, size_t offset) {
    ByteReader reader(bytes, offset);
    return reader.ReadWordBE();
}

uint32_t LongBEAt(std::span<const uint8_t> bytes, size_t offset) {
    ByteReader reader(bytes, offset);
    return reader.ReadLongBE();
}

void ByteWriter::WriteLongBE(uint32_t value) {
    WriteWordBE(static_cast<uint16_t>(value >> 16));
    WriteWordBE(static_cast<uint16_t>(value));
}

void ByteWriter::WriteWordBE(uint16_t value) {
    WriteByte(value >> 8);
    WriteByte(value);
}

} // namespace tavrik

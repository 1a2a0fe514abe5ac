// The bytes a map is read from, with a position that may wander outside them: a negative address or skip,
// or a map that runs past the end, reads 0 there instead of failing.
#pragma once

#include <cstdint>
#include <span>

namespace tavrik {

class MapSource {
  public:
    explicit MapSource(std::span<const uint8_t> bytes) : Bytes(bytes) {}

    int64_t Position = 0;

    uint8_t ByteAt(int64_t offset) const {
        return offset >= 0 && static_cast<uint64_t>(offset) < Bytes.size() ? Bytes[static_cast<size_t>(offset)] : 0;
    }
    uint8_t ReadByte() { return ByteAt(Position++); }
    uint16_t ReadWordBE() {
        const uint16_t high = ReadByte();
        return static_cast<uint16_t>((high << 8) | ReadByte());
    }
    uint32_t ReadLongBE() {
        const uint32_t high = ReadWordBE();
        return (high << 16) | ReadWordBE();
    }

  private:
    std::span<const uint8_t> Bytes;
};

} // namespace tavrik

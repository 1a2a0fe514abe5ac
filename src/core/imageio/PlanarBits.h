// Turns bitplane bytes into pixel values eight pixels at a time through a lookup table, for the Amiga and
// Atari picture readers.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tavrik::planar {

// Entry b holds eight pixel bytes, each 0 or 1, laid out in memory order: the first pixel byte is bit 7
// of b (the leftmost pixel), so that shifting the entry left by p sets bit p of every pixel with a set bit.
constexpr std::array<uint64_t, 256> MakeSpreadTable() {
    std::array<uint64_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b)
        for (unsigned pixel = 0; pixel < 8; ++pixel) {
            if (((b >> (7 - pixel)) & 1) == 0) continue;
            const unsigned lane = std::endian::native == std::endian::little ? pixel : 7 - pixel;
            table[b] |= uint64_t{1} << (8 * lane);
        }
    return table;
}

inline constexpr std::array<uint64_t, 256> SpreadTable = MakeSpreadTable();

// Adds plane p (0 to 7) of eight pixels to their packed values.
inline void AddPlaneByte(uint64_t& pixels, uint8_t planeByte, unsigned plane) {
    pixels |= SpreadTable[planeByte] << plane;
}

inline void StorePixels(uint8_t* out, uint64_t pixels) { std::memcpy(out, &pixels, sizeof pixels); }

} // namespace tavrik::planar

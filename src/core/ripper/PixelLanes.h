// Eight 8-bit pixels held in one 64-bit value, and the tables that spread a byte of graphics over them.
// Pixel i is the i-th byte in memory order whatever the machine's byte order, so a value stores straight
// into an image row.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tavrik::lanes {

using Lanes = uint64_t;

constexpr Lanes LanesOf(const std::array<uint8_t, 8>& pixels) {
    Lanes lanes = 0;
    for (size_t i = 0; i < 8; ++i) {
        const size_t shift = std::endian::native == std::endian::little ? 8 * i : 56 - 8 * i;
        lanes |= static_cast<Lanes>(pixels[i]) << shift;
    }
    return lanes;
}

// A plane byte as eight lanes of 0 or 1, its most significant bit in the leftmost pixel.
constexpr std::array<Lanes, 256> MakeBitLanes() {
    std::array<Lanes, 256> table{};
    for (size_t byte = 0; byte < 256; ++byte) {
        std::array<uint8_t, 8> pixels{};
        for (size_t i = 0; i < 8; ++i)
            pixels[i] = static_cast<uint8_t>((byte >> (7 - i)) & 1);
        table[byte] = LanesOf(pixels);
    }
    return table;
}

// A C64 multicolour byte: each bit pair from the left gives two pixels of its value 0 to 3.
constexpr std::array<Lanes, 256> MakeMulticolourLanes() {
    std::array<Lanes, 256> table{};
    for (size_t byte = 0; byte < 256; ++byte) {
        std::array<uint8_t, 8> pixels{};
        for (size_t i = 0; i < 8; ++i)
            pixels[i] = static_cast<uint8_t>((byte >> (6 - 2 * (i / 2))) & 3);
        table[byte] = LanesOf(pixels);
    }
    return table;
}

inline constexpr std::array<Lanes, 256> BitLanes = MakeBitLanes();
inline constexpr std::array<Lanes, 256> MulticolourLanes = MakeMulticolourLanes();
inline constexpr Lanes OneInEveryLane = 0x0101010101010101;

// Sums lane by lane modulo 256, so no carry runs from one pixel into the next.
constexpr Lanes AddLanes(Lanes a, Lanes b) {
    constexpr Lanes lowSevenBits = 0x7F7F7F7F7F7F7F7F;
    constexpr Lanes highBits = 0x8080808080808080;
    return ((a & lowSevenBits) + (b & lowSevenBits)) ^ ((a ^ b) & highBits);
}

inline Lanes LoadLanes(const uint8_t* pixels) {
    Lanes lanes;
    std::memcpy(&lanes, pixels, sizeof lanes);
    return lanes;
}

inline void StoreLanes(uint8_t* pixels, Lanes lanes) { std::memcpy(pixels, &lanes, sizeof lanes); }

} // namespace tavrik::lanes

// The memory read as a search step's values: read in stretches as read one at a time, as the literal
// big-endian reading and the 64-bit division of pointers give them.
#include "search/SearchValues.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tavrik {
namespace {

// Value i as the search defines it, written out: big-endian from byte skip on, bytes past memory as 0;
// pointers turned into tile numbers by a 64-bit division truncated to 32 bits.
uint32_t LiteralValue(const std::vector<uint8_t>& memory, MapSearchType type, int32_t skip,
                      const PointerTiles& pointers, int64_t i) {
    const int32_t bytes = SearchTypeRuleOf(type).BytesPerValue;
    if (i >= static_cast<int64_t>(memory.size()) / bytes) return 0;
    uint32_t value = 0;
    for (int32_t b = 0; b < bytes; ++b) {
        const auto at = static_cast<size_t>(skip + i * bytes + b);
        value = value << 8 | (at < memory.size() ? memory[at] : 0u);
    }
    if (type != MapSearchType::Pointers) return value;
    const int64_t sum = int64_t{static_cast<int32_t>(value)} + pointers.ChipRamOffset - pointers.RipAddress;
    return static_cast<uint32_t>(static_cast<int32_t>(sum / PointerTileBytes(pointers)));
}

template <typename T>
void ExpectStretchesAsLiteral(const std::vector<uint8_t>& memory, MapSearchType type, int32_t skip,
                              const PointerTiles& pointers) {
    const SearchValues values(memory, type, skip, pointers);
    const int64_t count = values.Count() + 40;
    std::vector<T> read(static_cast<size_t>(count));
    for (const int64_t from : {int64_t{0}, int64_t{3}, values.Count() - 9}) {
        values.Read(from, count - from, read.data());
        for (int64_t i = from; i < count; ++i) {
            const uint32_t literal = LiteralValue(memory, type, skip, pointers, i);
            ASSERT_EQ(read[static_cast<size_t>(i - from)], static_cast<T>(literal)) << "value " << i << " from " << from;
            ASSERT_EQ(values.At(i), literal) << "value " << i;
        }
    }
}

TEST(SearchValuesTest, StretchesReadAsTheLiteralValues) {
    std::mt19937 random(3);
    std::vector<uint8_t> memory(1001);
    for (uint8_t& byte : memory)
        byte = static_cast<uint8_t>(random());
    for (const int32_t skip : {0, 2}) {
        SCOPED_TRACE("skip " + std::to_string(skip));
        ExpectStretchesAsLiteral<uint8_t>(memory, MapSearchType::Byte, skip, {});
        ExpectStretchesAsLiteral<uint16_t>(memory, MapSearchType::Word, skip, {});
        ExpectStretchesAsLiteral<uint32_t>(memory, MapSearchType::Longword, skip, {});
    }
}

// Pointers around exact multiples of the tile's size, from both sides of zero, with quotients past 32 bits
// (one-byte tiles) and tiles larger than any offset.
TEST(SearchValuesTest, PointersDivideExactlyForEveryTileSize) {
    std::mt19937 random(4);
    const std::vector<PointerTiles> rips{
        {0, 0, 16, 16, 5},          {0x20000, 0x7FFFFFFF, 16, 16, 1}, {0xFFFFFFFF, -2147483647 - 1, 8, 1, 1},
        {52, 0x20000, 3, 1, 8},     {0, 12345, 1 << 15, 1 << 15, 8},  {77, -5, 7, 3, 8},
        {0, 0, 1 << 16, 1 << 16, 8}};
    for (const PointerTiles& rip : rips) {
        const int64_t size = PointerTileBytes(rip);
        const int64_t base = int64_t{rip.ChipRamOffset} - rip.RipAddress;
        std::vector<uint8_t> memory;
        for (int32_t i = 0; i < 600; ++i) {
            const int64_t multiple = (static_cast<int64_t>(random() % 2000) - 1000) * size - base;
            const auto pointer = static_cast<uint32_t>(i % 3 == 0 ? random() : multiple + i % 3 - 2 + random() % 3);
            for (int32_t b = 3; b >= 0; --b)
                memory.push_back(static_cast<uint8_t>(pointer >> (8 * b)));
        }
        SCOPED_TRACE("tile bytes " + std::to_string(size));
        ExpectStretchesAsLiteral<uint32_t>(memory, MapSearchType::Pointers, 0, rip);
        ExpectStretchesAsLiteral<uint32_t>(memory, MapSearchType::Pointers, 2, rip);
    }
}

} // namespace
} // namespace tavrik

// Reading a search step's values from the memory image: big-endian bytes, words and longwords, and pointers
// turned into tile numbers.
#include "search/SearchValues.h"

#include <algorithm>
#include <cstring>

namespace tavrik {

TileDivider::TileDivider(int64_t base, int64_t tileBytes)
    : Base(base), TileBytes(tileBytes), Inverse(tileBytes == 0 ? 0.0 : 1.0 / double(tileBytes)) {}

int32_t TileDivider::operator()(int32_t pointer) const {
    const int64_t offset = int64_t{pointer} + Base;
    if (TileBytes < 0) return static_cast<int32_t>(offset / TileBytes);
    const int64_t magnitude = offset < 0 ? -offset : offset;
    int64_t quotient = static_cast<int64_t>(double(magnitude) * Inverse);
    while (quotient > 0 && quotient * TileBytes > magnitude)
        --quotient;
    while ((quotient + 1) * TileBytes <= magnitude)
        ++quotient;
    return static_cast<int32_t>(offset < 0 ? -quotient : quotient);
}

namespace {

uint32_t BigEndian(const uint8_t* at, size_t bytes) {
    if (bytes == 1) return at[0];
    if (bytes == 2) return uint32_t{at[0]} << 8 | at[1];
    uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return __builtin_bswap32(word);
}

} // namespace

SearchValues::SearchValues(std::span<const uint8_t> memory, MapSearchType type, int32_t skip,
                           const PointerTiles& pointers)
    : Memory(memory), Type(type), Bytes(static_cast<size_t>(SearchTypeRuleOf(type).BytesPerValue)),
      Start(static_cast<size_t>(skip)),
      Divide(static_cast<int64_t>(pointers.ChipRamOffset) - pointers.RipAddress,
             type == MapSearchType::Pointers ? PointerTileBytes(pointers) : 1) {
    Total = static_cast<int64_t>(memory.size() / Bytes);
    Whole = memory.size() >= Start ? std::min<int64_t>(Total, static_cast<int64_t>((memory.size() - Start) / Bytes))
                                   : 0;
}

uint32_t SearchValues::Stored(int64_t i) const {
    const size_t at = Start + static_cast<size_t>(i) * Bytes;
    if (i < Whole) return BigEndian(Memory.data() + at, Bytes);
    uint32_t value = 0;
    for (size_t b = 0; b < Bytes; ++b)
        value = (value << 8) | (at + b < Memory.size() ? Memory[at + b] : 0u);
    return value;
}

uint32_t SearchValues::At(int64_t i) const {
    if (i < 0 || i >= Total) return 0;
    const uint32_t stored = Stored(i);
    return Type == MapSearchType::Pointers ? static_cast<uint32_t>(Divide(static_cast<int32_t>(stored))) : stored;
}

void SearchValues::Read(int64_t from, int64_t n, uint32_t* out) const {
    const int64_t fast = std::clamp<int64_t>(Whole - from, 0, n);
    const uint8_t* m = fast > 0 ? Memory.data() + Start + static_cast<size_t>(from) * Bytes : nullptr;
    if (Bytes == 1) {
        for (int64_t i = 0; i < fast; ++i)
            out[i] = m[i];
    } else if (Bytes == 2) {
        for (int64_t i = 0; i < fast; ++i)
            out[i] = uint32_t{m[2 * i]} << 8 | m[2 * i + 1];
    } else {
        for (int64_t i = 0; i < fast; ++i) {
            uint32_t word;
            std::memcpy(&word, m + 4 * i, sizeof word);
            out[i] = __builtin_bswap32(word);
        }
        if (Type == MapSearchType::Pointers)
            for (int64_t i = 0; i < fast; ++i)
                out[i] = static_cast<uint32_t>(Divide(static_cast<int32_t>(out[i])));
    }
    for (int64_t i = fast; i < n; ++i)
        out[i] = At(from + i);
}

} // namespace tavrik

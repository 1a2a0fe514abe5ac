// Reading a search step's values from the memory image: big-endian bytes, words and longwords, and pointers
// turned into tile numbers.
#include "search/SearchValues.h"

#include "search/VectorClones.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

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

TAVRIK_VECTOR_CLONES
void TileDivider::Apply(uint32_t* values, int64_t n) const {
    // Eight at a time in double precision, where every step is exact: the offset and the product of the
    // quotient and the tile's size are integers below 2^35, and the rounded quotient is the true one or one
    // more (the estimate is within 2^-18 of the exact quotient), which the remainder tells.
    using Doubles [[gnu::vector_size(64)]] = double;
    using Longs [[gnu::vector_size(64)]] = int64_t;
    using Ints [[gnu::vector_size(32)]] = int32_t;
    constexpr int64_t lanes = 8;
    if (TileBytes <= 0 || TileBytes > (int64_t{1} << 31)) {
        for (int64_t i = 0; i < n; ++i)
            values[i] = static_cast<uint32_t>((*this)(static_cast<int32_t>(values[i])));
        return;
    }
    const double round = 4503599627370496.0; // 2^52: adding and taking it away rounds to a whole number
    const double two32 = 4294967296.0;
    const Longs sign = Longs{} + std::numeric_limits<int64_t>::min();
    const Doubles one = Doubles{} + 1.0;
    const double size = double(TileBytes);
    // Only small tiles far from chip RAM give quotients beyond 32 bits, which a cast wraps.
    const bool wraps = ((int64_t{1} << 31) + (Base < 0 ? -Base : Base)) / TileBytes >= (int64_t{1} << 31);
    int64_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        Ints pointers;
        std::memcpy(&pointers, values + i, sizeof pointers);
        const Doubles offset = __builtin_convertvector(pointers, Doubles) + double(Base);
        const Doubles magnitude = (Doubles)((Longs)offset & ~sign);
        Doubles quotient = (magnitude * Inverse + round) - round;
        quotient -= (Doubles)((Longs)one & (Longs)(quotient * size > magnitude));
        // Truncated towards zero: the offset's sign on the quotient of its magnitude.
        quotient = (Doubles)((Longs)quotient | ((Longs)offset & sign));
        if (wraps) {
            // Less the multiple of 2^32 that brings the quotient into the signed 32-bit range.
            const Doubles turns = (quotient + two32 / 2) * (1 / two32);
            Doubles whole = (turns + round) - round;
            whole -= (Doubles)((Longs)one & (Longs)(whole > turns));
            quotient -= whole * two32;
        }
        const Ints tiles = __builtin_convertvector(quotient, Ints);
        std::memcpy(values + i, &tiles, sizeof tiles);
    }
    for (; i < n; ++i)
        values[i] = static_cast<uint32_t>((*this)(static_cast<int32_t>(values[i])));
}

namespace {

// The big-endian values of width bytes (2 or 4) from m into out in the machine's order, 32 bytes at a time
// with a byte shuffle (I runs over the bytes of a vector).
template <size_t Width, typename T, size_t... I>
[[gnu::always_inline]] inline void SwapBytesIn(const uint8_t* m, int64_t count, T* out, std::index_sequence<I...>) {
    using Bytes [[gnu::vector_size(sizeof...(I))]] = uint8_t;
    constexpr int64_t perVector = sizeof...(I) / Width;
    int64_t i = 0;
    for (; i + perVector <= count; i += perVector) {
        Bytes v;
        std::memcpy(&v, m + i * Width, sizeof v);
        v = __builtin_shufflevector(v, v, (I - I % Width + Width - 1 - I % Width)...);
        std::memcpy(out + i, &v, sizeof v);
    }
    for (; i < count; ++i) {
        uint32_t value = 0;
        for (size_t b = 0; b < Width; ++b)
            value = value << 8 | m[static_cast<size_t>(i) * Width + b];
        out[i] = static_cast<T>(value);
    }
}

TAVRIK_VECTOR_CLONES void SwapWords(const uint8_t* m, int64_t count, uint16_t* out) {
    SwapBytesIn<2>(m, count, out, std::make_index_sequence<32>());
}
TAVRIK_VECTOR_CLONES void SwapLongs(const uint8_t* m, int64_t count, uint32_t* out) {
    SwapBytesIn<4>(m, count, out, std::make_index_sequence<32>());
}

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

template <typename T> void SearchValues::ReadAs(int64_t from, int64_t n, T* out) const {
    const int64_t fast = std::clamp<int64_t>(Whole - from, 0, n);
    const uint8_t* m = fast > 0 ? Memory.data() + Start + static_cast<size_t>(from) * Bytes : nullptr;
    if constexpr (sizeof(T) == 1) {
        if (fast > 0) std::memcpy(out, m, static_cast<size_t>(fast));
    } else if constexpr (sizeof(T) == 2) {
        SwapWords(m, fast, out);
    } else {
        SwapLongs(m, fast, out);
        if (Type == MapSearchType::Pointers) Divide.Apply(out, fast);
    }
    for (int64_t i = fast; i < n; ++i)
        out[i] = static_cast<T>(At(from + i));
}

void SearchValues::Read(int64_t from, int64_t n, uint8_t* out) const { ReadAs(from, n, out); }
void SearchValues::Read(int64_t from, int64_t n, uint16_t* out) const { ReadAs(from, n, out); }
void SearchValues::Read(int64_t from, int64_t n, uint32_t* out) const { ReadAs(from, n, out); }

} // namespace tavrik

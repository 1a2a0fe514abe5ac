// The memory image as a search step reads it: values of the step's type from its skip on, read where they
// are needed instead of decoded whole (a decoded copy of a large image costs more to allocate than to search).
#pragma once

#include "search/MapSearch.h"

#include <cstdint>
#include <span>

namespace tavrik {

// The truncating division of a pointer's tile offset by the tile's size, through a floating-point estimate
// corrected to the exact quotient (a division instruction per value costs more than the rest of the step).
class TileDivider {
  public:
    TileDivider(int64_t base, int64_t tileBytes);
    int32_t operator()(int32_t pointer) const;
    // Each of the n pointers turned into its tile number in place.
    void Apply(uint32_t* values, int64_t n) const;

  private:
    int64_t Base;
    int64_t TileBytes;
    double Inverse;
};

class SearchValues {
  public:
    // Pointers are turned into tile numbers, read sign-extended as the map ripper reads them. Bytes past the
    // end of memory read as 0 (the last value of a skip-2 step runs two bytes past it).
    SearchValues(std::span<const uint8_t> memory, MapSearchType type, int32_t skip, const PointerTiles& pointers);

    // The values, without the zero padding that follows them.
    int64_t Count() const { return Total; }
    // Value i; 0 from Count on.
    uint32_t At(int64_t i) const;
    // Values from to from + n - 1 into out, which must be as wide as the type's values: bytes, words, or
    // longwords (for longwords and pointers).
    void Read(int64_t from, int64_t n, uint8_t* out) const;
    void Read(int64_t from, int64_t n, uint16_t* out) const;
    void Read(int64_t from, int64_t n, uint32_t* out) const;

  private:
    std::span<const uint8_t> Memory;
    MapSearchType Type;
    size_t Bytes;
    size_t Start;
    int64_t Whole; // values lying wholly inside memory
    int64_t Total;
    TileDivider Divide;

    uint32_t Stored(int64_t i) const;
    template <typename T> void ReadAs(int64_t from, int64_t n, T* out) const;
};

} // namespace tavrik

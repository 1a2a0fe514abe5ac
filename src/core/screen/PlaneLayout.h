// Where a screen's planes lie in memory, and the one-tile rip (ACBM or ILBM, with a skip between planes)
// that decodes them.
#pragma once

#include "screen/Screen.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tavrik {

struct PlaneLayout {
    int32_t Planes = 0;
    int32_t RowBytes = 0; // bytes shown per plane and line
    int32_t Lines = 0;    // lines of one field
    std::array<uint32_t, 8> Pointers{};
    std::array<int32_t, 8> RowStrides{}; // bytes from one line of a plane to its next
    // The other field's plane pointers of an interlaced screen.
    std::optional<std::array<uint32_t, 8>> SecondField;
};

// Sets Address, Mode, RipWidth, RipHeight, Skip and SkipMode. Two fields that interleave in one bitmap are
// ripped as that bitmap; otherwise the first field is.
void SetRipLayout(ScreenDescription& screen, const PlaneLayout& layout);

} // namespace tavrik

// The working palette: the 256 colour-table entries the indexed images show, and the colour list
// (duplicates kept) that the palette widget shows.
#pragma once

#include "app/Colour.h"
#include "app/IntList.h"

#include <array>

namespace tavrik {

struct WorkingPalette {
    std::array<PaletteEntry, 256> Entries{};
    TIntList Colours{Duplicates::Accept};
};

} // namespace tavrik

// The tile ripper's state between rips: the parameters of the last reading, the bitplane order,
// the tile count and the finished sheet's size.
#pragma once

#include "ripper/RipParameters.h"

#include <cstdint>

namespace tavrik {

struct RipperState {
    RipParameters Parameters;
    BitplaneOrder Order = DefaultBitplaneOrder;
    int32_t TileCount = 0;
    // The finished sheet's size; during a rip briefly the typed rip size.
    int32_t SheetWidth = 0;
    int32_t SheetHeight = 0;
    bool RipSuspended = false;
    // "Use Loaded Tiles": the TileSheet holds a loaded picture that rips and palette changes leave alone.
    bool UseLoadedTiles = false;
};

} // namespace tavrik

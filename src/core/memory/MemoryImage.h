// The loaded memory snapshot: its bytes, where chip RAM lies in them, and the saved custom-chip registers.
#pragma once

#include "app/Colour.h"
#include "memory/SharedBytes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tavrik {

// The custom-chip registers found in a save state, named after the Amiga registers.
struct ChipsetSnapshot {
    uint32_t COP1LC = 0;
    uint32_t COP2LC = 0;
    uint16_t DIWSTRT = 0;
    uint16_t DIWSTOP = 0;
    uint16_t DDFSTRT = 0;
    uint16_t DDFSTOP = 0;
    std::array<uint32_t, 8> BPLPT{}; // BPL1PT to BPL8PT
    uint16_t BPL1MOD = 0;
    uint16_t BPL2MOD = 0;
    // The display mode registers, which the copper list usually sets again each frame.
    uint16_t BPLCON0 = 0;
    uint16_t BPLCON2 = 0;
    uint16_t BPLCON3 = 0;
    uint16_t BPLCON4 = 0;
    uint16_t FMODE = 0;
    // The beam's frame at saving: bit 15 is set in a long frame of an interlaced screen.
    uint16_t VPOSR = 0;
    // Which chips the saved machine has: bit 2 set for AGA.
    uint32_t ChipsetMask = 0;
    std::array<PaletteEntry, 32> EcsPalette{};
    bool HasEcsColours = false;
    std::array<PaletteEntry, 256> AgaPalette{};
    bool HasAgaColours = false;

    bool operator==(const ChipsetSnapshot&) const = default;
};

struct MemoryState {
    // The loaded file, or the uncompressed copy of a save state with compressed chunks.
    SharedBytes MemoryImage;
    // Chip RAM address A is the file offset ChipRamOffset + A.
    uint32_t ChipRamOffset = 0;
    uint32_t ChipRamSize = 0;
    ChipsetSnapshot Snapshot;

    bool operator==(const MemoryState&) const = default;
};

} // namespace tavrik

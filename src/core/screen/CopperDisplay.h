// The display registers one field of an Amiga frame is drawn with: the saved registers, overridden by what
// the copper list sets before the first displayed line, and the list's colour writes line by line after it.
#pragma once

#include "app/Colour.h"
#include "memory/MemoryImage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tavrik {

struct DisplayRegisters {
    uint16_t BPLCON0 = 0;
    uint16_t BPLCON2 = 0;
    uint16_t BPLCON3 = 0;
    uint16_t BPLCON4 = 0;
    uint16_t FMODE = 0;
    uint16_t DIWSTRT = 0;
    uint16_t DIWSTOP = 0;
    uint16_t DDFSTRT = 0;
    uint16_t DDFSTOP = 0;
    int16_t BPL1MOD = 0;
    int16_t BPL2MOD = 0;
    std::array<uint32_t, 8> BPLPT{};
};

// A colour register changed from the start of a beam line on.
struct ColourWrite {
    int32_t Line = 0;
    uint8_t Index = 0;
    Colour Value = 0;
};

struct FieldDisplay {
    DisplayRegisters Registers;
    // The colour registers in effect on the first displayed line.
    std::array<Colour, 256> Colours{};
    // The later writes, in beam order.
    std::vector<ColourWrite> ColourWrites;
    // The copper list this one loads into COP2LC, when it does: the other field of an interlaced screen.
    std::optional<uint32_t> OtherList;
};

// The saved registers and colour registers (the AGA colours when the machine is AGA), before any copper list.
DisplayRegisters SavedDisplayRegisters(const ChipsetSnapshot& snapshot);
std::array<Colour, 256> SavedColours(const ChipsetSnapshot& snapshot, bool aga);
bool IsAgaMachine(const ChipsetSnapshot& snapshot);

// Follows the copper list at chip RAM address listAddress through one frame. Reads only inside chip RAM; a list
// that leaves it, never ends or loops ends where it does.
FieldDisplay ReadFieldDisplay(const MemoryState& memory, uint32_t listAddress, const DisplayRegisters& saved,
                              const std::array<Colour, 256>& savedColours, bool aga);

} // namespace tavrik

// Following a copper list as the beam would: waits move the beam down the frame, moves before the first
// displayed line set up the display, colour moves after it change the colours from their line on.
#include "screen/CopperDisplay.h"

#include <algorithm>

namespace tavrik {

namespace {

constexpr int32_t MaxInstructions = 10000;
// A wait this far right on a line lets the moves after it take effect from the next line.
constexpr int32_t LateHorizontalPosition = 0xD8;

Colour AgaColourWrite(Colour old, uint16_t value, bool lowNibbles) {
    const auto nibble = [&](int shift) { return static_cast<uint32_t>((value >> shift) & 15); };
    if (lowNibbles) {
        const Colour low = MakeColour(static_cast<uint8_t>(nibble(8)), static_cast<uint8_t>(nibble(4)),
                                      static_cast<uint8_t>(nibble(0)));
        return (old & 0xF0F0F0) | low;
    }
    return AmigaColourToColour(value);
}

class CopperBeam {
  public:
    CopperBeam(const MemoryState& memory, const DisplayRegisters& saved, const std::array<Colour, 256>& colours,
               bool aga)
        : Memory(memory), Aga(aga) {
        Field.Registers = saved;
        Field.Colours = Live = colours;
        Cop1 = memory.Snapshot.COP1LC;
        Cop2 = memory.Snapshot.COP2LC;
    }

    FieldDisplay Run(uint32_t address) {
        uint32_t pc = address;
        for (int32_t count = 0; count < MaxInstructions && !PastDisplay(); ++count) {
            uint16_t first = 0, second = 0;
            if (!ReadWord(pc, first) || !ReadWord(pc + 2, second)) break;
            pc += 4;
            if (first == 0xFFFF && second == 0xFFFE) break;
            if (first & 1) {
                if ((second & 1) == 0) Wait(first);
            } else if (first < 0x200) {
                Move(first, second, pc);
            }
        }
        return std::move(Field);
    }

  private:
    const MemoryState& Memory;
    const bool Aga;
    FieldDisplay Field;
    std::array<Colour, 256> Live{};
    uint32_t Cop1 = 0;
    uint32_t Cop2 = 0;
    int32_t Line = 0;
    int32_t Horizontal = 0;

    bool ReadWord(uint32_t address, uint16_t& word) const {
        const uint64_t end = std::min<uint64_t>(uint64_t{Memory.ChipRamOffset} + Memory.ChipRamSize,
                                                Memory.MemoryImage.size());
        const uint64_t at = uint64_t{Memory.ChipRamOffset} + address;
        if (address >= Memory.ChipRamSize || at + 2 > end) return false;
        word = static_cast<uint16_t>(Memory.MemoryImage[at] << 8 | Memory.MemoryImage[at + 1]);
        return true;
    }

    int32_t FirstDisplayedLine() const { return Field.Registers.DIWSTRT >> 8; }
    bool PastDisplay() const {
        const uint16_t stop = Field.Registers.DIWSTOP;
        return Line > ((stop >> 8) | ((stop & 0x8000) ? 0 : 0x100));
    }
    // The line from which a move made now shows.
    int32_t EffectiveLine() const { return Line + (Horizontal > (Field.Registers.DIWSTRT & 0xFF) / 2 ? 1 : 0); }

    // The copper compares only the low eight bits of the line: a wait for a line already passed in them
    // does not wait.
    void Wait(uint16_t first) {
        const int32_t vertical = first >> 8;
        const int32_t horizontal = first & 0xFE;
        const int32_t low = Line & 0xFF;
        if (vertical < low || (vertical == low && horizontal <= Horizontal)) return;
        Line = (Line & ~0xFF) | vertical;
        Horizontal = horizontal;
        if (Horizontal >= LateHorizontalPosition) {
            ++Line;
            Horizontal = 0;
        }
    }

    void Move(uint16_t reg, uint16_t value, uint32_t& pc) {
        if (reg >= 0x180 && reg <= 0x1BE) return SetColour((reg - 0x180) / 2, value);
        if (reg == 0x106) Field.Registers.BPLCON3 = value;
        if (MovePointers(reg, value, pc)) return;
        if (EffectiveLine() <= FirstDisplayedLine()) SetDisplayRegister(reg, value);
    }

    void SetColour(int32_t number, uint16_t value) {
        const bool lowNibbles = Aga && (Field.Registers.BPLCON3 & 0x200);
        const size_t index = static_cast<size_t>((Aga ? (Field.Registers.BPLCON3 >> 13) * 32 : 0) + number);
        // An AGA low-nibble write completes the colour the write before it began, so the current registers
        // are kept apart from what the first line shows.
        Colour& current = Live[index];
        current = Aga ? AgaColourWrite(current, value, lowNibbles) : AmigaColourToColour(value);
        if (EffectiveLine() <= FirstDisplayedLine())
            Field.Colours[index] = current;
        else
            Field.ColourWrites.push_back({EffectiveLine(), static_cast<uint8_t>(index), current});
    }

    static void SetHalf(uint32_t& target, uint16_t value, bool high) {
        target = high ? (target & 0xFFFF) | uint32_t{value} << 16 : (target & 0xFFFF0000) | value;
    }

    // Copper list pointers and jumps, which act wherever the beam is.
    bool MovePointers(uint16_t reg, uint16_t value, uint32_t& pc) {
        switch (reg) {
        case 0x080: SetHalf(Cop1, value, true); return true;
        case 0x082: SetHalf(Cop1, value, false); return true;
        case 0x084: SetHalf(Cop2, value, true); Field.OtherList = Cop2; return true;
        case 0x086: SetHalf(Cop2, value, false); Field.OtherList = Cop2; return true;
        case 0x088: pc = Cop1; return true;
        case 0x08A: pc = Cop2; return true;
        default: return false;
        }
    }

    void SetDisplayRegister(uint16_t reg, uint16_t value) {
        DisplayRegisters& r = Field.Registers;
        if (reg >= 0x0E0 && reg <= 0x0FE) return SetHalf(r.BPLPT[(reg - 0x0E0) / 4], value, (reg & 2) == 0);
        switch (reg) {
        case 0x08E: r.DIWSTRT = value; break;
        case 0x090: r.DIWSTOP = value; break;
        case 0x092: r.DDFSTRT = value; break;
        case 0x094: r.DDFSTOP = value; break;
        case 0x100: r.BPLCON0 = value; break;
        case 0x104: r.BPLCON2 = value; break;
        case 0x108: r.BPL1MOD = static_cast<int16_t>(value); break;
        case 0x10A: r.BPL2MOD = static_cast<int16_t>(value); break;
        case 0x10C: r.BPLCON4 = value; break;
        case 0x1FC: r.FMODE = value; break;
        default: break;
        }
    }
};

} // namespace

bool IsAgaMachine(const ChipsetSnapshot& snapshot) { return (snapshot.ChipsetMask & 4) != 0 || snapshot.HasAgaColours; }

DisplayRegisters SavedDisplayRegisters(const ChipsetSnapshot& s) {
    DisplayRegisters r;
    r.BPLCON0 = s.BPLCON0;
    r.BPLCON2 = s.BPLCON2;
    r.BPLCON3 = s.BPLCON3;
    r.BPLCON4 = s.BPLCON4;
    r.FMODE = s.FMODE;
    r.DIWSTRT = s.DIWSTRT;
    r.DIWSTOP = s.DIWSTOP;
    r.DDFSTRT = s.DDFSTRT;
    r.DDFSTOP = s.DDFSTOP;
    r.BPL1MOD = static_cast<int16_t>(s.BPL1MOD);
    r.BPL2MOD = static_cast<int16_t>(s.BPL2MOD);
    r.BPLPT = s.BPLPT;
    return r;
}

std::array<Colour, 256> SavedColours(const ChipsetSnapshot& snapshot, bool aga) {
    std::array<Colour, 256> colours{};
    if (aga && snapshot.HasAgaColours) {
        for (size_t i = 0; i < colours.size(); ++i)
            colours[i] = ColourFromEntry(snapshot.AgaPalette[i]);
    } else {
        for (size_t i = 0; i < snapshot.EcsPalette.size(); ++i)
            colours[i] = ColourFromEntry(snapshot.EcsPalette[i]);
    }
    return colours;
}

FieldDisplay ReadFieldDisplay(const MemoryState& memory, uint32_t listAddress, const DisplayRegisters& saved,
                              const std::array<Colour, 256>& savedColours, bool aga) {
    return CopperBeam(memory, saved, savedColours, aga).Run(listAddress);
}

} // namespace tavrik

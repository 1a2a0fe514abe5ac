// The copper list walker: lists MOVEs (pairing the high and low halves of pointer registers), waits,
// jumps and the end marker, and follows COPJMP1/COPJMP2 through the list pointers it sees set.
#include "memory/CopperList.h"

#include "app/ByteStream.h"
#include "app/IntegerText.h"

namespace tavrik {

const std::array<std::string_view, 256> CustomRegisterNames{
    /* $000 */ "BLTDDAT",  "DMACONR",  "VPOSR",    "VHPOSR",   "DSKDATR", "JOY0DAT",  "JOY1DAT",  "CLXDAT",
    /* $010 */ "ADKCONR",  "POT0DAT",  "POT1DAT",  "POTGOR",   "SERDATR", "DSKBYTR",  "INTENAR",  "INTREQR",
    /* $020 */ "DSKPTH",   "DSKPTL",   "DSKLEN",   "DSKDAT",   "REFPTR",  "VPOSW",    "VHPOSW",   "COPCON",
    /* $030 */ "SERDAT",   "SERPER",   "POTGO",    "JOYTEST",  "STREQU",  "STRVBL",   "STRHOR",   "STRLONG",
    /* $040 */ "BLTCON0",  "BLTCON1",  "BLTAFWM",  "BLTALWM",  "BLTCPTH", "BLTCPTL",  "BLTBPTH",  "BLTBPTL",
    /* $050 */ "BLTAPTH",  "BLTAPTL",  "BLTDPTH",  "BLTDPTL",  "BLTSIZE", "BLTCON0L", "BLTSIZV",  "BLTSIZH",
    /* $060 */ "BLTCMOD",  "BLTBMOD",  "BLTAMOD",  "BLTDMOD",  "",        "",         "",         "",
    /* $070 */ "BLTCDAT",  "BLTBDAT",  "BLTADAT",  "BLTDDAT",  "SPRHDAT", "BPLHDAT",  "LISAID",   "DSKSYNC",
    /* $080 */ "COP1LCH",  "COP1LCL",  "COP2LCH",  "COP2LCL",  "COPJMP1", "COPJMP2",  "COPINS",   "DIWSTRT",
    /* $090 */ "DIWSTOP",  "DDFSTRT",  "DDFSTOP",  "DMACON",   "CLXCON",  "INTENA",   "INTREQ",   "ADKCON",
    /* $0A0 */ "AUD0LCH",  "AUD0LCL",  "AUD0LEN",  "AUD0PER",  "AUD0VOL", "AUD0DAT",  "",         "",
    /* $0B0 */ "AUD1LCH",  "AUD1LCL",  "AUD1LEN",  "AUD1PER",  "AUD1VOL", "AUD1DAT",  "",         "",
    /* $0C0 */ "AUD2LCH",  "AUD2LCL",  "AUD2LEN",  "AUD2PER",  "AUD2VOL", "AUD2DAT",  "",         "",
    /* $0D0 */ "AUD3LCH",  "AUD3LCL",  "AUD3LEN",  "AUD3PER",  "AUD3VOL", "AUD3DAT",  "",         "",
    /* $0E0 */ "BPL1PTH",  "BPL1PTL",  "BPL2PTH",  "BPL2PTL",  "BPL3PTH", "BPL3PTL",  "BPL4PTH",  "BPL4PTL",
    /* $0F0 */ "BPL5PTH",  "BPL5PTL",  "BPL6PTH",  "BPL6PTL",  "BPL7PTH", "BPL7PTL",  "BPL8PTH",  "BPL8PTL",
    /* $100 */ "BPLCON0",  "BPLCON1",  "BPLCON2",  "BPLCON3",  "BPL1MOD", "BPL2MOD",  "BPLCON4",  "CLXCON2",
    /* $110 */ "BPL1DAT",  "BPL2DAT",  "BPL3DAT",  "BPL4DAT",  "BPL5DAT", "BPL6DAT",  "BPL7DAT",  "BPL8DAT",
    /* $120 */ "SPR0PTH",  "SPR0PTL",  "SPR1PTH",  "SPR1PTL",  "SPR2PTH", "SPR2PTL",  "SPR3PTH",  "SPR3PTL",
    /* $130 */ "SPR4PTH",  "SPR4PTL",  "SPR5PTH",  "SPR5PTL",  "SPR6PTH", "SPR6PTL",  "SPR7PTH",  "SPR7PTL",
    /* $140 */ "SPR0POS",  "SPR0CTL",  "SPR0DATA", "SPR0DATB", "SPR1POS", "SPR1CTL",  "SPR1DATA", "SPR1DATB",
    /* $150 */ "SPR2POS",  "SPR2CTL",  "SPR2DATA", "SPR2DATB", "SPR3POS", "SPR3CTL",  "SPR3DATA", "SPR3DATB",
    /* $160 */ "SPR4POS",  "SPR4CTL",  "SPR4DATA", "SPR4DATB", "SPR5POS", "SPR5CTL",  "SPR5DATA", "SPR5DATB",
    /* $170 */ "SPR6POS",  "SPR6CTL",  "SPR6DATA", "SPR6DATB", "SPR7POS", "SPR7CTL",  "SPR7DATA", "SPR7DATB",
    /* $180 */ "COLOR00",  "COLOR01",  "COLOR02",  "COLOR03",  "COLOR04", "COLOR05",  "COLOR06",  "COLOR07",
    /* $190 */ "COLOR08",  "COLOR09",  "COLOR10",  "COLOR11",  "COLOR12", "COLOR13",  "COLOR14",  "COLOR15",
    /* $1A0 */ "COLOR16",  "COLOR17",  "COLOR18",  "COLOR19",  "COLOR20", "COLOR21",  "COLOR22",  "COLOR23",
    /* $1B0 */ "COLOR24",  "COLOR25",  "COLOR26",  "COLOR27",  "COLOR28", "COLOR29",  "COLOR30",  "COLOR31",
    /* $1C0 */ "HTOTAL",   "HSSTOP",   "HBSTRT",   "HBSTOP",   "VTOTAL",  "VSSTOP",   "VBSTRT",   "VBSTOP",
    /* $1D0 */ "SPRHSTRT", "SPRHSTOP", "BPLHSTRT", "BPLHSTOP", "HHPOSW",  "HHPOSR",   "BEAMCON0", "HSSTRT",
    /* $1E0 */ "VSSTRT",   "HCENTER",  "DIWHIGH",  "BPLHMOD",  "SPRHPTH", "SPRHPTL",  "BPLHPTH",  "BPLHPTL",
    /* $1F0 */ "",         "",         "",         "",         "",        "",         "FMODE",    "NO-OP",
};

namespace {

constexpr std::string_view Dashes = "--------------------------------------------------";
constexpr std::string_view InstructionGap = "           "; // lines the comments up after one instruction
constexpr uint16_t FirstNonRegister = 0x200;
constexpr uint16_t Cop1lch = 0x080, Cop1lcl = 0x082, Cop2lch = 0x084, Cop2lcl = 0x086;
constexpr uint16_t Copjmp1 = 0x088, Copjmp2 = 0x08A;
constexpr uint16_t Bplcon0 = 0x100;
constexpr uint16_t Color00 = 0x180, Color31 = 0x1BE;
constexpr uint16_t EndW1 = 0xFFFF, EndW2 = 0xFFFE;

std::string Hex4(uint16_t word) { return Hex(static_cast<uint32_t>(word), 4); }

std::string_view RegisterName(uint32_t offset) { return CustomRegisterNames[offset / 2]; }

// The name without its last character, as the 32-bit register that a high/low pair sets.
std::string_view BaseName(std::string_view name) { return name.empty() ? name : name.substr(0, name.size() - 1); }

bool IsHalfOf(std::string_view base, char half, uint32_t offset) {
    std::string expected(base);
    expected += half;
    return RegisterName(offset) == expected;
}

uint32_t SetHigh(uint32_t value, uint16_t high) { return (static_cast<uint32_t>(high) << 16) | (value & 0xFFFF); }
uint32_t SetLow(uint32_t value, uint16_t low) { return (value & 0xFFFF0000u) | low; }

struct Instruction {
    uint16_t W1, W2, W3, W4; // W3 and W4 are the next instruction, for pairing
};

class CopperWalker {
  public:
    CopperWalker(const MemoryState& memory, uint32_t start, int32_t stopLine)
        : Memory(memory), Position(start), End(uint64_t{memory.ChipRamOffset} + memory.ChipRamSize), StopLine(stopLine),
          C1(memory.Snapshot.COP1LC), C2(memory.Snapshot.COP2LC) {
        Result.Palette = memory.Snapshot.EcsPalette;
        Result.Lines = {"Chip Addr: Copper instructions ; Comments", std::string(Dashes)};
    }

    CopperWalk Run() {
        for (int32_t counter = 0; !Done && Position < End && counter < MaxCopperInstructions; ++counter)
            if (!Step()) break;
        return std::move(Result);
    }

  private:
    const MemoryState& Memory;
    CopperWalk Result;
    uint64_t Position;
    uint64_t End;
    int32_t StopLine;
    uint32_t C1;
    uint32_t C2;
    bool Jumped = false;
    bool Done = false;
    std::string Prefix; // "$" + chip address + ": " of the instruction in hand

    uint16_t WordAt(uint64_t offset) const {
        return offset < Memory.MemoryImage.size() ? WordBEAt(Memory.MemoryImage, offset) : 0;
    }

    // Handles the instruction at Position; false when the walk ends with an error.
    bool Step() {
        if (Position < Memory.ChipRamOffset) {
            Result.Error = std::string(Jumped ? "Copper jump target " : "Copper list start ") +
                           DollarHex(static_cast<uint32_t>(Position)) + " lies below the start of chip RAM at " +
                           DollarHex(Memory.ChipRamOffset);
            return false;
        }
        Prefix = "$" + Hex(static_cast<uint32_t>(Position - Memory.ChipRamOffset), 8) + ": ";
        const Instruction in{WordAt(Position), WordAt(Position + 2), WordAt(Position + 4), WordAt(Position + 6)};
        uint64_t next = Position + 4;
        if (in.W1 % 2 == 0 && in.W1 < FirstNonRegister && ListMove(in)) next += 4;
        if (in.W1 % 2 == 0 && in.W1 >= Color00 && in.W1 <= Color31)
            Result.Palette[(in.W1 - Color00) / 2] = EntryFromColour(AmigaColourToColour(in.W2));
        if (in.W1 == Copjmp1 || in.W1 == Copjmp2) {
            Result.Lines.emplace_back(Dashes);
            // The pointers are chip addresses; the sum is 32-bit, so one that wraps lands below chip RAM.
            next = static_cast<uint32_t>((in.W1 == Copjmp1 ? C1 : C2) + Memory.ChipRamOffset);
            Jumped = true;
        }
        if (in.W1 == EndW1 && in.W2 == EndW2) {
            Result.Lines.push_back(Prefix + "ffff fffe" + std::string(InstructionGap) + "; End of copperlist");
            Done = true;
        }
        if (in.W1 % 2 == 1) ListWait(in);
        if (in.W1 == Bplcon0 && (in.W2 & 0xF000) != 0) Result.LastBplcon0 = in.W2;
        Position = next;
        return true;
    }

    // Lists a MOVE, as one line with the next instruction when the two set both halves of a
    // pointer register; true when that next instruction was consumed.
    bool ListMove(const Instruction& in) {
        const std::string_view name = RegisterName(in.W1);
        const std::string_view base = BaseName(name);
        std::optional<std::pair<uint32_t, uint32_t>> pair; // register offset, 32-bit value
        if (in.W3 == in.W1 + 2 && in.W1 < 0x1EC && IsHalfOf(base, 'L', in.W1 + 2u))
            pair = {{in.W1, (uint32_t{in.W2} << 16) | in.W4}};
        else if (in.W3 == in.W1 - 2 && in.W1 >= 0x22 && IsHalfOf(base, 'H', in.W1 - 2u))
            pair = {{in.W1 - 2u, (uint32_t{in.W4} << 16) | in.W2}};

        if (!pair) {
            Result.Lines.push_back(Prefix + Hex4(in.W1) + " " + Hex4(in.W2) + std::string(InstructionGap) + "; " +
                                   std::string(name) + " = 0x" + Hex4(in.W2));
            SetPointerHalf(in.W1, in.W2);
            return false;
        }
        const auto [offset, value] = *pair;
        Result.Lines.push_back(Prefix + Hex4(in.W1) + " " + Hex4(in.W2) + " " + Hex4(in.W3) + " " + Hex4(in.W4) +
                               " ; " + std::string(base) + " = 0x" + Hex(value, 8));
        if (offset == Cop1lch) C1 = value;
        if (offset == Cop2lch) C2 = value;
        return true;
    }

    void SetPointerHalf(uint16_t offset, uint16_t word) {
        if (offset == Cop1lch) C1 = SetHigh(C1, word);
        if (offset == Cop1lcl) C1 = SetLow(C1, word);
        if (offset == Cop2lch) C2 = SetHigh(C2, word);
        if (offset == Cop2lcl) C2 = SetLow(C2, word);
    }

    void ListWait(const Instruction& in) {
        Result.Lines.push_back(Prefix + Hex4(in.W1) + " " + Hex4(in.W2) + std::string(InstructionGap) +
                               "; Wait for vpos >= 0x" + Hex(static_cast<uint32_t>(in.W1 >> 8), 2) + " and hpos >= 0x" +
                               Hex(static_cast<uint32_t>(in.W1 & 0xFE), 2));
        if (static_cast<int64_t>(in.W1 & 0xFF00) > int64_t{StopLine} * 256) {
            Result.Lines.push_back(std::string(31, ' ') + "; Destination Y coordinate reached!");
            Done = true;
        }
    }
};

} // namespace

CopperWalk WalkCopperList(const MemoryState& memory, uint32_t start, int32_t stopLine) {
    return CopperWalker(memory, start, stopLine).Run();
}

std::string BitplaneSummary(uint16_t bplcon0) {
    const int planes = (bplcon0 >> 12) & 7;
    if ((bplcon0 & 0x400) != 0)
        return "Game uses dual-playfield mode (" + std::to_string((planes + 1) / 2) + " + " +
               std::to_string((bplcon0 >> 13) & 3) + " planes)";
    return "Game uses " + std::to_string(planes) + " bitplanes";
}

std::optional<uint32_t> ProcessStartAddress(std::string_view text, const AddressMode& mode) {
    std::string rest = Trim(text);
    if (rest.empty()) return std::nullopt;
    const bool chipRelative = rest.front() == '+';
    if (chipRelative) rest = Trim(std::string_view(rest).substr(1));
    const std::optional<int32_t> number = ParseIntegerText(rest);
    if (!number) return std::nullopt;
    // 32-bit sums as in the address fields; a start that wraps below chip RAM is the walk's error.
    const uint32_t start = static_cast<uint32_t>(*number);
    return chipRelative || mode.ChipRelativeAddresses ? start + mode.ChipRamOffset : start;
}

uint32_t CopperlistActionStart(const MemoryState& memory) { return memory.Snapshot.COP1LC + memory.ChipRamOffset; }

} // namespace tavrik

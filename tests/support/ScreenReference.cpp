// The literal screen decoder and the screen save-state writer.
#include "support/ScreenReference.h"

#include "support/SaveStateBuilder.h"

#include <algorithm>

namespace tavrik::test {

namespace {

constexpr uint32_t ChipRamSize = 0x80000;
constexpr uint32_t CopperListAddress = 0x100;
constexpr int32_t FirstLine = 0x2C;

uint16_t Rgb12(Colour c) { return static_cast<uint16_t>((RedOf(c) >> 4) << 8 | (GreenOf(c) >> 4) << 4 | BlueOf(c) >> 4); }
uint16_t LowRgb12(Colour c) { return static_cast<uint16_t>((RedOf(c) & 15) << 8 | (GreenOf(c) & 15) << 4 | (BlueOf(c) & 15)); }

Colour RandomColour(std::mt19937& random, bool aga) {
    const uint32_t v = random() & 0xFFFFFF;
    return aga ? v : AmigaColourToColour(static_cast<uint16_t>(v & 0xFFF));
}

int32_t RegisterCount(const ScreenSpec& spec) { return spec.Aga ? 256 : 32; }

void PlacePlanes(ScreenSpec& spec, std::mt19937& random) {
    const int32_t rowBytes = spec.Width / 8;
    const uint32_t base = 0x2000 + 8 * (random() % 64);
    if (random() % 2 == 0) { // interleaved rows
        spec.Mod1 = spec.Mod2 = static_cast<int16_t>(rowBytes * (spec.Planes - 1));
        for (int32_t p = 0; p < spec.Planes; ++p)
            spec.Pointers[static_cast<size_t>(p)] = base + static_cast<uint32_t>(p * rowBytes);
    } else { // whole planes one after another, each line followed by a few unshown bytes
        spec.Mod1 = spec.Mod2 = static_cast<int16_t>(8 * (random() % 3));
        const uint32_t planeBytes = static_cast<uint32_t>((rowBytes + spec.Mod1) * spec.Lines) + 8 * (random() % 4);
        for (int32_t p = 0; p < spec.Planes; ++p)
            spec.Pointers[static_cast<size_t>(p)] = base + static_cast<uint32_t>(p) * planeBytes;
    }
}

int32_t PlanesFor(ScreenKind kind, bool aga, std::mt19937& random) {
    switch (kind) {
    case ScreenKind::HalfBrite:
    case ScreenKind::Ham6: return 6;
    case ScreenKind::Ham8: return 8;
    case ScreenKind::DualPlayfield: return 2 + static_cast<int32_t>(random() % (aga ? 7 : 5));
    default: return 1 + static_cast<int32_t>(random() % (aga ? 8 : 5));
    }
}

// The beam line of a displayed line, as the copper's eight-bit waits reach it.
void PutWaitFor(std::vector<uint16_t>& list, int32_t line, bool& wrapped) {
    const int32_t beam = FirstLine + line;
    if (beam > 255 && !wrapped) {
        list.insert(list.end(), {0xFFDF, 0xFFFE});
        wrapped = true;
    }
    list.insert(list.end(), {static_cast<uint16_t>((beam & 0xFF) << 8 | 0x07), 0xFFFE});
}

uint16_t Bplcon3(const ScreenSpec& spec, int32_t bank, bool low) {
    static constexpr int32_t offsets[8] = {0, 2, 4, 8, 16, 32, 64, 128};
    const int32_t pf2 = static_cast<int32_t>(std::find(offsets, offsets + 8, spec.Pf2Offset) - offsets);
    return static_cast<uint16_t>(bank << 13 | pf2 << 10 | (low ? 0x200 : 0));
}

void PutColourMove(std::vector<uint16_t>& list, const ScreenSpec& spec, int32_t index, Colour colour) {
    const uint16_t reg = static_cast<uint16_t>(0x180 + 2 * (index % 32));
    if (!spec.Aga) {
        list.insert(list.end(), {reg, Rgb12(colour)});
        return;
    }
    list.insert(list.end(), {0x106, Bplcon3(spec, index / 32, false), reg, Rgb12(colour)});
    list.insert(list.end(), {0x106, Bplcon3(spec, index / 32, true), reg, LowRgb12(colour), 0x106, Bplcon3(spec, 0, false)});
}

uint16_t Bplcon0(const ScreenSpec& spec) {
    uint16_t v = static_cast<uint16_t>((spec.Planes & 7) << 12 | (spec.Planes == 8 ? 0x10 : 0) | 0x200);
    if (spec.Hires) v |= 0x8000;
    if (spec.Kind == ScreenKind::Ham6 || spec.Kind == ScreenKind::Ham8) v |= 0x800;
    if (spec.Kind == ScreenKind::DualPlayfield) v |= 0x400;
    return v;
}

// The data fetch for the width: 16 pixels per eight cycles in lores, 32 in hires; with the AGA 64-bit fetch,
// blocks of four words.
std::pair<uint16_t, uint16_t> DataFetch(const ScreenSpec& spec) {
    const int32_t start = spec.Hires ? 0x3C : 0x38;
    const int32_t words = spec.Width / 16;
    if (spec.Aga) return {static_cast<uint16_t>(start), static_cast<uint16_t>(start + (spec.Hires ? 16 : 32) * (words / 4 - 1) - 8)};
    return {static_cast<uint16_t>(start), static_cast<uint16_t>(start + (spec.Hires ? 4 * (words - 2) : 8 * (words - 1)))};
}

// Six planes show extra-half-brite unless AGA's KILLEHB is set.
uint16_t Bplcon2(const ScreenSpec& spec) {
    const bool killEhb = spec.Aga && spec.Kind == ScreenKind::Plain;
    return static_cast<uint16_t>((spec.Pf2InFront ? 0x40 : 0) | (killEhb ? 0x200 : 0));
}

std::vector<uint16_t> CopperList(const ScreenSpec& spec) {
    const auto [ddfStart, ddfStop] = DataFetch(spec);
    const int32_t stop = FirstLine + spec.Lines;
    std::vector<uint16_t> list{0x08E, static_cast<uint16_t>(FirstLine << 8 | 0x81), 0x090,
                               static_cast<uint16_t>((stop & 0xFF) << 8 | 0xC1), 0x092, ddfStart, 0x094, ddfStop,
                               0x100, Bplcon0(spec), 0x104, Bplcon2(spec),
                               0x106, Bplcon3(spec, 0, false), 0x108, static_cast<uint16_t>(spec.Mod1), 0x10A,
                               static_cast<uint16_t>(spec.Mod2), 0x1FC, static_cast<uint16_t>(spec.Aga ? 3 : 0)};
    for (int32_t p = 0; p < 8; ++p) {
        const uint32_t pointer = spec.Pointers[static_cast<size_t>(p)];
        list.insert(list.end(), {static_cast<uint16_t>(0xE0 + 4 * p), static_cast<uint16_t>(pointer >> 16),
                                 static_cast<uint16_t>(0xE2 + 4 * p), static_cast<uint16_t>(pointer)});
    }
    // Every third colour comes from the list, the others from the saved registers.
    for (int32_t i = 0; i < RegisterCount(spec); i += 3)
        PutColourMove(list, spec, i, spec.Colours[static_cast<size_t>(i)]);
    bool wrapped = false;
    for (const ColourChange& change : spec.Changes) {
        PutWaitFor(list, change.Line, wrapped);
        PutColourMove(list, spec, change.Index, change.Value);
    }
    list.insert(list.end(), {0xFFFF, 0xFFFE});
    return list;
}

uint8_t PixelValue(const ScreenSpec& spec, const std::vector<uint8_t>& ram, int32_t x, int32_t y) {
    uint8_t value = 0;
    for (int32_t p = 0; p < spec.Planes; ++p) {
        const int32_t mod = p % 2 == 0 ? spec.Mod1 : spec.Mod2;
        const size_t address = spec.Pointers[static_cast<size_t>(p)] + static_cast<size_t>(y * (spec.Width / 8 + mod) + x / 8);
        const int bit = (ram[address] >> (7 - x % 8)) & 1;
        value = static_cast<uint8_t>(value | bit << p);
    }
    return value;
}

struct Rgb {
    int32_t R, G, B;
};

Rgb ToRgb(Colour c) { return {RedOf(c), GreenOf(c), BlueOf(c)}; }
Colour FromRgb(Rgb c) { return MakeColour(static_cast<uint8_t>(c.R), static_cast<uint8_t>(c.G), static_cast<uint8_t>(c.B)); }

Colour HalfBrite(const ScreenSpec& spec, Colour c) {
    Rgb v = ToRgb(c);
    if (spec.Aga) return FromRgb({v.R / 2, v.G / 2, v.B / 2});
    return FromRgb({v.R / 17 / 2 * 17, v.G / 17 / 2 * 17, v.B / 17 / 2 * 17});
}

Colour DualPlayfield(const ScreenSpec& spec, const std::array<Colour, 256>& colours, uint8_t v) {
    const int32_t pf1 = (v & 1) | (v >> 2 & 1) << 1 | (v >> 4 & 1) << 2 | (v >> 6 & 1) << 3;
    const int32_t pf2 = (v >> 1 & 1) | (v >> 3 & 1) << 1 | (v >> 5 & 1) << 2 | (v >> 7 & 1) << 3;
    const int32_t offset = spec.Aga ? spec.Pf2Offset : 8;
    const bool pf2Shows = pf2 != 0 && (spec.Pf2InFront || pf1 == 0);
    if (pf2Shows) return colours[static_cast<size_t>((pf2 + offset) % 256)];
    return colours[static_cast<size_t>(pf1)];
}

// HAM: 0 = a register, 1 = blue, 2 = red, 3 = green modified.
Rgb Ham(const ScreenSpec& spec, const std::array<Colour, 256>& colours, Rgb held, uint8_t v) {
    const bool eight = spec.Kind == ScreenKind::Ham8;
    const int32_t control = eight ? v % 4 : v / 16;
    const int32_t data = eight ? v / 4 : v % 16;
    const auto modify = [&](int32_t old) {
        if (eight) return data * 4 + old % 4;
        return spec.Aga ? data * 16 + old % 16 : data * 17;
    };
    switch (control) {
    case 0: return ToRgb(colours[static_cast<size_t>(data)]);
    case 1: held.B = modify(held.B); break;
    case 2: held.R = modify(held.R); break;
    default: held.G = modify(held.G); break;
    }
    return held;
}

} // namespace

ScreenSpec RandomScreenSpec(ScreenKind kind, bool aga, std::mt19937& random) {
    ScreenSpec spec;
    spec.Aga = aga;
    spec.Kind = kind;
    spec.Planes = PlanesFor(kind, aga, random);
    spec.Hires = kind != ScreenKind::Ham6 && kind != ScreenKind::HalfBrite && random() % 3 == 0;
    spec.Width = (spec.Hires ? 512 : 256) + 64 * static_cast<int32_t>(random() % 3);
    spec.Lines = 84 + static_cast<int32_t>(random() % 173);
    spec.Pf2InFront = random() % 2 == 0;
    spec.Pf2Offset = aga ? (random() % 2 ? 16 : 8) : 8;
    PlacePlanes(spec, random);
    for (int32_t i = 0; i < RegisterCount(spec); ++i)
        spec.Colours[static_cast<size_t>(i)] = RandomColour(random, aga);
    int32_t line = 1;
    for (int32_t n = 0; n < 6; ++n) {
        line += 1 + static_cast<int32_t>(random() % 40);
        if (line >= spec.Lines) break;
        spec.Changes.push_back({line, static_cast<int32_t>(random() % (aga ? 256 : 32)), RandomColour(random, aga)});
    }
    return spec;
}

std::vector<uint8_t> ScreenChipRam(const ScreenSpec& spec, uint32_t seed) {
    std::vector<uint8_t> ram = VariedChipRam(ChipRamSize, seed);
    std::fill(ram.begin(), ram.begin() + 0x2000, 0);
    const std::vector<uint16_t> list = CopperList(spec);
    for (size_t i = 0; i < list.size(); ++i)
        PutWords(ram, CopperListAddress + 2 * i, {list[i]});
    return ram;
}

std::vector<uint8_t> ScreenSaveState(const ScreenSpec& spec, uint32_t seed) {
    ChipRegisters registers;
    registers.COP1LC = CopperListAddress;
    registers.ChipsetMask = spec.Aga ? 4 : 0;
    std::array<uint32_t, 256> agaColours{};
    for (size_t i = 0; i < 256; ++i) {
        const Colour c = spec.Colours[i];
        agaColours[i] = static_cast<uint32_t>(RedOf(c)) << 16 | static_cast<uint32_t>(GreenOf(c)) << 8 | BlueOf(c);
        if (i < 32) registers.COLOR[i] = Rgb12(c);
    }
    SaveStateBuilder state;
    state.Compressed("CRAM", ScreenChipRam(spec, seed));
    state.Stored("CHIP", ChipChunkData(registers));
    if (spec.Aga) state.Stored("AGAC", AgacChunkData(agaColours));
    state.End();
    return state.Data();
}

Image ReferenceScreenPicture(const ScreenSpec& spec, const std::vector<uint8_t>& chipRam) {
    Image picture(spec.Width, spec.Lines, PixelFormat::Rgb24);
    for (int32_t y = 0; y < spec.Lines; ++y) {
        std::array<Colour, 256> colours = spec.Colours;
        for (const ColourChange& change : spec.Changes)
            if (change.Line <= y) colours[static_cast<size_t>(change.Index)] = change.Value;
        Rgb held = ToRgb(colours[0]);
        for (int32_t x = 0; x < spec.Width; ++x) {
            const uint8_t v = PixelValue(spec, chipRam, x, y);
            Colour c = 0;
            if (spec.Kind == ScreenKind::Ham6 || spec.Kind == ScreenKind::Ham8) {
                held = Ham(spec, colours, held, v);
                c = FromRgb(held);
            } else if (spec.Kind == ScreenKind::DualPlayfield) {
                c = DualPlayfield(spec, colours, v);
            } else if (spec.Kind == ScreenKind::HalfBrite && v >= 32) {
                c = HalfBrite(spec, colours[v - 32u]);
            } else {
                c = colours[v];
            }
            picture.SetRgb(x, y, c);
        }
    }
    return picture;
}

} // namespace tavrik::test

// An Amiga screen described plainly (mode, planes, colours and the lines where colours change), written into a
// save state with a copper list as a game would set it up, and decoded literally pixel by pixel for
// differential tests of the screen rebuilder.
#pragma once

#include "app/Colour.h"
#include "imageio/Image.h"

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace tavrik::test {

enum class ScreenKind { Plain, HalfBrite, Ham6, Ham8, DualPlayfield };

struct ColourChange {
    int32_t Line = 0; // displayed line (0 = the first) from which the colour shows
    int32_t Index = 0;
    Colour Value = 0;
};

struct ScreenSpec {
    bool Aga = false;
    ScreenKind Kind = ScreenKind::Plain;
    int32_t Planes = 4;
    bool Hires = false;
    bool Pf2InFront = false;
    int32_t Pf2Offset = 8; // AGA only: 0, 2, 4, ... 128
    int32_t Width = 320;   // a multiple of 64
    int32_t Lines = 100;   // 84 to 256
    std::array<uint32_t, 8> Pointers{};
    int16_t Mod1 = 0; // odd planes
    int16_t Mod2 = 0; // even planes
    std::array<Colour, 256> Colours{}; // on the first displayed line (12-bit values on OCS)
    std::vector<ColourChange> Changes; // in line order
};

// A random screen of that kind: planes stored ACBM or ILBM with small modulos, random colours, a few colour
// changes in mid-screen.
ScreenSpec RandomScreenSpec(ScreenKind kind, bool aga, std::mt19937& random);

// The save state: random chip RAM, the copper list at $100 (display registers, plane pointers, some colours,
// then a wait and colour moves for each change), the other colours in the saved registers.
std::vector<uint8_t> ScreenSaveState(const ScreenSpec& spec, uint32_t seed);

// The chip RAM ScreenSaveState writes for that seed, for decoding.
std::vector<uint8_t> ScreenChipRam(const ScreenSpec& spec, uint32_t seed);

// The displayed picture, 24-bit, decoded one pixel at a time.
Image ReferenceScreenPicture(const ScreenSpec& spec, const std::vector<uint8_t>& chipRam);

} // namespace tavrik::test

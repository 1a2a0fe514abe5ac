// The screen a snapshot's machine was showing, rebuilt: its picture, and how its planes lie in memory so that
// the tile ripper can be set to rip them.
#pragma once

#include "app/Colour.h"
#include "imageio/Image.h"
#include "ripper/RipControls.h"
#include "ripper/RipParameters.h"

#include <array>
#include <cstdint>
#include <string>

namespace tavrik {

enum class ScreenMachine { Amiga, AtariSt };

struct ScreenDescription {
    ScreenMachine Machine = ScreenMachine::Amiga;
    // Where the first plane starts: an Amiga chip RAM address, or the Atari ST video base (an offset into the dump).
    int64_t Address = 0;
    int32_t Bitplanes = 0;
    // The rebuilt picture's size: the fetched width by the displayed lines (both fields when interlaced).
    int32_t Width = 0;
    int32_t Height = 0;
    bool Hires = false;
    bool Interlaced = false;
    bool Ham = false;
    bool Ehb = false;
    bool DualPlayfield = false;
    // The rip that decodes these planes: one tile the size of the planes as stored.
    RipMode Mode = RipMode::AmigaAcbm;
    int32_t RipWidth = 0;
    int32_t RipHeight = 0;
    int32_t Skip = 0;
    int32_t SkipMode = 1; // as the skip mode list: 0 "Tiles", 1 "Bitplanes"
};

struct RebuiltScreen {
    ScreenDescription Description;
    Image Picture{0, 0, PixelFormat::Rgb24};
    // The colours in effect on the first displayed line (the registers the planes index).
    std::array<Colour, 256> TopLineColours{};
};

// "acbm", "ilbm" or "st".
std::string RipModeWord(RipMode mode);
// The tavrik-cli rip options that rip the screen's planes.
std::string RipOptionsText(const ScreenDescription& screen);
// The ripper's controls set to rip the screen's planes; the controls the screen does not decide keep base's texts.
// Amiga addresses are chip-relative ("+$..."), the ST's are offsets into the dump.
RipControls ScreenRipControls(const ScreenDescription& screen, RipControls base);

} // namespace tavrik

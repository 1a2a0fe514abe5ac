// Turning a rebuilt screen's plane layout into the ripper's settings and the matching tavrik-cli options.
#include "screen/Screen.h"

#include "app/IntegerText.h"

namespace tavrik {

namespace {

std::string AddressText(const ScreenDescription& screen) {
    return (screen.Machine == ScreenMachine::Amiga ? "+" : "") + DollarHexWide(static_cast<uint64_t>(screen.Address));
}

std::string SizeText(int32_t width, int32_t height) { return std::to_string(width) + "x" + std::to_string(height); }

} // namespace

std::string RipModeWord(RipMode mode) {
    switch (mode) {
    case RipMode::AmigaIlbm: return "ilbm";
    case RipMode::AtariSt: return "st";
    default: return "acbm";
    }
}

std::string RipOptionsText(const ScreenDescription& screen) {
    const std::string size = SizeText(screen.RipWidth, screen.RipHeight);
    return "--address " + AddressText(screen) + " --mode " + RipModeWord(screen.Mode) + " --bitplanes " +
           std::to_string(screen.Bitplanes) + " --tile " + size + " --size " + size + " --skip " +
           std::to_string(screen.Skip) + " --skip-mode " + (screen.SkipMode == 1 ? "bitplanes" : "tiles");
}

RipControls ScreenRipControls(const ScreenDescription& screen, RipControls base) {
    base.Address = AddressText(screen);
    base.ModeIndex = static_cast<int32_t>(screen.Mode);
    base.Bitplanes = std::to_string(screen.Bitplanes);
    base.TileWidth = base.RipWidth = std::to_string(screen.RipWidth);
    base.TileHeight = base.RipHeight = std::to_string(screen.RipHeight);
    base.SkipBytes = std::to_string(screen.Skip);
    base.SkipModeIndex = screen.SkipMode;
    base.ActualTileSize = EditableComboText{};
    base.Rearrange = false;
    base.UseLoadedTiles = false;
    base.MaskBefore = base.MaskAfter = false;
    return base;
}

} // namespace tavrik

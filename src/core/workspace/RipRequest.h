// A rip asked for on the command line: the ripper's settings as options ("--mode ilbm --tile 16x16 ...")
// and a palette choice. tavrik-cli rip writes what it gives; tavrik shows it at start-up.
#pragma once

#include "app/CommandLine.h"
#include "memory/CopperList.h"
#include "ripper/RipControls.h"
#include "workspace/DataFileLoader.h"
#include "workspace/Rip.h"
#include "workspace/Workspace.h"

#include <array>
#include <optional>
#include <string>

namespace tavrik {

struct RipRequest {
    RipControls Controls;
    BitplaneOrder Order = DefaultBitplaneOrder;
    std::optional<int32_t> GridThickness; // set: show the grid with lines this thick
    // "default", "ecs", "aga", "c64", "bw", "copper" or a binary palette file; empty: the saved colours.
    std::optional<std::string> Palette;
    int32_t CopperStopLine = 0x80;
    // A project's colours, used in place of the saved colours when no palette is asked for.
    std::optional<std::array<Colour, 256>> BaseColours;
};

// The rip options as given on the command line; an option not given stays empty.
struct RipOptionTexts {
    std::optional<std::string> Address, Mode, Bitplanes, Tile, Size, Skip, SkipMode, Order, SpriteBank, ActualTile,
        Rearrange, BlockDirection, BlockTile, Grid, Palette, StopLine;
    bool MaskBefore = false;
    bool MaskAfter = false;
};

// Declares the rip options on a command, each checked as it is read (a bad value is a usage error naming it).
void AddRipOptions(CLI::App& command, RipOptionTexts& texts);
// The check of --palette, for commands that take it without the other rip options.
CLI::Validator PaletteCheck();

// The request the options describe on top of base (a project's settings, or the defaults): what the options do
// not name keeps base's value.
RipRequest ReadRipRequest(const RipOptionTexts& texts, const RipRequest& base = {});

// Puts the asked-for palette into the working palette, starting from the default palette as a new project
// does. Without a choice the load's saved colours are used. Returns the copper list walk when the colours
// came from it. Throws tavrik::Error when the choice cannot be met (no saved colours of that kind, a copper
// walk that fails).
std::optional<CopperWalk> ApplyPaletteChoice(Workspace& ws, const RipRequest& request, SavedPalette saved);

struct RipRequestResult {
    RipResult Rip;
    // What the reading of the parameters writes back into the controls.
    RipControlUpdates ControlUpdates;
    // The copper list walk that gave the palette, for the listing ("--palette copper").
    std::optional<CopperWalk> Copper;
};

// The whole request on a loaded workspace: the palette choice, the bitplane order, the grid and the rip
// with the request's settings. The desktop program and tavrik-cli rip both go through here, so a request
// gives the same picture in either.
RipRequestResult ApplyRipRequest(Workspace& ws, const RipRequest& request, SavedPalette saved);

} // namespace tavrik

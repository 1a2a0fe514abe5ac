// A rip asked for on the command line: the ripper's settings as options ("--mode ilbm --tile 16x16 ...")
// and a palette choice. tavrik-cli rip writes what it gives; tavrik shows it at start-up.
#pragma once

#include "DataFileLoader.h"
#include "Workspace.h"
#include "app/CommandLine.h"
#include "ripper/RipControls.h"

#include <optional>
#include <set>
#include <string>

namespace tavrik {

struct RipRequest {
    RipControls Controls;
    BitplaneOrder Order = DefaultBitplaneOrder;
    std::optional<int32_t> GridThickness; // set: show the grid with lines this thick
    // "default", "ecs", "aga", "c64", "bw", "copper" or a binary palette file; empty: the saved colours.
    std::optional<std::string> Palette;
    int32_t CopperStopLine = 0x80;
};

// The option names the rip takes: those with a value, and the flags.
const std::set<std::string>& RipValueOptions();
const std::set<std::string>& RipFlagOptions();
// One line per option, for the usage texts.
const char* RipOptionsHelp();

// Reads the rip options; bad values are usage errors naming the option.
RipRequest ReadRipRequest(const OptionReader& options);

// Puts the asked-for palette into the working palette, starting from the default palette as a new project
// does. Without a choice the load's saved colours are used. Throws tavrik::Error when the choice cannot be
// met (no saved colours of that kind, a copper walk that fails).
void ApplyPaletteChoice(Workspace& ws, const RipRequest& request, SavedPalette saved);

} // namespace tavrik

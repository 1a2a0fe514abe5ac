// The screen of the loaded memory rebuilt, and what the programs do with it: rip its planes with its colours,
// or take it as the map search's screenshot.
#pragma once

#include "screen/Screen.h"
#include "workspace/RipRequest.h"
#include "workspace/Workspace.h"

#include <array>
#include <optional>

namespace tavrik {

// The Amiga when a save state gave chip RAM, otherwise an Atari ST memory dump.
ScreenMachine LoadedScreenMachine(const MemoryState& memory);

// colours, when given, replace the saved colour registers (Amiga) or the default ST colours.
RebuiltScreen RebuildScreen(const MemoryState& memory, ScreenMachine machine,
                            const std::optional<std::array<Colour, 256>>& colours = std::nullopt);

// The rip request that sets the ripper to the screen's planes, with the colours of its first displayed line;
// the controls the screen does not decide keep current's texts.
RipRequest ScreenRipRequest(const RebuiltScreen& screen, const RipControls& current);

} // namespace tavrik

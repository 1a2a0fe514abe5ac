// Rebuilding the loaded memory's screen for the window and the command line.
#include "workspace/ScreenOperations.h"

#include "screen/AmigaScreen.h"
#include "screen/AtariScreen.h"

#include <algorithm>

namespace tavrik {

ScreenMachine LoadedScreenMachine(const MemoryState& memory) {
    return memory.ChipRamSize > 0 ? ScreenMachine::Amiga : ScreenMachine::AtariSt;
}

RebuiltScreen RebuildScreen(const MemoryState& memory, ScreenMachine machine,
                            const std::optional<std::array<Colour, 256>>& colours) {
    if (machine == ScreenMachine::Amiga) return RebuildAmigaScreen(memory, colours);
    std::optional<std::array<Colour, 16>> stColours;
    if (colours) {
        stColours.emplace();
        std::copy_n(colours->begin(), stColours->size(), stColours->begin());
    }
    return RebuildAtariStScreen(memory.MemoryImage, stColours);
}

RipRequest ScreenRipRequest(const RebuiltScreen& screen, const RipControls& current) {
    RipRequest request;
    request.Controls = ScreenRipControls(screen.Description, current);
    request.BaseColours = screen.TopLineColours;
    return request;
}

} // namespace tavrik

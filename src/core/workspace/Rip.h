// The whole rip: parameters from the controls, memory decoded into the tile sheet, the palette pushed
// into the indexed images, the optional rearrangement, and the image the ripper view shows.
#pragma once

#include "imageio/Image.h"
#include "ripper/RipControls.h"
#include "ripper/RipParameterReader.h"
#include "workspace/Workspace.h"

#include <optional>

namespace tavrik {

enum class RipOutcome {
    Suspended,       // RipSuspended was set: nothing was read or changed
    LoadedTilesKept, // "Use Loaded Tiles": the parameters were read, the TileSheet left alone
    Ripped,
};

struct RipResult {
    RipOutcome Outcome = RipOutcome::Suspended;
    // What the reading of the parameters writes back into the controls.
    RipControlUpdates ControlUpdates;
    // The grid image when the view shows it in place of the TileSheet.
    std::optional<Image> GridImage;
};

// Runs the rip. updates receives what the reading of the parameters writes back into the controls, and is
// filled before anything can fail, so the GUI can apply it even when the rip throws (a zero tile size
// gives "Division by zero", an oversized rip a message naming the size limit).
RipResult Rip(Workspace& workspace, const RipControls& controls, RipControlUpdates& updates);
RipResult Rip(Workspace& workspace, const RipControls& controls);

// What the ripper view shows after a rip: the grid image, or the TileSheet itself.
const Image& ShownImage(const RipResult& result, const Workspace& workspace);

// Pushes the 256 WorkingPalette entries into the colour tables of the TileSheet, the RearrangeSource and
// both map images (a map image of width or height 0 first gets 16). Does nothing while loaded tiles are used.
void ApplyPalette(Workspace& workspace);

} // namespace tavrik

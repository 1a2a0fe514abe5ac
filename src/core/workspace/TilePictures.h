// Pictures used as the tile sheet in place of ripped graphics ("Use Loaded Tiles"): loading one into the
// workspace with the palette an Atari ST picture brings, and the return to ripping from memory.
#pragma once

#include "workspace/Workspace.h"

#include <string>

namespace tavrik {

class Dialogs;

struct TilePictureLoad {
    // A file was found under the resolved name; when not, nothing was changed.
    bool Found = false;
    // An Atari ST picture handed its colours to the working palette (the palette widget must show them).
    bool PaletteChanged = false;
};

// Reads the picture (resolved beside the project and the program) into a fresh image and only when that
// succeeds makes it the TileSheet (24-bit) with both map images in the same pixel format. An Atari ST
// picture first empties the working palette's colour list and gives it the picture's colours, entries 0
// to n - 1 with them, then pushes the palette into the images; a failure in that step is ignored.
// A damaged picture, or a file that is no picture, throws tavrik::Error and leaves the TileSheet, the
// palette and "Use Loaded Tiles" as they were.
TilePictureLoad LoadTilePicture(Workspace& workspace, const std::string& fileName, Dialogs& dialogs);

// Opening a data file: the TileSheet and both map images become 8-bit indexed again and loaded tiles are
// no longer in use, so the next rip decodes memory.
void ReturnToIndexedTiles(Workspace& workspace);

} // namespace tavrik

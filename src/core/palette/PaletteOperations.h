// The ways of setting and rearranging the working palette. Each keeps the entries and the colour
// list in step; showing the result, pushing it into the images and ripping again is the caller's part.
#pragma once

#include "palette/WorkingPalette.h"

#include <cstdint>
#include <span>

namespace tavrik {

// The colour list := the given entries' colours; entries 0 to n - 1 := the entries (the rest keep
// theirs). Used for the saved ECS (32) and AGA (256) colour registers and the copper palette (32).
void SetPaletteEntries(WorkingPalette& palette, std::span<const PaletteEntry> entries);

// The colour list := the given colours; entries 0 to n - 1 := them (the rest keep theirs).
// Used for the built-in palettes and the palettes of loaded pictures.
void SetPaletteColours(WorkingPalette& palette, std::span<const Colour> colours);

// The colour list := all 256 entries as Colours.
void ShowWorkingPalette(WorkingPalette& palette);

// Exchanges entries i and n + i for i below n (n = 4, 8, 16 or 32 from the menu; any 1 to 128),
// then shows all 256 entries.
void SwapColours(WorkingPalette& palette, int32_t n);

// Entry n + i := entry i for i below n (n = 4 to 128 from the menu; any 1 to 128), then shows all 256 entries.
void DuplicateColours(WorkingPalette& palette, int32_t n);

// Entries 32 to 63 := entries 0 to 31 at half brightness, as the Amiga's Extra-Half-Brite mode shows
// them; then shows all 256 entries.
void ExtraHalfBrite(WorkingPalette& palette);

void DefaultPalette(WorkingPalette& palette);
void C64Palette(WorkingPalette& palette);

// Colour 0 black, then the greys from 254 down to 0, in the list and the entries.
void BlackAndWhite(WorkingPalette& palette);

// Gives one cell a colour: the list item when the cell lies within the list, and the entry
// when the cell lies within 0 to 255. Other cells change nothing.
void SetCellColour(WorkingPalette& palette, int32_t cell, Colour colour);

} // namespace tavrik

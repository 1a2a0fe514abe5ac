// Binary palette files: 256 big-endian Amiga colour words $0RGB from the start of the file.
#pragma once

#include "palette/WorkingPalette.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tavrik {

inline constexpr const char* BinaryPaletteDialogTitle = "Open Palette";
inline constexpr const char* BinaryPaletteDialogFilter = "WinUAE Save State File (*.uss)|*.uss|All Files (*.*)|*.*";

// Entry i from the word at offset 2i; words past the end of a short file read as 0 (black).
// Bytes after the first 512 are not looked at.
std::array<PaletteEntry, 256> ReadBinaryPalette(std::span<const uint8_t> bytes);

// "Load Palette From Binary File" once a file was chosen: when the file is loadable, entries 0 to
// 255 := its colours; in any case the colour list then shows all 256 entries. Throws tavrik::Error
// when the file cannot be read.
void LoadPaletteFromBinaryFile(WorkingPalette& palette, const std::string& path);
// A palette named with the rip's options: as above, but a file too short to hold all 256 words throws
// tavrik::Error instead of giving the missing colours as black.
void LoadWholeBinaryPalette(WorkingPalette& palette, const std::string& path);

} // namespace tavrik

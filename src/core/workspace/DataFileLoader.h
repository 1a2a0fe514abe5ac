// Loading the data file (a save state or raw memory) into the workspace, and writing its memory image back.
// Shared by the GUI's LoadDataFile and "Save Uncompressed State..." and by the command line.
#pragma once

#include "workspace/Workspace.h"

#include <string>
#include <vector>

namespace tavrik {

class Dialogs;

enum class SavedPalette { None, Ecs, Aga };

struct DataFileLoad {
    bool Loaded = false;                       // false: no loadable file (silent); nothing was changed
    std::string FileName;                      // file-name part of the resolved path, for the window caption
    std::vector<std::string> InfoLines;        // every line the "Info" memo holds after the load, in order
    SavedPalette Palette = SavedPalette::None; // which palette action the caller runs (AGA before ECS)
    std::string PaletteAddressText;            // FormatAddress(COP1LC + ChipRamOffset) for EditGfxPaletteAddress
};

// LoadDataFile: resolves fileNameText (ResolveFileName with ws.ProjectFileName / ws.ProgramFolder), reads the
// file, parses, commits into ws.Memory. Throws tavrik::Error and changes nothing on a bad file.
DataFileLoad LoadDataFile(Workspace& ws, const std::string& fileNameText, Dialogs& dialogs);

// Sets the working palette from the saved AGA (256) or ECS (32) colour registers, as the palette action
// the load asked for does before it shows the palette and rips; None changes nothing.
void ApplySavedPalette(Workspace& ws, SavedPalette palette);

// SaveUncompressedState core: the ".uss" extension rule (ReplaceExtension) and writing ws.Memory.MemoryImage.
std::string UncompressedStateFileName(const std::string& chosen);
void WriteMemoryImage(const Workspace& ws, const std::string& path);

} // namespace tavrik

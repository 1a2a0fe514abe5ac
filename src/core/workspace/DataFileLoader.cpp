// Loading the data file into the workspace as one transaction: everything is parsed into new objects
// and committed only when the whole file was read without fault.
#include "workspace/DataFileLoader.h"

#include "app/Address.h"
#include "app/Files.h"
#include "app/TextHelpers.h"
#include "memory/SaveState.h"
#include "palette/PaletteOperations.h"

namespace tavrik {

namespace {

SavedPalette PaletteToRun(const ChipsetSnapshot& snapshot) {
    if (snapshot.HasAgaColours) return SavedPalette::Aga;
    if (snapshot.HasEcsColours) return SavedPalette::Ecs;
    return SavedPalette::None;
}

} // namespace

DataFileLoad LoadDataFile(Workspace& ws, const std::string& fileNameText, Dialogs& dialogs) {
    DataFileLoad load;
    const std::string path = ResolveFileName(fileNameText, {ws.ProjectFileName, ws.ProgramFolder}, dialogs);
    if (!PathIsFile(path)) return load;

    ParsedDataFile parsed = ParseDataFile(ReadWholeFile(path), ws.Memory, path);
    load.FileName = FileNamePart(path);
    load.InfoLines = std::move(parsed.WalkLines);
    if (parsed.IsSaveState)
        for (std::string& line : ReportLines(parsed.Memory))
            load.InfoLines.push_back(std::move(line));
    load.Palette = PaletteToRun(parsed.Memory.Snapshot);
    const MemoryState& memory = parsed.Memory;
    load.PaletteAddressText = FormatAddress(memory.Snapshot.COP1LC + memory.ChipRamOffset,
                                            AddressMode{memory.ChipRamOffset, ws.ChipRelativeAddresses});

    ws.Memory = std::move(parsed.Memory);
    load.Loaded = true;
    return load;
}

void ApplySavedPalette(Workspace& ws, SavedPalette palette) {
    if (palette == SavedPalette::Aga) SetPaletteEntries(ws.Palette, ws.Memory.Snapshot.AgaPalette);
    if (palette == SavedPalette::Ecs) SetPaletteEntries(ws.Palette, ws.Memory.Snapshot.EcsPalette);
}

std::string UncompressedStateFileName(const std::string& chosen) { return ReplaceExtension(chosen, ".uss"); }

void WriteMemoryImage(const Workspace& ws, const std::string& path) { WriteWholeFile(path, ws.Memory.MemoryImage); }

} // namespace tavrik

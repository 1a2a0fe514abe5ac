// New, Save and Load Project on a workspace.
#include "workspace/ProjectOperations.h"

#include "app/Checked.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "palette/PaletteOperations.h"
#include "ripper/RipParameterReader.h"
#include "search/MatchGrid.h"
#include "workspace/MapDataFile.h"
#include "workspace/MapDrawing.h"
#include "workspace/MapSearchOperations.h"
#include "workspace/TilePictures.h"

#include <algorithm>
#include <limits>

namespace tavrik {

namespace {

// The second map's tab follows the first tab's block order, as the window reads it.
MapControls ControlsForReading(const ProjectFile& project, size_t index) {
    MapControls controls = project.Maps[index].Controls;
    if (index == 1) controls.TilesPerBlockDirectionIndex = project.Maps[0].Controls.TilesPerBlockDirectionIndex;
    return controls;
}

void ReadBothMaps(Workspace& ws, const ProjectFile& project) {
    for (size_t i = 0; i < 2; ++i)
        ReadMapSettings(ControlsForReading(project, i), ws.Maps[i], ws.Maps[1], ws.Addresses());
    ws.Maps[0].UseLoadedMap = project.Maps[0].UseLoadedMap;
}

void TakeWorkspaceState(const Workspace& ws, ProjectFile& project) {
    std::array<Colour, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = ColourFromEntry(ws.Palette.Entries[i]);
    project.Palette = colours;
    project.ChipMemoryOffset = ws.Memory.ChipRamOffset;
    project.Order = ws.Ripper.Order;
}

// A loader that throws for a damaged file does not stop the project from loading: the problem is reported.
template <typename Load> void Attempt(std::vector<std::string>& problems, Load&& load) {
    try {
        load();
    } catch (const Error& error) {
        problems.emplace_back(error.what());
    }
}

// A file the project names that is found nowhere: the rest of the project loads without it.
void ReportWhenMissing(ProjectOpened& opened, bool found, const std::string& name, const std::string& projectPath) {
    if (!found && !Trim(name).empty())
        opened.Problems.push_back("The file " + name + " named in the project " + projectPath + " cannot be found.");
}

void LoadProjectFiles(Workspace& ws, ProjectFile& project, Dialogs& dialogs, ProjectOpened& opened) {
    ws.LoadedMapData.clear();
    const std::string& path = ws.ProjectFileName;
    Attempt(opened.Problems, [&] {
        opened.DataFile = LoadDataFile(ws, project.GfxFileName, dialogs);
        ReportWhenMissing(opened, opened.DataFile.Loaded, project.GfxFileName, path);
        if (opened.DataFile.Loaded) ApplySavedPalette(ws, opened.DataFile.Palette);
    });
    // The file keeps file offsets; the fields count from the chip RAM of the data file just loaded, which
    // the offsets could not be shown from before it was read.
    project.Ripper.Address = StoredAddressToText(project.Ripper.Address, ws.Addresses());
    project.PaletteAddress = StoredAddressToText(project.PaletteAddress, ws.Addresses());
    if (opened.DataFile.Loaded && !opened.DataFile.PaletteAddressText.empty())
        project.PaletteAddress = opened.DataFile.PaletteAddressText;
    if (project.Ripper.UseLoadedTiles)
        Attempt(opened.Problems, [&] {
            const bool found = LoadTilePicture(ws, project.GfxTilesFileName, dialogs).Found;
            ReportWhenMissing(opened, found, project.GfxTilesFileName, path);
        });
    if (!project.Maps[0].FileName.empty())
        Attempt(opened.Problems, [&] {
            ReportWhenMissing(opened, LoadMapData(ws, project.Maps[0].FileName, dialogs).Found,
                              project.Maps[0].FileName, path);
        });
}

void LoadProjectPalette(Workspace& ws, const ProjectFile& project) {
    if (project.Palette) SetPaletteColours(ws.Palette, *project.Palette);
}

// An address above 0 moved by -delta: not below 0, and held at the largest offset rather than wrapping.
int64_t MovedAddress(int64_t address, int64_t delta) {
    int64_t moved;
    if (__builtin_sub_overflow(address, delta, &moved)) return std::numeric_limits<int64_t>::max();
    return std::max<int64_t>(0, moved);
}

// A stored address that points above 0 moves by -delta, not below 0, and is shown again in its field.
std::string MovedAddressText(const std::string& text, int64_t delta, const AddressMode& addresses) {
    int64_t address = ParseAddress(text, addresses);
    if (address <= 0) return text;
    address = MovedAddress(address, delta);
    return ShowAddress(address, addresses);
}

// The save state's chip RAM may start elsewhere than when the project was saved (another emulator, another
// configuration): the rip and palette addresses follow it so they point at the same chip RAM.
int64_t MoveRipAddresses(Workspace& ws, ProjectFile& project) {
    const uint32_t saved = project.ChipMemoryOffset;
    const uint32_t current = ws.Memory.ChipRamOffset;
    project.ChipMemoryOffset = current;
    if (saved == 0 || saved == current) return 0;
    const int64_t delta = static_cast<int64_t>(saved) - static_cast<int64_t>(current);
    project.Ripper.Address = MovedAddressText(project.Ripper.Address, delta, ws.Addresses());
    project.PaletteAddress = MovedAddressText(project.PaletteAddress, delta, ws.Addresses());
    return delta;
}

// The map addresses move by the same delta once the maps have read them.
void MoveMapAddresses(Workspace& ws, ProjectFile& project, int64_t delta) {
    if (delta == 0) return;
    for (size_t i = 0; i < 2; ++i) {
        TMapVariables& map = ws.Maps[i];
        if (map.Address <= 0) continue;
        map.Address = MovedAddress(map.Address, delta);
        project.Maps[i].Controls.Address = ShowAddress(map.Address, ws.Addresses());
    }
}

void LoadProjectSearch(Workspace& ws, const ProjectFile& project, Dialogs& dialogs, ProjectOpened& opened) {
    ParseMatchGrid(project.Search.IndexLines, ws.SearchGrid);
    if (project.Search.FileName.empty()) return;
    Attempt(opened.Problems, [&] {
        const SearchImageLoad load = LoadSearchImage(ws, project.Search.FileName, dialogs);
        ReportWhenMissing(opened, load.Found, project.Search.FileName, ws.ProjectFileName);
        opened.SearchImageLoaded = load.Found;
        opened.SearchDimensionsText = load.DimensionsText;
    });
    if (!opened.SearchImageLoaded || !project.Search.Selection) return;
    const ProjectSelection& e = *project.Search.Selection;
    ws.SearchSelection = SelectionRect{static_cast<double>(e.Left), static_cast<double>(e.Top),
                                       static_cast<double>(e.Right), static_cast<double>(e.Bottom)};
}

bool MapHasData(const Workspace& ws) { return !ws.Memory.MemoryImage.empty() || !ws.LoadedMapData.empty(); }

void DrawProjectMaps(Workspace& ws, const ProjectFile& project, const MapViewChecks& checks, ProjectOpened& opened) {
    const std::string replacements = JoinedLines(project.Maps[0].Replacements);
    const MapSharedOptions options = ProjectMapOptions(project, replacements, checks);
    const TMapVariables& first = ws.Maps[0];
    if (first.WidthInTiles > 0 && first.HeightInTiles > 0 && MapHasData(ws))
        opened.Maps[0] = DrawWorkspaceMap(ws, 1, options);
    const TMapVariables& second = ws.Maps[1];
    if (second.Address > 0 && second.WidthInTiles > 0 && second.HeightInTiles > 0)
        opened.Maps[1] = DrawWorkspaceMap(ws, 2, options);
}

} // namespace

MapSharedOptions ProjectMapOptions(const ProjectFile& project, const std::string& replacementText,
                                   const MapViewChecks& checks) {
    const ProjectMap& first = project.Maps[0];
    return MapSharedOptions{first.FlipXMaskEnabled, first.FlipYMaskEnabled, checks.ShowBadTiles, checks.ShowIndexes,
                            replacementText};
}

std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i == 0 ? "" : "\n") + lines[i];
    return text;
}

void NewProject(Workspace& ws, ProjectFile& project) {
    const std::string machineId = project.MachineId;
    project = NewProjectFile();
    project.MachineId = machineId;
    ws.ProjectFileName.clear();
    ws.Memory = MemoryState{};
    ws.LoadedMapData.clear();
    ws.SearchSelection.reset();
    ParseMatchGrid({}, ws.SearchGrid);
    ReturnToIndexedTiles(ws);
    ws.TileSheet = Image(320, 256, PixelFormat::Indexed8);
    ws.Ripper.Order = project.Order;
    DefaultPalette(ws.Palette);
    Rip(ws, project.Ripper);
    ReadBothMaps(ws, project);
    const std::string replacements;
    const MapSharedOptions options = ProjectMapOptions(project, replacements, {});
    for (int32_t map = 1; map <= 2; ++map)
        DrawWorkspaceMap(ws, map, options);
}

void SaveProject(Workspace& ws, ProjectFile& project, const std::string& path) {
    TakeWorkspaceState(ws, project);
    // The names in the controls are found where the project opened before looked for them.
    const FileSearchPlaces places{ws.ProjectFileName, ws.ProgramFolder};
    SaveProjectFile(project, path, ProjectSaveContext{ws.Addresses(), places});
    ws.ProjectFileName = path;
}

ProjectOpened LoadProject(Workspace& ws, ProjectFile& project, const std::string& path, Dialogs& dialogs,
                          const MapViewChecks& checks) {
    ProjectOpened opened;
    // A file that is no project is refused before anything of the work changes. Its addresses stay file
    // offsets until the data file is loaded.
    ProjectLoad load = LoadProjectFile(path, project, AddressMode{}, ProgramBuild());
    ws.ProjectFileName = AbsolutePath(path);
    project = std::move(load.Project);
    opened.NewerBuildWarning = load.NewerBuildWarning;
    LoadProjectSearch(ws, project, dialogs, opened);
    ws.Ripper.Order = project.Order;
    LoadProjectFiles(ws, project, dialogs, opened);
    LoadProjectPalette(ws, project);
    opened.ChipRamDelta = MoveRipAddresses(ws, project);
    ApplyPalette(ws);
    // The window holds rips back while it fills its controls; this rip is the one that counts.
    ws.Ripper.RipSuspended = false;
    Attempt(opened.Problems, [&] { opened.Rip = Rip(ws, project.Ripper); });
    ReadBothMaps(ws, project);
    MoveMapAddresses(ws, project, opened.ChipRamDelta);
    Attempt(opened.Problems, [&] { DrawProjectMaps(ws, project, checks, opened); });
    TakeWorkspaceState(ws, project);
    return opened;
}

} // namespace tavrik

// The map search's workspace operations.
#include "workspace/MapSearchOperations.h"

#include "app/Dialogs.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "imageio/ImageLoader.h"
#include "imageio/PngFile.h"
#include "workspace/MapDrawing.h"

namespace tavrik {

std::string SetUpSearchImage(Workspace& ws, Dialogs& dialogs) {
    ws.SearchImage.ConvertTo(PixelFormat::Rgb24);
    if (ws.SearchImage.Format() != PixelFormat::Rgb24) dialogs.Error(std::string(NotTwentyFourBitMessage));
    if (!ws.SearchSelection) ws.SearchSelection = SelectionRect{};
    return SearchDimensionsText(ws.SearchImage);
}

SearchImageLoad LoadSearchImage(Workspace& ws, const std::string& fileName, Dialogs& dialogs) {
    SearchImageLoad load;
    const FileSearchPlaces places{ws.ProjectFileName, ws.ProgramFolder};
    const std::string resolved = ResolveFileName(Trim(fileName), places, dialogs);
    if (!PathIsFile(resolved)) return load;
    LoadedImage loaded;
    try {
        loaded = LoadImage(Trim(fileName), places, dialogs);
    } catch (const Error& damaged) {
        throw Error(resolved + ": " + damaged.what());
    }
    if (!loaded.Picture) throw Error(NotAPictureMessage(resolved));
    load.Found = true;
    ws.SearchImage = std::move(*loaded.Picture);
    load.DimensionsText = SetUpSearchImage(ws, dialogs);
    return load;
}

bool SaveSearchImage(const Workspace& ws, const std::string& chosenName, Dialogs& dialogs) {
    if (ws.SearchImage.Empty()) {
        dialogs.Error(std::string(NoSearchImageMessage));
        return false;
    }
    const std::string name = SearchImageSaveName(chosenName);
    if (!ConfirmOverwrite(name, dialogs)) return false;
    SaveImagePng(ws.SearchImage, name);
    return true;
}

std::optional<TileMatchRun> MatchTilesInWorkspace(Workspace& ws, SearchProgress& progress) {
    if (!ws.SearchSelection) return std::nullopt;
    Image tiles = ws.TileSheet;
    tiles.ConvertTo(PixelFormat::Rgb24);
    const RipParameters& rip = ws.Ripper.Parameters;
    // The run works on its own grid and images, so that nothing done while it lets events through changes them.
    const Image screenshot = ws.SearchImage;
    MatchGrid grid = ws.SearchGrid;
    TileMatchRun run =
        MatchTiles(screenshot, tiles, rip.ActualTileWidth, rip.ActualTileHeight, *ws.SearchSelection, grid, progress);
    ws.SearchGrid = std::move(grid);
    ws.SearchSelection = run.Selection;
    return run;
}

PointerTiles WorkspacePointerTiles(const Workspace& ws) {
    const RipParameters& rip = ws.Ripper.Parameters;
    return PointerTiles{ws.Memory.ChipRamOffset, rip.Address, rip.ActualTileWidth, rip.ActualTileHeight, rip.Bitplanes};
}

MapSearchRun SearchMapInWorkspace(Workspace& ws, const std::vector<std::string>& indexLines, bool searchLongs,
                                  bool detailed, SearchProgress& progress) {
    ws.MapMatchList.clear();
    const MapSearchOptions options{searchLongs, detailed, WorkspacePointerTiles(ws), ws.Ripper.TileCount};
    // The memory and the grid are the search's own for the same reason.
    const std::vector<uint8_t> memory = ws.Memory.MemoryImage;
    MatchGrid grid = ws.SearchGrid;
    MapSearchRun run = SearchForMap(memory, indexLines, options, grid, progress);
    ws.SearchGrid = std::move(grid);
    ws.MapMatchList = run.Matches;
    return run;
}

std::optional<MapDrawOutcome> DrawMapMatch(Workspace& ws, size_t index, MapControls& controls,
                                           const MapSharedOptions& options) {
    if (index >= ws.MapMatchList.size()) return std::nullopt;
    ApplyMapMatch(ws.MapMatchList[index], controls);
    ReadMapSettings(controls, ws.Maps[0], ws.Maps[1], ws.Addresses());
    return DrawWorkspaceMap(ws, 1, options);
}

} // namespace tavrik

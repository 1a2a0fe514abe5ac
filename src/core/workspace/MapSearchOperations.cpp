// The map search's workspace operations.
#include "workspace/MapSearchOperations.h"

#include "app/Dialogs.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "app/Limits.h"
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

std::optional<TileMatchJob> PrepareTileMatch(const Workspace& ws) {
    if (!ws.SearchSelection) return std::nullopt;
    const RipParameters& rip = ws.Ripper.Parameters;
    CheckMatchTiles(rip.ActualTileWidth, rip.ActualTileHeight, ws.TileSheet.Width(), ws.TileSheet.Height());
    auto tiles = std::make_shared<Image>(ws.TileSheet);
    tiles->ConvertTo(PixelFormat::Rgb24);
    return TileMatchJob{std::make_shared<const Image>(ws.SearchImage),
                        std::move(tiles),
                        rip.ActualTileWidth,
                        rip.ActualTileHeight,
                        *ws.SearchSelection,
                        ws.SearchGrid};
}

TileMatchRun RunTileMatch(TileMatchJob& job, SearchProgress& progress) {
    return MatchTiles(*job.Screenshot, *job.Tiles, job.TileWidth, job.TileHeight, job.Selection, job.Grid, progress);
}

void ApplyTileMatch(Workspace& ws, TileMatchJob& job, const TileMatchRun& run) {
    if (run.Cancelled) return;
    ws.SearchGrid = std::move(job.Grid);
    ws.SearchSelection = run.Selection;
}

std::optional<TileMatchRun> MatchTilesInWorkspace(Workspace& ws, SearchProgress& progress) {
    std::optional<TileMatchJob> job = PrepareTileMatch(ws);
    if (!job) return std::nullopt;
    TileMatchRun run = RunTileMatch(*job, progress);
    ApplyTileMatch(ws, *job, run);
    return run;
}

PointerTiles WorkspacePointerTiles(const Workspace& ws) {
    const RipParameters& rip = ws.Ripper.Parameters;
    return PointerTiles{ws.Memory.ChipRamOffset, rip.Address, rip.ActualTileWidth, rip.ActualTileHeight, rip.Bitplanes};
}

MapSearchJob PrepareMapSearch(Workspace& ws, const std::vector<std::string>& indexLines, bool searchLongs,
                              bool detailed) {
    ws.MapMatchList.clear();
    return MapSearchJob{ws.Memory.MemoryImage.Snapshot(), indexLines,
                        MapSearchOptions{searchLongs, detailed, WorkspacePointerTiles(ws), ws.Ripper.TileCount}, ws.SearchGrid};
}

MapSearchRun RunMapSearch(MapSearchJob& job, SearchProgress& progress) {
    const std::vector<uint8_t>& memory = *job.Memory;
    // The search's values take four bytes for each value read.
    return Allocating("the map search over " + std::to_string(memory.size()) + " bytes of memory",
                      uint64_t{memory.size()} * 4,
                      [&] { return SearchForMap(memory, job.IndexLines, job.Options, job.Grid, progress); });
}

void ApplyMapSearch(Workspace& ws, MapSearchJob& job, const MapSearchRun& run) {
    ws.MapMatchList = run.Matches;
    if (!run.Cancelled) ws.SearchGrid = std::move(job.Grid);
}

MapSearchRun SearchMapInWorkspace(Workspace& ws, const std::vector<std::string>& indexLines, bool searchLongs,
                                  bool detailed, SearchProgress& progress) {
    MapSearchJob job = PrepareMapSearch(ws, indexLines, searchLongs, detailed);
    MapSearchRun run = RunMapSearch(job, progress);
    ApplyMapSearch(ws, job, run);
    return run;
}

std::optional<MapDrawOutcome> DrawMapMatch(Workspace& ws, size_t index, MapControls& controls,
                                           const MapSharedOptions& options) {
    if (index >= ws.MapMatchList.size()) return std::nullopt;
    ApplyMapMatch(ws.MapMatchList[index], controls, ws.Addresses());
    ReadMapSettings(controls, ws.Maps[0], ws.Maps[1], ws.Addresses());
    return DrawWorkspaceMap(ws, 1, options);
}

} // namespace tavrik

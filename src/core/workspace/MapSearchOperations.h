// The "Map Search" tab's operations on the workspace: the screenshot loaded and set up, tile matching on
// the tile sheet of the last rip, the memory search, and a find turned into the first map. The desktop
// program and tavrik-cli match / search both go through here.
#pragma once

#include "map/MapRenderer.h"
#include "map/MapSettings.h"
#include "search/MapSearch.h"
#include "search/TileMatcher.h"
#include "workspace/Workspace.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavrik {

class Dialogs;

// Set up after a load or paste: the screenshot made 24-bit (an image that cannot be is reported through
// dialogs, and set-up goes on) and the search selection created at (0, 0, 16, 16) unless it exists.
// Returns the text of LabelSearchDimensions; the caller enables the tool buttons and shows the image.
std::string SetUpSearchImage(Workspace& ws, Dialogs& dialogs);

struct SearchImageLoad {
    // Whether a file was found under the resolved name; when not, nothing was changed or reported.
    bool Found = false;
    // LabelSearchDimensions after the set-up (which runs whenever the file was found).
    std::string DimensionsText;
};

// Load Image with a file name: reads the picture into the SearchImage and sets it up. A damaged picture or
// a file that is no picture throws tavrik::Error and leaves the SearchImage as it was.
SearchImageLoad LoadSearchImage(Workspace& ws, const std::string& fileName, Dialogs& dialogs);

// Save Image with the name chosen in the dialog: written as PNG under that name with the extension ".png",
// after asking before an existing file is replaced. A screenshot not yet loaded (0 x 0) is not written: the
// user is told there is nothing to save. Returns whether the file was written.
bool SaveSearchImage(const Workspace& ws, const std::string& chosenName, Dialogs& dialogs);

// What tile matching reads, taken from the workspace when it starts: the screenshot and the tile sheet as
// 24-bit pictures shared read-only, so the window may go on while a worker matches. Grid is the run's own.
struct TileMatchJob {
    std::shared_ptr<const Image> Screenshot;
    std::shared_ptr<const Image> Tiles;
    int32_t TileWidth = 16;
    int32_t TileHeight = 16;
    SelectionRect Selection;
    MatchGrid Grid;
};

// Tile matching's job: nullopt before a screenshot was set up. Tiles too small or too many to match are refused
// (tavrik::Error naming the limit) before any work.
std::optional<TileMatchJob> PrepareTileMatch(const Workspace& ws);
TileMatchRun RunTileMatch(TileMatchJob& job, SearchProgress& progress);
// A finished match moves the selection and keeps the grid; a cancelled one changes nothing.
void ApplyTileMatch(Workspace& ws, TileMatchJob& job, const TileMatchRun& run);

// Match tiles on the workspace: the SearchImage under the SearchSelection against the TileSheet (as the
// colours it shows) cut by the actual tile size. Moves the selection and keeps the grid; nothing happens
// (nullopt) before a screenshot was set up.
std::optional<TileMatchRun> MatchTilesInWorkspace(Workspace& ws, SearchProgress& progress);

// How pointers become tile numbers with the workspace's chip RAM offset and last rip.
PointerTiles WorkspacePointerTiles(const Workspace& ws);

// What the map search reads: the memory image shared read-only (no copy is made), the index memo's lines and
// the options; Grid is the run's own.
struct MapSearchJob {
    std::shared_ptr<const std::vector<uint8_t>> Memory;
    std::vector<std::string> IndexLines;
    MapSearchOptions Options;
    MatchGrid Grid;
};

// The search's job; starting it empties the MapMatchList.
MapSearchJob PrepareMapSearch(Workspace& ws, const std::vector<std::string>& indexLines, bool searchLongs,
                              bool detailed);
MapSearchRun RunMapSearch(MapSearchJob& job, SearchProgress& progress);
// The finds become the MapMatchList, also those of a cancelled search; only a search that ran to its end
// leaves its grid.
void ApplyMapSearch(Workspace& ws, MapSearchJob& job, const MapSearchRun& run);

// Search for map over the workspace's memory with the index memo's lines; the finds become the MapMatchList.
MapSearchRun SearchMapInWorkspace(Workspace& ws, const std::vector<std::string>& indexLines, bool searchLongs,
                                  bool detailed, SearchProgress& progress);

// Choosing item index of ComboBoxMapMatches: ApplyMapMatch into controls, then the first map read from them
// and drawn (the caller scrolls the view to the top-left corner). nullopt when the index names no find.
std::optional<MapDrawOutcome> DrawMapMatch(Workspace& ws, size_t index, MapControls& controls,
                                           const MapSharedOptions& options);

} // namespace tavrik

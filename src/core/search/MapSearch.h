// The map data search: looks through the whole memory image for map data that reproduces the grid of
// tile numbers found in the screenshot, in a fixed sequence of representations (bytes, words, longwords,
// pointers to tile graphics; rows or columns stored one after another; exact or offset tile numbers), each
// with a series of masks and shifts.
#pragma once

#include "search/MapMatch.h"
#include "search/MatchGrid.h"
#include "search/SearchProgress.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

enum class SearchLayout : uint8_t { Horizontal, Vertical };
enum class SearchMode : uint8_t { Exact, Offset };
enum class SearchAction : uint8_t { Step, Transpose, Parse };

// One row of the search's table of representations.
struct MapSearchRow {
    std::string_view Message; // added to the results before the row's action; empty: none
    SearchAction Action = SearchAction::Step;
    MapSearchType Type = MapSearchType::Byte;
    SearchLayout Layout = SearchLayout::Horizontal;
    SearchMode Mode = SearchMode::Exact;
    int32_t Skip = 0;       // bytes passed over at the start of memory
    bool LongsOnly = false; // runs only with "Search for longword matches" checked
    bool Consulted = false; // a find here ends the search
};

extern const std::array<MapSearchRow, 19> MapSearchTable;

// How values of a memory type are read and which masks and shifts are tried.
struct SearchTypeRule {
    int32_t BytesPerValue;
    uint32_t FirstMask;
    uint32_t LastMask;
    int32_t LargestShift;
};
SearchTypeRule SearchTypeRuleOf(MapSearchType type);

// What turns a pointer into a tile number: chip RAM's place in memory and the last rip's settings.
struct PointerTiles {
    uint32_t ChipRamOffset = 0;
    int64_t RipAddress = 0;
    int32_t TileWidth = 16; // ActualTileWidth
    int32_t TileHeight = 16;
    int32_t Bitplanes = 1;
};
// The bytes of one tile's graphics, ActualTileWidth x ActualTileHeight x Bitplanes div 8, in 64 bits.
int64_t PointerTileBytes(const PointerTiles& pointers);

struct MapSearchOptions {
    bool SearchLongs = false; // CheckBoxMapSearchLongs
    bool Detailed = false;    // CheckBoxMapSearchDetailed
    PointerTiles Pointers;
    // The tiles of the rip: the rows around a find whose values are all tile numbers belong to its level.
    // 0: the level is taken as the find's rows.
    int32_t TileCount = 0;
};

// The window after a row-0 find in which the other rows are looked for, and the caps on ambiguous grids.
inline constexpr int64_t SearchRowWindow = 10240;
inline constexpr int32_t SearchHitLimit = 200;
inline constexpr int32_t SearchOffsetLimit = 256;
inline constexpr int32_t SearchProgressMaximum = 72;
// A level found around a find has at most this many rows (columns for a map stored column by column).
inline constexpr int32_t LevelRowLimit = 1024;

struct MapSearchRun {
    std::vector<std::string> ResultLines; // MemoSearchResults, "Finished!" last
    std::vector<MapMatch> Matches;        // MapMatchList, one per combo box item
    bool Cancelled = false;
    bool NoUsableRow = false; // no grid row had half of its cells known: nothing was searched
};

// The report lines.
inline constexpr std::string_view FinishedLine = "Finished!";
inline constexpr std::string_view EveryRowLine = "Match found for every row!";
std::string RowFoundLine(int32_t row, uint32_t mask, int32_t shift, int32_t offset, int64_t address);
std::string BailingOutLine();
// "Jackpot! $38034 with 1 bytes per tile, map width 64", with " (3 cells unknown)" when the grid had "?" cells.
std::string JackpotLine(int64_t address, int32_t bytesPerValue, int64_t mapWidth, int32_t unknownCells = 0);
// "Level map at $37C34: 64 x 32 tiles": the whole level a find lies in.
std::string LevelLine(const MapMatch& match);
// The lines of grid rows with too few known cells, and of a grid with no row to search.
std::string RowLeftOutLine(int32_t row);
inline constexpr std::string_view NoUsableRowLine =
    "No row of the grid has half of its cells known: nothing to search for";
// Detailed mode: a pass in which grid row 0 is no good start (over 200 candidates, or too few cells known).
std::string AnchorRowLine(int32_t row);
// A pointer step whose tiles take no bytes cannot turn pointers into tile numbers; it is skipped.
inline constexpr std::string_view PointerTilesEmptyLine =
    "Pointer data skipped: a tile takes 0 bytes (tile width x height x bitplanes / 8)";

// Whether SearchStep returns false at once: fewer than 3 columns, no row or fewer than 4 cells.
bool GridTooSmallForSearch(const MatchGrid& grid);
// The offset mode's anchor column of a grid row: the first known cell without alternatives, else the first
// known cell (for row 0 of a grid without "?": the first cell without alternatives, else 0).
int32_t AnchorColumn(const MatchGrid& grid, int32_t row = 0);

// A find as a step reports it: the grid's first row at a byte address, the rows a stride apart, with the
// pass's shift, mask and offset.
struct MapFind {
    int64_t Address = 0;
    int64_t Stride = 0; // bytes
    int32_t Shift = 0;
    uint32_t Mask = 0;
    int32_t Offset = 0;
};

// What a find is measured against to give its level: the step's values (the memory as values of its type,
// from its skip on; value i for i below count) and the rip's tile count.
struct LevelValues {
    std::function<uint32_t(int64_t)> Value;
    int64_t Count = 0;
    int32_t TileCount = 0;
};

// The MapMatch of a find with its level: from the find's rows, one stride at a time back and forward while
// the values under the grid's columns are all tile numbers of the rip (after the find's shift, mask and
// offset) and not all zero (cleared memory), at most 1024 rows in all.
MapMatch MakeMapMatch(const MapSearchRow& row, const MatchGrid& grid, const MapFind& find, const LevelValues& level);

// Adds a find to the run: its jackpot and level lines and its MapMatch.
void RecordFind(const MapSearchRow& row, const MatchGrid& grid, const MapFind& find, const LevelValues& level,
                MapSearchRun& run);

// Runs one SearchStep of the table on the grid, adding lines and matches to run; returns its result.
using MapSearchStep = std::function<bool(const MapSearchRow& row, const MatchGrid& grid, MapSearchRun& run)>;

// Search for map with the table walk and the given step (the product's or a reference one): starts the
// progress at 72, parses the index memo's lines into grid, runs the table's rows until a consulted step
// succeeds or Cancel is clicked, and ends with "Finished!". grid is left as the last row left it.
MapSearchRun WalkMapSearchTable(const std::vector<std::string>& indexLines, bool searchLongs, MatchGrid& grid,
                                SearchProgress& progress, const MapSearchStep& step);

// Search for map over the memory image. The grid's text is checked first (CheckMatchGridText throws).
MapSearchRun SearchForMap(std::span<const uint8_t> memory, const std::vector<std::string>& indexLines,
                          const MapSearchOptions& options, MatchGrid& grid, SearchProgress& progress);

} // namespace tavrik

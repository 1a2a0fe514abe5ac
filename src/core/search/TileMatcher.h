// Tile matching: finds the pixel offset at which the selected part of the screenshot splits into whole
// tiles of the tile sheet (possibly flipped), and the grid of their numbers.
#pragma once

#include "imageio/Image.h"
#include "search/MatchGrid.h"
#include "search/SearchImageTools.h"
#include "search/SearchProgress.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// CompareTile's results; a cell's flip code is the result AND 3.
inline constexpr int32_t TileUnflipped = 4;
inline constexpr int32_t TileNoMatch = 0;

// CompareTile: the width x height block of the screenshot at (sx, sy) against the tile at (tx, ty) of the
// 24-bit tile picture, by the upper four bits of each channel, unflipped (4), then with flipLevel >= 1
// upside down (1), with flipLevel 2 mirrored (2) and both (3); 0 when none matches. Screenshot pixels off
// the image match nothing.
int32_t CompareTile(const Image& searchImage, int32_t sx, int32_t sy, const Image& tiles, int32_t tx, int32_t ty,
                    int32_t width, int32_t height, int32_t flipLevel);

struct TileMatchRun {
    // Whether a grid was found: every cell matched, or at least one row half matched with the rest "?".
    bool Matched = false;
    // Cancel came before an alignment was found: nothing else of the run holds.
    bool Cancelled = false;
    // The new text of MemoSearchIndexes.
    std::vector<std::string> IndexLines;
    // Lines added to MemoSearchResults (the duplicates).
    std::vector<std::string> ResultLines;
    // On the found tiles after a match; else the selection given.
    SelectionRect Selection;
    // LabelSearchRubberBandDimensions after a match.
    std::optional<std::string> SelectionLabel;
    // The cells no tile matched ("?" in the grid), in screenshot pixels, for the window to mark.
    std::vector<PixelRect> UnmatchedCells;
    // The whole factor by which the selection's picture was found scaled (1: read as it is).
    int32_t Scale = 1;
};

inline constexpr std::string_view UnmatchedTilesLine = "Unmatched tiles, cannot continue";
// Added under it when no alignment leaves a grid row with half of its cells matched.
inline constexpr std::string_view NoUsableRowReason =
    "(no alignment matches half of the cells of any row of the selection to tiles)";
inline constexpr std::string_view DuplicateSearchStatus = "Checking for duplicate tiles...";
std::string AlignmentStatus(int32_t dx, int32_t dy);
std::string DuplicateTileLine(int32_t column, int32_t row, int32_t tile, int32_t duplicate);
std::string ScaledScreenshotLine(int32_t factor);

// Match tiles on the screenshot with the tile picture (the tile sheet as 24-bit colours) cut into
// tileWidth x tileHeight tiles. The first alignment at which every cell matches wins; when none does, the
// alignment with the most matched cells (the first of equals) gives the grid, its unmatched cells written
// "?", as long as one of its rows has half of its cells matched. A selection whose picture is scaled by 2, 3
// or 4 (every block of that size one colour) is read at the game's pixel size first ("Screenshot scaled 2x").
// An alignment with no whole tile under the selection ends the search as a match; its text then shows
// one "-1" cell for each column and row it lacks, rather than cells left from an earlier run.
TileMatchRun MatchTiles(const Image& searchImage, const Image& tiles, int32_t tileWidth, int32_t tileHeight,
                        const SelectionRect& selection, MatchGrid& grid, SearchProgress& progress);

} // namespace tavrik

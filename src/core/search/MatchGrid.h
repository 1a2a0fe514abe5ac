// The grid of tile numbers that tile matching finds in the screenshot and the map search looks for in
// memory, and its text form in the "Map Search" tab's index memo ("12, y12/40, 3, x7").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

struct MatchCell {
    int32_t TileNumber = -1;           // -1: no tile matched
    int32_t FlipCode = 0;              // 0 as stored, 1 upside down, 2 mirrored, 3 both
    std::vector<int32_t> Alternatives; // further tiles that match as well, each once
    bool Unknown = false;              // "?": a cell no tile matched (a sprite over it), taken as any value

    bool operator==(const MatchCell&) const = default;
    // The cell's tile number or one of its alternatives; an unknown cell accepts every value.
    bool Accepts(int32_t tile) const;
};

// The text of an unknown cell.
inline constexpr std::string_view UnknownCellText = "?";

inline constexpr int32_t MatchGridSize = 16;
// Matching and searching use at most this many rows and columns of the grid.
inline constexpr int32_t MatchGridUsed = 15;

struct MatchGrid {
    std::array<std::array<MatchCell, MatchGridSize>, MatchGridSize> Cells{};
    int32_t Rows = 0;    // GridRows
    int32_t Columns = 0; // GridColumns

    MatchCell& At(int32_t row, int32_t column) { return Cells[static_cast<size_t>(row)][static_cast<size_t>(column)]; }
    const MatchCell& At(int32_t row, int32_t column) const {
        return Cells[static_cast<size_t>(row)][static_cast<size_t>(column)];
    }
};

// A cell as written in the memo: flip prefix ("y", "x", "xy"), tile number, then "/" and each alternative;
// "?" for an unknown cell.
std::string MatchCellText(const MatchCell& cell);

// The lines of the memo for the first rows x columns cells, cells joined by ", ".
std::vector<std::string> MatchGridLines(const MatchGrid& grid, int32_t rows, int32_t columns);

// ParseMatchGrid: reads the memo's lines into the grid (at most 15 x 15; the column count comes from the
// commas of the first line). A piece of a cell that is no number reads as 0.
void ParseMatchGrid(const std::vector<std::string>& lines, MatchGrid& grid);

// Checks the memo's text before a search: at most 15 lines (empty lines at the end aside) of at most 15 cells,
// each empty, "?" or a tile number with its flip letters and "/" alternatives. Anything else (a binary file
// given as the grid, a grid larger than the search can use) throws tavrik::Error naming the line.
void CheckMatchGridText(const std::vector<std::string>& lines);

// A grid row takes part in the search when at least half of its used cells are known.
bool RowIsUsable(const MatchGrid& grid, int32_t row);
// The unknown cells of the used area.
int32_t UnknownCellCount(const MatchGrid& grid);

// TransposeMatchGrid: swaps the tile numbers and alternatives of cells (i, j) and (j, i) of the whole 16 x 16
// grid (flip codes stay) and swaps the row and column counts, so grid row r holds screen column r.
void TransposeMatchGrid(MatchGrid& grid);

} // namespace tavrik

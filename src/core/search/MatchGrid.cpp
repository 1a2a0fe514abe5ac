// The match grid's text form and its reading back, and the transposition for maps stored column by column.
#include "search/MatchGrid.h"

#include "app/Error.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <algorithm>
#include <utility>

namespace tavrik {

namespace {

constexpr std::array<std::string_view, 4> FlipPrefixes{"", "y", "x", "xy"};

// Removes every occurrence of the letter; returns whether there was one.
bool RemoveLetter(std::string& text, char letter) {
    const auto end = std::remove(text.begin(), text.end(), letter);
    const bool found = end != text.end();
    text.erase(end, text.end());
    return found;
}

MatchCell ParseCell(std::string text) {
    MatchCell cell;
    text = Trim(text);
    if (text == UnknownCellText) {
        cell.Unknown = true;
        return cell;
    }
    if (RemoveLetter(text, 'x')) cell.FlipCode = 2;
    if (RemoveLetter(text, 'y')) cell.FlipCode += 1;
    bool first = true;
    while (!text.empty()) {
        const std::string piece = Trim(SplitAt(text, "/"));
        if (piece.empty()) continue;
        const int32_t number = ParseIntegerText(piece).value_or(0);
        if (first) {
            cell.TileNumber = number;
            first = false;
        } else if (std::find(cell.Alternatives.begin(), cell.Alternatives.end(), number) == cell.Alternatives.end()) {
            cell.Alternatives.push_back(number);
        }
    }
    return cell;
}

} // namespace

bool MatchCell::Accepts(int32_t tile) const {
    return Unknown || tile == TileNumber || std::find(Alternatives.begin(), Alternatives.end(), tile) != Alternatives.end();
}

std::string MatchCellText(const MatchCell& cell) {
    if (cell.Unknown) return std::string(UnknownCellText);
    std::string text(FlipPrefixes[static_cast<size_t>(cell.FlipCode & 3)]);
    text += std::to_string(cell.TileNumber);
    for (const int32_t alternative : cell.Alternatives)
        text += "/" + std::to_string(alternative);
    return text;
}

std::vector<std::string> MatchGridLines(const MatchGrid& grid, int32_t rows, int32_t columns) {
    std::vector<std::string> lines;
    for (int32_t r = 0; r < rows; ++r) {
        std::string line;
        for (int32_t c = 0; c < columns; ++c)
            line += (c == 0 ? "" : ", ") + MatchCellText(grid.At(r, c));
        lines.push_back(std::move(line));
    }
    return lines;
}

void ParseMatchGrid(const std::vector<std::string>& lines, MatchGrid& grid) {
    const int32_t commas = lines.empty() ? 0 : static_cast<int32_t>(std::count(lines[0].begin(), lines[0].end(), ','));
    grid.Columns = std::min(MatchGridUsed, commas + 1);
    grid.Rows = std::min<int32_t>(MatchGridUsed, static_cast<int32_t>(std::min<size_t>(lines.size(), MatchGridUsed)));
    for (int32_t r = 0; r < grid.Rows; ++r) {
        std::string rest = lines[static_cast<size_t>(r)];
        for (int32_t c = 0; c < grid.Columns; ++c)
            grid.At(r, c) = ParseCell(SplitAt(rest, ","));
    }
}

namespace {

// Whether a cell's text is one the memo can hold: empty, "?", or flip letters and "/"-separated numbers (a
// cell of flip letters alone reads as no tile, -1).
bool CellTextIsValid(std::string text) {
    text = Trim(text);
    if (text.empty() || text == UnknownCellText) return true;
    RemoveLetter(text, 'x');
    RemoveLetter(text, 'y');
    while (!text.empty()) {
        const std::string piece = Trim(SplitAt(text, "/"));
        if (!piece.empty() && !ParseIntegerText(piece)) return false;
    }
    return true;
}

} // namespace

void CheckMatchGridText(const std::vector<std::string>& lines) {
    size_t used = lines.size();
    while (used > 0 && Trim(lines[used - 1]).empty())
        --used;
    if (used > static_cast<size_t>(MatchGridUsed))
        throw Error("the grid has " + std::to_string(used) + " lines; it holds at most " +
                    std::to_string(MatchGridUsed) + " rows of tile numbers");
    for (size_t i = 0; i < used; ++i) {
        const std::string where = "line " + std::to_string(i + 1) + " of the grid ";
        std::string rest = lines[i];
        const auto cells = std::count(rest.begin(), rest.end(), ',') + 1;
        if (cells > MatchGridUsed)
            throw Error(where + "has " + std::to_string(cells) + " cells; a row holds at most " +
                        std::to_string(MatchGridUsed));
        do {
            if (!CellTextIsValid(SplitAt(rest, ",")))
                throw Error(where + "is not a row of tile numbers (\"12, y12/40, ?, x7\")");
        } while (!rest.empty());
    }
}

bool RowIsUsable(const MatchGrid& grid, int32_t row) {
    int32_t known = 0;
    for (int32_t c = 0; c < grid.Columns; ++c)
        known += grid.At(row, c).Unknown ? 0 : 1;
    return known > 0 && 2 * known >= grid.Columns;
}

int32_t UnknownCellCount(const MatchGrid& grid) {
    int32_t unknown = 0;
    for (int32_t r = 0; r < grid.Rows; ++r)
        for (int32_t c = 0; c < grid.Columns; ++c)
            unknown += grid.At(r, c).Unknown ? 1 : 0;
    return unknown;
}

void TransposeMatchGrid(MatchGrid& grid) {
    for (int32_t i = 0; i < MatchGridSize; ++i)
        for (int32_t j = i + 1; j < MatchGridSize; ++j) {
            MatchCell& a = grid.At(i, j);
            MatchCell& b = grid.At(j, i);
            std::swap(a.TileNumber, b.TileNumber);
            std::swap(a.Alternatives, b.Alternatives);
            std::swap(a.Unknown, b.Unknown);
        }
    std::swap(grid.Rows, grid.Columns);
}

} // namespace tavrik

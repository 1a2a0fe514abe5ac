// Tile matching by a hash of every tile in each of its four orientations: a block of the screenshot is
// hashed once and only the tiles with the same hash are compared pixel by pixel, in the order the tiles and
// orientations are tried, so the first tile found is the one a walk over all tiles would find.
#include "search/TileMatcher.h"

#include "app/Checked.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace tavrik {

namespace {

constexpr uint32_t HighNibbles = 0xF0F0F0;

// CompareTile's orientations in the order tried, with their results.
struct Orientation {
    bool MirrorX;
    bool FlipY;
    int32_t Result;
};
constexpr std::array<Orientation, 4> Orientations{
    {{false, false, TileUnflipped}, {false, true, 1}, {true, false, 2}, {true, true, 3}}};

// How many orientations a flip level tries.
size_t OrientationCount(int32_t flipLevel) { return flipLevel >= 2 ? 4 : flipLevel == 1 ? 2 : 1; }

// An image's colours with only the upper four bits of each channel, row after row.
struct KeyPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Keys;

    explicit KeyPicture(const Image& image) : Width(image.Width()), Height(image.Height()) {
        Keys.reserve(static_cast<size_t>(Width) * static_cast<size_t>(Height));
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = 0; x < Width; ++x)
                Keys.push_back(image.ColourAt(x, y) & HighNibbles);
    }
    uint32_t At(int32_t x, int32_t y) const {
        return Keys[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    }
    bool Holds(int32_t x, int32_t y, int32_t width, int32_t height) const {
        return x >= 0 && y >= 0 && width <= Width - x && height <= Height - y;
    }
};

// The block at (sx, sy) against the tile at (tx, ty) shown in one orientation.
bool SameInOrientation(const KeyPicture& search, int32_t sx, int32_t sy, const KeyPicture& tiles, int32_t tx,
                       int32_t ty, int32_t width, int32_t height, const Orientation& o) {
    for (int32_t x = 0; x < width; ++x) {
        const int32_t fx = tx + (o.MirrorX ? width - 1 - x : x);
        for (int32_t y = 0; y < height; ++y)
            if (search.At(sx + x, sy + y) != tiles.At(fx, ty + (o.FlipY ? height - 1 - y : y))) return false;
    }
    return true;
}

uint64_t Mix(uint64_t hash, uint32_t key) { return (hash ^ key) * 0x100000001B3ULL + (hash >> 29); }

// The hash of a block read row by row in an orientation (the same orientation read of a tile gives the hash
// of the screenshot block that shows it that way).
uint64_t BlockHash(const KeyPicture& picture, int32_t x0, int32_t y0, int32_t width, int32_t height,
                   const Orientation& o) {
    uint64_t hash = 0xCBF29CE484222325ULL;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t fy = y0 + (o.FlipY ? height - 1 - y : y);
        for (int32_t x = 0; x < width; ++x)
            hash = Mix(hash, picture.At(x0 + (o.MirrorX ? width - 1 - x : x), fy));
    }
    return hash;
}

struct TileView {
    int32_t Tile;
    uint8_t OrientationIndex;
};

// Every tile in every orientation by hash; each list in the order tiles and orientations are tried.
class TileIndex {
  public:
    TileIndex(const KeyPicture& tiles, int32_t tileWidth, int32_t tileHeight, int32_t sheetColumns, int32_t count)
        : Tiles(tiles), TileWidth(tileWidth), TileHeight(tileHeight), SheetColumns(sheetColumns) {
        for (int32_t t = 0; t < count; ++t)
            for (size_t o = 0; o < Orientations.size(); ++o)
                ByHash[BlockHash(tiles, TileX(t), TileY(t), tileWidth, tileHeight, Orientations[o])].push_back(
                    TileView{t, static_cast<uint8_t>(o)});
    }

    // The tiles whose CompareTile with the block at (sx, sy) is not 0, from firstTile on, each once, with
    // the result of CompareTile; stops after the first when firstOnly.
    template <typename Found>
    void ForEachMatch(const KeyPicture& search, int32_t sx, int32_t sy, int32_t flipLevel, int32_t firstTile,
                      Found&& found) const {
        if (!search.Holds(sx, sy, TileWidth, TileHeight)) return;
        const auto list = ByHash.find(BlockHash(search, sx, sy, TileWidth, TileHeight, Orientations[0]));
        if (list == ByHash.end()) return;
        const size_t orientations = OrientationCount(flipLevel);
        int32_t lastTile = -1;
        for (const TileView& view : list->second) {
            if (view.Tile < firstTile || view.Tile == lastTile || view.OrientationIndex >= orientations) continue;
            const Orientation& o = Orientations[view.OrientationIndex];
            if (!SameInOrientation(search, sx, sy, Tiles, TileX(view.Tile), TileY(view.Tile), TileWidth, TileHeight, o))
                continue;
            lastTile = view.Tile;
            if (!found(view.Tile, o.Result)) return;
        }
    }

  private:
    const KeyPicture& Tiles;
    int32_t TileWidth;
    int32_t TileHeight;
    int32_t SheetColumns;
    std::unordered_map<uint64_t, std::vector<TileView>> ByHash;

    int32_t TileX(int32_t t) const { return t % SheetColumns * TileWidth; }
    int32_t TileY(int32_t t) const { return t / SheetColumns * TileHeight; }
};

struct Alignment {
    int32_t Dx = 0;
    int32_t Dy = 0;
    int32_t FlipLevel = 0;
};

class Matcher {
  public:
    Matcher(const Image& searchImage, const Image& tiles, int32_t tileWidth, int32_t tileHeight, MatchGrid& grid)
        : Search(searchImage), TileKeys(tiles), TileWidth(tileWidth), TileHeight(tileHeight), Grid(grid),
          SheetColumns(CheckedDiv(tiles.Width(), tileWidth)),
          Index(TileKeys, tileWidth, tileHeight, SheetColumns,
                CheckedMul(SheetColumns, CheckedDiv(tiles.Height(), tileHeight))) {}

    // Fills the used cells for the alignment and returns how many matched. With stopEarly the walk ends at the
    // first cell no tile matches (later cells stay at -1); without, unmatched cells become unknown ("?").
    int32_t FillAlignment(const Alignment& a, const PixelRect& origin, bool stopEarly) {
        for (int32_t r = 0; r < Grid.Rows; ++r)
            for (int32_t c = 0; c < Grid.Columns; ++c) {
                MatchCell& cell = Grid.At(r, c);
                cell.TileNumber = -1;
                cell.Alternatives.clear();
                cell.Unknown = false;
            }
        int32_t matched = 0;
        for (int32_t r = 0; r < Grid.Rows; ++r)
            for (int32_t c = 0; c < Grid.Columns; ++c) {
                MatchCell& cell = Grid.At(r, c);
                Index.ForEachMatch(Search, BlockX(a, origin, c), BlockY(a, origin, r), a.FlipLevel, 0,
                                   [&cell](int32_t tile, int32_t result) {
                                       cell.TileNumber = tile;
                                       cell.FlipCode = result & 3;
                                       return false;
                                   });
                if (cell.TileNumber >= 0) {
                    ++matched;
                } else {
                    if (stopEarly) return matched;
                    cell.Unknown = true;
                }
            }
        return matched;
    }

    void FindDuplicates(const Alignment& a, const PixelRect& origin, std::vector<std::string>& lines) {
        for (int32_t r = 0; r < Grid.Rows; ++r)
            for (int32_t c = 0; c < Grid.Columns; ++c) {
                MatchCell& cell = Grid.At(r, c);
                if (cell.Unknown) continue;
                Index.ForEachMatch(Search, BlockX(a, origin, c), BlockY(a, origin, r), a.FlipLevel, cell.TileNumber + 1,
                                   [&](int32_t tile, int32_t) {
                                       cell.Alternatives.push_back(tile);
                                       lines.push_back(DuplicateTileLine(c, r, cell.TileNumber, tile));
                                       return true;
                                   });
            }
    }

  private:
    KeyPicture Search;
    KeyPicture TileKeys;
    int32_t TileWidth;
    int32_t TileHeight;
    MatchGrid& Grid;
    int32_t SheetColumns;
    TileIndex Index;

  public:
    int32_t BlockX(const Alignment& a, const PixelRect& origin, int32_t c) const {
        return origin.Left + a.Dx + c * TileWidth;
    }
    int32_t BlockY(const Alignment& a, const PixelRect& origin, int32_t r) const {
        return origin.Top + a.Dy + r * TileHeight;
    }
};

// The selection sized and the text written after a match; an alignment without whole tiles shows "-1" cells.
void FinishMatch(const Alignment& a, const PixelRect& origin, int32_t tileWidth, int32_t tileHeight, MatchGrid& grid,
                 TileMatchRun& run) {
    const int32_t rows = std::max(1, grid.Rows);
    const int32_t columns = std::max(1, grid.Columns);
    if (grid.Rows == 0 || grid.Columns == 0)
        for (int32_t r = 0; r < rows; ++r)
            for (int32_t c = 0; c < columns; ++c)
                grid.At(r, c) = MatchCell{};
    const double left = origin.Left + a.Dx;
    const double top = origin.Top + a.Dy;
    run.Selection = SelectionRect{left, top, left + columns * tileWidth, top + rows * tileHeight};
    run.SelectionLabel = SelectionLabelText(run.Selection);
    run.IndexLines = MatchGridLines(grid, rows, columns);
}

// The alignments in the order they are tried: flip level, then dy, then dx.
template <typename Visit> void ForEachAlignment(int32_t tileWidth, int32_t tileHeight, Visit&& visit) {
    for (int32_t level = 0; level <= 2; ++level)
        for (int32_t dy = 0; dy < tileHeight; ++dy)
            for (int32_t dx = 0; dx < tileWidth; ++dx)
                if (!visit(Alignment{dx, dy, level})) return;
}

// Matching at the screenshot's own pixel size.
class AlignmentSearch {
  public:
    AlignmentSearch(const Image& searchImage, const Image& tiles, int32_t tileWidth, int32_t tileHeight,
                    const SelectionRect& selection, MatchGrid& grid, SearchProgress& progress)
        : TileWidth(tileWidth), TileHeight(tileHeight), Selection(selection), Origin(RoundedSelection(selection)),
          Width(RoundHalfEven(selection.Right - selection.Left)),
          Height(RoundHalfEven(selection.Bottom - selection.Top)), Grid(grid), Progress(progress),
          Cells(searchImage, tiles, tileWidth, tileHeight, grid) {}

    // The first alignment at which every cell matches, with the progress bar and status of each one tried.
    std::optional<Alignment> FirstFullAlignment() {
        Progress.Start(CheckedMul(CheckedMul(TileWidth, TileHeight), 3));
        std::optional<Alignment> found;
        ForEachAlignment(TileWidth, TileHeight, [&](const Alignment& a) {
            SizeGrid(a);
            if (Progress.Cancelled()) {
                Cancelled = true;
                return false;
            }
            Progress.Advance();
            Progress.Status(AlignmentStatus(a.Dx, a.Dy));
            if (Cells.FillAlignment(a, Origin, true) == Grid.Rows * Grid.Columns) found = a;
            return !found;
        });
        return found;
    }

    // The alignment with the most matched cells (the first of equals), its grid filled with "?" for the rest;
    // nullopt when no row of it has half of its cells matched.
    std::optional<Alignment> MostMatchedAlignment() {
        // Counting fills cells of every alignment; only the chosen one is left in the grid.
        const MatchGrid before = Grid;
        std::optional<Alignment> best;
        int32_t most = 0;
        ForEachAlignment(TileWidth, TileHeight, [&](const Alignment& a) {
            SizeGrid(a);
            const int32_t matched = Cells.FillAlignment(a, Origin, false);
            if (matched > most) {
                best = a;
                most = matched;
            }
            return true;
        });
        Grid = before;
        if (!best) return std::nullopt;
        SizeGrid(*best);
        Cells.FillAlignment(*best, Origin, false);
        for (int32_t r = 0; r < Grid.Rows; ++r)
            if (RowIsUsable(Grid, r)) return best;
        return std::nullopt;
    }

    TileMatchRun Finish(const std::optional<Alignment>& found) {
        TileMatchRun run;
        run.Selection = Selection;
        if (!found) {
            run.IndexLines = {std::string(UnmatchedTilesLine), std::string(NoUsableRowReason)};
            return run;
        }
        run.Matched = true;
        Progress.Status(DuplicateSearchStatus);
        Cells.FindDuplicates(*found, Origin, run.ResultLines);
        FinishMatch(*found, Origin, TileWidth, TileHeight, Grid, run);
        for (int32_t r = 0; r < Grid.Rows; ++r)
            for (int32_t c = 0; c < Grid.Columns; ++c)
                if (Grid.At(r, c).Unknown) {
                    const int32_t x = Cells.BlockX(*found, Origin, c);
                    const int32_t y = Cells.BlockY(*found, Origin, r);
                    run.UnmatchedCells.push_back(PixelRect{x, y, x + TileWidth, y + TileHeight});
                }
        return run;
    }

    // Whether a cancel stopped the alignments being tried.
    bool Cancelled = false;

  private:
    int32_t TileWidth;
    int32_t TileHeight;
    SelectionRect Selection;
    PixelRect Origin;
    int32_t Width;
    int32_t Height;
    MatchGrid& Grid;
    SearchProgress& Progress;
    Matcher Cells;

    void SizeGrid(const Alignment& a) {
        Grid.Columns = std::min(MatchGridUsed, (Width - a.Dx) / TileWidth);
        Grid.Rows = std::min(MatchGridUsed, (Height - a.Dy) / TileHeight);
    }
};

// A run on the picture read at the game's pixel size, put back into the screenshot's pixels.
TileMatchRun ScaledBack(TileMatchRun run, const ScaledSelection& scaled, const SelectionRect& selection) {
    const int32_t f = scaled.Factor;
    const auto back = [&](const PixelRect& r) {
        return PixelRect{scaled.Left + f * r.Left, scaled.Top + f * r.Top, scaled.Left + f * r.Right,
                         scaled.Top + f * r.Bottom};
    };
    if (run.Matched) {
        const PixelRect found = back(RoundedSelection(run.Selection));
        run.Selection = SelectionRect{double(found.Left), double(found.Top), double(found.Right), double(found.Bottom)};
        run.SelectionLabel = SelectionLabelText(run.Selection);
    } else {
        run.Selection = selection;
    }
    for (PixelRect& cell : run.UnmatchedCells)
        cell = back(cell);
    run.Scale = f;
    run.ResultLines.insert(run.ResultLines.begin(), ScaledScreenshotLine(f));
    return run;
}

} // namespace

int32_t CompareTile(const Image& searchImage, int32_t sx, int32_t sy, const Image& tiles, int32_t tx, int32_t ty,
                    int32_t width, int32_t height, int32_t flipLevel) {
    const KeyPicture search(searchImage);
    if (!search.Holds(sx, sy, width, height)) return TileNoMatch;
    const KeyPicture tileKeys(tiles);
    for (size_t o = 0; o < OrientationCount(flipLevel); ++o)
        if (SameInOrientation(search, sx, sy, tileKeys, tx, ty, width, height, Orientations[o]))
            return Orientations[o].Result;
    return TileNoMatch;
}

std::string AlignmentStatus(int32_t dx, int32_t dy) {
    return "Checking tile alignment " + std::to_string(dx) + "," + std::to_string(dy);
}

std::string DuplicateTileLine(int32_t column, int32_t row, int32_t tile, int32_t duplicate) {
    return "Duplicate tile match!: " + std::to_string(column) + "," + std::to_string(row) + "=" + std::to_string(tile) +
           " and also " + std::to_string(duplicate);
}

std::string ScaledScreenshotLine(int32_t factor) { return "Screenshot scaled " + std::to_string(factor) + "x"; }

// What a match stopped by a cancel reports: nothing matched, nothing to search.
static TileMatchRun CancelledMatch(const SelectionRect& selection) {
    TileMatchRun run;
    run.Selection = selection;
    run.Cancelled = true;
    return run;
}

TileMatchRun MatchTiles(const Image& searchImage, const Image& tiles, int32_t tileWidth, int32_t tileHeight,
                        const SelectionRect& selection, MatchGrid& grid, SearchProgress& progress) {
    AlignmentSearch native(searchImage, tiles, tileWidth, tileHeight, selection, grid, progress);
    const std::optional<Alignment> full = native.FirstFullAlignment();
    if (native.Cancelled) return CancelledMatch(selection);
    if (full) return native.Finish(full);
    if (const std::optional<ScaledSelection> scaled = ReadScaledSelection(searchImage, RoundedSelection(selection))) {
        const SelectionRect inner{0, 0, double(scaled->Picture.Width()), double(scaled->Picture.Height())};
        AlignmentSearch small(scaled->Picture, tiles, tileWidth, tileHeight, inner, grid, progress);
        std::optional<Alignment> found = small.FirstFullAlignment();
        if (small.Cancelled) return CancelledMatch(selection);
        if (!found) found = small.MostMatchedAlignment();
        if (found) return ScaledBack(small.Finish(found), *scaled, selection);
    }
    return native.Finish(native.MostMatchedAlignment());
}

} // namespace tavrik

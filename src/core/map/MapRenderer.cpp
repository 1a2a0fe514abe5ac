// DrawMap: sizing the map image, walking and decoding the stored cells, copying their tiles and marking the
// cells whose tile does not exist.
#include "map/MapRenderer.h"

#include "app/Checked.h"
#include "app/Error.h"
#include "app/IntegerText.h"
#include "app/Limits.h"
#include "map/MapItems.h"
#include "map/CellDecoder.h"
#include "map/HexFont.h"
#include "map/MapWalk.h"
#include "map/TileCopier.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tavrik {

namespace {

constexpr Colour Black = MakeColour(0, 0, 0);
constexpr Colour White = MakeColour(255, 255, 255);
constexpr Colour Magenta = MakeColour(255, 0, 255);

const char* const NoMemoryMessage =
    "Out of memory! Are you sure your bitplane width and height are sensible values in the Tile Ripper tab?";

std::string TooLargeMessage(int64_t width, int64_t height) {
    return "Out of memory! Are you sure your tile dimensions are set to sensible values in the Tile Ripper tab? "
           "The current map is trying to be " +
           std::to_string(width) + "x" + std::to_string(height) + " pixels!";
}

// The failures that would end a draw half-way are found before anything changes.
void CheckDrawable(const TMapVariables& map, const Image& mapImage, const MapDrawContext& context) {
    if (map.MapTileWidth <= 0) throw Error("Map tile width is " + std::to_string(map.MapTileWidth));
    if (map.MapTileHeight <= 0) throw Error("Map tile height is " + std::to_string(map.MapTileHeight));
    if (context.TileSource == &mapImage) throw Error("A map cannot take its tiles from its own image");
    if (IsPointerMap(map) && BytesPerTile(map, context.Bitplanes, context.SkipBetweenTiles) == 0)
        throw Error("Map pointers cannot be turned into tiles: bytes per tile is 0");
}

void FixDrawSize(TMapVariables& map) {
    map.TrimTiles = std::max(map.TrimTiles, 0);
    const bool horizontal = map.Direction != static_cast<int32_t>(MapDirection::Vertical);
    map.DrawWidth = std::max(map.WidthInTiles - (horizontal ? map.TrimTiles : 0), 1);
    map.DrawHeight = std::max(map.HeightInTiles - (horizontal ? 0 : map.TrimTiles), 1);
}

// Cells only grow, with room for 16 more columns and rows than asked for.
bool GrowCells(TMapVariables& map) {
    const int64_t columns = map.CellColumns < map.WidthInTiles ? int64_t{map.WidthInTiles} + 16 : map.CellColumns;
    const int64_t rows = map.CellRows < map.HeightInTiles ? int64_t{map.HeightInTiles} + 16 : map.CellRows;
    if ((columns + 1) * (rows + 1) > MapGridCellLimit) return false;
    map.CellColumns = static_cast<int32_t>(columns);
    map.CellRows = static_cast<int32_t>(rows);
    map.Cells.resize(static_cast<size_t>(rows + 1));
    for (std::vector<TMapCell>& row : map.Cells)
        row.resize(static_cast<size_t>(columns + 1));
    return true;
}

// Gives the image its size and format; false when it cannot be made.
bool SizeImage(Image& image, int32_t width, int32_t height, PixelFormat format) {
    if (image.Width() == width && image.Height() == height && image.Format() == format) return true;
    try {
        image.Reset(width, height, format);
    } catch (const Error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The image starts black; cells that a tile covers wholly are not filled first, so that the image is
// written about once. A cell is filled black the first time anything else is drawn into it, and cells
// nothing touched are filled at the end.
class CellCanvas {
  public:
    CellCanvas(Image& image, const TMapVariables& map)
        : Target(image), Columns(map.DrawWidth), Rows(map.DrawHeight), TileWidth(map.MapTileWidth),
          TileHeight(map.MapTileHeight),
          BlackIndex(image.Format() == PixelFormat::Indexed8 ? NearestColourIndex(image.ColourTable, Black) : 0),
          Touched(static_cast<size_t>(Columns) * static_cast<size_t>(Rows), 0) {}

    // After a tile covered the cell at pixel (x, y).
    void Covered(int64_t x, int64_t y) {
        if (const int64_t cell = CellOf(x, y); cell >= 0) Touched[static_cast<size_t>(cell)] = 1;
    }
    // Before a part of the cell at pixel (x, y) is drawn.
    void Prepare(int64_t x, int64_t y) {
        const int64_t cell = CellOf(x, y);
        if (cell < 0 || Touched[static_cast<size_t>(cell)]) return;
        Touched[static_cast<size_t>(cell)] = 1;
        FillCell(x, y);
    }
    // Runs of untouched cells along each cell row are filled one pixel row at a time.
    void FillUntouched() {
        for (int64_t row = 0; row < Rows; ++row) {
            int64_t col = 0;
            while (col < Columns) {
                if (Touched[static_cast<size_t>(row * Columns + col)]) {
                    ++col;
                    continue;
                }
                const int64_t start = col;
                while (col < Columns && !Touched[static_cast<size_t>(row * Columns + col)])
                    ++col;
                FillPixels(start * TileWidth, row * TileHeight, (col - start) * TileWidth);
            }
        }
    }

  private:
    // Cells lie on the grid of the image, wholly inside or wholly outside it.
    int64_t CellOf(int64_t x, int64_t y) const {
        if (x < 0 || y < 0 || x >= Target.Width() || y >= Target.Height()) return -1;
        return (y / TileHeight) * Columns + x / TileWidth;
    }
    void FillCell(int64_t x, int64_t y) { FillPixels(x, y, TileWidth); }
    void FillPixels(int64_t x, int64_t y, int64_t width) {
        const auto bpp = static_cast<size_t>(Target.BytesPerPixel());
        for (int64_t dy = 0; dy < TileHeight; ++dy)
            std::memset(Target.Row(static_cast<int32_t>(y + dy)) + static_cast<size_t>(x) * bpp, BlackIndex,
                        static_cast<size_t>(width) * bpp);
    }

    Image& Target;
    int64_t Columns;
    int64_t Rows;
    int64_t TileWidth;
    int64_t TileHeight;
    uint8_t BlackIndex;
    std::vector<uint8_t> Touched;
};

struct MarkPens {
    Pen Black;
    Pen White;
    Pen Magenta;
};

// The magenta box with the tile number, and for narrow tiles the number again as two lines of two digits.
void MarkBadCell(Image& image, const TMapVariables& map, int64_t row, int64_t col, int32_t tileIndex,
                 const MarkPens& pens) {
    const int64_t x64 = col * map.MapTileWidth;
    const int64_t y64 = row * map.MapTileHeight;
    if (x64 >= image.Width() || y64 >= image.Height()) return;
    const auto x = static_cast<int32_t>(x64);
    const auto y = static_cast<int32_t>(y64);
    const int32_t right = static_cast<int32_t>(std::min<int64_t>(x64 + map.MapTileWidth, image.Width()));
    const int32_t bottom = static_cast<int32_t>(std::min<int64_t>(y64 + map.MapTileHeight, image.Height()));
    const std::string text = Hex(tileIndex);
    const PixelRect inner{x + 1, y + 1, right, bottom};
    const PixelRect cell{x, y, right, bottom};
    FillRect(image, inner, pens.Magenta);
    DrawHexText(image, x + 1, y + 1, text, pens.Black, inner);
    DrawHexText(image, x, y, text, pens.White, cell);
    if (map.MapTileWidth > 16) return;
    const int32_t indent = (row & 2) != 0 ? 4 : 0;
    DrawHexText(image, x + 2 + indent, y - 1, Hex(tileIndex >> 8, 2), pens.White, cell);
    DrawHexText(image, x + 2 + indent, y + 7, Hex(static_cast<uint32_t>(tileIndex) & 0xFF, 2), pens.White,
                PixelRect{x, y + 8, right, bottom});
}

// The index dump of one draw: a line per band of blocks.
class IndexDump {
  public:
    IndexDump(bool enabled, bool horizontal, std::vector<std::string>& lines)
        : Enabled(enabled), Horizontal(horizontal), Lines(lines) {}

    void Add(int64_t row, int64_t col, int32_t value) {
        if (!Enabled) return;
        if (Line.empty())
            Line = Horizontal ? "Row " + std::to_string(row) + ": " : "Column " + std::to_string(col) + ": ";
        else
            Line += ", ";
        Line += DollarHex(static_cast<uint32_t>(value), 4);
    }
    void EndBand() {
        if (!Enabled) return;
        Lines.push_back(std::move(Line));
        Line.clear();
    }

  private:
    bool Enabled;
    bool Horizontal;
    std::vector<std::string>& Lines;
    std::string Line;
};

CellDecoder MakeDecoder(const TMapVariables& map, const MapDrawContext& context) {
    const bool loaded = map.UseLoadedMap && !context.LoadedMapData.empty();
    TilePointerBase pointers{context.RipAddress, context.ChipRamOffset, 1};
    if (IsPointerMap(map)) pointers.BytesPerTile = BytesPerTile(map, context.Bitplanes, context.SkipBetweenTiles);
    return CellDecoder(map, loaded ? context.LoadedMapData : context.MemoryImage,
                       BuildReplacementRules(context.Options.Replacements), pointers,
                       FlipSwitches{context.Options.FlipXEnabled, context.Options.FlipYEnabled});
}

// Puts the decoded cells into the image: tiles, bad-cell marks, and black where neither lands.
class CellPainter {
  public:
    CellPainter(const TMapVariables& map, Image& image, const MapDrawContext& context)
        : Map(map), Target(image), Context(context),
          Copier(context.TileSource, image, map.MapTileWidth, map.MapTileHeight, map.MapNumber == 2),
          Canvas(image, map), Pens{MakePen(image, Black), MakePen(image, White), MakePen(image, Magenta)},
          BottomUp(map.CustomGameId == static_cast<int32_t>(CustomGame::ActionFighter)) {}

    void Paint(int64_t row, int64_t col, const TMapCell& decoded) {
        const int32_t tile = decoded.TileIndex;
        const int64_t x = col * Map.MapTileWidth;
        const int64_t y = row * Map.MapTileHeight;
        if (tile > Context.TileCount) {
            if (!Context.Options.ShowBadTiles) return;
            Copier.Flush();
            Canvas.Prepare(x, y);
            MarkBadCell(Target, Map, row, col, tile, Pens);
            return;
        }
        if (!Copier.CanDraw()) return;
        const int64_t n = int64_t{tile} + Map.Adjust;
        // Action Fighter stores its rows bottom-up.
        const int64_t top = BottomUp ? Target.Height() - y - Map.MapTileHeight : y;
        if (Copier.DrawWhole(n, decoded.FlipX, decoded.FlipY, x, top)) {
            Canvas.Covered(x, top);
            return;
        }
        Copier.Flush();
        Canvas.Prepare(x, top);
        Copier.DrawClipped(n, decoded.FlipX, decoded.FlipY, x, top);
    }

    void Finish() {
        Copier.Flush();
        Canvas.FillUntouched();
    }

  private:
    const TMapVariables& Map;
    Image& Target;
    const MapDrawContext& Context;
    TileCopier Copier;
    CellCanvas Canvas;
    MarkPens Pens;
    bool BottomUp;
};

void Store(TMapVariables& map, int64_t row, int64_t col, const TMapCell& cell) {
    if (row <= map.CellRows && col <= map.CellColumns)
        map.Cells[static_cast<size_t>(row)][static_cast<size_t>(col)] = cell;
}

// The walk over the stored cells: each cell decoded, stored, counted and painted; at the end of every band
// the trimmed cells are passed over and the dump line is complete.
void WalkAndDraw(TMapVariables& map, Image& image, const MapDrawContext& context, int32_t across, int32_t down,
                 MapDrawOutcome& outcome) {
    CellDecoder decoder = MakeDecoder(map, context);
    const int32_t elementSize = ElementSize(map.MemoryType);
    const int64_t trimBytes = int64_t{map.TrimTiles} * (elementSize == 0 ? 1 : elementSize);
    IndexDump dump(context.Options.ShowIndexes, map.Direction != static_cast<int32_t>(MapDirection::Vertical),
                   outcome.IndexDump);
    CellPainter painter(map, image, context);
    MapWalk walk(map, across, down);
    const int64_t visits = int64_t{map.DrawWidth} * map.DrawHeight;
    for (int64_t visit = 0; visit < visits; ++visit) {
        const TMapCell decoded = decoder.Decode();
        const int32_t tile = decoded.TileIndex;
        dump.Add(walk.Row(), walk.Column(), decoded.RawValue);
        Store(map, walk.Row(), walk.Column(), decoded);
        outcome.MinIndex = std::min(outcome.MinIndex, tile);
        outcome.MaxIndex = std::max(outcome.MaxIndex, tile);
        if (tile > context.TileCount) ++outcome.MissingCount;
        painter.Paint(walk.Row(), walk.Column(), decoded);
        if (walk.Advance()) {
            decoder.Source.Position += trimBytes;
            dump.EndBand();
        }
    }
    painter.Finish();
}

} // namespace

std::string MapSummaryText(int32_t missingCount, int32_t minIndex, int32_t maxIndex) {
    return "Missing: " + std::to_string(missingCount) + ", Min: " + DollarHex(static_cast<uint32_t>(minIndex)) +
           ", Max: " + DollarHex(static_cast<uint32_t>(maxIndex));
}

MapDrawOutcome DrawMap(TMapVariables& map, Image& mapImage, const MapDrawContext& context) {
    MapDrawOutcome outcome;
    if (map.WidthInTiles <= 0 || map.HeightInTiles <= 0) return outcome;
    CheckDrawable(map, mapImage, context);
    const int32_t across = std::max(map.TilesPerBlockAcross, 1);
    const int32_t down = std::max(map.TilesPerBlockDown, 1);
    outcome.ClearIndexDump = true;
    FixDrawSize(map);
    const int64_t width = int64_t{map.DrawWidth} * map.MapTileWidth;
    const int64_t height = int64_t{map.DrawHeight} * map.MapTileHeight;
    if (width >= MapImageSideLimit || height >= MapImageSideLimit) {
        outcome.Result = MapDrawResult::TooLarge;
        outcome.Message = TooLargeMessage(width, height);
        return outcome;
    }
    const PixelFormat format = context.TileSource ? context.TileSource->Format() : PixelFormat::Indexed8;
    if (!GrowCells(map) || !SizeImage(mapImage, static_cast<int32_t>(width), static_cast<int32_t>(height), format)) {
        outcome.Result = MapDrawResult::NoMemory;
        outcome.Message = NoMemoryMessage;
        return outcome;
    }
    mapImage.ColourTable = context.ColourTable;
    outcome.ShowMapDataTab = context.Options.ShowIndexes;
    WalkAndDraw(map, mapImage, context, across, down, outcome);
    outcome.Result = MapDrawResult::Drawn;
    outcome.Summary = MapSummaryText(outcome.MissingCount, outcome.MinIndex, outcome.MaxIndex);
    return outcome;
}

} // namespace tavrik

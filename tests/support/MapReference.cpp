// The reference map drawing: the stored order walked with the four counters of the description, every value
// decoded step by step and every tile pixel copied on its own.
#include "support/MapReference.h"

#include "app/IntegerText.h"
#include "map/HexFont.h"
#include "map/ReplacementRules.h"

#include <algorithm>
#include <array>
#include <string>

namespace tavrik::test {

namespace {

struct Reader {
    std::span<const uint8_t> Bytes;
    int64_t Position = 0;

    uint8_t At(int64_t offset) const {
        if (offset < 0 || offset >= static_cast<int64_t>(Bytes.size())) return 0;
        return Bytes[static_cast<size_t>(offset)];
    }
    uint32_t Read(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | At(Position++);
        return value;
    }
};

// Captain Fizz's wall block, worked out from the neighbour table.
std::array<uint8_t, 1024> JoinWalls(Reader& reader) {
    std::array<uint8_t, 1024> raw{};
    for (uint8_t& byte : raw)
        byte = static_cast<uint8_t>(reader.Read(1));
    std::array<uint8_t, 1024> joined{};
    for (int k = 0; k < 1024; ++k) {
        if (raw[k] != 0) {
            joined[k] = raw[k];
            continue;
        }
        const int row = k / 32;
        const int col = k % 32;
        const bool up = row > 0 && raw[k - 32] == 0;
        const bool down = row < 31 && raw[k + 32] == 0;
        const bool left = col > 0 && raw[k - 1] == 0;
        const bool right = col < 31 && raw[k + 1] == 0;
        joined[k] =
            static_cast<uint8_t>(0x29 + (up ? 1 : 0) + 2 * (right ? 1 : 0) + 4 * (down ? 1 : 0) + 8 * (left ? 1 : 0));
    }
    return joined;
}

int32_t Replace(const ReplacementRules& rules, int32_t value) {
    for (const ReplacementRule& rule : rules)
        if (value >= rule.First && value <= rule.Last) value = rule.NewValue;
    return value;
}

struct Decoded {
    int32_t Raw = 0;
    int32_t Tile = 0;
    int64_t Offset = 0;
    bool FlipX = false;
    bool FlipY = false;
};

struct State {
    TMapVariables& Map;
    const MapDrawContext& Context;
    Reader Source;
    ReplacementRules Rules;
    int32_t Skip = 0;
    std::array<uint8_t, 1024> WallBlock{};
    int WallPosition = 0;
    bool WallFilled = false;
};

Decoded DecodeOne(State& s) {
    const TMapVariables& m = s.Map;
    Decoded d;
    d.Offset = s.Source.Position;
    int64_t moved = 0;
    if (m.CustomGameId == 4) {
        moved = s.Source.Position % 4 == 0 ? 2 : -2;
        s.Source.Position += moved;
    }
    int32_t value;
    if (m.CustomGameId == 5) {
        if (!s.WallFilled) {
            s.WallBlock = JoinWalls(s.Source);
            s.WallFilled = true;
            s.WallPosition = 0;
        }
        value = s.WallBlock[static_cast<size_t>(s.WallPosition)];
        s.WallPosition++;
        if (s.WallPosition == 1024) s.WallFilled = false;
    } else if (m.MemoryType == 1 || m.MemoryType == 4) {
        value = static_cast<int32_t>(s.Source.Read(2));
    } else if (m.MemoryType == 2 || m.MemoryType == 3) {
        value = static_cast<int32_t>(s.Source.Read(4));
    } else {
        value = static_cast<int32_t>(s.Source.Read(1));
    }
    if (s.Skip != 0) s.Source.Position += s.Skip;
    s.Source.Position -= moved;
    if (m.CustomGameId == 2 && (s.Source.At(s.Source.Position + 19199) & 0x80) != 0)
        value = static_cast<int32_t>(static_cast<uint32_t>(value) + 256);
    if (m.CustomGameId == 3 && value == 0) value = s.Source.At(s.Source.Position + 1023);
    d.Raw = value;
    if (m.CustomGameId == 6) value = value / 80;
    if (m.MemoryType == 0 || m.MemoryType == 1 || m.MemoryType == 2) value = Replace(s.Rules, value);
    d.FlipX = (value & m.FlipXMask) != 0 && s.Context.Options.FlipXEnabled;
    d.FlipY = (value & m.FlipYMask) != 0 && s.Context.Options.FlipYEnabled;
    uint32_t bits = static_cast<uint32_t>(value);
    if (m.Shift < 0) bits = bits << (static_cast<int64_t>(-static_cast<int64_t>(m.Shift)) % 32);
    if (m.Shift > 0) bits = bits >> (m.Shift % 32);
    value = static_cast<int32_t>(bits) & m.Mask & ~(m.FlipYMask | m.FlipXMask);
    if (m.MemoryType == 3 || m.MemoryType == 4) {
        const int64_t bytesPerTile =
            int64_t{m.MapTileWidth} * m.MapTileHeight * s.Context.Bitplanes / 8 + s.Context.SkipBetweenTiles;
        const int64_t address = int64_t{value} + int64_t{s.Context.ChipRamOffset} - s.Context.RipAddress;
        value = static_cast<int32_t>(static_cast<uint32_t>(address / bytesPerTile));
        value = Replace(s.Rules, value);
    }
    d.Tile = value;
    return d;
}

void CopyPixel(const Image& from, int64_t fx, int64_t fy, Image& to, int64_t tx, int64_t ty) {
    if (fx < 0 || fy < 0 || fx >= from.Width() || fy >= from.Height()) return;
    if (tx < 0 || ty < 0 || tx >= to.Width() || ty >= to.Height()) return;
    const int bpp = to.BytesPerPixel();
    for (int b = 0; b < bpp; ++b)
        to.Row(static_cast<int32_t>(ty))[tx * bpp + b] = from.Row(static_cast<int32_t>(fy))[fx * bpp + b];
}

void DrawTile(State& s, Image& image, int64_t row, int64_t col, const Decoded& d) {
    const TMapVariables& m = s.Map;
    const Image* source = s.Context.TileSource;
    if (!source || source->Width() == 0 || source->Height() == 0 || source->Format() != image.Format()) return;
    if (m.MapNumber == 2 && source->Width() < m.MapTileWidth) return;
    const int64_t perRow = source->Width() >= m.MapTileWidth ? source->Width() / m.MapTileWidth : 1;
    const int64_t n = int64_t{d.Tile} + m.Adjust;
    const int64_t sx = (n % perRow) * m.MapTileWidth;
    const int64_t sy = (n / perRow) * m.MapTileHeight;
    const int64_t x = col * m.MapTileWidth;
    int64_t y = row * m.MapTileHeight;
    if (m.CustomGameId == 1) y = image.Height() - y - m.MapTileHeight;
    for (int64_t dy = 0; dy < m.MapTileHeight; ++dy)
        for (int64_t dx = 0; dx < m.MapTileWidth; ++dx) {
            const int64_t tx = x + (d.FlipX ? m.MapTileWidth - 1 - dx : dx);
            const int64_t ty = y + (d.FlipY ? m.MapTileHeight - 1 - dy : dy);
            CopyPixel(*source, sx + dx, sy + dy, image, tx, ty);
        }
}

void MarkCell(State& s, Image& image, int64_t row, int64_t col, int32_t tile) {
    const TMapVariables& m = s.Map;
    const int64_t x = col * m.MapTileWidth;
    const int64_t y = row * m.MapTileHeight;
    if (x >= image.Width() || y >= image.Height()) return;
    const Pen black = MakePen(image, MakeColour(0, 0, 0));
    const Pen white = MakePen(image, MakeColour(255, 255, 255));
    const Pen magenta = MakePen(image, MakeColour(255, 0, 255));
    const auto ix = static_cast<int32_t>(x);
    const auto iy = static_cast<int32_t>(y);
    const int32_t right = ix + m.MapTileWidth;
    const int32_t bottom = iy + m.MapTileHeight;
    for (int32_t py = iy + 1; py < bottom; ++py)
        for (int32_t px = ix + 1; px < right; ++px)
            if (px < image.Width() && py < image.Height()) FillRect(image, {px, py, px + 1, py + 1}, magenta);
    const std::string text = Hex(tile);
    DrawHexText(image, ix + 1, iy + 1, text, black, {ix + 1, iy + 1, right, bottom});
    DrawHexText(image, ix, iy, text, white, {ix, iy, right, bottom});
    if (m.MapTileWidth <= 16) {
        const int32_t k = (row & 2) ? 4 : 0;
        DrawHexText(image, ix + 2 + k, iy - 1, Hex(tile >> 8, 2), white, {ix, iy, right, bottom});
        DrawHexText(image, ix + 2 + k, iy + 7, Hex(static_cast<uint32_t>(tile) & 0xFF, 2), white,
                    {ix, iy + 8, right, bottom});
    }
}

} // namespace

MapDrawOutcome ReferenceDrawMap(TMapVariables& map, Image& mapImage, const MapDrawContext& context) {
    MapDrawOutcome out;
    if (map.WidthInTiles <= 0 || map.HeightInTiles <= 0) return out;
    const int64_t a = std::max(map.TilesPerBlockAcross, 1);
    const int64_t dn = std::max(map.TilesPerBlockDown, 1);
    int32_t skip = map.SkipBytes;
    if (map.CustomGameId == 7) skip = 15;
    if (map.CustomGameId == 4) skip = 0;
    out.ClearIndexDump = true;
    if (map.TrimTiles < 0) map.TrimTiles = 0;
    map.DrawWidth = map.WidthInTiles;
    map.DrawHeight = map.HeightInTiles;
    if (map.Direction == 1)
        map.DrawHeight -= map.TrimTiles;
    else
        map.DrawWidth -= map.TrimTiles;
    if (map.DrawWidth < 2) map.DrawWidth = 1;
    if (map.DrawHeight < 2) map.DrawHeight = 1;
    const int64_t pixelWidth = int64_t{map.DrawWidth} * map.MapTileWidth;
    const int64_t pixelHeight = int64_t{map.DrawHeight} * map.MapTileHeight;
    if (pixelWidth >= 32768 || pixelHeight >= 32768) {
        out.Result = MapDrawResult::TooLarge;
        out.Message = "Out of memory! Are you sure your tile dimensions are set to sensible values in the Tile Ripper "
                      "tab? The current map is trying to be " +
                      std::to_string(pixelWidth) + "x" + std::to_string(pixelHeight) + " pixels!";
        return out;
    }
    if (map.CellColumns < map.WidthInTiles) map.CellColumns = map.WidthInTiles + 16;
    if (map.CellRows < map.HeightInTiles) map.CellRows = map.HeightInTiles + 16;
    map.Cells.resize(static_cast<size_t>(map.CellRows) + 1);
    for (auto& cells : map.Cells)
        cells.resize(static_cast<size_t>(map.CellColumns) + 1);
    out.MinIndex = 2147483647;
    out.MaxIndex = 0;
    out.MissingCount = 0;
    mapImage.Reset(static_cast<int32_t>(pixelWidth), static_cast<int32_t>(pixelHeight),
                   context.TileSource ? context.TileSource->Format() : PixelFormat::Indexed8);
    mapImage.ColourTable = context.ColourTable;
    FillRect(mapImage, {0, 0, mapImage.Width(), mapImage.Height()}, MakePen(mapImage, MakeColour(0, 0, 0)));
    const bool loaded = map.UseLoadedMap && !context.LoadedMapData.empty();
    State s{map, context, Reader{loaded ? context.LoadedMapData : context.MemoryImage, map.Address},
            BuildReplacementRules(context.Options.Replacements), skip};
    out.ShowMapDataTab = context.Options.ShowIndexes;
    std::string line;
    const int32_t elementSize = map.MemoryType == 0                            ? 1
                                : (map.MemoryType == 1 || map.MemoryType == 4) ? 2
                                : (map.MemoryType == 2 || map.MemoryType == 3) ? 4
                                                                               : 0;
    int64_t col = 0, row = 0, colInBlock = 0, rowInBlock = 0;
    for (int64_t visit = 0; visit < int64_t{map.DrawWidth} * map.DrawHeight; ++visit) {
        const Decoded d = DecodeOne(s);
        if (context.Options.ShowIndexes) {
            if (line.empty())
                line =
                    map.Direction == 1 ? "Column " + std::to_string(col) + ": " : "Row " + std::to_string(row) + ": ";
            else
                line += ", ";
            line += "$" + Hex(d.Raw, 4);
        }
        if (row <= map.CellRows && col <= map.CellColumns)
            map.Cells[static_cast<size_t>(row)][static_cast<size_t>(col)] =
                TMapCell{d.Raw, d.Tile, d.Offset, d.FlipX, d.FlipY};
        out.MinIndex = std::min(out.MinIndex, d.Tile);
        out.MaxIndex = std::max(out.MaxIndex, d.Tile);
        if (d.Tile > context.TileCount) {
            out.MissingCount++;
            if (context.Options.ShowBadTiles) MarkCell(s, mapImage, row, col, d.Tile);
        } else {
            DrawTile(s, mapImage, row, col, d);
        }
        // The walk's advance, as stored: inside the block, then the block, then the band.
        bool blockDone = false;
        if (map.TilesPerBlockDirection != 1) {
            col++, colInBlock++;
            if (colInBlock == a) {
                col -= a, colInBlock = 0, row++, rowInBlock++;
                if (rowInBlock == dn) row -= dn, rowInBlock = 0, blockDone = true;
            }
        } else {
            row++, rowInBlock++;
            if (rowInBlock == dn) {
                row -= dn, rowInBlock = 0, col++, colInBlock++;
                if (colInBlock == a) col -= a, colInBlock = 0, blockDone = true;
            }
        }
        bool bandDone = false;
        if (blockDone && map.Direction != 1) {
            col += a;
            if (col >= map.DrawWidth) col = 0, row += dn, bandDone = true;
        } else if (blockDone) {
            row += dn;
            if (row >= map.DrawHeight) row = 0, col += a, bandDone = true;
        }
        if (bandDone) {
            if (map.TrimTiles > 0) s.Source.Position += int64_t{map.TrimTiles} * (elementSize == 0 ? 1 : elementSize);
            if (context.Options.ShowIndexes) out.IndexDump.push_back(line);
            line.clear();
        }
    }
    out.Result = MapDrawResult::Drawn;
    out.Summary = "Missing: " + std::to_string(out.MissingCount) + ", Min: $" + Hex(out.MinIndex) + ", Max: $" +
                  Hex(out.MaxIndex);
    return out;
}

} // namespace tavrik::test

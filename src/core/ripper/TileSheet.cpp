// Tile sheet layout: geometry, block rearrangement, the grid image, presets and saving.
#include "ripper/TileSheet.h"

#include "app/Checked.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"
#include "imageio/PngFile.h"

#include <algorithm>

namespace tavrik {

TileGeometry::TileGeometry(const Image& sheet, int32_t tileWidth, int32_t tileHeight)
    : TileWidth(tileWidth), TileHeight(tileHeight), Columns(CheckedDiv(sheet.Width(), tileWidth)),
      Rows(CheckedDiv(sheet.Height(), tileHeight)) {}

int32_t TileGeometry::TileX(int32_t k) const { return CheckedMul(CheckedMod(k, Columns), TileWidth); }
int32_t TileGeometry::TileY(int32_t k) const { return CheckedMul(CheckedDiv(k, Columns), TileHeight); }

namespace {

// The destination cursor of the rearrangement, in tiles, walking the cells of one block and then the blocks.
struct BlockCursor {
    int32_t Across; // A, tiles per block across
    int32_t Down;   // B, tiles per block down
    int32_t BlocksAcross;
    int32_t BlockRows;
    int32_t Column = 0;
    int32_t Row = 0;
    int32_t InBlockColumn = 0; // a
    int32_t InBlockRow = 0;    // b

    // "Across": each block row by row, blocks left to right, then the next row of blocks.
    void StepAcross() {
        ++Column;
        if (++InBlockColumn < Across) return;
        Column -= Across;
        InBlockColumn = 0;
        ++Row;
        if (++InBlockRow < Down) return;
        Row -= Down;
        InBlockRow = 0;
        Column += Across;
        if (Column >= Across * BlocksAcross) {
            Column = 0;
            Row += Down;
        }
    }

    // "Down": each block column by column, blocks top to bottom, then the next column of blocks.
    void StepDown() {
        ++Row;
        if (++InBlockRow < Down) return;
        Row -= Down;
        InBlockRow = 0;
        ++Column;
        if (++InBlockColumn < Across) return;
        Column -= Across;
        InBlockColumn = 0;
        Row += Down;
        if (Row >= Down * BlockRows) {
            Row = 0;
            Column += Across;
        }
    }
};

} // namespace

void Rearrange(const Image& source, Image& target, const RearrangeSettings& s) {
    const int32_t w = s.BlockTileWidth;
    const int32_t h = s.BlockTileHeight;
    const int32_t a = s.TilesPerBlockAcross;
    const int32_t b = s.TilesPerBlockDown;
    const int32_t sourceColumns = std::max(CheckedDiv(source.Width(), w), 1);
    const int32_t sourceRows = std::max(CheckedDiv(source.Height(), h), 1);
    const int32_t tiles = CheckedMul(sourceColumns, sourceRows);
    const int32_t blocksAcross = std::max(CheckedDiv(s.SheetWidth, CheckedMul(w, a)), 1);
    const int32_t tilesPerBlockRow = CheckedMul(CheckedMul(blocksAcross, a), b);
    const int32_t blockRows = std::max(CheckedDiv(CheckedAdd(tilesPerBlockRow - 1, tiles), tilesPerBlockRow), 1);
    target.Reset(CheckedMul(CheckedMul(w, a), blocksAcross), CheckedMul(CheckedMul(h, b), blockRows), source.Format());

    BlockCursor cursor{a, b, blocksAcross, blockRows};
    int32_t sourceColumn = 0;
    int32_t sourceRow = 0;
    for (int32_t n = 0; n < tiles; ++n) {
        CopyRect(source, sourceColumn * w, sourceRow * h, w, h, target, cursor.Column * w, cursor.Row * h);
        if (++sourceColumn == sourceColumns) {
            sourceColumn = 0;
            ++sourceRow;
        }
        if (s.TilesPerBlockDirection == 1)
            cursor.StepDown();
        else
            cursor.StepAcross();
    }
}

bool ShowsGrid(const Image& sheet, bool gridEnabled, int32_t actualTileWidth, int32_t actualTileHeight) {
    // A negative actual tile size cuts no tiles to put a grid between.
    if (!gridEnabled || actualTileWidth < 0 || actualTileHeight < 0) return false;
    return sheet.Width() > actualTileWidth || sheet.Height() > actualTileHeight;
}

Image BuildGridImage(const Image& sheet, int32_t aw, int32_t ah, int32_t thickness,
                     const std::array<PaletteEntry, 256>& palette) {
    const int32_t t = std::max(thickness, 0);
    const int32_t width = CheckedAdd(sheet.Width(), CheckedMul(CheckedDiv(sheet.Width() - 1, aw), t));
    const int32_t height = CheckedAdd(sheet.Height(), CheckedMul(CheckedDiv(sheet.Height() - 1, ah), t));
    Image grid(width, height, sheet.Format());
    grid.ColourTable = palette;
    grid.ColourTable[255] = EntryFromColour(GridColour);
    if (grid.Format() == PixelFormat::Indexed8) {
        grid.Fill(255);
    } else {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                grid.SetRgb(x, y, GridColour);
    }
    const int32_t lastRow = sheet.Height() / ah;
    const int32_t lastColumn = sheet.Width() / aw;
    for (int32_t r = 0; r <= lastRow; ++r)
        for (int32_t c = 0; c <= lastColumn; ++c)
            CopyRect(sheet, c * aw, r * ah, aw, ah, grid, CheckedMul(c, CheckedAdd(aw, t)),
                     CheckedMul(r, CheckedAdd(ah, t)));
    return grid;
}

DimensionPreset ReadDimensionPreset(std::string_view caption) {
    std::string rest(caption);
    rest.erase(std::remove(rest.begin(), rest.end(), '&'), rest.end());
    const std::string width = Trim(SplitAt(rest, "x"));
    const std::string height = Trim(rest);
    DimensionPreset preset;
    if (!ParseIntegerText(width)) return preset;
    preset.TileWidth = width;
    if (!ParseIntegerText(height)) return preset;
    preset.TileHeight = height;
    preset.Rip = true;
    return preset;
}

std::string SheetFileName(const std::string& chosen) { return ReplaceExtension(chosen, ".png"); }

std::optional<std::string> SaveSheet(const Image& sheet, Dialogs& dialogs, bool confirmOverwriting) {
    return SavePngAs(sheet, dialogs, {SaveTilesTitle, SaveTilesFilter, "", "png"}, confirmOverwriting);
}

} // namespace tavrik

// What a draw produces: the image size and its limits, where tiles come from, bad-cell marks, the summary
// and the index dump, and the failures that leave everything as it was.
#include "MapTestKit.h"
#include "app/Error.h"
#include "map/HexFont.h"

#include <gtest/gtest.h>

namespace tavrik::test {
namespace {

TEST(MapRender, ImageIsTheDrawnCellsTimesTheTileSize) {
    MapRig rig;
    rig.Map.WidthInTiles = 40;
    rig.Map.HeightInTiles = 32;
    const MapDrawOutcome outcome = rig.Draw();
    EXPECT_EQ(outcome.Result, MapDrawResult::Drawn);
    EXPECT_EQ(rig.MapImage.Width(), 640);
    EXPECT_EQ(rig.MapImage.Height(), 512);
    EXPECT_TRUE(outcome.ClearIndexDump);
    EXPECT_EQ(outcome.Summary, "Missing: 0, Min: $0, Max: $0");
}

TEST(MapRender, MapsOf32768PixelsOrMoreAreRefusedNamingTheirSize) {
    MapRig rig;
    rig.Map.WidthInTiles = 2048;
    rig.Map.HeightInTiles = 16;
    rig.MapImage.Reset(7, 7, PixelFormat::Indexed8);
    MapDrawOutcome outcome = rig.Draw();
    EXPECT_EQ(outcome.Result, MapDrawResult::TooLarge);
    EXPECT_EQ(outcome.Message, "Out of memory! Are you sure your tile dimensions are set to sensible values in the "
                               "Tile Ripper tab? The current map is trying to be 32768x256 pixels!");
    EXPECT_TRUE(outcome.ClearIndexDump);
    EXPECT_EQ(rig.MapImage.Width(), 7);
    rig.Map.WidthInTiles = 2047;
    outcome = rig.Draw();
    EXPECT_EQ(outcome.Result, MapDrawResult::Drawn);
    EXPECT_EQ(rig.MapImage.Width(), 32752);
}

TEST(MapRender, EmptyMapsAndZeroTileSizesChangeNothing) {
    MapRig rig;
    rig.Map.WidthInTiles = 0; // what width 1 with blocks of 2 rounds to
    rig.Map.TrimTiles = -1;
    const MapDrawOutcome outcome = rig.Draw();
    EXPECT_EQ(outcome.Result, MapDrawResult::NotDrawn);
    EXPECT_FALSE(outcome.ClearIndexDump);
    EXPECT_EQ(rig.Map.TrimTiles, -1);
    EXPECT_TRUE(rig.MapImage.Empty());

    rig.Map.WidthInTiles = 4;
    rig.Map.MapTileWidth = 0;
    EXPECT_THROW(
        {
            try {
                rig.Draw();
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find("tile width is 0"), std::string::npos);
                throw;
            }
        },
        Error);
    rig.Map.MapTileWidth = 16;
    rig.Map.MapTileHeight = 0;
    EXPECT_THROW(rig.Draw(), Error);
    EXPECT_EQ(rig.Map.TrimTiles, -1);
    EXPECT_TRUE(rig.MapImage.Empty());
}

TEST(MapRender, TilesAreCutFromTheSheetRowByRow) {
    MapRig rig;
    rig.Map.WidthInTiles = 4;
    rig.Map.HeightInTiles = 1;
    rig.Put(0, {1, 2, 0x10, 20});
    rig.Draw();
    EXPECT_TRUE(rig.ShowsTile(0, 0, 1));
    EXPECT_TRUE(rig.ShowsTile(2, 0, 16)); // column 16 of row 0
    EXPECT_TRUE(rig.ShowsTile(3, 0, 20)); // column 0 of row 1
    rig.Map.Adjust = 1;
    rig.Draw();
    EXPECT_TRUE(rig.ShowsTile(0, 0, 2));
}

TEST(MapRender, TilesOutsideTheSheetDrawOnlyTheirInsidePart) {
    MapRig rig;
    rig.Sheet = PatternSheet(320, 24); // the second tile row is half there
    rig.Map.MemoryType = 2;
    rig.Map.WidthInTiles = 2;
    rig.Map.HeightInTiles = 1;
    rig.Put(0, {0, 0, 0, 20, 0xFF, 0xFF, 0xFF, 0xFF}); // tile 20, then -1 (left of the sheet)
    const MapDrawOutcome outcome = rig.Draw();
    EXPECT_EQ(outcome.MissingCount, 0);
    EXPECT_EQ(rig.MapImage.IndexAt(3, 7), rig.Sheet.IndexAt(3, 23));
    EXPECT_EQ(rig.MapImage.IndexAt(3, 8), 0);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 16; x < 32; ++x)
            ASSERT_EQ(rig.MapImage.IndexAt(x, y), 0);
}

TEST(MapRender, BadCellsCountAndShowTheirNumberOnMagenta) {
    MapRig rig;
    rig.Context.TileCount = 100;
    rig.Map.WidthInTiles = 2;
    rig.Map.HeightInTiles = 1;
    rig.Put(0, {100, 101});
    MapDrawOutcome outcome = rig.Draw();
    EXPECT_EQ(outcome.MissingCount, 1);
    EXPECT_EQ(outcome.Summary, "Missing: 1, Min: $64, Max: $65");
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 16; x < 32; ++x)
            ASSERT_EQ(rig.MapImage.IndexAt(x, y), 0);

    rig.Context.Options.ShowBadTiles = true;
    rig.Draw();
    EXPECT_EQ(rig.MapImage.IndexAt(31, 15), 254); // magenta fills the cell but its top and left edge
    EXPECT_EQ(rig.MapImage.IndexAt(16, 15), 0);
    Image expected(16, 16, PixelFormat::Indexed8);
    FillRect(expected, {1, 1, 16, 16}, Pen{254});
    DrawHexText(expected, 1, 1, "65", Pen{0}, {1, 1, 16, 16});
    DrawHexText(expected, 0, 0, "65", Pen{255}, {0, 0, 16, 16});
    DrawHexText(expected, 2, -1, "00", Pen{255}, {0, 0, 16, 16});
    DrawHexText(expected, 2, 7, "65", Pen{255}, {0, 8, 16, 16});
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            ASSERT_EQ(rig.MapImage.IndexAt(16 + x, y), expected.IndexAt(x, y));
}

TEST(MapRender, NegativeValuesShowTheirBitPatternInTheSummary) {
    MapRig rig;
    rig.Map.MemoryType = 2;
    rig.Memory.assign(64, 0xFF);
    EXPECT_EQ(rig.Draw().Summary, "Missing: 0, Min: $FFFFFFFF, Max: $0");
}

TEST(MapRender, IndexDumpListsEveryRowWithAtLeastFourDigits) {
    MapRig rig;
    rig.Map.MemoryType = 1;
    rig.Map.WidthInTiles = 3;
    rig.Map.HeightInTiles = 2;
    rig.Put(0, {0, 1, 0x12, 0x34, 0, 0, 0xAB, 0xCD});
    rig.Context.Options.ShowIndexes = true;
    MapDrawOutcome outcome = rig.Draw();
    EXPECT_TRUE(outcome.ShowMapDataTab);
    EXPECT_EQ(outcome.IndexDump,
              (std::vector<std::string>{"Row 0: $0001, $1234, $0000", "Row 1: $ABCD, $0000, $0000"}));

    rig.Map.MemoryType = 2;
    rig.Map.Direction = 1;
    rig.Map.WidthInTiles = 1;
    rig.Map.HeightInTiles = 1;
    rig.Put(0, {0x80, 0, 0, 0});
    outcome = rig.Draw();
    EXPECT_EQ(outcome.IndexDump, (std::vector<std::string>{"Column 0: $80000000"}));
}

TEST(MapRender, TheSecondMapCutsBlocksOutOfTheFirstMapsImage) {
    MapRig rig;
    rig.Map.WidthInTiles = 4;
    rig.Map.HeightInTiles = 2;
    for (uint8_t i = 0; i < 8; ++i)
        rig.Memory[i] = i;
    rig.Draw();
    TMapVariables second = NewMapVariables(2);
    second.WidthInTiles = 2;
    second.HeightInTiles = 1;
    second.Mask = -1;
    second.Address = 0x200;
    Image secondImage;
    MapDrawContext context = rig.Context;
    context.TileSource = &rig.MapImage;
    std::vector<uint8_t> memory(0x300, 0);
    memory[0x201] = 1;
    context.MemoryImage = memory;
    DrawMap(second, secondImage, context);
    // Block 1 of the 64-wide first map is its cells 2, 3 and 6, 7.
    EXPECT_EQ(secondImage.IndexAt(32 + 5, 20), rig.MapImage.IndexAt(32 + 5, 20));
    EXPECT_EQ(secondImage.IndexAt(3, 3), rig.MapImage.IndexAt(3, 3));

    second.MapTileWidth = 128; // wider than the first map's image: every cell stays black
    DrawMap(second, secondImage, context);
    EXPECT_TRUE(std::all_of(secondImage.Data().begin(), secondImage.Data().end(), [](uint8_t p) { return p == 0; }));
}

TEST(MapRender, CellsGrowWithRoomToSpareAndKeepWhatEarlierDrawsStored) {
    MapRig rig;
    rig.Map.WidthInTiles = 4;
    rig.Map.HeightInTiles = 2;
    rig.Put(0, {1, 2, 3, 4, 5, 6, 7, 8});
    rig.Draw();
    EXPECT_EQ(rig.Map.CellColumns, 20);
    EXPECT_EQ(rig.Map.CellRows, 18);
    rig.Map.WidthInTiles = 2;
    rig.Map.Address = 0x100;
    rig.Draw();
    EXPECT_EQ(rig.Map.CellColumns, 20);
    EXPECT_EQ(rig.Cell(0, 0).RawValue, 0);
    EXPECT_EQ(rig.Cell(0, 3).RawValue, 4);
}

} // namespace
} // namespace tavrik::test

// Reading a map tab's controls: the block rounding, the second map's tile size, and the first field that is
// not a number ending the reading.
#include "map/MapSettings.h"

#include <gtest/gtest.h>

namespace tavrik::test {
namespace {

struct TwoMaps {
    TMapVariables First = NewMapVariables(1);
    TMapVariables Second = NewMapVariables(2);
    MapControls Controls;
    AddressMode Addresses{0x1000, false};
};

TEST(MapSettings, DefaultsReadAsTheTabShowsThem) {
    TwoMaps maps;
    maps.Controls.Address = "+$10";
    maps.Controls.CustomGame = "Yo! Joe!";
    ReadMapSettings(maps.Controls, maps.First, maps.Second, maps.Addresses);
    EXPECT_EQ(maps.First.Address, 0x1010);
    EXPECT_EQ(maps.First.WidthInTiles, 40);
    EXPECT_EQ(maps.First.HeightInTiles, 32);
    EXPECT_EQ(maps.First.Mask, -1);
    EXPECT_EQ(maps.First.CustomGameId, 2);
    EXPECT_EQ(maps.Second.MapTileWidth, 32);
}

TEST(MapSettings, WidthsRoundDownToWholeBlocks) {
    TwoMaps maps;
    maps.Controls.WidthInTiles = "1";
    maps.Controls.HeightInTiles = "0";
    maps.Controls.TilesPerBlockAcross = "2";
    maps.Controls.TilesPerBlockDown = "-3";
    ReadMapSettings(maps.Controls, maps.First, maps.Second, maps.Addresses);
    EXPECT_EQ(maps.First.WidthInTiles, 0);
    EXPECT_EQ(maps.First.HeightInTiles, 1);
    EXPECT_EQ(maps.First.TilesPerBlockDown, 1);
}

TEST(MapSettings, TheFirstFieldThatIsNoNumberEndsTheReading) {
    TwoMaps maps;
    maps.First.TrimTiles = 77;
    maps.First.CustomGame = "Brat";
    maps.First.CustomGameId = 7;
    maps.Controls.Shift = "3";
    maps.Controls.MemoryTypeIndex = 2;
    maps.Controls.Adjust = "4";
    maps.Controls.TrimTiles = "two";
    maps.Controls.SkipBytes = "5";
    maps.Controls.WidthInTiles = "0";
    maps.Controls.TileSize = {3, "16 x 16"};
    ReadMapSettings(maps.Controls, maps.First, maps.Second, maps.Addresses);
    EXPECT_EQ(maps.First.Shift, 3);
    EXPECT_EQ(maps.First.MemoryType, 2);
    EXPECT_EQ(maps.First.Adjust, 4);
    EXPECT_EQ(maps.First.TrimTiles, 77);
    EXPECT_EQ(maps.First.SkipBytes, 0);
    EXPECT_EQ(maps.First.WidthInTiles, 0); // read, but the rounding of the later steps did not run
    EXPECT_EQ(maps.First.CustomGameId, 7);
    EXPECT_EQ(maps.Second.MapTileWidth, 32);
}

TEST(MapSettings, ActualTileSizeSetsOnlyTheSecondMapsReadableParts) {
    TwoMaps maps;
    maps.Controls.TileSize = {-1, " 16 x abc"};
    ReadMapSettings(maps.Controls, maps.First, maps.Second, maps.Addresses);
    EXPECT_EQ(maps.Second.MapTileWidth, 16);
    EXPECT_EQ(maps.Second.MapTileHeight, 32);
    maps.Controls.TileSize = {-1, "8X8"}; // only a lower-case x divides
    ReadMapSettings(maps.Controls, maps.First, maps.Second, maps.Addresses);
    EXPECT_EQ(maps.Second.MapTileWidth, 16);
    // Reading the second map leaves its tile size alone.
    maps.Controls.TileSize = {2, "16 x 8"};
    ReadMapSettings(maps.Controls, maps.Second, maps.First, maps.Addresses);
    EXPECT_EQ(maps.Second.MapTileHeight, 32);
    EXPECT_EQ(maps.First.MapTileHeight, 0);
}

TEST(MapSettings, CreateMapReadingKeepsTheGameAndReportsABadField) {
    TwoMaps maps;
    maps.First.CustomGame = "Brat";
    maps.First.CustomGameId = 7;
    maps.Controls.CustomGame = "Quadralien";
    EXPECT_TRUE(ReadCreateMapSettings(maps.Controls, maps.First, maps.Second, maps.Addresses));
    EXPECT_EQ(maps.First.CustomGameId, 7);
    EXPECT_EQ(maps.First.CustomGame, "Brat");
    maps.Controls.FlipXMask = "$";
    maps.Controls.FlipYMask = "$4000";
    EXPECT_FALSE(ReadCreateMapSettings(maps.Controls, maps.First, maps.Second, maps.Addresses));
    EXPECT_EQ(maps.First.FlipYMask, 0x4000);
}

TEST(MapSettings, GameNamesAreExact) {
    EXPECT_EQ(CustomGameIdOf("Captain Fizz"), 5);
    EXPECT_EQ(CustomGameIdOf("captain fizz"), 0);
    EXPECT_EQ(CustomGameIdOf("Battle Squadron"), 6);
    EXPECT_EQ(MaskPresetText(0), "$FF");
    EXPECT_EQ(MaskPresetText(8), "$FFFF");
    EXPECT_EQ(MaskPresetText(9), "$ffffffff");
}

} // namespace
} // namespace tavrik::test

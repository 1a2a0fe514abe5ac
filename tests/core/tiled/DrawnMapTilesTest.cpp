// The Tiled form of a drawn map: gids, flips, the cells a draw leaves black, Action Fighter's rows, and
// on generated maps of every kind the exported map drawn literally is the map's own picture.
#include "core/map/MapTestKit.h"
#include "support/TiledReference.h"

#include "app/Error.h"
#include "tiled/DrawnMapTiles.h"
#include "tiled/UniqueTiles.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrik::test {
namespace {

constexpr uint32_t X = TiledFlipXBit;
constexpr uint32_t Y = TiledFlipYBit;

TiledMap Export(const MapRig& rig) {
    return TiledMapOfDraw(rig.Map, DrawnMapSources{&rig.MapImage, rig.Context.TileSource, rig.Context.TileCount});
}

TEST(DrawnMapTiles, GidIsTheDrawnTilePlusOneWithTheCellsFlipsAndEmptyWhereNoTileIsDrawn) {
    MapRig rig;
    rig.Map.MemoryType = static_cast<int32_t>(MapMemoryType::Word);
    rig.Map.Adjust = -1;
    rig.Map.FlipXMask = 0x8000;
    rig.Map.FlipYMask = 0x4000;
    rig.Context.Options.FlipXEnabled = rig.Context.Options.FlipYEnabled = true;
    rig.Context.TileCount = 1000;
    // The 320 x 256 sheet holds 320 tiles. Row 1: tile -1, one past the sheet, the last tile, a bad cell.
    rig.Put(0, {0x00, 0x01, 0x80, 0x04, 0x40, 0x04, 0xC0, 0x14, 0x00, 0x00, 0x01, 0x41, 0x01, 0x40, 0x03, 0xE9});
    ASSERT_EQ(rig.Draw().Result, MapDrawResult::Drawn);
    const TiledMap tiled = Export(rig);
    EXPECT_EQ(tiled.Width, 4);
    EXPECT_EQ(tiled.Height, 2);
    EXPECT_EQ(tiled.Tileset.Columns, 20);
    EXPECT_EQ(tiled.Tileset.TileCount, 320);
    EXPECT_EQ(tiled.Gids, (std::vector<uint32_t>{1, 4 | X, 4 | Y, 20 | X | Y, 0, 0, 320, 0}));
    EXPECT_EQ(CountColourDifferences(DrawTiledMap(tiled), rig.MapImage), 0);
}

TEST(DrawnMapTiles, ActionFighterRowsAreWrittenBottomUpAsTheyAreDrawn) {
    MapRig rig;
    rig.Map.WidthInTiles = 2;
    rig.Map.HeightInTiles = 3;
    rig.Map.CustomGameId = static_cast<int32_t>(CustomGame::ActionFighter);
    rig.Put(0, {1, 2, 3, 4, 5, 6});
    ASSERT_EQ(rig.Draw().Result, MapDrawResult::Drawn);
    const TiledMap tiled = Export(rig);
    EXPECT_EQ(tiled.Gids, (std::vector<uint32_t>{6, 7, 4, 5, 2, 3}));
    EXPECT_EQ(CountColourDifferences(DrawTiledMap(tiled), rig.MapImage), 0);
}

// Blocks of 3 x 2 on a 4 x 2 map: the eight cells read fill one block and two cells of the next, so one
// cell stays black while the grid still holds what an earlier draw put there.
TEST(DrawnMapTiles, CellsTheWalkNeverReachedAreEmptyNotWhatAnEarlierDrawLeft) {
    MapRig rig;
    rig.Put(0, {7, 7, 7, 7, 7, 7, 7, 7});
    ASSERT_EQ(rig.Draw().Result, MapDrawResult::Drawn);
    rig.Map.TilesPerBlockAcross = 3;
    rig.Map.TilesPerBlockDown = 2;
    rig.Put(0, {1, 2, 3, 4, 5, 6, 8, 9});
    ASSERT_EQ(rig.Draw().Result, MapDrawResult::Drawn);
    ASSERT_EQ(rig.Cell(1, 3).TileIndex, 7);
    const TiledMap tiled = Export(rig);
    EXPECT_EQ(tiled.Gids, (std::vector<uint32_t>{2, 3, 4, 9, 5, 6, 7, 0}));
    EXPECT_EQ(CountColourDifferences(DrawTiledMap(tiled), rig.MapImage), 0);
}

TEST(DrawnMapTiles, MapsThatCannotBeExportedSaySo) {
    auto message = [](const MapRig& rig) {
        try {
            Export(rig);
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    MapRig rig;
    EXPECT_EQ(message(rig), "Map 1 is empty: draw it (Create Map) before exporting it");
    ASSERT_EQ(rig.Draw().Result, MapDrawResult::Drawn);
    rig.Map.MapTileWidth = 8;
    EXPECT_EQ(message(rig), "Map 1's settings changed since it was drawn: draw it again before exporting it");
    rig.Map.MapTileWidth = 16;
    const Image noTiles;
    rig.Context.TileSource = &noTiles;
    EXPECT_EQ(message(rig), "Map 1 has no tiles to export: rip or load its tile sheet first");
    const Image narrow = PatternSheet(8, 64);
    rig.Context.TileSource = &narrow;
    rig.Map.MapNumber = 2;
    EXPECT_EQ(message(rig), "The first map's picture is narrower than one tile of map 2: there are no tiles to export");
}

// Maps of every game rule, block layout, flip and tile number range, on sheets whose size is no multiple of
// the tile (tiles the draw copies in part) and on colour tables without pure black (the empty cells' colour).
struct GeneratedDraw {
    MapRig Rig;
    Image Sheet;
};

void Generate(std::mt19937& rng, GeneratedDraw& g) {
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    TMapVariables& m = g.Rig.Map;
    for (uint8_t& b : g.Rig.Memory)
        b = static_cast<uint8_t>(rng() % 3 == 0 ? 0 : rng() % 64);
    m.MapNumber = pick(0, 4) == 0 ? 2 : 1;
    m.MemoryType = pick(0, 2);
    m.Direction = pick(0, 1);
    m.TilesPerBlockAcross = pick(1, 3);
    m.TilesPerBlockDown = pick(1, 3);
    m.TilesPerBlockDirection = pick(0, 1);
    m.WidthInTiles = pick(1, 10);
    m.HeightInTiles = pick(1, 10);
    m.TrimTiles = pick(0, 2);
    m.Address = pick(0, 40000);
    m.MapTileWidth = std::array{8, 16, 12}[size_t(pick(0, 2))];
    m.MapTileHeight = std::array{8, 16, 10}[size_t(pick(0, 2))];
    m.Mask = std::array{-1, 0xFF, 0x3F}[size_t(pick(0, 2))];
    m.FlipXMask = pick(0, 3) == 0 ? 0 : 1 << pick(0, 15);
    m.FlipYMask = pick(0, 3) == 0 ? 0 : 1 << pick(0, 15);
    m.Adjust = pick(-3, 3);
    m.CustomGameId = pick(0, 1) == 0 ? pick(1, 7) : 0;
    MapDrawContext& c = g.Rig.Context;
    c.TileCount = pick(0, 2) == 0 ? pick(0, 40) : 1000;
    c.Options.FlipXEnabled = pick(0, 3) != 0;
    c.Options.FlipYEnabled = pick(0, 3) != 0;
    if (pick(0, 1)) c.ColourTable[0] = EntryFromColour(MakeColour(40, 10, 90));
    g.Sheet = PatternSheet(pick(20, 130), pick(10, 90));
    g.Sheet.ColourTable = c.ColourTable;
    if (pick(0, 4) == 0) g.Sheet.ConvertTo(PixelFormat::Rgb24);
}

TEST(DrawnMapTiles, GeneratedMapsOfEveryRuleExportToTheirOwnPictureAlsoWithUniqueTiles) {
    std::mt19937 rng(16);
    int exported = 0, withFlips = 0;
    for (int i = 0; i < 300; ++i) {
        GeneratedDraw g;
        Generate(rng, g);
        MapRig& rig = g.Rig;
        SCOPED_TRACE("map " + std::to_string(i) + " game " + std::to_string(rig.Map.CustomGameId));
        rig.Context.TileSource = &g.Sheet;
        rig.Context.MemoryImage = rig.Memory;
        ASSERT_EQ(DrawMap(rig.Map, rig.MapImage, rig.Context).Result, MapDrawResult::Drawn);
        if (rig.Map.MapNumber == 2 && g.Sheet.Width() < rig.Map.MapTileWidth) continue;
        const TiledMap full = Export(rig);
        ASSERT_EQ(CountColourDifferences(DrawTiledMap(full), rig.MapImage), 0);
        ++exported;
        if (std::any_of(full.Gids.begin(), full.Gids.end(), [](uint32_t gid) { return gid >= Y; })) ++withFlips;
        if (std::all_of(full.Gids.begin(), full.Gids.end(), [](uint32_t gid) { return gid == 0; })) {
            EXPECT_THROW(UniqueTiles(full), Error);
            continue;
        }
        const TiledMap unique = UniqueTiles(full);
        EXPECT_LE(unique.Tileset.TileCount, full.Tileset.TileCount);
        ASSERT_EQ(CountColourDifferences(DrawTiledMap(unique), rig.MapImage), 0);
    }
    EXPECT_GT(exported, 250);
    EXPECT_GT(withFlips, 100);
}

} // namespace
} // namespace tavrik::test

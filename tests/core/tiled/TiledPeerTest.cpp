// The exported files checked by Tiled itself: tmxrasterizer draws the TMX map, the JSON map and the
// unique-tile map each to the map's own picture, colour for colour, for maps of every game rule with
// flipped cells; and the JSON map holds the TMX map's gids. The renderer leaves empty cells transparent,
// so its picture is laid over the map's background colour first, as the editor shows it.
#include "core/map/MapTestKit.h"
#include "support/OutsidePrograms.h"
#include "support/TempDir.h"
#include "support/TiledReference.h"

#include "tiled/DrawnMapTiles.h"
#include "tiled/TiledFiles.h"
#include "tiled/UniqueTiles.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrik::test {
namespace {

// A sheet of 16 x 16 tiles whose second row mirrors the first, so unique tiles keep fewer than there are.
Image MirroredPatternSheet(PixelFormat format) {
    Image sheet = PatternSheet(320, 64);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 320; ++x)
            sheet.Row(16 + y)[x] = sheet.Row(15 - y)[(x / 16) * 16 + 15 - x % 16];
    sheet.ColourTable = TestColourTable();
    if (format == PixelFormat::Rgb24) sheet.ConvertTo(format);
    return sheet;
}

struct PeerCase {
    std::string Name;
    CustomGame Game = CustomGame::None;
    PixelFormat Format = PixelFormat::Indexed8;
    int32_t Blocks = 1;
    int32_t MapNumber = 1;
    int32_t SheetHeight = 64; // below 64 the last row of tiles is copied in part
    bool GreyBackground = false;
};

// Draws a 12 x 10 map of random bytes (bit 7 mirrors, bit 6 turns upside down) and writes it as TMX, as
// JSON and with unique tiles; each file rasterized by Tiled must give the map's picture.
void CheckWithTiled(const PeerCase& peer) {
    SCOPED_TRACE(peer.Name);
    MapRig rig;
    std::mt19937 rng(static_cast<uint32_t>(peer.Name.size() * 977 + static_cast<size_t>(peer.Game)));
    for (uint8_t& b : rig.Memory)
        b = static_cast<uint8_t>(rng());
    rig.Map.MapNumber = peer.MapNumber;
    rig.Map.WidthInTiles = 12;
    rig.Map.HeightInTiles = 10;
    rig.Map.CustomGameId = static_cast<int32_t>(peer.Game);
    // Battle Squadron's values are 80 times the tile number: words reach the flip bits.
    if (peer.Game == CustomGame::BattleSquadron) rig.Map.MemoryType = static_cast<int32_t>(MapMemoryType::Word);
    rig.Map.Mask = 0x3F;
    rig.Map.FlipXMask = 0x80;
    rig.Map.FlipYMask = 0x40;
    rig.Map.TilesPerBlockAcross = rig.Map.TilesPerBlockDown = peer.Blocks;
    rig.Map.Address = 0x100;
    rig.Context.Options.FlipXEnabled = rig.Context.Options.FlipYEnabled = true;
    rig.Context.TileCount = 60; // some cells are bad
    if (peer.GreyBackground) rig.Context.ColourTable[0] = EntryFromColour(MakeColour(60, 60, 70));
    Image sheet = MirroredPatternSheet(peer.Format);
    if (peer.SheetHeight != sheet.Height()) {
        Image cut(sheet.Width(), peer.SheetHeight, sheet.Format());
        cut.ColourTable = sheet.ColourTable;
        CopyRect(sheet, 0, 0, sheet.Width(), peer.SheetHeight, cut, 0, 0);
        sheet = cut;
    }
    rig.Context.TileSource = &sheet;
    rig.Context.MemoryImage = rig.Memory;
    ASSERT_EQ(DrawMap(rig.Map, rig.MapImage, rig.Context).Result, MapDrawResult::Drawn);

    const TiledMap full = TiledMapOfDraw(rig.Map, DrawnMapSources{&rig.MapImage, &sheet, rig.Context.TileCount});
    ASSERT_TRUE(std::any_of(full.Gids.begin(), full.Gids.end(), [](uint32_t gid) { return gid >= TiledFlipYBit; }));
    const TiledMap unique = UniqueTiles(full);
    EXPECT_LT(unique.Tileset.TileCount, full.Tileset.TileCount);
    TempDir folder;
    WriteTiledMap(full, folder.File("full.tmx"), TiledFormat::Tmx);
    WriteTiledMap(full, folder.File("full.tmj"), TiledFormat::Json);
    WriteTiledMap(unique, folder.File("unique.tmx"), TiledFormat::Tmx);
    for (const char* file : {"full.tmx", "full.tmj", "unique.tmx"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(CountColourDifferences(RasterizeWithTiled(folder.File(file), full.Background), rig.MapImage), 0);
    }
    EXPECT_EQ(TmxGids(folder.File("full.tmx")), full.Gids);
    EXPECT_EQ(TiledJsonGids(folder.File("full.tmj")), full.Gids);
    EXPECT_EQ(TmxGids(folder.File("unique.tmx")), unique.Gids);
}

TEST(TiledPeer, TiledDrawsTheExportOfEveryGameRuleAsTheMapsOwnPicture) {
    TAVRIK_SKIP_WITHOUT_TILED();
    for (int32_t game = 0; game <= 7; ++game)
        CheckWithTiled({"game " + std::to_string(game), static_cast<CustomGame>(game)});
}

TEST(TiledPeer, TiledDrawsTheExportOfBlocksDirectColourPartTilesAndTheSecondMapAsTheMapsOwnPicture) {
    TAVRIK_SKIP_WITHOUT_TILED();
    CheckWithTiled({"blocks of 5 x 5 that do not divide the map", CustomGame::None, PixelFormat::Indexed8, 5});
    CheckWithTiled({"direct colour", CustomGame::ActionFighter, PixelFormat::Rgb24});
    CheckWithTiled({"second map", CustomGame::None, PixelFormat::Indexed8, 1, 2});
    CheckWithTiled({"tiles past the sheet's bottom", CustomGame::None, PixelFormat::Indexed8, 1, 1, 41});
    CheckWithTiled({"no black in the palette", CustomGame::None, PixelFormat::Indexed8, 1, 1, 64, true});
}

} // namespace
} // namespace tavrik::test

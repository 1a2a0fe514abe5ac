// "Export Tiled Map..." on the workspace: either map as last drawn, the status text, and the map that
// was never drawn.
#include "workspace/TiledExport.h"

#include "app/Error.h"
#include "map/MapSettings.h"
#include "support/OutsidePrograms.h"
#include "support/TempDir.h"
#include "support/TiledReference.h"
#include "workspace/MapDrawing.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

// The first map: 12 x 8 cells of 16 x 16 tiles over a sheet of stripes; the second cuts the first map's
// picture into 32 x 32 tiles, 6 x 4 of them.
class TiledExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Work.Memory.MemoryImage.resize(0x1000);
        for (size_t i = 0; i < Work.Memory.MemoryImage.size(); ++i)
            Work.Memory.MemoryImage[i] = static_cast<uint8_t>((i * 37 + i / 7) % 11);
        Work.Ripper.Parameters.ActualTileWidth = 16;
        Work.Ripper.Parameters.ActualTileHeight = 16;
        Work.Ripper.TileCount = 40;
        Work.TileSheet.Reset(160, 64, PixelFormat::Indexed8);
        for (int32_t y = 0; y < 64; ++y)
            for (int32_t x = 0; x < 160; ++x)
                Work.TileSheet.Row(y)[x] = static_cast<uint8_t>((x / 4 + y / 16 * 3 + (x % 16 == y % 16)) % 9);
        for (int i = 0; i < 256; ++i)
            Work.Palette.Entries[i] = EntryFromColour(MakeColour(uint8_t(i * 20), uint8_t(255 - i * 9), 128));
    }

    void DrawBothMaps() {
        MapControls first;
        first.Address = "$40";
        first.WidthInTiles = "12";
        first.HeightInTiles = "8";
        MapControls second;
        second.Address = "$200";
        second.WidthInTiles = "5";
        second.HeightInTiles = "3";
        ReadMapSettings(first, Work.Maps[0], Work.Maps[1], Work.Addresses());
        ReadMapSettings(second, Work.Maps[1], Work.Maps[1], Work.Addresses());
        ASSERT_EQ(DrawWorkspaceMap(Work, 1, {}).Result, MapDrawResult::Drawn);
        ASSERT_EQ(DrawWorkspaceMap(Work, 2, {}).Result, MapDrawResult::Drawn);
    }

    std::string ErrorOf(int32_t mapNumber) {
        try {
            ExportTiledMap(Work, mapNumber, Folder.File("map.tmx"), {});
        } catch (const Error& error) {
            return error.what();
        }
        return "no error";
    }

    test::TempDir Folder;
    Workspace Work;
};

TEST_F(TiledExportTest, AMapNeverDrawnIsNotExported) {
    EXPECT_EQ(ErrorOf(1), "Map 1 is empty: draw it (Create Map) before exporting it");
    EXPECT_EQ(ErrorOf(2), "Map 2 is empty: draw it (Create Map) before exporting it");
    EXPECT_FALSE(std::filesystem::exists(Folder.File("map-tiles.png")));
}

TEST_F(TiledExportTest, EitherMapIsExportedAsItsPictureAndTheStatusCountsTheKeptTiles) {
    TAVRIK_SKIP_WITHOUT_TILED();
    DrawBothMaps();
    const std::string first = Folder.File("first.tmx");
    EXPECT_EQ(ExportTiledMap(Work, 1, first, {}), "Tiles: 40 of 40 kept");
    // The map values are 0 to 10, so every cell shows a tile and no background shows.
    const Colour black = 0;
    EXPECT_EQ(test::CountColourDifferences(test::RasterizeWithTiled(first, black), Work.MapImages[0]), 0);

    const std::string second = Folder.File("second.tmj");
    EXPECT_EQ(ExportTiledMap(Work, 2, second, {TiledFormat::Json, false}), "Tiles: 24 of 24 kept");
    EXPECT_EQ(test::CountColourDifferences(test::RasterizeWithTiled(second, black), Work.MapImages[1]), 0);

    const std::string unique = Folder.File("unique.tmx");
    const std::string status = ExportTiledMap(Work, 1, unique, {TiledFormat::Tmx, true});
    // Of the eleven tiles shown, tile 9 repeats tile 0 and tile 10 repeats tile 3.
    EXPECT_EQ(status, "Tiles: 9 of 40 kept");
    EXPECT_EQ(test::CountColourDifferences(test::RasterizeWithTiled(unique, black), Work.MapImages[0]), 0);
}

} // namespace
} // namespace tavrik

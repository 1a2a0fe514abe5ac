// The map search on a workspace: loading and saving the screenshot, matching the tile sheet of the last rip,
// the search with the rip's pointer settings, and a find drawn as the first map.
#include "support/ScriptedDialogs.h"
#include "support/SearchInputs.h"
#include "support/TempDir.h"

#include "app/Files.h"
#include "imageio/PngFile.h"
#include "workspace/MapSearchOperations.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrik {
namespace {

class SearchWorkspace : public ::testing::Test {
  protected:
    Workspace Work;
    test::ScriptedDialogs Dialogs;
    test::TempDir Folder;
    SearchProgress Silent;
    std::mt19937 Random{4};

    // An indexed sheet of 10 x 2 tiles of 16 x 16 whose colour table the tab compares by colour.
    void RipTiles() {
        Work.Ripper.Parameters.ActualTileWidth = 16;
        Work.Ripper.Parameters.ActualTileHeight = 16;
        Work.Ripper.TileCount = 20;
        Work.TileSheet.Reset(160, 32, PixelFormat::Indexed8);
        for (uint8_t& pixel : Work.TileSheet.Data())
            pixel = static_cast<uint8_t>(Random() % 6);
        for (uint8_t i = 0; i < 6; ++i)
            Work.TileSheet.ColourTable[i] = EntryFromColour(0x203040u * i);
    }
};

TEST_F(SearchWorkspace, LoadingSetsUpTheScreenshotAndCreatesTheSelectionOnce) {
    EXPECT_FALSE(LoadSearchImage(Work, Folder.File("missing.png"), Dialogs).Found);
    EXPECT_FALSE(Work.SearchSelection);
    EXPECT_TRUE(Dialogs.History.empty());

    const std::string file = Folder.File("shot.png");
    SaveImagePng(Image(48, 40, PixelFormat::Rgb24), file);
    const SearchImageLoad load = LoadSearchImage(Work, file, Dialogs);
    EXPECT_TRUE(load.Found);
    EXPECT_EQ(load.DimensionsText, "Dimensions: 48 x 40");
    EXPECT_EQ(Work.SearchSelection, (SelectionRect{0, 0, 16, 16}));
    Work.SearchSelection = SelectionRect{8, 8, 40, 40};
    LoadSearchImage(Work, file, Dialogs);
    EXPECT_EQ(Work.SearchSelection, (SelectionRect{8, 8, 40, 40}));
}

TEST_F(SearchWorkspace, SavingWritesPngAsksBeforeReplacingAndRefusesAnEmptyPicture) {
    EXPECT_FALSE(SaveSearchImage(Work, Folder.File("shot.bmp"), Dialogs));
    EXPECT_EQ(Dialogs.Texts("error"), (std::vector<std::string>{std::string(NoSearchImageMessage)}));
    Work.SearchImage = Image(4, 4, PixelFormat::Rgb24);
    EXPECT_TRUE(SaveSearchImage(Work, Folder.File("shot.bmp"), Dialogs));
    EXPECT_TRUE(PathIsFile(Folder.File("shot.png")));
    EXPECT_FALSE(PathIsFile(Folder.File("shot.bmp")));
    Work.SearchImage = Image(8, 8, PixelFormat::Rgb24);
    EXPECT_FALSE(SaveSearchImage(Work, Folder.File("shot.png"), Dialogs)); // answered No
    EXPECT_EQ(ReadPng(ReadWholeFile(Folder.File("shot.png"))).Width(), 4);
}

TEST_F(SearchWorkspace, MatchingComparesTheColoursTheSheetShowsAndMovesTheSelection) {
    RipTiles();
    MatchGrid untouched;
    EXPECT_FALSE(MatchTilesInWorkspace(Work, Silent)); // no screenshot set up yet
    Work.SearchImage = Image(100, 40, PixelFormat::Rgb24);
    Image colours = Work.TileSheet;
    colours.ConvertTo(PixelFormat::Rgb24);
    for (int32_t c = 0; c < 4; ++c)
        test::DrawTile(colours, 16, 16, 11 + c, 0, Work.SearchImage, 5 + 16 * c, 2);
    Work.SearchSelection = SelectionRect{3, 0, 80, 30};
    const std::optional<TileMatchRun> run = MatchTilesInWorkspace(Work, Silent);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->IndexLines, (std::vector<std::string>{"11, 12, 13, 14"}));
    EXPECT_EQ(Work.SearchSelection, (SelectionRect{5, 2, 69, 18}));
    EXPECT_EQ(Work.SearchGrid.Columns, 4);
}

TEST_F(SearchWorkspace, ChoosingAFindFillsTheMapControlsAndDrawsTheFirstMap) {
    RipTiles();
    Work.Memory.MemoryImage = test::NoisyMemory(8000, Random);
    std::vector<int32_t> level(30 * 12);
    for (int32_t& tile : level)
        tile = static_cast<int32_t>(Random() % 20);
    const auto tileAt = [&level](int32_t x, int32_t y) { return level[static_cast<size_t>(y * 30 + x)]; };
    test::PlantMap(Work.Memory.MemoryImage.Mutable(), {3000, 30, 12, 1, false},
                   [&](int32_t x, int32_t y) { return static_cast<uint32_t>(tileAt(x, y)); });
    const std::vector<std::string> grid = test::GridText(tileAt, 2, 1, 6, 4);
    const MapSearchRun run = SearchMapInWorkspace(Work, grid, false, false, Silent);
    ASSERT_EQ(Work.MapMatchList, run.Matches);
    ASSERT_FALSE(run.Matches.empty());
    MapControls controls;
    controls.HeightInTiles = "0";
    const std::optional<MapDrawOutcome> drawn = DrawMapMatch(Work, 0, controls, {});
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->Result, MapDrawResult::Drawn);
    // The whole level from its first row, the find's column kept: 3000 + 2, 12 rows of the rip's tiles.
    EXPECT_EQ(controls.Address, "$BBA");
    EXPECT_EQ(controls.WidthInTiles, "30");
    EXPECT_EQ(controls.HeightInTiles, "12");
    EXPECT_EQ(Work.MapImages[0].Width(), 30 * 16);
    EXPECT_FALSE(DrawMapMatch(Work, run.Matches.size(), controls, {}));
}

// A find reaches the map as the file offset it was found at: past 4 GiB of a large raw file, and with the
// fields counting from chip RAM (the field shows the chip address, the map reads the find's offset).
TEST_F(SearchWorkspace, AFindLandsInTheMapAtItsOffsetInEitherDisplayForm) {
    RipTiles();
    Work.Memory.MemoryImage = std::vector<uint8_t>(0x100, 0);
    Work.MapMatchList = {MapMatch{0x123456780, 0, 0xFF, 0, 0, 8, 0, 1, MapSearchType::Byte}};
    MapControls controls;
    ASSERT_TRUE(DrawMapMatch(Work, 0, controls, {}));
    EXPECT_EQ(controls.Address, "$123456780");
    EXPECT_EQ(Work.Maps[0].Address, 0x123456780);

    Work.Memory.ChipRamOffset = 0x2C;
    Work.ChipRelativeAddresses = true;
    Work.MapMatchList = {MapMatch{0x1000, 0, 0xFF, 0, 0, 8, 0, 1, MapSearchType::Byte}};
    ASSERT_TRUE(DrawMapMatch(Work, 0, controls, {}));
    EXPECT_EQ(controls.Address, "$FD4");
    EXPECT_EQ(Work.Maps[0].Address, 0x1000);
}

} // namespace
} // namespace tavrik

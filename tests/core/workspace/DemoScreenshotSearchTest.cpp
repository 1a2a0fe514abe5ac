// The demo level found from screenshots as players and emulators make them: cut from the level's picture with
// sprites over tiles, scaled 2x and 3x inside a border, colour levels shown as n x 16, and a selection that
// begins in the sky. Each must lead to the level's own address and height, as choosing the find draws it.
#include "support/DemoData.h"
#include "support/ScriptedDialogs.h"
#include "support/SearchInputs.h"

#include "app/Files.h"
#include "imageio/PngFile.h"
#include "workspace/DataFileLoader.h"
#include "workspace/MapSearchOperations.h"
#include "workspace/RipRequest.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrik {
namespace {

constexpr int32_t TileSize = 16;

class DemoScreenshots : public ::testing::Test {
  protected:
    Workspace Work;
    test::ScriptedDialogs Dialogs;
    SearchProgress Silent;
    std::mt19937 Random{1987};
    Image Level = ReadPng(ReadWholeFile(std::string(TAVRIK_TEST_DATA_DIR) + "/demo_map/level.png"));

    void SetUp() override {
        const nlohmann::json& tiles = test::DemoManifest().at("TilesAcbm");
        const DataFileLoad load = LoadDataFile(Work, test::ExampleFile("demo.uss"), Dialogs);
        ASSERT_TRUE(load.Loaded);
        const nlohmann::json& ripper = tiles.at("Ripper");
        RipRequest request;
        request.Controls.Address = "+" + tiles.at("AddressText").get<std::string>();
        request.Controls.ModeIndex = static_cast<int32_t>(ripper.at("ModeIndex").get<int64_t>());
        request.Controls.Bitplanes = std::to_string(ripper.at("Bitplanes").get<int64_t>());
        request.Controls.RipWidth = std::to_string(ripper.at("RipWidth").get<int64_t>());
        request.Controls.RipHeight = std::to_string(ripper.at("RipHeight").get<int64_t>());
        request.Palette = "copper";
        ApplyRipRequest(Work, request, load.Palette);
        Level.ConvertTo(PixelFormat::Rgb24);
    }

    // The part of the level's picture from (x, y), width x height pixels.
    Image Cut(int32_t x, int32_t y, int32_t width, int32_t height) const {
        Image part(width, height, PixelFormat::Rgb24);
        CopyRect(Level, x, y, width, height, part, 0, 0);
        return part;
    }

    // Match Tiles on the screenshot and selection, then the search with its grid; the first find.
    std::optional<MapMatch> FindLevel(Image screenshot, SelectionRect selection) {
        Work.SearchImage = std::move(screenshot);
        Work.SearchSelection = selection;
        const std::optional<TileMatchRun> match = MatchTilesInWorkspace(Work, Silent);
        if (!match || !match->Matched) return std::nullopt;
        LastMatch = *match;
        const MapSearchRun run = SearchMapInWorkspace(Work, match->IndexLines, false, false, Silent);
        if (run.Matches.empty()) return std::nullopt;
        return run.Matches[0];
    }

    // The level as the manifest places it: the find lies in it and names its first row and height.
    void ExpectTheDemoLevel(const std::optional<MapMatch>& find) const {
        ASSERT_TRUE(find) << "the demo level was not found";
        const nlohmann::json& level = test::DemoManifest().at("LevelMap");
        EXPECT_EQ(find->Width, level.at("Width").get<int64_t>());
        EXPECT_EQ(find->MapRows, level.at("Height").get<int64_t>());
        const int64_t first = level.at("FileOffset").get<int64_t>();
        EXPECT_EQ(find->MapAddress, first + (find->Address - first) % level.at("Width").get<int64_t>());
    }

    TileMatchRun LastMatch;
};

TEST_F(DemoScreenshots, SpritesOverTilesBecomeUnknownCellsAndTheLevelIsStillFound) {
    Image shot = Cut(203, 245, 320, 200);
    test::PasteSprites(shot, 5, Random);
    const std::optional<MapMatch> find = FindLevel(shot, SelectionRect{0, 0, 320, 200});
    ExpectTheDemoLevel(find);
    EXPECT_FALSE(LastMatch.UnmatchedCells.empty());
    EXPECT_EQ(LastMatch.Scale, 1);
    // The cut starts 5 pixels left of and 11 above tile boundaries: level cell (13, 16) is the grid's first.
    EXPECT_EQ(find->Address, test::DemoManifest().at("LevelMap").at("FileOffset").get<int64_t>() + 16 * 64 + 13);
}

TEST_F(DemoScreenshots, ScaledScreenshotsInsideABorderAreReadAtTheGamesPixelSize) {
    for (const int32_t factor : {2, 3}) {
        SCOPED_TRACE("scaled " + std::to_string(factor) + "x");
        Image shot = Cut(203 + 16 * factor, 245, 300, 180);
        test::PasteSprites(shot, 3, Random);
        const int32_t border = 13;
        const Image scaled = test::ScaledWithBorder(shot, factor, border, 0x202020);
        // The selection leaves the border out and starts a pixel into a block.
        const double left = border + factor * 2 + 1;
        const SelectionRect selection{left, double(border + 1), left + factor * 290, double(border + factor * 175)};
        ExpectTheDemoLevel(FindLevel(scaled, selection));
        EXPECT_EQ(LastMatch.Scale, factor);
        EXPECT_EQ(LastMatch.ResultLines.front(), "Screenshot scaled " + std::to_string(factor) + "x");
        // The selection is put on the tiles found, in the screenshot's own pixels.
        const PixelRect found = RoundedSelection(LastMatch.Selection);
        EXPECT_EQ((found.Left - border) % (factor * TileSize),
                  (factor * (TileSize - (203 + 16 * factor) % TileSize)) % (factor * TileSize));
        EXPECT_EQ((found.Right - found.Left) % (factor * TileSize), 0);
    }
}

// A picture whose colour levels are n x 16 rather than n x 17 (as some emulators save them) compares equal:
// only the upper four bits of each channel count.
TEST_F(DemoScreenshots, ColourLevelsShownTimesSixteenStillMatch) {
    Image shot = Cut(403, 101, 320, 200);
    test::ShowLevelsTimesSixteen(shot);
    ExpectTheDemoLevel(FindLevel(shot, SelectionRect{0, 0, 320, 200}));
    EXPECT_TRUE(LastMatch.UnmatchedCells.empty());
}

// A selection whose first row is sky: far more than 200 places in memory repeat that row.
TEST_F(DemoScreenshots, ASelectionStartingInTheSkyFindsTheLevel) {
    ExpectTheDemoLevel(FindLevel(Level, SelectionRect{32, 112, 32 + 15 * TileSize, 112 + 9 * TileSize}));
}

} // namespace
} // namespace tavrik

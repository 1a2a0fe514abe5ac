// Tile matching: the alignment search, flips, duplicates, the 15 x 15 limit and the unmatched line, and the
// hashed matcher against the literal one on generated screenshots.
#include "support/SearchInputs.h"
#include "support/SearchReference.h"

#include "search/TileMatcher.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrik {
namespace {

using test::DrawTile;

struct RecordedProgress : SearchProgress {
    int32_t Maximum = -1;
    int32_t Steps = 0;
    std::vector<std::string> Statuses;
    void Start(int32_t maximum) override {
        Maximum = maximum;
        Steps = 0;
        Statuses.clear();
    }
    void Advance() override { ++Steps; }
    void Status(std::string_view text) override { Statuses.emplace_back(text); }
};

constexpr int32_t Tile = 16;

class TileMatching : public ::testing::Test {
  protected:
    std::mt19937 Random{7};
    // 20 x 4 distinct 16 x 16 tiles.
    Image Sheet = test::RandomTileSheet(20, 4, Tile, Tile, 5, Random);
    Image Screen{320, 200, PixelFormat::Rgb24};
    MatchGrid Grid;
    RecordedProgress Progress;

    // Tiles t0, t0 + 1, ... across and down from (x, y).
    void DrawRun(int32_t x, int32_t y, int32_t columns, int32_t rows, int32_t t0) {
        for (int32_t r = 0; r < rows; ++r)
            for (int32_t c = 0; c < columns; ++c)
                DrawTile(Sheet, Tile, Tile, (t0 + r * columns + c) % 80, 0, Screen, x + c * Tile, y + r * Tile);
    }
    TileMatchRun Match(SelectionRect selection) {
        return MatchTiles(Screen, Sheet, Tile, Tile, selection, Grid, Progress);
    }
};

TEST_F(TileMatching, SelectionOnTileBoundariesMatchesAtNoOffsetAndIsCutToWholeTiles) {
    DrawRun(32, 16, 3, 2, 10);
    const TileMatchRun run = Match({32, 16, 32 + 3 * Tile + 7, 16 + 2 * Tile + 5});
    ASSERT_TRUE(run.Matched);
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{"10, 11, 12", "13, 14, 15"}));
    EXPECT_EQ(run.Selection, (SelectionRect{32, 16, 80, 48}));
    EXPECT_EQ(run.SelectionLabel, "Selection: (32, 16)  Dimensions: 48 x 32");
    EXPECT_EQ(Progress.Steps, 1);
    EXPECT_EQ(Progress.Maximum, 16 * 16 * 3);
    EXPECT_EQ(Progress.Statuses,
              (std::vector<std::string>{"Checking tile alignment 0,0", "Checking for duplicate tiles..."}));
}

TEST_F(TileMatching, SelectionThreePixelsLeftOfTheTilesMovesOntoThem) {
    DrawRun(48, 32, 4, 2, 0);
    const TileMatchRun run = Match({45, 32, 45 + 4 * Tile + 3, 32 + 2 * Tile});
    ASSERT_TRUE(run.Matched);
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{"0, 1, 2, 3", "4, 5, 6, 7"}));
    EXPECT_EQ(run.Selection.Left, 48);
    EXPECT_EQ(Progress.Statuses.front(), "Checking tile alignment 0,0");
    EXPECT_EQ(Progress.Statuses[3], "Checking tile alignment 3,0");
}

TEST_F(TileMatching, FlippedTilesMatchOnlyAtTheirFlipLevelAndAreWrittenWithPrefixes) {
    DrawRun(0, 0, 3, 1, 20);
    DrawTile(Sheet, Tile, Tile, 7, 1, Screen, Tile, 0);
    // One pixel short of a second row and a fourth column, so that every offset holds whole tiles.
    TileMatchRun run = Match({0, 0, 63, 31});
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{"20, y7, 22"}));
    EXPECT_EQ(Progress.Steps, 16 * 16 + 1); // every alignment of level 0 failed first

    DrawTile(Sheet, Tile, Tile, 9, 3, Screen, Tile, 0);
    DrawTile(Sheet, Tile, Tile, 5, 2, Screen, 2 * Tile, 0);
    run = Match({0, 0, 63, 31});
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{"20, xy9, x5"}));
    EXPECT_EQ(Progress.Steps, 2 * 16 * 16 + 1);
}

TEST_F(TileMatching, IdenticalTilesBecomeAlternativesWithOneLineEach) {
    CopyRect(Sheet, 5 * Tile, 0, Tile, Tile, Sheet, 9 * Tile, 0);
    DrawRun(0, 0, 1, 1, 5);
    DrawRun(Tile, 0, 1, 1, 6);
    DrawRun(2 * Tile, 0, 1, 1, 5);
    const TileMatchRun run = Match({0, 0, 48, 16});
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{"5/9, 6, 5/9"}));
    EXPECT_EQ(run.ResultLines, (std::vector<std::string>{"Duplicate tile match!: 0,0=5 and also 9",
                                                         "Duplicate tile match!: 2,0=5 and also 9"}));
}

TEST_F(TileMatching, AtMostFifteenCellsAcrossAndDown) {
    Image tall(320, 640, PixelFormat::Rgb24);
    std::swap(Screen, tall);
    DrawRun(0, 0, 20, 40, 0);
    const TileMatchRun run = Match({0, 0, 320, 640});
    ASSERT_EQ(run.IndexLines.size(), 15u);
    EXPECT_EQ(run.IndexLines[0], "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14");
    EXPECT_EQ(run.Selection, (SelectionRect{0, 0, 240, 240}));
}

// A sprite over one tile: the cell is written "?" and marked; the rest of the grid stands.
TEST_F(TileMatching, ABlockNoTileShowsBecomesAnUnknownCellThatIsMarked) {
    DrawRun(0, 0, 3, 2, 0);
    Screen.SetRgb(20, 20, 0x123456); // the low nibbles alone would not matter; this is another colour
    const TileMatchRun run = Match({0, 0, 48, 32});
    EXPECT_TRUE(run.Matched);
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{"0, 1, 2", "3, ?, 5"}));
    ASSERT_EQ(run.UnmatchedCells.size(), 1u);
    EXPECT_EQ(run.UnmatchedCells[0].Left, 16);
    EXPECT_EQ(run.UnmatchedCells[0].Bottom, 32);
    EXPECT_EQ(Progress.Steps, 16 * 16 * 3);
}

// Half of every row unmatched is too little: nothing to search with, and the selection stays.
TEST_F(TileMatching, RowsWithMoreUnknownThanKnownCellsLeaveOnlyTheUnmatchedLines) {
    DrawRun(0, 0, 3, 2, 0);
    Screen.SetRgb(20, 4, 0x123456);
    Screen.SetRgb(36, 4, 0x123456);
    Screen.SetRgb(20, 20, 0x123456);
    Screen.SetRgb(4, 20, 0x123456);
    Grid.At(0, 0).TileNumber = 42;
    const TileMatchRun run = Match({0, 0, 48, 32});
    EXPECT_FALSE(run.Matched);
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{std::string(UnmatchedTilesLine), std::string(NoUsableRowReason)}));
    EXPECT_EQ(run.Selection, (SelectionRect{0, 0, 48, 32}));
    EXPECT_FALSE(run.SelectionLabel);
}

TEST_F(TileMatching, OnlyTheUpperFourBitsOfEachChannelCount) {
    DrawRun(0, 0, 3, 1, 0);
    Screen.SetRgb(3, 3, Screen.ColourAt(3, 3) ^ 0x0F0F0F);
    EXPECT_EQ(Match({0, 0, 48, 16}).IndexLines, (std::vector<std::string>{"0, 1, 2"}));
}

TEST_F(TileMatching, SelectionWithoutAWholeTileAtAnOffsetEndsWithMinusOneCells) {
    Grid.At(0, 0) = MatchCell{33, 3, {4}}; // left from an earlier run: not shown
    const TileMatchRun run = Match({0, 0, 16, 16});
    ASSERT_TRUE(run.Matched);
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{"-1"}));
    EXPECT_EQ(run.Selection, (SelectionRect{1, 0, 17, 16}));
}

TEST_F(TileMatching, PixelsOffThePictureMatchNothing) {
    DrawRun(288, 0, 2, 1, 0);
    const TileMatchRun run = Match({288, 0, 336, 31}); // a third column would lie off the picture
    EXPECT_EQ(run.IndexLines, (std::vector<std::string>{"0, 1, ?"}));
    EXPECT_EQ(CompareTile(Screen, 310, 0, Sheet, 0, 0, Tile, Tile, 2), TileNoMatch);
}

// Random screenshots of few-coloured small tiles, with flips, duplicates, symmetric tiles and damaged pixels,
// against the literal walk over every tile.
TEST(TileMatchingDifferential, HashedMatcherFindsWhatTheLiteralWalkFinds) {
    std::mt19937 random(2024);
    int32_t gridsFound = 0;
    for (int trial = 0; trial < 120; ++trial) {
        const int32_t tw = 2 + static_cast<int32_t>(random() % 5);
        const int32_t th = 2 + static_cast<int32_t>(random() % 5);
        const int32_t colours = 2 + static_cast<int32_t>(random() % 3);
        Image sheet = test::RandomTileSheet(6, 3, tw, th, colours, random);
        if (trial % 3 == 0) CopyRect(sheet, 0, 0, tw, th, sheet, 4 * tw, th); // a duplicate
        Image screen(64, 48, PixelFormat::Rgb24);
        for (int32_t y = 0; y < screen.Height(); y += th)
            for (int32_t x = 0; x < screen.Width(); x += tw)
                DrawTile(sheet, tw, th, static_cast<int32_t>(random() % 18), static_cast<int32_t>(random() % 4), screen,
                         x - trial % tw, y - trial % th);
        if (trial % 4 == 1)
            screen.SetRgb(static_cast<int32_t>(random() % 64), static_cast<int32_t>(random() % 48), 0xFFFFFF);
        const double left = static_cast<double>(random() % 20) + (trial % 5 == 0 ? 0.5 : 0);
        const double top = static_cast<double>(random() % 12);
        const SelectionRect selection{left, top, left + 16 + random() % 40, top + 16 + random() % 30};
        MatchGrid fastGrid, literalGrid;
        RecordedProgress fastProgress, literalProgress;
        const TileMatchRun fast = MatchTiles(screen, sheet, tw, th, selection, fastGrid, fastProgress);
        const TileMatchRun literal =
            test::ReferenceMatchTiles(screen, sheet, tw, th, selection, literalGrid, literalProgress);
        SCOPED_TRACE("trial " + std::to_string(trial));
        EXPECT_EQ(fast.Matched, literal.Matched);
        EXPECT_EQ(fast.IndexLines, literal.IndexLines);
        EXPECT_EQ(fast.ResultLines, literal.ResultLines);
        EXPECT_EQ(fast.Selection, literal.Selection);
        EXPECT_EQ(fastProgress.Steps, literalProgress.Steps);
        EXPECT_EQ(fastProgress.Statuses, literalProgress.Statuses);
        EXPECT_EQ(fastGrid.Rows, literalGrid.Rows);
        EXPECT_EQ(fastGrid.Columns, literalGrid.Columns);
        EXPECT_EQ(MatchGridLines(fastGrid, 16, 16), MatchGridLines(literalGrid, 16, 16));
        gridsFound += fast.Matched && fastGrid.Rows * fastGrid.Columns > 0 ? 1 : 0;
    }
    EXPECT_GT(gridsFound, 40);
}

} // namespace
} // namespace tavrik

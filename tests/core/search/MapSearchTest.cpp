// The map data search: the table's rows and messages on planted maps of every kind, the result records and
// their texts, the grid's text, and the fast search against the literal one on generated memories.
#include "support/SearchInputs.h"
#include "support/SearchReference.h"

#include "app/Error.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"
#include "search/MapSearch.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>

namespace tavrik {
namespace {

using Lines = std::vector<std::string>;
using test::MapLayout;
using test::PlantMap;

struct CountingProgress : SearchProgress {
    int32_t Steps = 0;
    int32_t Events = 0;
    int32_t CancelAfterEvents = -1; // Cancel is clicked during this many-th event processing
    // Each result line as it was reported, with the steps done by then.
    std::vector<std::pair<std::string, int32_t>> Reported;
    void Advance() override { ++Steps; }
    void ResultLine(std::string_view line) override { Reported.emplace_back(line, Steps); }
    void ProcessEvents() override { ++Events; }
    bool Cancelled() override { return CancelAfterEvents >= 0 && Events >= CancelAfterEvents; }
};

// A level of tiles 1 to 99, 40 x 24, with the screenshot's grid at cells (5, 2) to (14, 7).
class MapSearching : public ::testing::Test {
  protected:
    std::mt19937 Random{11};
    std::vector<uint8_t> Memory = test::NoisyMemory(24000, Random);
    std::vector<int32_t> Level = RandomLevel();
    MatchGrid Grid;
    CountingProgress Progress;
    MapSearchOptions Options;

    std::vector<int32_t> RandomLevel() {
        std::vector<int32_t> level(40 * 24);
        for (int32_t& t : level)
            t = 1 + static_cast<int32_t>(Random() % 99);
        return level;
    }
    int32_t TileAt(int32_t x, int32_t y) const { return Level[static_cast<size_t>(y * 40 + x)]; }
    void Plant(MapLayout layout, const std::function<uint32_t(int32_t)>& encode) {
        layout.Width = 40;
        layout.Height = 24;
        PlantMap(Memory, layout, [&](int32_t x, int32_t y) { return encode(TileAt(x, y)); });
    }
    Lines ScreenGrid(int32_t columns = 10, int32_t rows = 6) const {
        return test::GridText([this](int32_t x, int32_t y) { return TileAt(x, y); }, 5, 2, columns, rows);
    }
    MapSearchRun Search(const Lines& grid) { return SearchForMap(Memory, grid, Options, Grid, Progress); }
};

TEST_F(MapSearching, ByteMapIsFoundInTheFirstPassAtTheScreenCell) {
    Plant({1000, 0, 0, 1, false}, [](int32_t t) { return t; });
    const MapSearchRun run = Search(ScreenGrid());
    const int64_t cell = 1000 + 2 * 40 + 5;
    EXPECT_EQ(run.ResultLines,
              (Lines{"Checking for horizontal byte data...",
                     "Jackpot! $" + Hex(uint32_t(cell)) + " with 1 bytes per tile, map width 40", "Finished!"}));
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0], (MapMatch{int32_t(cell), 0, 0xFF, 0, 0, 40, 0, 1, MapSearchType::Byte}));
    EXPECT_EQ(MapMatchItemText(run.Matches[0]), "Horiz $" + Hex(uint32_t(cell)) + " Width 40 shift 0");
    EXPECT_EQ(Progress.Steps, 1);
    // The lines reach the tab as the search goes: the step's heading before the step, its find after it.
    using Reported = std::vector<std::pair<std::string, int32_t>>;
    EXPECT_EQ(Progress.Reported, (Reported{{run.ResultLines[0], 0}, {run.ResultLines[1], 1}, {"Finished!", 1}}));
}

TEST_F(MapSearching, OffsetTileNumbersAreFoundByTheFuzzyStepAndBecomeTheAdjust) {
    Plant({3000, 0, 0, 1, false}, [](int32_t t) { return t + 16; });
    const MapSearchRun run = Search(ScreenGrid());
    EXPECT_EQ(run.ResultLines,
              (Lines{"Checking for horizontal byte data...", "Checking for horizontal word data...",
                     "Checking for vertical map...", "Checking for vertical byte data...",
                     "Checking for vertical word data...", "Checking for fuzzy horizontal byte data...",
                     "Jackpot! $" + Hex(uint32_t(3000 + 85)) + " with 1 bytes per tile, map width 40", "Finished!"}));
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Offset, 16);
    MapControls controls;
    ApplyMapMatch(run.Matches[0], controls);
    EXPECT_EQ(controls.Adjust, "16");
}

TEST_F(MapSearching, WordMapsWithFlagBitsAreFoundWithTheirShiftOrMask) {
    Plant({2000, 0, 0, 2, false}, [](int32_t t) { return uint32_t(t) * 8 + uint32_t(t % 8); });
    MapSearchRun run = Search(ScreenGrid());
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0], (MapMatch{2000 + 85 * 2, 3, 0xFFFF, 0, 0, 40, 0, 2, MapSearchType::Word}));
    EXPECT_EQ(run.ResultLines[1], "Checking for horizontal word data...");

    Memory = test::NoisyMemory(24000, Random);
    Plant({6000, 0, 0, 2, false}, [](int32_t t) { return uint32_t(t) | (t % 3 == 0 ? 0x8000u : 0u); });
    run = Search(ScreenGrid());
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Mask, 0x7FFFu);
    EXPECT_EQ(run.Matches[0].Shift, 0);
    EXPECT_EQ(MapMatchItemText(run.Matches[0]), "Horiz $" + Hex(uint32_t(6000 + 170)) + " Width 40 shift 0");
}

TEST_F(MapSearching, ColumnByColumnMapIsFoundAfterTheTransposition) {
    Plant({4000, 0, 0, 1, true}, [](int32_t t) { return t; });
    const MapSearchRun run = Search(ScreenGrid());
    EXPECT_EQ(run.ResultLines[2], "Checking for vertical map...");
    EXPECT_EQ(run.ResultLines[3], "Checking for vertical byte data...");
    ASSERT_EQ(run.Matches.size(), 1u);
    const int32_t cell = 4000 + 5 * 24 + 2;
    EXPECT_EQ(run.Matches[0], (MapMatch{cell, 0, 0xFF, 0, 1, 0, 24, 1, MapSearchType::Byte}));
    EXPECT_EQ(MapMatchItemText(run.Matches[0]), "Vert $" + Hex(uint32_t(cell)) + " Height 24 shift 0");
    EXPECT_EQ(Grid.Rows, 10); // left transposed
}

// Two screen columns are too few across, but a map stored down reads them as two rows of five.
TEST_F(MapSearching, TwoColumnsFindAVerticalMapOnly) {
    Plant({4000, 0, 0, 1, true}, [](int32_t t) { return t; });
    const MapSearchRun run = Search(ScreenGrid(2, 5));
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Vertical, 1);
    EXPECT_EQ(run.ResultLines.size(), 6u); // rows 1, 2, 6, 7, the jackpot and "Finished!"
}

TEST_F(MapSearching, PointerMapTwoBytesOffAlignmentIsFoundWithTheSkippedBytes) {
    Options.SearchLongs = true;
    Options.Pointers = PointerTiles{52, 0x20000, 16, 16, 5};
    const uint32_t base = 0x20000 - 52;
    Plant({5002, 0, 0, 4, false}, [base](int32_t t) { return base + uint32_t(t) * 160 + 7; });
    const MapSearchRun run = Search(ScreenGrid());
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0], (MapMatch{5002 + 85 * 4, 0, 0xFFFFFFFF, 0, 0, 40, 0, 4, MapSearchType::Pointers}));
    EXPECT_EQ(run.ResultLines[3], "Checking for horizontal longword data + 2...");
    EXPECT_EQ(run.ResultLines[4], JackpotLine(5002 + 85 * 4, 4, 40));
}

TEST_F(MapSearching, PointersOfTilesWithoutBytesAreSkippedWithALine) {
    Options.SearchLongs = true;
    Options.Pointers.Bitplanes = 0;
    const MapSearchRun run = Search(ScreenGrid());
    EXPECT_EQ(run.ResultLines[2], "Checking for horizontal longword pointer data...");
    EXPECT_EQ(run.ResultLines[3], PointerTilesEmptyLine);
    EXPECT_EQ(run.ResultLines[4], "Checking for horizontal longword data + 2...");
    EXPECT_EQ(run.ResultLines.back(), "Finished!");
}

TEST_F(MapSearching, GridsTooSmallReportOnlyTheMessages) {
    const Lines messages{"Checking for horizontal byte data...",
                         "Checking for horizontal word data...",
                         "Checking for vertical map...",
                         "Checking for vertical byte data...",
                         "Checking for vertical word data...",
                         "Checking for fuzzy horizontal byte data...",
                         "Checking for fuzzy horizontal word data...",
                         "Checking for fuzzy vertical map...",
                         "Checking for fuzzy vertical byte data...",
                         "Checking for fuzzy vertical word data...",
                         "Finished!"};
    EXPECT_EQ(Search({"1, 2", "3, 4"}).ResultLines, messages);
    EXPECT_EQ(Search({}).ResultLines, messages);
    EXPECT_EQ(Search({"1, 2, 3"}).ResultLines, messages); // three cells
    EXPECT_EQ(Progress.Steps, 0);
}

TEST_F(MapSearching, OneRowFindsCandidatesButNoJackpot) {
    Plant({1000, 0, 0, 1, false}, [](int32_t t) { return t; });
    Options.Detailed = true;
    const MapSearchRun run = Search(ScreenGrid(6, 1));
    EXPECT_TRUE(run.Matches.empty());
    const auto row0 = std::find(run.ResultLines.begin(), run.ResultLines.end(),
                                "Row 0 found match mask=$FF shift=0 offset=0 at " + Hex(uint32_t(1085)));
    ASSERT_NE(row0, run.ResultLines.end());
    EXPECT_EQ(*(row0 + 1), "Match found for every row!");
}

TEST_F(MapSearching, AFindOfTheFuzzyLongwordStepLetsTheNextTwoRowsRun) {
    Options.SearchLongs = true;
    Plant({8000, 0, 0, 4, false}, [](int32_t t) { return uint32_t(t) + 5; });
    MapSearchRun run = Search(ScreenGrid());
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Offset, 5);
    const Lines tail(run.ResultLines.end() - 5, run.ResultLines.end());
    EXPECT_EQ(tail,
              (Lines{"Checking for fuzzy longword data...", JackpotLine(8000 + 85 * 4, 4, 40),
                     "Checking for fuzzy vertical map...", "Checking for fuzzy vertical byte data...", "Finished!"}));

    // Transposed, three columns by two rows are too few: the last three steps return at once.
    run = Search(ScreenGrid(3, 2));
    const Lines last(run.ResultLines.end() - 5, run.ResultLines.end());
    EXPECT_EQ(last, (Lines{"Checking for fuzzy vertical map...", "Checking for fuzzy vertical byte data...",
                           "Checking for fuzzy vertical word data...", "Checking for fuzzy vertical longword data...",
                           "Finished!"}));
}

TEST_F(MapSearching, CancelEndsTheStepAfterItsMaskAndStillFinishes) {
    for (int copy = 0; copy < 3; ++copy) // near misses: the first rows line up, the last does not
        Plant({500 + copy * 1500, 0, 0, 1, false}, [copy](int32_t t) { return t + copy * 120; });
    Options.SearchLongs = true;
    Progress.CancelAfterEvents = 1;
    Lines grid = ScreenGrid();
    grid.back() = "200, 201, 202, 203, 204, 205, 206, 207, 208, 209";
    const MapSearchRun run = Search(grid);
    EXPECT_TRUE(run.Cancelled);
    EXPECT_EQ(run.ResultLines, (Lines{"Checking for horizontal byte data...", "Finished!"}));
    EXPECT_EQ(Progress.Steps, 1); // the byte step's first mask has one shift
}

// The last value of a skip-2 step lies half beyond memory: its missing two bytes read as 0, which here makes
// the pointer $10000 (tile 2048 of 32-byte tiles) that completes the map's last row.
TEST(MapSearchMemoryEnd, BytesPastTheEndReadAsZero) {
    std::vector<uint8_t> memory(64, 0);
    test::PlantMap(memory, {42, 3, 2, 4, false}, [](int32_t x, int32_t y) {
        return y == 1 && x == 2 ? 0x10000u : static_cast<uint32_t>(1 + x + 3 * y) * 32;
    });
    ASSERT_EQ(memory[62], 0);
    ASSERT_EQ(memory[63], 1);
    MapSearchOptions options;
    options.SearchLongs = true;
    options.Pointers = PointerTiles{0, 0, 16, 16, 1};
    MatchGrid grid;
    SearchProgress silent;
    const MapSearchRun run = SearchForMap(memory, {"1, 2, 3", "4, 5, 2048"}, options, grid, silent);
    EXPECT_EQ(Lines(run.ResultLines.end() - 3, run.ResultLines.end()),
              (Lines{"Checking for horizontal longword data + 2...", "Jackpot! $2A with 4 bytes per tile, map width 3",
                     "Finished!"}));
}

// A row of sky over the level: every stretch of sky in memory is a candidate for grid row 0, far more than 200
// of them, so the pass starts from the most distinctive row and still reports the grid's first row.
TEST_F(MapSearching, AGridStartingWithARowOfSkyIsFoundFromItsMostDistinctiveRow) {
    for (size_t at = 0; at < Memory.size(); at += 2)
        if (at % 400 < 300) Memory[at] = 7;
    for (int32_t x = 0; x < 40; ++x)
        Level[static_cast<size_t>(2 * 40 + x)] = 7; // the level's row 2, the grid's first
    std::fill(Memory.begin() + 12000, Memory.begin() + 13000, uint8_t{7});
    Plant({1000, 0, 0, 1, false}, [](int32_t t) { return t; });
    const MapSearchRun run = Search(ScreenGrid());
    ASSERT_FALSE(run.Matches.empty());
    EXPECT_EQ(run.Matches[0].Address, 1000 + 85);
    EXPECT_EQ(run.Matches[0].Width, 40);
    EXPECT_EQ(run.ResultLines[1], JackpotLine(1000 + 85, 1, 40));
}

TEST_F(MapSearching, UnknownCellsMatchAnyValueAndAreCountedInTheJackpotLine) {
    Plant({1000, 0, 0, 1, false}, [](int32_t t) { return t; });
    Lines grid = ScreenGrid();
    MatchGrid parsed;
    ParseMatchGrid(grid, parsed);
    parsed.At(0, 3).Unknown = parsed.At(2, 0).Unknown = parsed.At(5, 9).Unknown = true;
    parsed.At(0, 3).TileNumber = 250; // what a sprite would have made of it: not in the level
    grid = MatchGridLines(parsed, 6, 10);
    const MapSearchRun run = Search(grid);
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Address, 1085);
    EXPECT_EQ(run.ResultLines[1], "Jackpot! $43D with 1 bytes per tile, map width 40 (3 cells unknown)");
}

TEST_F(MapSearching, RowsWithTooFewKnownCellsAreLeftOutAndAGridWithoutAnyIsNotSearched) {
    Plant({1000, 0, 0, 1, false}, [](int32_t t) { return t; });
    Lines grid = ScreenGrid(4, 4);
    grid[1] = "?, ?, ?, " + std::to_string(TileAt(8, 3));
    grid[2] = "?, " + std::to_string(TileAt(6, 4)) + ", ?, " + std::to_string(TileAt(8, 4)); // half: kept
    MapSearchRun run = Search(grid);
    EXPECT_EQ(run.ResultLines[0], RowLeftOutLine(1));
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Address, 1085);
    EXPECT_FALSE(run.NoUsableRow);

    const int32_t stepsBefore = Progress.Steps;
    run = Search({"?, ?, 5", "1, ?, ?"});
    EXPECT_TRUE(run.NoUsableRow);
    EXPECT_EQ(run.ResultLines, (Lines{RowLeftOutLine(0), RowLeftOutLine(1), std::string(NoUsableRowLine), "Finished!"}));
    EXPECT_EQ(Progress.Steps, stepsBefore);
}

// The level lies between cleared memory above and noise below: its first row and its 24 rows are found
// around a find in its middle, and choosing the find fills the map controls with the whole level.
TEST_F(MapSearching, AFindReportsTheWholeLevelItLiesIn) {
    std::fill(Memory.begin(), Memory.begin() + 1000, uint8_t{0});
    for (size_t at = 1000 + 40 * 24; at < 1000 + 40 * 30; ++at)
        Memory[at] = static_cast<uint8_t>(100 + at % 100); // beyond the tiles of the rip
    Plant({1000, 0, 0, 1, false}, [](int32_t t) { return t; });
    Options.TileCount = 100;
    const MapSearchRun run = Search(ScreenGrid());
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].MapAddress, 1000 + 5);
    EXPECT_EQ(run.Matches[0].MapRows, 24);
    EXPECT_EQ(run.ResultLines[2], "Level map at $3ED: 40 x 24 tiles");
    MapControls controls;
    ApplyMapMatch(run.Matches[0], controls);
    EXPECT_EQ(controls.Address, "$3ED");
    EXPECT_EQ(controls.WidthInTiles, "40");
    EXPECT_EQ(controls.HeightInTiles, "24");

    // Stored column by column the level's columns are counted the same way.
    Memory = test::NoisyMemory(24000, Random);
    std::fill(Memory.begin() + 3000, Memory.begin() + 4000 + 40 * 24, uint8_t{0});
    Plant({4000, 0, 0, 1, true}, [](int32_t t) { return t; });
    const MapSearchRun vertical = Search(ScreenGrid());
    ASSERT_EQ(vertical.Matches.size(), 1u);
    EXPECT_EQ(vertical.Matches[0].MapAddress, 4000 + 2);
    EXPECT_EQ(LevelWidth(vertical.Matches[0]), 40);
    EXPECT_EQ(LevelHeight(vertical.Matches[0]), 24);
}

// A longword map of pointers with the top bit set: read sign-extended, as the map ripper reads them, they
// are the tiles of a rip that starts at $80000000 less chip RAM's offset.
TEST_F(MapSearching, PointersAreReadSignExtendedAsTheMapRipperReadsThem) {
    Options.SearchLongs = true;
    Options.Pointers = PointerTiles{0, std::numeric_limits<int32_t>::min(), 16, 16, 1};
    Plant({5000, 0, 0, 4, false}, [](int32_t t) { return 0x80000000u + uint32_t(t) * 32; });
    const MapSearchRun run = Search(ScreenGrid());
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].MemoryType, MapSearchType::Pointers);
    EXPECT_EQ(run.Matches[0].Address, 5000 + 85 * 4);
}

// Far more places that agree with grid row 0 in the low bits than the search keeps in a list: the map after
// them is still found, as the literal search finds it.
TEST_F(MapSearching, AMapAfterManyNearMissesIsFoundAsTheLiteralSearchFindsIt) {
    Memory.assign(100000, 0);
    for (size_t at = 0; at < 90000; at += 2)
        Memory[at] = 1; // words of $100: their low seven bits agree with tile 0
    for (int32_t x = 0; x < 40; ++x)
        Level[static_cast<size_t>(2 * 40 + x)] = 0;
    Plant({92000, 0, 0, 2, false}, [](int32_t t) { return t; });
    const MapSearchRun run = Search(ScreenGrid());
    MatchGrid literalGrid;
    CountingProgress literalProgress;
    const MapSearchRun literal = test::ReferenceSearchForMap(Memory, ScreenGrid(), Options, literalGrid, literalProgress);
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Address, 92000 + 85 * 2);
    EXPECT_EQ(run.ResultLines, literal.ResultLines);
}

TEST_F(MapSearching, ACellWithTwentyThousandAlternativesIsSearchedLikeAnyOther) {
    Plant({1000, 0, 0, 2, false}, [](int32_t t) { return t; });
    Lines grid = ScreenGrid();
    std::string alternatives;
    for (int32_t alternative = 1; alternative <= 20000; ++alternative)
        alternatives += "/" + std::to_string(40000 + alternative);
    grid[0].insert(grid[0].find(','), alternatives);
    grid[3].insert(grid[3].find(','), alternatives);
    const MapSearchRun run = Search(grid);
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Address, 1000 + 85 * 2);
}

TEST(MapSearchFinds, AddressesPastTwoGibibytesAreReportedWhole) {
    MatchGrid grid;
    ParseMatchGrid({"1, 2, 3", "4, 5, 6"}, grid);
    MapSearchRun run;
    const int64_t address = (int64_t{3} << 31) + 6;
    RecordFind(MapSearchTable[0], grid, MapFind{address, 64, 0, 0xFF, 0}, LevelValues{}, run);
    ASSERT_EQ(run.Matches.size(), 1u);
    EXPECT_EQ(run.Matches[0].Address, address);
    EXPECT_EQ(run.ResultLines[0], "Jackpot! $180000006 with 1 bytes per tile, map width 64");
    EXPECT_EQ(MapMatchItemText(run.Matches[0]), "Horiz $180000006 Width 64 shift 0");
    MapControls controls;
    ApplyMapMatch(run.Matches[0], controls);
    EXPECT_EQ(controls.Address, "$180000006");
}

TEST(MatchGridText, GridsTheSearchCannotUseAreErrorsAtOnce) {
    EXPECT_NO_THROW(CheckMatchGridText({"12, y12/40, ?, x7, , y", "1, 2, 3", "", ""}));
    EXPECT_NO_THROW(CheckMatchGridText(Lines(15, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,$F")));
    const auto message = [](const Lines& lines) {
        try {
            CheckMatchGridText(lines);
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(Lines(16, "1, 2, 3")), "the grid has 16 lines; it holds at most 15 rows of tile numbers");
    EXPECT_EQ(message({"1, 2, 3", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16"}),
              "line 2 of the grid has 16 cells; a row holds at most 15");
    const std::string binary("ASF \x00\x01\x80\xFF\x12,\x7F", 11);
    EXPECT_EQ(message({binary}), "line 1 of the grid is not a row of tile numbers (\"12, y12/40, ?, x7\")");
    EXPECT_EQ(message({"1, 2, 3", "4, five, 6"}).substr(0, 7), "line 2 ");
}

TEST(ApplyMapMatchTest, FillsTheMapControlsAndKeepsTheOtherSizeUnlessItIsZero) {
    MapControls controls;
    controls.WidthInTiles = "0";
    controls.HeightInTiles = "17";
    ApplyMapMatch(MapMatch{0x1234, 3, 0x7FFF, -9, 0, 64, 0, 2, MapSearchType::Word}, controls);
    EXPECT_EQ(controls.Address, "$1234");
    EXPECT_EQ(controls.WidthInTiles, "64");
    EXPECT_EQ(controls.HeightInTiles, "17");
    EXPECT_EQ(controls.MemoryTypeIndex, 1);
    EXPECT_EQ(controls.DirectionIndex, 0);
    EXPECT_EQ(controls.Shift, "3");
    EXPECT_EQ(controls.Mask, "$7FFF");
    EXPECT_EQ(controls.Adjust, "9");

    controls.HeightInTiles = "0";
    controls.WidthInTiles = "0";
    ApplyMapMatch(MapMatch{16, 0, 0xFF, 0, 1, 0, 30, 1, MapSearchType::Byte}, controls);
    EXPECT_EQ(controls.HeightInTiles, "30");
    EXPECT_EQ(controls.WidthInTiles, "40");
    EXPECT_EQ(controls.DirectionIndex, 1);
}

TEST(MatchGridText, ParsesFlipsAlternativesHexAndMissingCells) {
    MatchGrid grid;
    ParseMatchGrid(SplitLines("12, y12/40, 3, x7\r\nxy$10/ 5 /5/junk, , 8\n"), grid);
    EXPECT_EQ(grid.Rows, 2);
    EXPECT_EQ(grid.Columns, 4);
    EXPECT_EQ(grid.At(0, 1), (MatchCell{12, 1, {40}}));
    EXPECT_EQ(grid.At(0, 3), (MatchCell{7, 2, {}}));
    EXPECT_EQ(grid.At(1, 0), (MatchCell{16, 3, {5, 0}}));
    EXPECT_EQ(grid.At(1, 1).TileNumber, -1);
    EXPECT_EQ(grid.At(1, 3).TileNumber, -1);
    EXPECT_EQ(MatchGridLines(grid, 1, 4), (Lines{"12, y12/40, 3, x7"}));
    ParseMatchGrid({" ? , 4", "?"}, grid);
    EXPECT_TRUE(grid.At(0, 0).Unknown && grid.At(1, 0).Unknown && !grid.At(0, 1).Unknown);
    EXPECT_EQ(MatchGridLines(grid, 2, 2), (Lines{"?, 4", "?, -1"}));
}

TEST(MatchGridText, UsesAtMostFifteenRowsAndColumns) {
    MatchGrid grid;
    ParseMatchGrid(Lines(20, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17"), grid);
    EXPECT_EQ(grid.Rows, 15);
    EXPECT_EQ(grid.Columns, 15);
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("a\n\nb"), (Lines{"a", "", "b"}));
}

TEST(MatchGridText, TranspositionSwapsNumbersButKeepsFlips) {
    MatchGrid grid;
    ParseMatchGrid({"1, y2/9, 3", "4, 5, 6"}, grid);
    TransposeMatchGrid(grid);
    EXPECT_EQ(grid.Rows, 3);
    EXPECT_EQ(grid.Columns, 2);
    EXPECT_EQ(MatchGridLines(grid, 3, 2), (Lines{"1, y4", "2/9, 5", "3, 6"}));
    ParseMatchGrid({"1, ?, 3", "4, 5, 6"}, grid);
    TransposeMatchGrid(grid);
    EXPECT_EQ(MatchGridLines(grid, 3, 2), (Lines{"1, 4", "?, 5", "3, 6"}));
}

// Generated memories with planted maps of every kind, near misses, duplicates, ambiguous grids and hand-edited
// grids: the fast search gives the literal search's lines, records, grid and progress.
class Differential {
  public:
    explicit Differential(uint32_t seed) : Random(seed) {}

    void Run(int trial) {
        const bool ambiguous = trial % 7 == 3;
        // Wide maps put the rows up to the 10240-byte window apart.
        const bool wide = !ambiguous && trial % 4 == 1;
        // Ambiguous: bytes of 0 and 1 everywhere, so rows match hundreds of times and the 200-limits cut in;
        // Cancel after the first jackpot check keeps it to one pass.
        const auto type = ambiguous ? MapSearchType::Byte : static_cast<MapSearchType>(Random() % 4);
        const int32_t bytes = SearchTypeRuleOf(type).BytesPerValue;
        const int32_t width = wide ? 12 + int32_t(Random() % (10300 / bytes)) : 12 + int32_t(Random() % 40);
        const int32_t height = wide ? 3 + int32_t(Random() % 3) : 6 + int32_t(Random() % 12);
        const size_t size = ambiguous ? 3000
                            : wide    ? size_t(width) * size_t(height * bytes) + 6000
                                      : size_t(Pick({3000, 6000, 9000, 14000, 21000}));
        std::vector<uint8_t> memory = test::NoisyMemory(size, Random);
        if (ambiguous)
            for (uint8_t& byte : memory)
                byte = static_cast<uint8_t>(Random() % 2);
        MapSearchOptions options;
        options.SearchLongs =
            !ambiguous && (type == MapSearchType::Longword || type == MapSearchType::Pointers || Random() % 4 == 0);
        options.Detailed = ambiguous || Random() % 3 == 0;
        options.Pointers =
            PointerTiles{uint32_t(Random() % 64), int32_t(Random() % 4000), Pick({8, 16}), 16, int32_t(Random() % 6)};
        MapLayout layout{0, width, height, bytes, Random() % 3 == 0};
        const int32_t tiles = ambiguous ? 2 : 100;
        std::vector<int32_t> level(static_cast<size_t>(layout.Width * layout.Height));
        for (int32_t& t : level)
            t = int32_t(Random() % tiles);
        const auto tileAt = [&](int32_t x, int32_t y) { return level[static_cast<size_t>(y * layout.Width + x)]; };
        const std::function<uint32_t(int32_t)> encode = Encoding(type, options.Pointers);
        const int32_t copies = 1 + int32_t(Random() % 3);
        for (int32_t copy = 0; copy < copies; ++copy) {
            layout.Address = int64_t(Random() % size) & ~int64_t(type == MapSearchType::Pointers && copy == 0 ? 1 : 0);
            const int32_t missX = copy == 1 ? int32_t(Random() % layout.Width) : -1;
            PlantMap(memory, layout, [&](int32_t x, int32_t y) { return encode(tileAt(x, y) + (x == missX ? 1 : 0)); });
        }
        const bool tiny = trial % 9 == 0;
        const int32_t columns = (tiny ? 1 : 3) + int32_t(Random() % (tiny ? 3 : 6));
        const int32_t rows = 1 + int32_t(Random() % std::min(6, layout.Height));
        std::vector<std::string> grid = test::GridText(tileAt, int32_t(Random() % (layout.Width - columns + 1)),
                                                       int32_t(Random() % (layout.Height - rows + 1)), columns, rows);
        if (trial % 5 == 2) grid[0] += "/" + std::to_string(Random() % tiles); // an alternative in the last cell
        if (trial % 11 == 5) grid.insert(grid.begin(), "x1/$2, y, 3/4, 5, 6");
        if (trial % 3 == 1) MarkUnknownCells(grid); // sprites over some cells, a row or two left out
        options.TileCount = Random() % 2 == 0 ? tiles : 0;
        Compare(memory, grid, options, ambiguous ? 1 : trial % 13 == 6 ? int32_t(1 + Random() % 4) : -1);
    }

    int32_t Finds = 0;

    void Compare(const std::vector<uint8_t>& memory, const std::vector<std::string>& grid,
                 const MapSearchOptions& options, int32_t cancelAfter) {
        MatchGrid fastGrid, literalGrid;
        CountingProgress fastProgress, literalProgress;
        fastProgress.CancelAfterEvents = literalProgress.CancelAfterEvents = cancelAfter;
        const MapSearchRun fast = SearchForMap(memory, grid, options, fastGrid, fastProgress);
        const MapSearchRun literal = test::ReferenceSearchForMap(memory, grid, options, literalGrid, literalProgress);
        EXPECT_EQ(fast.ResultLines, literal.ResultLines);
        EXPECT_EQ(fast.Matches, literal.Matches);
        EXPECT_EQ(fast.Cancelled, literal.Cancelled);
        EXPECT_EQ(fastProgress.Steps, literalProgress.Steps);
        EXPECT_EQ(fastProgress.Events, literalProgress.Events);
        EXPECT_EQ(MatchGridLines(fastGrid, 16, 16), MatchGridLines(literalGrid, 16, 16));
        Finds += fast.Matches.empty() ? 0 : 1;
    }

  private:
    std::mt19937 Random;

    int32_t Pick(std::initializer_list<int32_t> values) { return *(values.begin() + Random() % values.size()); }

    // Turns random cells into "?", now and then most of a row.
    void MarkUnknownCells(std::vector<std::string>& grid) {
        MatchGrid parsed;
        ParseMatchGrid(grid, parsed);
        const int32_t cells = parsed.Rows * parsed.Columns;
        const int32_t marks = 1 + int32_t(Random() % std::max(1, cells / 2));
        for (int32_t m = 0; m < marks; ++m)
            parsed.At(int32_t(Random() % parsed.Rows), int32_t(Random() % parsed.Columns)).Unknown = true;
        grid = MatchGridLines(parsed, parsed.Rows, parsed.Columns);
    }

    std::function<uint32_t(int32_t)> Encoding(MapSearchType type, const PointerTiles& pointers) {
        if (type == MapSearchType::Pointers) {
            const int64_t tileBytes = std::max<int64_t>(1, PointerTileBytes(pointers));
            const uint32_t base = uint32_t(pointers.RipAddress) - pointers.ChipRamOffset;
            return [=](int32_t t) { return base + uint32_t(t * tileBytes); };
        }
        const int32_t offset = Random() % 3 == 0 ? Pick({16, 200, 255, 300}) : 0;
        const int32_t shift = Random() % 3 == 0 ? Pick({1, 3, 8, type == MapSearchType::Longword ? 21 : 5}) : 0;
        const uint32_t flag = Random() % 4 == 0 ? 0x80u : 0u;
        // Now and then random flags below the shift, different in every cell (the offset steps then see
        // differences that borrow from the bits below the tile number).
        const uint32_t lowFlags = Random() % 3 == 0 ? (1u << shift) - 1u : 0u;
        const auto flags = std::make_shared<std::mt19937>(Random());
        return [=](int32_t t) {
            const uint32_t value = (uint32_t(t + offset) << shift) | flag | ((*flags)() & lowFlags);
            return value & (type == MapSearchType::Byte ? 0xFFu : ~0u);
        };
    }

};

TEST(MapSearchDifferential, FastSearchGivesTheLiteralSearchsLinesAndRecords) {
    Differential differential(99);
    for (int trial = 0; trial < 150; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        differential.Run(trial);
    }
    EXPECT_GT(differential.Finds, 45);
}

// Maps far into a larger memory, searched with every row found printed: the rows after a candidate are then
// scanned up to the end of memory, over several stretches of decoded values.
TEST(MapSearchDifferential, RowsScannedFarPastACandidateGiveTheLiteralLines) {
    std::mt19937 random(7);
    Differential differential(7);
    for (const int32_t bytes : {2, 4}) {
        std::vector<uint8_t> memory = test::NoisyMemory(200000, random);
        std::vector<int32_t> level(30 * 8);
        for (int32_t& t : level)
            t = static_cast<int32_t>(random() % 100);
        const auto tile = [&level](int32_t x, int32_t y) { return level[static_cast<size_t>(y * 30 + x)]; };
        // A second copy more than a stretch after the first: its rows are hits of the first copy's candidate.
        for (const int64_t address : {bytes == 2 ? 110000 : 60000, bytes == 2 ? 150000 : 130000})
            test::PlantMap(memory, {address, 30, 8, bytes, false},
                           [&](int32_t x, int32_t y) { return static_cast<uint32_t>(tile(x, y) + 3) << 2 | 1; });
        MapSearchOptions options;
        options.SearchLongs = true;
        options.Detailed = true;
        differential.Compare(memory, test::GridText(tile, 4, 1, 6, 5), options, -1);
    }
    EXPECT_EQ(differential.Finds, 2);
}

} // namespace
} // namespace tavrik

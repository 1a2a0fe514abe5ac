// DrawMap against the literal reference on generated maps of every kind.
#include "MapTestKit.h"
#include "support/MapReference.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrik::test {
namespace {

struct GeneratedMap {
    TMapVariables Map = NewMapVariables(1);
    MapDrawContext Context;
    std::string Replacements;
};

GeneratedMap Generate(std::mt19937& rng, const std::vector<uint8_t>& memory, const Image& sheet) {
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    GeneratedMap g;
    TMapVariables& m = g.Map;
    m.MapNumber = pick(0, 5) == 0 ? 2 : 1;
    m.MemoryType = pick(0, 5) - (pick(0, 20) == 0 ? 7 : 0); // now and then an unknown type
    m.Direction = pick(0, 1);
    m.TilesPerBlockAcross = pick(0, 3);
    m.TilesPerBlockDown = pick(0, 3);
    m.TilesPerBlockDirection = pick(0, 1);
    // Widths that are not a multiple of the block leave partial blocks at the end of every band.
    m.WidthInTiles = pick(1, 12);
    m.HeightInTiles = pick(1, 12);
    m.TrimTiles = pick(-2, 4);
    m.SkipBytes = pick(0, 3) == 0 ? pick(-3, 5) : 0;
    m.Address = pick(0, 6) == 0 ? pick(-40, 0) : pick(0, int(memory.size()) + 50);
    m.MapTileWidth = std::array{8, 16, 16, 24}[size_t(pick(0, 3))];
    m.MapTileHeight = std::array{8, 16, 16, 32}[size_t(pick(0, 3))];
    m.Shift = std::array{0, 0, 0, 4, -4, 8, 32, -33}[size_t(pick(0, 7))];
    m.Mask = std::array{-1, -1, 0xFF, 0x1FF, 0x3F}[size_t(pick(0, 4))];
    m.FlipXMask = pick(0, 2) == 0 ? 0 : 1 << pick(0, 15);
    m.FlipYMask = pick(0, 2) == 0 ? 0 : 1 << pick(0, 15);
    m.Adjust = pick(-3, 3);
    m.CustomGameId = pick(0, 3) == 0 ? pick(1, 7) : 0;
    m.CellColumns = pick(0, 1) ? 0 : pick(0, 20); // earlier draws may have grown the grid
    m.CellRows = pick(0, 1) ? 0 : pick(0, 20);
    m.Cells.assign(size_t(m.CellRows) + 1, std::vector<TMapCell>(size_t(m.CellColumns) + 1, TMapCell{7, 7, 7}));
    m.UseLoadedMap = pick(0, 5) == 0;
    MapDrawContext& c = g.Context;
    c.MemoryImage = memory;
    c.LoadedMapData = std::span(memory).subspan(size_t(pick(0, 100)));
    c.TileSource = &sheet;
    c.TileCount = pick(0, 3) == 0 ? pick(0, 40) : 400;
    c.RipAddress = pick(0, 3000);
    c.Bitplanes = pick(1, 5);
    c.SkipBetweenTiles = pick(0, 4);
    c.ChipRamOffset = static_cast<uint32_t>(pick(0, 1) ? 0 : pick(0, 70000));
    c.ColourTable = TestColourTable();
    c.Options.FlipXEnabled = pick(0, 1);
    c.Options.FlipYEnabled = pick(0, 1);
    c.Options.ShowBadTiles = pick(0, 1);
    c.Options.ShowIndexes = pick(0, 1);
    if (pick(0, 1)) g.Replacements = "1-3=5\n5 = 9\n$10=0 ; comment\n7,8-9=1\n0-2=$30";
    return g;
}

TEST(MapDrawDifferential, DrawMapMatchesTheLiteralReferenceOnGeneratedMaps) {
    std::mt19937 rng(20261210);
    std::vector<uint8_t> memory(6000);
    for (uint8_t& b : memory)
        b = static_cast<uint8_t>(rng() % 4 == 0 ? 0 : rng());
    Image sheet = PatternSheet(200, 120);
    Image rgbSheet = sheet;
    rgbSheet.ColourTable = TestColourTable();
    rgbSheet.ConvertTo(PixelFormat::Rgb24);
    const Image narrowSheet = PatternSheet(20, 200);
    for (int i = 0; i < 400; ++i) {
        // A sheet narrower than a tile is cut as one column of tiles, except for the second map.
        const Image& source = i % 5 == 4 ? rgbSheet : i % 7 == 6 ? narrowSheet : sheet;
        GeneratedMap g = Generate(rng, memory, source);
        g.Context.Options.Replacements = g.Replacements;
        TMapVariables fastMap = g.Map, referenceMap = g.Map;
        Image fastImage(3, 3, PixelFormat::Indexed8), referenceImage;
        fastImage.Fill(9); // a picture of an earlier draw is replaced whole
        const MapDrawOutcome fast = DrawMap(fastMap, fastImage, g.Context);
        const MapDrawOutcome reference = ReferenceDrawMap(referenceMap, referenceImage, g.Context);
        SCOPED_TRACE("map " + std::to_string(i) + " game " + std::to_string(g.Map.CustomGameId) + " type " +
                     std::to_string(g.Map.MemoryType));
        ASSERT_EQ(fast.Result, MapDrawResult::Drawn);
        EXPECT_EQ(fast.Summary, reference.Summary);
        EXPECT_EQ(fast.IndexDump, reference.IndexDump);
        EXPECT_EQ(fast.ShowMapDataTab, reference.ShowMapDataTab);
        EXPECT_TRUE(fastMap.Cells == referenceMap.Cells);
        EXPECT_EQ(fastMap.CellRows, referenceMap.CellRows);
        EXPECT_EQ(fastMap.CellColumns, referenceMap.CellColumns);
        EXPECT_EQ(fastMap.DrawWidth, referenceMap.DrawWidth);
        EXPECT_EQ(fastMap.DrawHeight, referenceMap.DrawHeight);
        EXPECT_EQ(fastMap.TrimTiles, referenceMap.TrimTiles);
        ASSERT_EQ(fastImage.Width(), referenceImage.Width());
        ASSERT_EQ(fastImage.Height(), referenceImage.Height());
        ASSERT_EQ(fastImage.Format(), referenceImage.Format());
        EXPECT_TRUE(fastImage.Data() == referenceImage.Data());
        EXPECT_TRUE(fastImage.ColourTable == referenceImage.ColourTable);
        if (HasFailure()) break;
    }
}

} // namespace
} // namespace tavrik::test

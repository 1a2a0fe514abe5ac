// The read-out of the cell under the pointer: the cell picked from the picture pixel, held to the map's
// edges, and the status text of what was read there.
#include "map/CellReadOut.h"

#include "MapTestKit.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

// A map of 16 x 16 tiles whose cells (row, column) hold raw value 100 x row + column, read at 4 x that.
TMapVariables NumberedMap(int32_t columns, int32_t rows) {
    TMapVariables map = NewMapVariables(1);
    map.MapTileWidth = 16;
    map.MapTileHeight = 16;
    map.WidthInTiles = columns;
    map.HeightInTiles = rows;
    map.CellColumns = columns - 1;
    map.CellRows = rows - 1;
    map.Cells.assign(size_t(rows), std::vector<TMapCell>(size_t(columns)));
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t value = 100 * r + c;
            map.Cells[size_t(r)][size_t(c)] = TMapCell{value, value, 4 * value};
        }
    return map;
}

TEST(CellReadOut, ShowsOffsetCellAndValueWithTheTileOnlyWhenItDiffers) {
    TMapVariables map = NumberedMap(8, 8);
    map.Cells[5][3] = TMapCell{0x8012, 18, 0x2A40};
    EXPECT_EQ(CellReadOut(1, 3 * 16 + 4, 5 * 16 + 15, map), "Map: $2A40: (3, 5) = $8012 = tile 18 ($12)");
    EXPECT_EQ(CellReadOut(2, 3 * 16, 5 * 16, map), "Map 2: $2A40: (3, 5) = $8012 = tile 18 ($12)");
    map.Cells[5][3].RawValue = 0x12;
    EXPECT_EQ(CellReadOut(1, 3 * 16, 5 * 16, map), "Map: $2A40: (3, 5) = $12");
    map.Cells[5][3] = TMapCell{-1, -2, 0x10};
    EXPECT_EQ(CellReadOut(1, 3 * 16, 5 * 16, map), "Map: $10: (3, 5) = $FFFFFFFF = tile -2 ($FFFFFFFE)");
}

TEST(CellReadOut, PointerBeyondThePictureReportsTheNearestEdgeCell) {
    const TMapVariables map = NumberedMap(6, 4);
    EXPECT_EQ(CellReadOut(1, 50, 20, map), "Map: $19C: (3, 1) = $67");
    EXPECT_EQ(CellReadOut(1, -40, -1, map), "Map: $0: (0, 0) = $0");
    EXPECT_EQ(CellReadOut(1, 6 * 16, 4 * 16 + 300, map), "Map: $4C4: (5, 3) = $131");
}

// The edges are those of the map's size; cells the last draw never reached give no read-out.
TEST(CellReadOut, ClampsToTheMapSizeAndReadsOnlyCellsOfTheLastDraw) {
    TMapVariables map = NumberedMap(6, 4);
    map.WidthInTiles = 3;
    EXPECT_EQ(CellReadOut(1, 5 * 16, 0, map), "Map: $8: (2, 0) = $2");
    // The last draw covered 4 x 2 cells; the grid still holds the larger earlier one, which is not read.
    map.WidthInTiles = 9;
    map.HeightInTiles = 9;
    map.CellColumns = 3;
    map.CellRows = 1;
    EXPECT_EQ(CellReadOut(1, 3 * 16, 16, map), "Map: $19C: (3, 1) = $67");
    EXPECT_EQ(CellReadOut(1, 5 * 16, 0, map), std::nullopt);
    EXPECT_EQ(CellReadOut(1, 0, 3 * 16, map), std::nullopt);
}

TEST(CellReadOut, NothingWithoutATileOrMapSize) {
    for (int32_t TMapVariables::*size : {&TMapVariables::MapTileWidth, &TMapVariables::MapTileHeight,
                                         &TMapVariables::WidthInTiles, &TMapVariables::HeightInTiles}) {
        TMapVariables map = NumberedMap(4, 4);
        map.*size = 0;
        EXPECT_EQ(CellReadOut(1, 20, 20, map), std::nullopt);
        map.*size = -16;
        EXPECT_EQ(CellReadOut(1, 20, 20, map), std::nullopt);
    }
}

// Over a drawn word map the read-out names where each value was read.
TEST(CellReadOut, ReportsTheOffsetsOfADrawnMap) {
    test::MapRig rig;
    rig.Map.Address = 0x100;
    rig.Map.MemoryType = static_cast<int32_t>(MapMemoryType::Word);
    rig.Put(0x100 + (4 + 2) * 2, {0x00, 0x07});
    rig.Draw();
    EXPECT_EQ(CellReadOut(1, 2 * 16 + 8, 16 + 8, rig.Map), "Map: $10C: (2, 1) = $7");
}

} // namespace
} // namespace tavrik

// How stored values become tile numbers: shift, mask, flips, replacements, pointers, and reads at the edges
// of the map source.
#include "MapTestKit.h"
#include "app/Error.h"
#include "map/ReplacementRules.h"

#include <gtest/gtest.h>

namespace tavrik::test {
namespace {

struct OneWordCell : MapRig {
    OneWordCell() {
        Map.WidthInTiles = 1;
        Map.HeightInTiles = 1;
        Map.MemoryType = 1;
        Map.Address = 0x100;
    }
};

TEST(CellDecoding, ShiftAndMaskWorkOnTheWordReadBigEndian) {
    OneWordCell rig;
    rig.Put(0x100, {0x01, 0x23});
    rig.Map.Shift = 4;
    rig.Map.Mask = 0xFF;
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).RawValue, 0x0123);
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, 0x12);
    rig.Map.Mask = -1;
    rig.Map.Shift = -4;
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, 0x1230);
    rig.Map.Shift = 32; // taken modulo 32
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, 0x0123);
}

TEST(CellDecoding, FlipBitsMirrorOnlyWhileTheirBoxIsCheckedAndAreAlwaysCleared) {
    OneWordCell rig;
    rig.Put(0x100, {0x20, 0x05});
    rig.Map.FlipXMask = 0x2000;
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, 5);
    EXPECT_TRUE(rig.ShowsTile(0, 0, 5));
    rig.Context.Options.FlipXEnabled = true;
    rig.Draw();
    EXPECT_TRUE(rig.ShowsTile(0, 0, 5, true, false));
    EXPECT_FALSE(rig.ShowsTile(0, 0, 5));
}

TEST(CellDecoding, VerticalFlipIsDetectedBeforeTheShift) {
    OneWordCell rig;
    rig.Put(0x100, {0x80, 0x12});
    rig.Map.FlipYMask = 0x8000;
    rig.Map.Shift = 8;
    rig.Context.Options.FlipYEnabled = true;
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, 0x80);
    EXPECT_TRUE(rig.ShowsTile(0, 0, 0x80, false, true));
}

TEST(CellDecoding, LongwordsAreSignedForRulesAndBadCells) {
    OneWordCell rig;
    rig.Map.MemoryType = 2;
    rig.Put(0x100, {0xFF, 0xFF, 0xFF, 0xFF});
    rig.Replacements = "0-5=9";
    const MapDrawOutcome outcome = rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, -1);
    EXPECT_EQ(outcome.MissingCount, 0);
}

TEST(ReplacementRules, LinesCommentsRangesAndTheSpaceAfterTheEqualsSign) {
    EXPECT_EQ(BuildReplacementRules("$8035=248"), (ReplacementRules{{0x8035, 0x8035, 248}}));
    EXPECT_EQ(BuildReplacementRules("$100-$105=$0"), (ReplacementRules{{0x100, 0x105, 0}}));
    EXPECT_EQ(BuildReplacementRules(" 1, 3, 5-7 = 0 ; rockets\r\n; all comment\nx=1\n=4\n2="), (ReplacementRules{}));
    EXPECT_EQ(BuildReplacementRules(" 1, 3, 5-7 =0 ; rockets\r\n; all comment\n9-=2 junk\n,,-4=1\nq-2=1"),
              (ReplacementRules{{1, 1, 0}, {3, 3, 0}, {5, 7, 0}, {9, 9, 2}}));
    EXPECT_EQ(BuildReplacementRules("1=2 ;c"), (ReplacementRules{{1, 1, 2}}));
}

TEST(ReplacementRules, RulesChainInTheOrderWritten) {
    OneWordCell rig;
    rig.Put(0x100, {0x00, 0x01});
    rig.Replacements = "1=2\n2=3";
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).RawValue, 1);
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, 3);
}

TEST(CellDecoding, PointersCountTilesFromTheRipAddress) {
    OneWordCell rig;
    rig.Map.MemoryType = 3;
    rig.Context.RipAddress = 0x2000;
    rig.Context.ChipRamOffset = 0x100;
    const int32_t bytesPerTile = 16 * 16 * 5 / 8 + 2;
    rig.Context.SkipBetweenTiles = 2;
    const uint32_t pointer = 0x2000 - 0x100 + 3 * bytesPerTile;
    rig.Put(0x100, {0, 0, uint8_t(pointer >> 8), uint8_t(pointer)});
    rig.Put(0x104, {0, 0, 0x10, 0x00}); // graphics before the rip address
    rig.Map.WidthInTiles = 2;
    const MapDrawOutcome outcome = rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, 3);
    EXPECT_LT(rig.Cell(0, 1).TileIndex, 0);
    EXPECT_EQ(outcome.MissingCount, 0);
}

TEST(CellDecoding, PointerMapsWithZeroBytesPerTileFailBeforeAnythingChanges) {
    OneWordCell rig;
    rig.Map.MemoryType = 4;
    rig.Context.Bitplanes = 0;
    rig.MapImage.Reset(5, 5, PixelFormat::Indexed8);
    rig.Map.TrimTiles = -3;
    EXPECT_THROW(rig.Draw(), Error);
    EXPECT_EQ(rig.MapImage.Width(), 5);
    EXPECT_EQ(rig.Map.TrimTiles, -3);
}

TEST(CellDecoding, ReadsOutsideTheSourceGiveZero) {
    MapRig rig;
    rig.Memory.assign(3, 0x11);
    rig.Map.MemoryType = 1;
    rig.Map.Address = -1;
    rig.Map.SkipBytes = -5;
    rig.Map.WidthInTiles = 3;
    rig.Map.HeightInTiles = 1;
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).RawValue, 0x0011); // offsets -1 and 0
    EXPECT_EQ(rig.Cell(0, 1).SourceOffset, -4);
    EXPECT_EQ(rig.Cell(0, 1).RawValue, 0);
}

TEST(CellDecoding, SkipBytesAndTrimMoveTheReadPosition) {
    MapRig rig;
    rig.Map.Address = 0x1000;
    rig.Map.SkipBytes = 1;
    rig.Map.WidthInTiles = 3;
    rig.Map.HeightInTiles = 1;
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 1).SourceOffset, 0x1002);
    EXPECT_EQ(rig.Cell(0, 2).SourceOffset, 0x1004);

    MapRig trimmed;
    trimmed.Map.MemoryType = 1;
    trimmed.Map.WidthInTiles = 10;
    trimmed.Map.TrimTiles = 2;
    trimmed.Draw();
    EXPECT_EQ(trimmed.Map.DrawWidth, 8);
    EXPECT_EQ(trimmed.MapImage.Width(), 8 * 16);
    EXPECT_EQ(trimmed.Cell(1, 0).SourceOffset, 8 * 2 + 4);
}

TEST(MapWalk, BlocksAreStoredTogether) {
    MapRig rig;
    rig.Map.WidthInTiles = 4;
    rig.Map.HeightInTiles = 2;
    rig.Map.TilesPerBlockAcross = 2;
    rig.Map.TilesPerBlockDown = 2;
    for (uint8_t i = 0; i < 8; ++i)
        rig.Memory[i] = i;
    rig.Draw();
    // (column, row) of the first eight values.
    const int expected[8][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {3, 0}, {2, 1}, {3, 1}};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rig.Cell(expected[i][1], expected[i][0]).RawValue, i);
}

} // namespace
} // namespace tavrik::test

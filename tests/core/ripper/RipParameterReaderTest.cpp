// Reading the ripper's controls: field order, silent stops, block and actual tile sizes, step sizes.
#include "ripper/RipParameterReader.h"

#include "app/Error.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

struct Reading {
    RipperState State;
    RipControlUpdates Updates;
};

Reading Read(const RipControls& controls, AddressMode addresses = {}) {
    Reading reading;
    reading.Updates = ReadRipParameters(controls, reading.State, addresses);
    return reading;
}

RipParameters StepsOf(int32_t mode, const std::string& bitplanes, bool maskBefore = false, bool maskAfter = false,
                      const std::string& skip = "0", int32_t skipMode = 0) {
    RipControls controls;
    controls.ModeIndex = mode;
    controls.Bitplanes = bitplanes;
    controls.MaskBefore = maskBefore;
    controls.MaskAfter = maskAfter;
    controls.SkipBytes = skip;
    controls.SkipModeIndex = skipMode;
    return Read(controls).State.Parameters;
}

TEST(RipParameterReader, ReadsEveryFieldOfTheDefaultControls) {
    RipControls controls;
    controls.Address = "$1234";
    controls.Bitplanes = "5";
    controls.TileWidth = "32";
    controls.TileHeight = " 8";
    controls.RipWidth = "x140";
    controls.ModeIndex = 1;
    controls.TilesPerBlockDirectionIndex = 1;
    const Reading r = Read(controls);
    const RipParameters& p = r.State.Parameters;
    EXPECT_EQ(p.Address, 0x1234);
    EXPECT_EQ(p.Bitplanes, 5);
    EXPECT_EQ(p.TileWidth, 32);
    EXPECT_EQ(p.TileHeight, 8);
    EXPECT_EQ(p.RipWidth, 0x140);
    EXPECT_EQ(p.RipHeight, 256);
    EXPECT_EQ(p.Mode, 1);
    EXPECT_EQ(p.TilesPerBlockDirection, 1);
    EXPECT_EQ(p.BlockTileWidth, 32);
    EXPECT_EQ(p.ActualTileHeight, 8);
    EXPECT_EQ(r.Updates.BitplaneOrderLabel, "Bitplane Order: 12345678");
    EXPECT_FALSE(r.Updates.TilesPerBlockAcross);
}

TEST(RipParameterReader, AddressCountsFromChipRamWithAPlus) {
    RipControls controls;
    controls.Address = "+$100";
    EXPECT_EQ(Read(controls, AddressMode{0x1C, false}).State.Parameters.Address, 0x11C);
}

TEST(RipParameterReader, ABadFieldStopsTheReadingAndLaterFieldsKeepTheirOldValues) {
    RipperState state;
    RipControls first;
    first.Bitplanes = "3";
    first.RipWidth = "64";
    first.RipHeight = "48";
    first.ModeIndex = 1;
    first.CopperlistStopYPos = "100";
    ReadRipParameters(first, state, {});

    RipControls second = first;
    second.Bitplanes = "4";
    second.TileWidth = "32";
    second.SkipBytes = "ten";
    second.RipWidth = "128";
    second.ModeIndex = 2;
    second.CopperlistStopYPos = "50";
    const RipControlUpdates updates = ReadRipParameters(second, state, {});
    EXPECT_EQ(state.Parameters.Bitplanes, 4);  // read before the bad field
    EXPECT_EQ(state.Parameters.TileWidth, 32); // read before the bad field
    EXPECT_EQ(state.Parameters.RipWidth, 64);  // kept from the first reading
    EXPECT_EQ(state.Parameters.Mode, 1);
    EXPECT_EQ(state.Parameters.CopperlistStopYPos, 100);
    EXPECT_EQ(state.Parameters.StepTile, 16 * 16 * 3 / 8); // steps of the first reading
    EXPECT_FALSE(updates.BitplaneOrderLabel);              // the label was not reached
}

TEST(RipParameterReader, AnOverflowWhileDerivingStepsEndsTheReadingSilently) {
    RipControls controls;
    controls.TileWidth = "65536";
    controls.TileHeight = "65536";
    controls.CopperlistStopYPos = "7";
    const Reading r = Read(controls);
    EXPECT_EQ(r.State.Parameters.TileWidth, 65536);
    EXPECT_EQ(r.State.Parameters.StepTile, 256); // not derived
    EXPECT_EQ(r.State.Parameters.CopperlistStopYPos, 128);
    EXPECT_FALSE(r.Updates.BitplaneOrderLabel);
}

TEST(RipParameterReader, BlockCountsBelowOneAreRewrittenAsOne) {
    RipControls controls;
    controls.TilesPerBlockAcross = "0";
    controls.TilesPerBlockDown = "-3";
    const Reading r = Read(controls);
    EXPECT_EQ(r.State.Parameters.TilesPerBlockAcross, 1);
    EXPECT_EQ(r.State.Parameters.TilesPerBlockDown, 1);
    EXPECT_EQ(r.Updates.TilesPerBlockAcross, "1");
    EXPECT_EQ(r.Updates.TilesPerBlockDown, "1");
}

TEST(RipParameterReader, SizeCombosSplitAtTheFirstXAndFallBackToTheTileSize) {
    RipControls controls;
    controls.TileWidth = "24";
    controls.TileHeight = "12";
    controls.ActualTileSize = {3, "16 x 32"};
    controls.TilesPerBlockSize = {-1, " 8x"};
    Reading r = Read(controls);
    EXPECT_EQ(r.State.Parameters.ActualTileWidth, 16);
    EXPECT_EQ(r.State.Parameters.ActualTileHeight, 32);
    EXPECT_EQ(r.State.Parameters.BlockTileWidth, 8);
    EXPECT_EQ(r.State.Parameters.BlockTileHeight, 12);

    controls.ActualTileSize = {-1, "40"};       // no "x": the whole text is the width
    controls.TilesPerBlockSize = {-1, "a x 4"}; // a bad width keeps the tile width
    r = Read(controls);
    EXPECT_EQ(r.State.Parameters.ActualTileWidth, 40);
    EXPECT_EQ(r.State.Parameters.ActualTileHeight, 12);
    EXPECT_EQ(r.State.Parameters.BlockTileWidth, 24);
    EXPECT_EQ(r.State.Parameters.BlockTileHeight, 4);

    controls.ActualTileSize = {-1, "Same as tiles"}; // typed back to the first item's text
    r = Read(controls);
    EXPECT_EQ(r.State.Parameters.ActualTileWidth, 24);
}

TEST(RipParameterReader, PlaneCountCountsTheMasks) {
    EXPECT_EQ(StepsOf(0, "4", true, true).PlaneCountWithMasks, 6);
    EXPECT_EQ(StepsOf(0, "4", false, true).PlaneCountWithMasks, 5);
}

TEST(RipParameterReader, StepSizesOfTheAmigaModes) {
    // 4 planes, 16 x 16 tiles, rip width 320.
    const RipParameters acbm = StepsOf(0, "4");
    EXPECT_EQ(acbm.StepWord, 2);
    EXPECT_EQ(acbm.StepTile, 128);
    EXPECT_EQ(acbm.StepLine, 2);
    EXPECT_EQ(acbm.StepTileRow, 2560);
    const RipParameters ilbm = StepsOf(1, "4", true, false, "6");
    EXPECT_EQ(ilbm.StepTile, 16 * 16 * 5 / 8 + 6);
    EXPECT_EQ(ilbm.StepLine, 10);
    EXPECT_EQ(ilbm.StepTileRow, 320 * 16 * 5 / 8);
}

TEST(RipParameterReader, AtariStCountsMasksInTheTileStepThoughTheDecoderReadsNone) {
    const RipParameters st = StepsOf(2, "4", true, true, "10");
    EXPECT_EQ(st.StepWord, 2);
    EXPECT_EQ(st.StepTile, 2 * 6 + 10);
    EXPECT_EQ(st.StepLine, 12);
    EXPECT_EQ(st.StepTileRow, 12 * 16);
}

TEST(RipParameterReader, SpriteStepsAddTheTileSkipInsideAndOutside) {
    const RipParameters four = StepsOf(3, "4", false, false, "8");
    EXPECT_EQ(four.StepTile, 152);
    EXPECT_EQ(four.StepTileRow, 20 * 144); // from the step before the common addition
    const RipParameters two = StepsOf(3, "2");
    EXPECT_EQ(two.StepTile, 64);
    EXPECT_EQ(two.StepWord, 2);
}

TEST(RipParameterReader, C64StepsAndStepLineLeftFromTheLastOtherMode) {
    RipperState state;
    RipControls controls;
    controls.ModeIndex = 1;
    controls.Bitplanes = "3";
    ReadRipParameters(controls, state, {});
    EXPECT_EQ(state.Parameters.StepLine, 6);
    controls.ModeIndex = 4;
    controls.SkipBytes = "4";
    ReadRipParameters(controls, state, {});
    EXPECT_EQ(state.Parameters.StepWord, 1);
    EXPECT_EQ(state.Parameters.StepTile, 16);
    EXPECT_EQ(state.Parameters.StepTileRow, 40 * 12);
    EXPECT_EQ(state.Parameters.StepLine, 6);
}

TEST(RipParameterReader, SkipModeDecidesWhereTheSkipGoes) {
    const RipParameters planes = StepsOf(1, "2", false, false, "40", 1);
    EXPECT_EQ(planes.SkipBetweenPlanes, 40);
    EXPECT_EQ(planes.SkipBetweenTiles, 0);
    EXPECT_EQ(planes.StepTile, 64);
}

TEST(RipParameterReader, OrderLabelShowsDashesAndX) {
    EXPECT_EQ(BitplaneOrderLabel({0, 2, 9, 4, 5, 6, 7, 1}), "Bitplane Order: -2X45671");
}

TEST(RipParameterReader, BackgroundIndexSumsTheXPlanes) {
    EXPECT_EQ(BackgroundIndex(DefaultBitplaneOrder), 0);
    EXPECT_EQ(BackgroundIndex({1, 2, 3, 4, 9, 6, 7, 8}), 16);
    EXPECT_EQ(BackgroundIndex({9, 9, 9, 9, 9, 9, 9, 9}), 255);
}

TEST(RipParameterReader, ModeChangedShowsSpriteControlsOnlyForSprites) {
    const RipModeControls sprites = ModeChanged(3, 2);
    EXPECT_TRUE(sprites.SpriteControlsVisible);
    EXPECT_TRUE(sprites.SpriteBankEnabled);
    EXPECT_FALSE(sprites.TileWidthEnabled);
    EXPECT_FALSE(sprites.MaskControlsVisible);
    EXPECT_FALSE(sprites.BitplaneOrderVisible);
    EXPECT_FALSE(ModeChanged(3, 4).SpriteBankEnabled);
    const RipModeControls ilbm = ModeChanged(1, 4);
    EXPECT_FALSE(ilbm.SpriteControlsVisible);
    EXPECT_TRUE(ilbm.TileWidthEnabled);
    EXPECT_TRUE(ilbm.MaskControlsVisible);
    EXPECT_TRUE(ilbm.BitplaneOrderVisible);
}

TEST(RipParameterReader, TileCountUsesTheSmallerActualTile) {
    RipParameters p;
    EXPECT_EQ(TileCount(p), 20 * 16);
    p.TileWidth = 320;
    p.TileHeight = 256;
    EXPECT_EQ(TileCount(p), 20 * 16); // actual tile 16 x 16 cuts the picture
    p.ActualTileWidth = 320;
    p.ActualTileHeight = 512;
    EXPECT_EQ(TileCount(p), 1);
    p.ActualTileWidth = 0;
    EXPECT_THROW(TileCount(p), Error);
}

TEST(RipParameterReader, MoveRipAddressStopsAtZeroAndReportsOverflow) {
    RipParameters p;
    p.Address = 1;
    EXPECT_EQ(MoveRipAddress(p, -2, {}), "$0");
    EXPECT_EQ(p.Address, 0);
    p.Address = 0x100;
    EXPECT_EQ(MoveRipAddress(p, 0x20, {0x1000, true}), "$0"); // raised to chip RAM
    EXPECT_EQ(p.Address, 0x1000);
    p.Address = 0xFFFFFFF0;
    EXPECT_EQ(MoveRipAddress(p, 0x20, {}), "$100000010");
    EXPECT_EQ(p.Address, 0x100000010);
    p.Address = INT64_MAX - 0x10;
    EXPECT_THROW(MoveRipAddress(p, 0x20, {}), Error);
    EXPECT_EQ(p.Address, INT64_MAX - 0x10);
}

} // namespace
} // namespace tavrik

// The ripper view's keys, key labels and tile read-out, driven on plain control records.
#include "ripper/RipperKeys.h"

#include "app/Error.h"
#include "ripper/RipParameterReader.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

class RipperKeysTest : public ::testing::Test {
  protected:
    RipperKeyResult Press(KeyPress key) { return RipperKeyDown(key, Layout, Controls, State, Addresses); }
    RipperKeyAction PressLetter(char letter, bool shift = false) {
        return Press(KeyPress::OfLetter(letter, shift)).Action;
    }
    void Read() { ReadRipParameters(Controls, State, Addresses); }
    int32_t AddressAfter(KeyPress key) {
        Press(key);
        return State.Parameters.Address;
    }

    LayoutKeys Layout = KeysForLayout(KeyboardLayout::Qwerty);
    RipControls Controls;
    RipperState State;
    AddressMode Addresses;
};

TEST_F(RipperKeysTest, MovementKeysStepByTheAcbmSizes) {
    Controls.Bitplanes = "4";
    Read();
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Right)), 2);
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Right, true)), 2 + 128);
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Right, false, true)), 2 + 128 + 1024);
    State.Parameters.Address = 0;
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Down)), 2);
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Down, true)), 2 + 2560);
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Down, false, true)), 2 + 2560 + 20480);
    EXPECT_EQ(Controls.Address, "$5A02");
    // Ctrl is tested before Shift.
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Up, true, true)), 2 + 2560);
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Numpad8)), 2);
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Numpad6)), 130);
    EXPECT_EQ(AddressAfter(KeyPress::Of(KeyCode::Numpad4, true)), 2);
}

TEST_F(RipperKeysTest, MovementStartsFromTheLastReadingAndStopsAtZero) {
    Controls.Address = "1";
    Read();
    Controls.Address = "$1000"; // typed since the last rip: overwritten
    EXPECT_EQ(Press(KeyPress::Of(KeyCode::Left)).Action, RipperKeyAction::Rip);
    EXPECT_EQ(State.Parameters.Address, 0);
    EXPECT_EQ(Controls.Address, "$0");
}

TEST_F(RipperKeysTest, MovementShowsChipRelativeAddresses) {
    Addresses = AddressMode{0x100, true};
    Controls.Address = "$10";
    Read();
    Press(KeyPress::Of(KeyCode::Right));
    EXPECT_EQ(State.Parameters.Address, 0x112);
    EXPECT_EQ(Controls.Address, "$12");
}

TEST_F(RipperKeysTest, AddressOverflowIsAnErrorAndKeepsTheAddress) {
    Controls.Address = "$7FFFFFFFFFFFFFFF";
    Read();
    EXPECT_THROW(Press(KeyPress::Of(KeyCode::Right)), Error);
    EXPECT_EQ(State.Parameters.Address, INT64_MAX);
    EXPECT_EQ(Controls.Address, "$7FFFFFFFFFFFFFFF");
}

TEST_F(RipperKeysTest, PageKeysMoveByOneBitplaneScreenAndSwallowErrors) {
    State.SheetWidth = 320;
    State.SheetHeight = 256;
    State.Parameters.Address = 100;
    EXPECT_EQ(Press(KeyPress::Of(KeyCode::PageDown)).Action, RipperKeyAction::Rip);
    EXPECT_EQ(State.Parameters.Address, 100 + 40 * 256);
    Press(KeyPress::Of(KeyCode::PageUp));
    Press(KeyPress::Of(KeyCode::PageUp));
    EXPECT_EQ(State.Parameters.Address, 0);

    State.Parameters.Address = 0x7FFFFF00;
    EXPECT_EQ(Press(KeyPress::Of(KeyCode::PageDown)).Action, RipperKeyAction::Rip);
    EXPECT_EQ(State.Parameters.Address, int64_t{0x7FFFFF00} + 40 * 256);
    EXPECT_EQ(Controls.Address, "$80002700");

    State.Parameters.Address = INT64_MAX - 0x100;
    EXPECT_EQ(Press(KeyPress::Of(KeyCode::PageDown)).Action, RipperKeyAction::Nothing);
    EXPECT_EQ(State.Parameters.Address, INT64_MAX - 0x100);
}

TEST_F(RipperKeysTest, TileWidthKeysFollowTheirRules) {
    auto widthAfter = [&](const char* width, char letter, bool shift) {
        Controls.TileWidth = width;
        PressLetter(letter, shift);
        return Controls.TileWidth;
    };
    EXPECT_EQ(widthAfter("8", 'Q', false), "16");
    EXPECT_EQ(widthAfter("24", 'Q', false), "40");
    EXPECT_EQ(widthAfter("24", 'Q', true), "48");
    EXPECT_EQ(widthAfter("16", 'A', false), "8");
    EXPECT_EQ(widthAfter("20", 'A', true), "10");
    EXPECT_EQ(widthAfter("$10", 'A', true), "8");
}

TEST_F(RipperKeysTest, TileWidthKeyReadsTheParametersFirst) {
    Controls.Bitplanes = "5";
    const RipperKeyResult result = Press(KeyPress::OfLetter('Q'));
    EXPECT_EQ(State.Parameters.Bitplanes, 5);
    ASSERT_TRUE(result.BitplaneOrderLabel.has_value());
    EXPECT_EQ(*result.BitplaneOrderLabel, "Bitplane Order: 12345678");
}

TEST_F(RipperKeysTest, TileHeightKeysStopAtOne) {
    Controls.TileHeight = "1";
    PressLetter('S');
    EXPECT_EQ(Controls.TileHeight, "1");
    Controls.TileHeight = "5";
    PressLetter('S', true);
    EXPECT_EQ(Controls.TileHeight, "1");
    PressLetter('W', true);
    PressLetter('W');
    EXPECT_EQ(Controls.TileHeight, "10");
}

TEST_F(RipperKeysTest, BitplaneKeysPassOverThreeInSpritesMode) {
    Controls.ModeIndex = 3;
    Read();
    Controls.Bitplanes = "2";
    EXPECT_EQ(PressLetter('E'), RipperKeyAction::ModeChangedThenRip);
    EXPECT_EQ(Controls.Bitplanes, "4");
    PressLetter('D');
    EXPECT_EQ(Controls.Bitplanes, "2");
    Controls.Bitplanes = "8";
    PressLetter('E');
    EXPECT_EQ(Controls.Bitplanes, "8");
    Controls.Bitplanes = "1";
    PressLetter('D');
    EXPECT_EQ(Controls.Bitplanes, "1");
}

TEST_F(RipperKeysTest, BitplaneKeysReachThreeOutsideSpritesMode) {
    Controls.Bitplanes = "2";
    PressLetter('E');
    EXPECT_EQ(Controls.Bitplanes, "3");
}

TEST_F(RipperKeysTest, SkipKeysMayGoNegative) {
    PressLetter('R', true);
    EXPECT_EQ(Controls.SkipBytes, "16");
    Controls.SkipBytes = "0";
    PressLetter('F');
    EXPECT_EQ(Controls.SkipBytes, "-2");
}

TEST_F(RipperKeysTest, RipSizeKeysStopAtSixteenAfterTheDownKey) {
    Controls.RipWidth = "20";
    PressLetter('G');
    EXPECT_EQ(Controls.RipWidth, "16");
    Controls.RipWidth = "40";
    PressLetter('G', true);
    EXPECT_EQ(Controls.RipWidth, "20");
    PressLetter('T', true);
    EXPECT_EQ(Controls.RipWidth, "40");
    Controls.RipHeight = "8";
    PressLetter('Y');
    EXPECT_EQ(Controls.RipHeight, "24");
    PressLetter('H', true);
    EXPECT_EQ(Controls.RipHeight, "16");
}

TEST_F(RipperKeysTest, CopperlistStopKeysClampAndWriteHex) {
    Controls.CopperlistStopYPos = "254";
    EXPECT_EQ(PressLetter('U'), RipperKeyAction::CopperlistAction);
    EXPECT_EQ(Controls.CopperlistStopYPos, "$FE");
    Controls.CopperlistStopYPos = "0";
    EXPECT_EQ(PressLetter('J'), RipperKeyAction::CopperlistAction);
    EXPECT_EQ(Controls.CopperlistStopYPos, "$0");
    Controls.CopperlistStopYPos = "$80";
    PressLetter('U', true);
    EXPECT_EQ(Controls.CopperlistStopYPos, "$88");
}

TEST_F(RipperKeysTest, NonNumericFieldFailsAndChangesNothing) {
    Controls.TileHeight = "abc";
    EXPECT_THROW(PressLetter('W'), Error);
    EXPECT_EQ(Controls.TileHeight, "abc");
    Controls.RipWidth = "";
    EXPECT_THROW(PressLetter('T'), Error);
    EXPECT_EQ(Controls.RipWidth, "");
    Controls.CopperlistStopYPos = "line";
    EXPECT_THROW(PressLetter('U'), Error);
    EXPECT_EQ(Controls.CopperlistStopYPos, "line");
}

TEST_F(RipperKeysTest, ParameterOverflowIsAnError) {
    Controls.TileWidth = "$40000000";
    EXPECT_THROW(PressLetter('Q', true), Error);
    EXPECT_EQ(Controls.TileWidth, "$40000000");
}

TEST_F(RipperKeysTest, ModeKeyCyclesThroughFourModes) {
    EXPECT_EQ(PressLetter('M'), RipperKeyAction::ModeChangedThenRip);
    EXPECT_EQ(Controls.ModeIndex, 1);
    Controls.ModeIndex = 3;
    PressLetter('M');
    EXPECT_EQ(Controls.ModeIndex, 0);
    PressLetter('M', true);
    EXPECT_EQ(Controls.ModeIndex, 3);
    Controls.ModeIndex = 4;
    PressLetter('M');
    EXPECT_EQ(Controls.ModeIndex, 1);
    Controls.ModeIndex = 4;
    PressLetter('M', true);
    EXPECT_EQ(Controls.ModeIndex, 3);
}

TEST_F(RipperKeysTest, SpriteBankKeyRipsOnlyInSpritesMode) {
    EXPECT_EQ(PressLetter('N', true), RipperKeyAction::Nothing);
    EXPECT_EQ(Controls.SpriteBankIndex, 3);
    Controls.ModeIndex = 3;
    Read();
    EXPECT_EQ(PressLetter('N'), RipperKeyAction::Rip);
    EXPECT_EQ(Controls.SpriteBankIndex, 0);
}

TEST_F(RipperKeysTest, DigitsRaiseAndLowerTheBitplaneOrder) {
    Controls.ModeIndex = 1;
    Read();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Press(KeyPress::OfDigit(3)).Action, RipperKeyAction::Rip);
    EXPECT_EQ(State.Order[2], 6);
    State.Order[4] = 0;
    Press(KeyPress::OfDigit(5, true));
    EXPECT_EQ(State.Order[4], 9);
    State.Order[7] = 9;
    Press(KeyPress::OfDigit(8));
    EXPECT_EQ(State.Order[7], 0);
    EXPECT_EQ(Press(KeyPress::OfDigit(0)).Action, RipperKeyAction::Nothing);
    EXPECT_EQ(Press(KeyPress::OfDigit(9)).Action, RipperKeyAction::Nothing);
    EXPECT_EQ(BitplaneOrderLabel(State.Order), "Bitplane Order: 1264X67-");
}

TEST_F(RipperKeysTest, DigitsPickTheSpriteBankInSpritesMode) {
    Controls.ModeIndex = 3;
    Read();
    Press(KeyPress::OfDigit(5));
    EXPECT_EQ(Controls.SpriteBankIndex, 2);
    Press(KeyPress::OfDigit(8));
    EXPECT_EQ(Controls.SpriteBankIndex, 0);
    EXPECT_EQ(State.Order, DefaultBitplaneOrder);
}

TEST_F(RipperKeysTest, ScaleAndSkipModeKeys) {
    EXPECT_EQ(PressLetter('V'), RipperKeyAction::ToggleScaleMode);
    EXPECT_EQ(PressLetter('X'), RipperKeyAction::Rip);
    EXPECT_EQ(Controls.SkipModeIndex, 1);
    PressLetter('X');
    EXPECT_EQ(Controls.SkipModeIndex, 0);
    EXPECT_EQ(PressLetter('K'), RipperKeyAction::Nothing);
}

TEST_F(RipperKeysTest, QwertzMovesTheRipHeightKeyToZ) {
    Layout = KeysForLayout(KeyboardLayout::Qwertz);
    EXPECT_EQ(PressLetter('Y'), RipperKeyAction::Nothing);
    EXPECT_EQ(Controls.RipHeight, "256");
    EXPECT_EQ(PressLetter('Z'), RipperKeyAction::Rip);
    EXPECT_EQ(Controls.RipHeight, "272");
    EXPECT_EQ(KeyLabelsFor(Layout).RipHeightKeys, "Z/H");
}

TEST_F(RipperKeysTest, AzertySwapsTheTileWidthKeys) {
    Layout = KeysForLayout(KeyboardLayout::Azerty);
    Controls.TileWidth = "32";
    PressLetter('A');
    EXPECT_EQ(Controls.TileWidth, "48");
    PressLetter('Z');
    EXPECT_EQ(Controls.TileHeight, "17");
    EXPECT_EQ(PressLetter('W'), RipperKeyAction::Nothing);
    const auto labels = KeyLabelsFor(Layout);
    EXPECT_EQ(labels.TileWidthKeys, "A/Q");
    EXPECT_EQ(labels.TileHeightKeys, "Z/S");
    EXPECT_EQ(labels.ModeKeys, "M");
}

TEST(TileReadout, CountsTilesAcrossTheSheet) {
    RipperState state;
    state.SheetWidth = 320;
    state.SheetHeight = 256;
    const std::optional<int32_t> tile = TileUnderPointer(40, 20, state);
    ASSERT_TRUE(tile.has_value());
    EXPECT_EQ(*tile, 22);
    EXPECT_EQ(TileReadoutText(*tile), "Tile Ripper: 22 ($16)");
    EXPECT_EQ(LastTileText(*tile), "Last tile: 22 ($16)");
    EXPECT_EQ(TileUnderPointer(319, 255, state), 319);
}

TEST(TileReadout, NothingOnTheEdgesOrWithoutASheet) {
    RipperState state;
    state.SheetWidth = 320;
    state.SheetHeight = 256;
    EXPECT_FALSE(TileUnderPointer(0, 20, state));
    EXPECT_FALSE(TileUnderPointer(40, 0, state));
    EXPECT_FALSE(TileUnderPointer(320, 20, state));
    EXPECT_FALSE(TileUnderPointer(40, 256, state));
    EXPECT_FALSE(TileUnderPointer(-5, 20, state));
    state.Parameters.ActualTileWidth = 0;
    EXPECT_FALSE(TileUnderPointer(40, 20, state));
    state = RipperState{};
    EXPECT_FALSE(TileUnderPointer(40, 20, state));
}

TEST(TileReadout, OverTheGridImageCountsTheTileShownAndNothingOnTheLines) {
    RipperState state;
    state.SheetWidth = 320;
    state.SheetHeight = 256;
    // With 2-pixel lines tile 56 (column 16, row 2) starts at (16 x 18, 2 x 18) in the grid image.
    EXPECT_EQ(TileUnderPointer(16 * 18 + 3, 2 * 18 + 3, state, 2), 56);
    EXPECT_EQ(TileUnderPointer(16 * 18 + 3, 2 * 18 + 3, state, 0), 58);
    EXPECT_FALSE(TileUnderPointer(16 * 18 - 1, 2 * 18 + 3, state, 2));
    EXPECT_FALSE(TileUnderPointer(16 * 18 + 3, 18 - 2, state, 2));
}

} // namespace
} // namespace tavrik

// The map views' keys: how far each movement key walks on horizontal and vertical maps, the block rules of
// the size keys, the floors of trim and size, and what the fields show afterwards.
#include "map/MapKeys.h"
#include "app/Error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrik {
namespace {

struct MapKeyRig {
    MapControls Controls;
    TMapVariables Map = NewMapVariables(1);
    TMapVariables Second = NewMapVariables(2);
    AddressMode Addresses;
    LayoutKeys Layout;

    MapKeyAction Press(const KeyPress& key) { return MapKeyDown(key, Layout, Controls, Map, Second, Addresses); }

    // How far a key moved the record's address, checked against the field it wrote.
    int64_t Moved(const KeyPress& key) {
        ReadMapSettings(Controls, Map, Second, Addresses);
        const int64_t start = Map.Address;
        EXPECT_EQ(Press(key), MapKeyAction::Redraw);
        EXPECT_EQ(Map.Address, ParseAddress(Controls.Address, Addresses));
        return Map.Address - start;
    }
};

std::vector<std::string> NumberFields(const MapControls& c) {
    return {c.Address, c.WidthInTiles, c.HeightInTiles, c.TrimTiles, c.SkipBytes, c.Adjust};
}

KeyPress Key(KeyCode code, bool shift = false) { return KeyPress::Of(code, shift); }
KeyPress Letter(char letter, bool shift = false) { return KeyPress::OfLetter(letter, shift); }

TEST(MapKeyMovement, HorizontalWordMapMovesByStoredRowsValuesAndWholeMaps) {
    MapKeyRig rig;
    rig.Controls.Address = "$10000";
    rig.Controls.MemoryTypeIndex = static_cast<int32_t>(MapMemoryType::Word);
    rig.Controls.SkipBytes = "6"; // not part of any step
    EXPECT_EQ(rig.Moved(Key(KeyCode::Down)), 80);
    EXPECT_EQ(rig.Controls.Address, "$10050");
    EXPECT_EQ(rig.Moved(Key(KeyCode::Down, true)), 640);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Numpad2)), 80);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Up, true)), -640);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Numpad8, true)), -640);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Right)), 2);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Numpad6, true)), 16);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Left)), -2);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Numpad4)), -2);
    EXPECT_EQ(rig.Moved(Key(KeyCode::PageDown)), 2560);
    EXPECT_EQ(rig.Moved(Key(KeyCode::PageDown, true)), 2560);
    EXPECT_EQ(rig.Moved(Key(KeyCode::PageUp, true)), -2560);
}

TEST(MapKeyMovement, VerticalByteMapMovesByValuesDownAndStoredColumnsAcross) {
    MapKeyRig rig;
    rig.Controls.Address = "$1000";
    rig.Controls.DirectionIndex = static_cast<int32_t>(MapDirection::Vertical);
    rig.Controls.WidthInTiles = "40";
    rig.Controls.HeightInTiles = "16";
    EXPECT_EQ(rig.Moved(Key(KeyCode::Right)), 16);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Down)), 1);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Left, true)), -128);
    EXPECT_EQ(rig.Moved(Key(KeyCode::Up, true)), -8);
    EXPECT_EQ(rig.Moved(Key(KeyCode::PageUp)), -640);
}

// The sizes typed since the last key count: every key reads the tab before it moves.
TEST(MapKeyMovement, StepsFollowTheFieldsAsTypedAndTheBlockRounding) {
    MapKeyRig rig;
    rig.Controls.Address = "$4000";
    rig.Controls.MemoryTypeIndex = static_cast<int32_t>(MapMemoryType::Longword);
    rig.Controls.WidthInTiles = "21";
    rig.Controls.TilesPerBlockAcross = "2"; // the map is read as 20 wide
    EXPECT_EQ(rig.Moved(Key(KeyCode::Down)), 80);
}

TEST(MapKeyMovement, AMoveBelowZeroStopsAtZero) {
    MapKeyRig rig;
    rig.Controls.Address = "$10";
    rig.Controls.MemoryTypeIndex = static_cast<int32_t>(MapMemoryType::Longword);
    EXPECT_EQ(rig.Press(Key(KeyCode::Left, true)), MapKeyAction::Redraw);
    EXPECT_EQ(rig.Controls.Address, "$0");
    EXPECT_EQ(rig.Map.Address, 0);
}

TEST(MapKeyMovement, ChipRelativeDisplayIsKeptAndTheMapMovesByExactlyTheStep) {
    MapKeyRig rig;
    rig.Addresses = AddressMode{0x1A000, true};
    rig.Controls.Address = "$100";
    EXPECT_EQ(rig.Moved(Key(KeyCode::Down)), 40);
    EXPECT_EQ(rig.Controls.Address, "$128");
    EXPECT_EQ(rig.Map.Address, 0x1A128);
    // Above chip RAM there is nothing to show: the map stops at its start.
    EXPECT_EQ(rig.Press(Key(KeyCode::PageUp)), MapKeyAction::Redraw);
    EXPECT_EQ(rig.Controls.Address, "$0");
    EXPECT_EQ(rig.Map.Address, 0x1A000);
}

TEST(MapKeyMovement, AnOverflowingMoveIsDroppedSilently) {
    MapKeyRig rig;
    rig.Controls.Address = "$200";
    rig.Controls.MemoryTypeIndex = static_cast<int32_t>(MapMemoryType::Longword);
    rig.Controls.WidthInTiles = "40000";
    rig.Controls.HeightInTiles = "40000";
    EXPECT_EQ(rig.Press(Key(KeyCode::PageDown)), MapKeyAction::Nothing);
    EXPECT_EQ(rig.Controls.Address, "$200");
    rig.Controls.Address = "$7FFFFFFFFFFFFFFF";
    EXPECT_EQ(rig.Press(Key(KeyCode::Right)), MapKeyAction::Nothing);
    EXPECT_EQ(rig.Controls.Address, "$7FFFFFFFFFFFFFFF");
}

// A raw file may be larger than 4 GiB: the keys walk across 2 GiB and 4 GiB as anywhere else.
TEST(MapKeyMovement, MovesCrossThe2And4GiBMarks) {
    MapKeyRig rig;
    rig.Controls.MemoryTypeIndex = static_cast<int32_t>(MapMemoryType::Word);
    rig.Controls.Address = "$7FFFFFFF";
    EXPECT_EQ(rig.Moved(Key(KeyCode::Right)), 2);
    EXPECT_EQ(rig.Controls.Address, "$80000001");
    rig.Controls.Address = "$FFFFFFD0";
    EXPECT_EQ(rig.Moved(Key(KeyCode::Down)), 80);
    EXPECT_EQ(rig.Map.Address, 0x100000020);
    EXPECT_EQ(rig.Controls.Address, "$100000020");
    EXPECT_EQ(rig.Moved(Key(KeyCode::Up)), -80);
    EXPECT_EQ(rig.Controls.Address, "$FFFFFFD0");
}

TEST(MapKeySizes, WidthAndHeightMoveByWholeBlocksAndNeverBelowOneBlock) {
    MapKeyRig rig;
    rig.Controls.TilesPerBlockAcross = "2";
    rig.Controls.TilesPerBlockDown = "4";
    EXPECT_EQ(rig.Press(Letter('Q')), MapKeyAction::Redraw);
    EXPECT_EQ(rig.Controls.WidthInTiles, "42");
    EXPECT_EQ(rig.Map.WidthInTiles, 42);
    rig.Controls.WidthInTiles = "40";
    rig.Press(Letter('Q', true));
    EXPECT_EQ(rig.Controls.WidthInTiles, "56");
    rig.Press(Letter('W'));
    EXPECT_EQ(rig.Controls.HeightInTiles, "36");
    rig.Controls.WidthInTiles = "2";
    rig.Controls.HeightInTiles = "4";
    rig.Press(Letter('A'));
    EXPECT_EQ(rig.Controls.WidthInTiles, "2");
    rig.Press(Letter('S', true));
    EXPECT_EQ(rig.Controls.HeightInTiles, "4");
}

// A field the reading could not take is left at the record's value and both size fields are rewritten.
TEST(MapKeySizes, ASizeKeyOverAFieldThatIsNoNumberStartsFromTheRecord) {
    MapKeyRig rig;
    rig.Press(Letter('Q')); // reads the tab: 41 x 32
    rig.Controls.HeightInTiles = "3x";
    rig.Press(Letter('Q'));
    EXPECT_EQ(rig.Controls.WidthInTiles, "42");
    EXPECT_EQ(rig.Controls.HeightInTiles, "32");
}

TEST(MapKeySizes, TheLayoutDecidesWhichLettersChangeTheSize) {
    MapKeyRig rig;
    rig.Layout = KeysForLayout(KeyboardLayout::Azerty);
    rig.Press(Letter('A'));
    EXPECT_EQ(rig.Controls.WidthInTiles, "41");
    rig.Press(Letter('Q'));
    EXPECT_EQ(rig.Controls.WidthInTiles, "40");
    rig.Press(Letter('Z'));
    EXPECT_EQ(rig.Controls.HeightInTiles, "33");
    EXPECT_EQ(rig.Press(Letter('W')), MapKeyAction::Nothing);
    EXPECT_EQ(rig.Controls.HeightInTiles, "33");
    rig.Layout = KeysForLayout(KeyboardLayout::Qwertz);
    EXPECT_EQ(rig.Press(Letter('Z')), MapKeyAction::Nothing);
    rig.Press(Letter('W'));
    EXPECT_EQ(rig.Controls.HeightInTiles, "34");
}

TEST(MapKeyValues, TrimHasAFloorOfZeroWhileSkipAndAdjustGoNegative) {
    MapKeyRig rig;
    EXPECT_EQ(rig.Press(Letter('D')), MapKeyAction::Redraw);
    EXPECT_EQ(rig.Controls.TrimTiles, "0");
    rig.Press(Letter('E', true));
    EXPECT_EQ(rig.Controls.TrimTiles, "8");
    rig.Press(Letter('D'));
    EXPECT_EQ(rig.Map.TrimTiles, 7);
    rig.Press(Letter('F'));
    EXPECT_EQ(rig.Controls.SkipBytes, "-1");
    rig.Press(Letter('R', true));
    EXPECT_EQ(rig.Controls.SkipBytes, "7");
    rig.Press(KeyPress::OfDigit(1));
    EXPECT_EQ(rig.Controls.Adjust, "-1");
    rig.Press(KeyPress::OfDigit(2, true));
    EXPECT_EQ(rig.Controls.Adjust, "7");
    EXPECT_EQ(rig.Map.Adjust, 7);
}

TEST(MapKeyValues, AnOverflowingValueKeyFailsAndLeavesTheField) {
    MapKeyRig rig;
    rig.Controls.SkipBytes = "2147483647";
    EXPECT_THROW(rig.Press(Letter('R')), Error);
    EXPECT_EQ(rig.Controls.SkipBytes, "2147483647");
}

TEST(MapKeyValues, ScaleModeKeyAndUnknownKeysChangeNoField) {
    MapKeyRig rig;
    rig.Controls.Address = "$80";
    const MapControls before = rig.Controls;
    EXPECT_EQ(rig.Press(Letter('V')), MapKeyAction::ToggleScaleMode);
    EXPECT_EQ(rig.Press(Letter('V', true)), MapKeyAction::ToggleScaleMode);
    EXPECT_EQ(rig.Press(Letter('X')), MapKeyAction::Nothing);
    EXPECT_EQ(rig.Press(KeyPress::OfDigit(3)), MapKeyAction::Nothing);
    EXPECT_EQ(rig.Press(Key(KeyCode::Other)), MapKeyAction::Nothing);
    EXPECT_EQ(NumberFields(rig.Controls), NumberFields(before));
}

} // namespace
} // namespace tavrik

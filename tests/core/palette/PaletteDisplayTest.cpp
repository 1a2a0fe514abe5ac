// What the palette widget shows: trailing repeats trimmed, cell size by colour count, and the hint.
#include "palette/PaletteDisplay.h"

#include "palette/PaletteOperations.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace tavrik {
namespace {

constexpr int32_t WidgetWidth = 128;

TIntList ListOf(std::initializer_list<int32_t> values) {
    TIntList list(Duplicates::Accept);
    for (int32_t v : values)
        list.Add(v);
    return list;
}

TEST(DisplayColourPalette, TrailingRepeatsOfBlackAreTrimmedToOneCell) {
    TIntList colours = ListOf({0xFFFFFF, 0x0000FF});
    for (int i = 0; i < 14; ++i)
        colours.Add(0);

    const PaletteDisplay display = DisplayColourPalette(colours, WidgetWidth, 16);

    EXPECT_EQ(display.Colours, (std::vector<std::string>{"16777215", "255", "0"}));
    EXPECT_EQ(display.CellSize, 32);
}

TEST(DisplayColourPalette, AtLeastTwoColoursAreShown) {
    EXPECT_EQ(DisplayColourPalette(ListOf({7, 7, 7, 7}), WidgetWidth, 16).Colours,
              (std::vector<std::string>{"7", "7"}));
    EXPECT_EQ(DisplayColourPalette(ListOf({7}), WidgetWidth, 16).Colours, (std::vector<std::string>{"7"}));
}

TEST(DisplayColourPalette, RepeatsBeforeTheEndAreKept) {
    EXPECT_EQ(DisplayColourPalette(ListOf({5, 5, 5, 6}), WidgetWidth, 16).Colours,
              (std::vector<std::string>{"5", "5", "5", "6"}));
}

TEST(DisplayColourPalette, AnEmptyListShowsNothingAndKeepsTheCellSize) {
    const PaletteDisplay display = DisplayColourPalette(TIntList(Duplicates::Accept), WidgetWidth, 11);
    EXPECT_TRUE(display.Colours.empty());
    EXPECT_EQ(display.CellSize, 11);
}

TEST(DisplayColourPalette, CellSizeFollowsTheShownCount) {
    WorkingPalette palette;
    C64Palette(palette);
    EXPECT_EQ(DisplayColourPalette(palette.Colours, WidgetWidth, 16).CellSize, 32);
    EXPECT_EQ(DisplayColourPalette(palette.Colours, WidgetWidth, 16).Colours.size(), 16u);

    DefaultPalette(palette);
    EXPECT_EQ(DisplayColourPalette(palette.Colours, WidgetWidth, 16).CellSize, 16);

    BlackAndWhite(palette);
    const PaletteDisplay display = DisplayColourPalette(palette.Colours, WidgetWidth, 16);
    EXPECT_EQ(display.Colours.size(), 256u);
    EXPECT_EQ(display.Colours[1], "16711422"); // grey 254
    EXPECT_EQ(display.CellSize, 8);
}

TEST(DisplayColourPalette, CellSizeBoundaries) {
    EXPECT_EQ(PaletteCellSize(16, WidgetWidth), 32);
    EXPECT_EQ(PaletteCellSize(17, WidgetWidth), 16);
    EXPECT_EQ(PaletteCellSize(64, WidgetWidth), 16);
    EXPECT_EQ(PaletteCellSize(65, WidgetWidth), 8);
    EXPECT_EQ(PaletteCellSize(2, 100), 25);
}

TEST(DisplayColourPalette, DuplicatedPaletteShowsEntriesUpToTheLastChange) {
    WorkingPalette palette;
    for (size_t i = 0; i < 4; ++i)
        palette.Entries[i] = EntryFromColour(static_cast<Colour>(i + 1));
    DuplicateColours(palette, 4);
    // Entries 8 to 255 stay black, so the cells end with one black after 1, 2, 3, 4, 1, 2, 3, 4.
    EXPECT_EQ(DisplayColourPalette(palette.Colours, WidgetWidth, 16).Colours,
              (std::vector<std::string>{"1", "2", "3", "4", "1", "2", "3", "4", "0"}));
}

TEST(PaletteHint, ShowsChannelsInDecimalAndHexInRrggbbOrder) {
    EXPECT_EQ(FormatPaletteHint(PaletteHintFormat, MakeColour(255, 128, 1)), "RGB(255, 128, 1)\rHex: FF8001");
    EXPECT_EQ(FormatPaletteHint(PaletteHintFormat, 0), "RGB(0, 0, 0)\rHex: 000000");
}

TEST(PaletteHint, OnlyTheFourPlaceholdersAreReplaced) {
    EXPECT_EQ(FormatPaletteHint("%h %x %% %b%r", MakeColour(1, 2, 3)), "%h %x %% 31");
}

} // namespace
} // namespace tavrik

// Colour conversions: Amiga colour words and $RRGGBB texts into Colours ($00BBGGRR).
#include "app/Colour.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(AmigaColourToColour, EachNibbleTimes17RedLow) {
    EXPECT_EQ(AmigaColourToColour(0x0F80), 0x000088FFu);
    EXPECT_EQ(AmigaColourToColour(0x0FFF), 0x00FFFFFFu);
    EXPECT_EQ(AmigaColourToColour(0x000F), 0x00FF0000u);
    EXPECT_EQ(AmigaColourToColour(0x0000), 0u);
}

TEST(AmigaColourToColour, TheTopNibbleIsIgnored) {
    EXPECT_EQ(AmigaColourToColour(0xF123), AmigaColourToColour(0x0123));
    EXPECT_EQ(AmigaColourToColour(0x0123), MakeColour(17, 34, 51));
}

TEST(ColourTextToColour, RrggbbTextBecomesRedLow) {
    EXPECT_EQ(ColourTextToColour("$FF8000"), 0x000080FFu);
    EXPECT_EQ(ColourTextToColour("$0000FF"), 0x00FF0000u);
    EXPECT_EQ(ColourTextToColour("255"), 0x00FF0000u);
}

TEST(ColourTextToColour, HighBitsAreDroppedAndNonNumbersAreBlack) {
    EXPECT_EQ(ColourTextToColour("$12FF8000"), 0x000080FFu);
    EXPECT_EQ(ColourTextToColour("-1"), 0x00FFFFFFu);
    EXPECT_EQ(ColourTextToColour(""), 0u);
    EXPECT_EQ(ColourTextToColour("zz"), 0u);
    EXPECT_EQ(ColourTextToColour("#FF8000"), 0u);
}

TEST(PaletteEntryConversion, EntriesAreBlueGreenRedZero) {
    const PaletteEntry entry = EntryFromColour(MakeColour(1, 2, 3));
    EXPECT_EQ(entry, (PaletteEntry{3, 2, 1, 0}));
    EXPECT_EQ(ColourFromEntry(PaletteEntry{3, 2, 1, 99}), MakeColour(1, 2, 3));
    EXPECT_EQ(RedOf(0x00332211), 0x11);
    EXPECT_EQ(GreenOf(0x00332211), 0x22);
    EXPECT_EQ(BlueOf(0x00332211), 0x33);
}

} // namespace
} // namespace tavrik

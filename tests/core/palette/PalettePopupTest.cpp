// The palette popup: when it opens, its colour items, and reading the "Custom..." answer.
#include "palette/PalettePopup.h"

#include "palette/PaletteOperations.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(PalettePopup, OpensOnlyOverACellOfTheColourList) {
    WorkingPalette palette;
    C64Palette(palette);
    PalettePopupState state;

    EXPECT_TRUE(OpenPalettePopup(palette, 1, state));
    EXPECT_EQ(state.PopupCell, 1);
    EXPECT_EQ(state.PopupColour, 0xFFFFFFu);

    EXPECT_FALSE(OpenPalettePopup(palette, 16, state));
    EXPECT_EQ(state.PopupCell, 16);
    EXPECT_EQ(state.PopupColour, 0xFF00FFu);

    EXPECT_TRUE(OpenPalettePopup(palette, 0, state));
    EXPECT_EQ(state.PopupColour, 0u);
    EXPECT_FALSE(OpenPalettePopup(palette, -1, state));
    EXPECT_EQ(state.PopupColour, 0xFF00FFu);
}

TEST(PalettePopup, ColourItemsCarryColoursRedLow) {
    ASSERT_EQ(PaletteMenuColours.size(), 8u);
    EXPECT_EQ(PaletteMenuColours[2].Caption, "Red");
    EXPECT_EQ(PaletteMenuColours[2].Value, MakeColour(255, 0, 0));
    EXPECT_EQ(PaletteMenuColours[6].Caption, "Blue");
    EXPECT_EQ(PaletteMenuColours[6].Value, MakeColour(0, 0, 255));
    EXPECT_EQ(PaletteMenuColours[5].Caption, "Aqua");
    EXPECT_EQ(PaletteMenuColours[5].Value, 16776960u);
}

TEST(CustomColour, AnswerRrggbbBecomesTheColour) {
    EXPECT_EQ(CustomColourAnswer("FF0000"), std::optional<Colour>(0x0000FF));
    EXPECT_EQ(CustomColourAnswer("12ab56"), std::optional<Colour>(MakeColour(0x12, 0xAB, 0x56)));
    EXPECT_EQ(CustomColourAnswerText("FF8000"), "$0080FF");
}

TEST(CustomColour, CustomOnCell5WithFF0000MakesEntry5PureRed) {
    WorkingPalette palette;
    DefaultPalette(palette);
    const std::optional<Colour> colour = CustomColourAnswer("FF0000");
    ASSERT_TRUE(colour);
    SetCellColour(palette, 5, *colour);
    EXPECT_EQ(palette.Entries[5], (PaletteEntry{0, 0, 255, 0}));
    EXPECT_EQ(palette.Colours.Get(5), 0x0000FF);
}

TEST(CustomColour, AnswersThatFormNoNumberChangeNothing) {
    EXPECT_FALSE(CustomColourAnswer(""));
    EXPECT_FALSE(CustomColourAnswer("red"));
    EXPECT_FALSE(CustomColourAnswer("GG0000"));
    EXPECT_FALSE(CustomColourAnswer("#FF000"));
}

TEST(CustomColour, ShortAndLongAnswersUseTheCharactersThatAreThere) {
    // "FF" alone is characters 1-2 only: the red channel.
    EXPECT_EQ(CustomColourAnswer("FF"), std::optional<Colour>(0x0000FF));
    EXPECT_EQ(CustomColourAnswer("0000FF99"), std::optional<Colour>(0xFF0000));
}

TEST(CustomColour, TheBoxStartsWithTheColourAsRrggbb) {
    EXPECT_EQ(CustomColourInitialText(MakeColour(0xAB, 0x01, 0xFF)), "AB01FF");
    EXPECT_EQ(CustomColourInitialText(0), "000000");
    EXPECT_EQ(CustomColourAnswer(CustomColourInitialText(0x123456)), std::optional<Colour>(0x123456));
}

} // namespace
} // namespace tavrik

// The built-in palettes hold the colours of their tables, red in the low byte.
#include "palette/BuiltInPalettes.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(BuiltInPalettes, DefaultPaletteHas32ColoursInTableOrder) {
    const std::vector<Colour>& colours = DefaultPaletteColours();
    ASSERT_EQ(colours.size(), 32u);
    EXPECT_EQ(colours[0], 0x000000u);
    EXPECT_EQ(colours[1], 0xA0A0A0u);
    EXPECT_EQ(colours[2], MakeColour(0xEE, 0, 0));
    EXPECT_EQ(colours[4], MakeColour(0xDD, 0x88, 0x00));
    EXPECT_EQ(colours[8], MakeColour(0x00, 0xBB, 0x66));
    EXPECT_EQ(colours[12], MakeColour(0, 0, 0xFF));
    EXPECT_EQ(colours[15], MakeColour(0xCC, 0x00, 0x88));
    EXPECT_EQ(colours[19], MakeColour(0xFF, 0xCC, 0xAA));
    EXPECT_EQ(colours[24], 0x777777u);
    EXPECT_EQ(colours[31], 0xFFFFFFu);
}

TEST(BuiltInPalettes, C64PaletteHas16ColoursInTableOrder) {
    const std::vector<Colour>& colours = C64PaletteColours();
    ASSERT_EQ(colours.size(), 16u);
    EXPECT_EQ(colours[0], 0x000000u);
    EXPECT_EQ(colours[1], 0xFFFFFFu);
    EXPECT_EQ(colours[2], MakeColour(0xA8, 0, 0));
    EXPECT_EQ(colours[6], MakeColour(0x28, 0x44, 0xE0));
    EXPECT_EQ(colours[9], MakeColour(0x80, 0x4C, 0x40));
    EXPECT_EQ(colours[12], MakeColour(0x98, 0x94, 0x98));
    EXPECT_EQ(colours[14], MakeColour(0x60, 0xB0, 0xFF));
    EXPECT_EQ(colours[15], 0xD0D0D0u);
}

TEST(BuiltInPalettes, GroupTextIgnoresAnIncompleteLastGroup) {
    EXPECT_EQ(ColoursFromGroupText("ff000000ff00abc"), (std::vector<Colour>{0x0000FF, 0x00FF00}));
    EXPECT_TRUE(ColoursFromGroupText("").empty());
}

} // namespace
} // namespace tavrik

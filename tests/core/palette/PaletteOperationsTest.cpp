// The palette operations keep entries and colour list in step and touch only the entries they name.
#include "palette/PaletteOperations.h"

#include "app/Error.h"
#include "palette/BuiltInPalettes.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrik {
namespace {

// A palette whose every entry differs from every other, so misplaced entries show.
WorkingPalette DistinctPalette() {
    WorkingPalette palette;
    for (size_t i = 0; i < 256; ++i)
        palette.Entries[i] = PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7, 0};
    return palette;
}

std::vector<int32_t> EntryColours(const WorkingPalette& palette) {
    std::vector<int32_t> colours;
    for (const PaletteEntry& entry : palette.Entries)
        colours.push_back(static_cast<int32_t>(ColourFromEntry(entry)));
    return colours;
}

TEST(PaletteEntries, EcsColoursSetTheFirst32EntriesAndA32ColourList) {
    WorkingPalette palette = DistinctPalette();
    const WorkingPalette before = palette;
    std::vector<PaletteEntry> ecs(32);
    for (size_t i = 0; i < 32; ++i)
        ecs[i] = EntryFromColour(MakeColour(static_cast<uint8_t>(i * 8), 0, 1));

    SetPaletteEntries(palette, ecs);

    ASSERT_EQ(palette.Colours.Count(), 32);
    for (int32_t i = 0; i < 32; ++i) {
        EXPECT_EQ(palette.Colours.Get(i), static_cast<int32_t>(MakeColour(static_cast<uint8_t>(i * 8), 0, 1)));
        EXPECT_EQ(palette.Entries[static_cast<size_t>(i)], ecs[static_cast<size_t>(i)]);
    }
    for (size_t i = 32; i < 256; ++i)
        EXPECT_EQ(palette.Entries[i], before.Entries[i]) << i;
}

TEST(PaletteEntries, AgaColoursKeepRepeatedColoursInTheList) {
    WorkingPalette palette;
    const std::vector<PaletteEntry> aga(256, EntryFromColour(0x123456));
    SetPaletteEntries(palette, aga);
    EXPECT_EQ(palette.Colours.Count(), 256);
    EXPECT_EQ(palette.Colours.Get(255), 0x123456);
    EXPECT_EQ(palette.Entries[200], EntryFromColour(0x123456));
}

TEST(PaletteEntries, ShowWorkingPaletteListsAll256Entries) {
    WorkingPalette palette = DistinctPalette();
    palette.Colours.Add(99);
    ShowWorkingPalette(palette);
    EXPECT_EQ(palette.Colours.Values(), EntryColours(palette));
}

TEST(SwapColours, SwapExchangesTheTwoHalvesAndTwiceRestores) {
    WorkingPalette palette = DistinctPalette();
    const WorkingPalette before = palette;

    SwapColours(palette, 16);
    EXPECT_EQ(palette.Entries[0], before.Entries[16]);
    EXPECT_EQ(palette.Entries[16], before.Entries[0]);
    EXPECT_EQ(palette.Entries[31], before.Entries[15]);
    EXPECT_EQ(palette.Entries[32], before.Entries[32]);
    EXPECT_EQ(palette.Colours.Values(), EntryColours(palette));

    SwapColours(palette, 16);
    EXPECT_EQ(palette.Entries, before.Entries);
}

TEST(SwapColours, CountsThatWouldLeaveThePaletteAreRefused) {
    WorkingPalette palette;
    EXPECT_THROW(SwapColours(palette, 129), Error);
    EXPECT_THROW(SwapColours(palette, 0), Error);
    EXPECT_THROW(DuplicateColours(palette, -4), Error);
    EXPECT_NO_THROW(DuplicateColours(palette, 128));
}

TEST(DuplicateColours, Duplicate4CopiesEntries0To3IntoEntries4To7Only) {
    WorkingPalette palette = DistinctPalette();
    const WorkingPalette before = palette;

    DuplicateColours(palette, 4);

    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(palette.Entries[i], before.Entries[i]);
        EXPECT_EQ(palette.Entries[4 + i], before.Entries[i]);
    }
    for (size_t i = 8; i < 256; ++i)
        EXPECT_EQ(palette.Entries[i], before.Entries[i]) << i;
    EXPECT_EQ(palette.Colours.Values(), EntryColours(palette));
}

TEST(DuplicateColours, Duplicate128FillsTheUpperHalf) {
    WorkingPalette palette = DistinctPalette();
    const WorkingPalette before = palette;
    DuplicateColours(palette, 128);
    EXPECT_EQ(palette.Entries[255], before.Entries[127]);
    EXPECT_EQ(palette.Entries[128], before.Entries[0]);
}

TEST(ExtraHalfBrite, HalvesEachChannelRoundingDownAt32Higher) {
    WorkingPalette palette = DistinctPalette();
    const WorkingPalette before = palette;
    palette.Entries[3] = PaletteEntry{1, 128, 255, 9};

    ExtraHalfBrite(palette);

    EXPECT_EQ(palette.Entries[35], (PaletteEntry{0, 64, 127, 9}));
    EXPECT_EQ(palette.Entries[3], (PaletteEntry{1, 128, 255, 9}));
    EXPECT_EQ(palette.Entries[63].Blue, before.Entries[31].Blue / 2);
    EXPECT_EQ(palette.Entries[64], before.Entries[64]);
    EXPECT_EQ(palette.Colours.Get(35), static_cast<int32_t>(MakeColour(127, 64, 0)));
    EXPECT_EQ(palette.Colours.Count(), 256);
}

TEST(BuiltInPaletteActions, C64PaletteSets16EntriesAndKeepsTheRest) {
    WorkingPalette palette = DistinctPalette();
    const WorkingPalette before = palette;
    palette.Colours.Add(1);

    C64Palette(palette);

    ASSERT_EQ(palette.Colours.Count(), 16);
    for (size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(palette.Colours.Get(static_cast<int32_t>(i)), static_cast<int32_t>(C64PaletteColours()[i]));
        EXPECT_EQ(palette.Entries[i], EntryFromColour(C64PaletteColours()[i]));
    }
    for (size_t i = 16; i < 256; ++i)
        EXPECT_EQ(palette.Entries[i], before.Entries[i]) << i;
}

TEST(BuiltInPaletteActions, DefaultPaletteSets32Entries) {
    WorkingPalette palette = DistinctPalette();
    const WorkingPalette before = palette;
    DefaultPalette(palette);
    ASSERT_EQ(palette.Colours.Count(), 32);
    EXPECT_EQ(palette.Entries[2], (PaletteEntry{0, 0, 0xEE, 0}));
    EXPECT_EQ(palette.Colours.Get(31), 0xFFFFFF);
    EXPECT_EQ(palette.Entries[32], before.Entries[32]);
}

TEST(BuiltInPaletteActions, BlackAndWhiteRunsFromBlackThroughGrey254DownToBlack) {
    WorkingPalette palette = DistinctPalette();
    BlackAndWhite(palette);

    ASSERT_EQ(palette.Colours.Count(), 256);
    EXPECT_EQ(palette.Colours.Get(0), 0);
    EXPECT_EQ(palette.Colours.Get(1), 0xFEFEFE);
    EXPECT_EQ(palette.Colours.Get(254), 0x010101);
    EXPECT_EQ(palette.Colours.Get(255), 0);
    EXPECT_EQ(palette.Entries[0], PaletteEntry{});
    EXPECT_EQ(palette.Entries[1], (PaletteEntry{254, 254, 254, 0}));
    EXPECT_EQ(palette.Entries[255], PaletteEntry{});
    EXPECT_EQ(palette.Colours.Values(), EntryColours(palette));
}

TEST(SetCellColour, SetsTheListItemAndTheEntry) {
    WorkingPalette palette;
    DefaultPalette(palette);
    SetCellColour(palette, 5, 0x0000FF);
    EXPECT_EQ(palette.Colours.Get(5), 0x0000FF);
    EXPECT_EQ(palette.Entries[5], (PaletteEntry{0, 0, 255, 0}));
}

TEST(SetCellColour, ACellPastTheListSetsOnlyTheEntryAndOneOutsideThePaletteNothing) {
    WorkingPalette palette;
    C64Palette(palette);
    const TIntList listBefore = palette.Colours;

    SetCellColour(palette, 100, 0x00FF00);
    EXPECT_EQ(palette.Colours, listBefore);
    EXPECT_EQ(palette.Entries[100], (PaletteEntry{0, 255, 0, 0}));

    const WorkingPalette before = palette;
    SetCellColour(palette, 256, 0x00FF00);
    SetCellColour(palette, -1, 0x00FF00);
    EXPECT_EQ(palette.Entries, before.Entries);
    EXPECT_EQ(palette.Colours, before.Colours);
}

} // namespace
} // namespace tavrik

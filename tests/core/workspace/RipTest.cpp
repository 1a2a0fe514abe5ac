// The whole rip as the controls drive it: sheet size, tile placement, mode rules, palette, rearrangement,
// the grid shown in place of the sheet, and failures.
#include "workspace/Rip.h"

#include "app/Error.h"
#include "support/PlanarMaker.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavrik {
namespace {

using test::Bytes;
using test::PixelGrid;

struct Ripper {
    Workspace Work;
    RipControls Controls;

    explicit Ripper(Bytes memory = {}) { Work.Memory.MemoryImage = std::move(memory); }
    RipResult Run() { return Rip(Work, Controls); }
    const Image& Sheet() const { return Work.TileSheet; }
    const RipParameters& Parameters() const { return Work.Ripper.Parameters; }
};

bool RegionIs(const Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t value) {
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x)
            if (image.IndexAt(x, y) != value) return false;
    return true;
}

TEST(Rip, AcbmTilesFollowEachOtherEvery128BytesWithFourPlanes) {
    PixelGrid first(16, 16);
    first.Set(3, 4, 5); // planes 0 and 2
    PixelGrid second(16, 16);
    second.Set(0, 0, 15);
    Bytes memory = test::AcbmBytes(first, 4);
    ASSERT_EQ(memory.size(), 128u);
    test::Append(memory, test::AcbmBytes(second, 4));
    Ripper ripper(memory);
    ripper.Controls.Bitplanes = "4";
    ripper.Controls.RipWidth = "32";
    ripper.Controls.RipHeight = "16";
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().IndexAt(3, 4), 5);
    EXPECT_EQ(ripper.Sheet().IndexAt(16, 0), 15);
    EXPECT_EQ(ripper.Work.Ripper.TileCount, 2);
}

TEST(Rip, XPlanesRaiseEveryPixelIncludingTheMargins) {
    Ripper ripper(Bytes(4096, 0x80));
    ripper.Controls.Bitplanes = "2";
    ripper.Controls.RipWidth = "100";
    ripper.Controls.RipHeight = "20";
    ripper.Work.Ripper.Order = {1, 2, 3, 4, 9, 6, 7, 8};
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().IndexAt(0, 0), 16 + 3);
    EXPECT_EQ(ripper.Sheet().IndexAt(1, 0), 16);
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 96, 0, 100, 20, 16)); // right margin
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 0, 16, 100, 20, 16)); // bottom margin
}

TEST(Rip, RipAreaIsRaisedToOneTileAndMarginsKeepTheBackground) {
    Ripper ripper(Bytes(4096, 0xFF));
    ripper.Controls.RipWidth = "100";
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().Width(), 100);
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 0, 0, 96, 256, 1));
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 96, 0, 100, 256, 0));
    ripper.Controls.RipWidth = "8";
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().Width(), 16);
    EXPECT_EQ(ripper.Parameters().RipWidth, 16);
    EXPECT_EQ(ripper.Work.Ripper.SheetWidth, 16);
}

TEST(Rip, IlbmTileWidth12ReadsOneBytePerPlaneRow) {
    Bytes memory;
    for (int32_t row = 0; row < 16; ++row)
        test::Append(memory, {0xFF, 0x00}); // plane 0 set, plane 1 clear
    Ripper ripper(memory);
    ripper.Controls.ModeIndex = 1;
    ripper.Controls.Bitplanes = "2";
    ripper.Controls.TileWidth = "12";
    ripper.Controls.RipWidth = "12";
    ripper.Controls.RipHeight = "16";
    ripper.Run();
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 0, 0, 8, 16, 1));
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 8, 0, 12, 16, 0));
}

TEST(Rip, TwelveBitplanesDecodeEight) {
    Ripper ripper(Bytes(16 * 16 * 12 / 8, 0xFF));
    ripper.Controls.Bitplanes = "12";
    ripper.Controls.RipWidth = "32";
    ripper.Controls.RipHeight = "16";
    ripper.Run();
    EXPECT_EQ(ripper.Parameters().Bitplanes, 8);
    EXPECT_EQ(ripper.Sheet().IndexAt(0, 0), 255);
    // The second tile starts after 8 planes (256 bytes): 128 bytes of 0xFF remain, four planes' worth.
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 16, 0, 32, 16, 15));
}

TEST(Rip, IlbmBitplaneSkipActsAsARowModulo) {
    // A 320-pixel screen of 2 planes ripped as 16 x 16 tiles: each plane row is 2 bytes followed by 38 more.
    PixelGrid screen(320, 16);
    screen.Set(0, 1, 1);
    screen.Set(17, 0, 2);
    Ripper ripper(test::IlbmBytes(screen, 2));
    ripper.Controls.ModeIndex = 1;
    ripper.Controls.Bitplanes = "2";
    ripper.Controls.SkipModeIndex = 1;
    ripper.Controls.SkipBytes = "38";
    ripper.Controls.RipWidth = "16";
    ripper.Controls.RipHeight = "16";
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().IndexAt(0, 1), 1);
    EXPECT_EQ(ripper.Sheet().IndexAt(1, 0), 0);
    ripper.Controls.Address = "2";
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().IndexAt(1, 0), 2);
}

TEST(Rip, SpriteModeSetsTheTileWidthAndKeepsTheField) {
    Ripper ripper(Bytes(1024, 0xFF));
    ripper.Controls.ModeIndex = 3;
    ripper.Controls.Bitplanes = "1";
    ripper.Controls.TileWidth = "8";
    ripper.Controls.RipWidth = "64";
    ripper.Controls.RipHeight = "16";
    ripper.Run();
    EXPECT_EQ(ripper.Parameters().TileWidth, 32);
    EXPECT_EQ(ripper.Sheet().IndexAt(63, 15), 17);
    ripper.Controls.Bitplanes = "2";
    ripper.Controls.SpriteBankIndex = 2;
    ripper.Run();
    EXPECT_EQ(ripper.Parameters().TileWidth, 16);
    EXPECT_EQ(ripper.Sheet().IndexAt(0, 0), 27);
}

TEST(Rip, C64MulticolourFillsTheTopLeftWithEightByEightCells) {
    Ripper ripper(Bytes(20 * 16 * 8, 0x1B));
    ripper.Controls.ModeIndex = 4;
    ripper.Controls.Bitplanes = "2";
    ripper.Work.Ripper.Order = {9, 2, 3, 4, 5, 6, 7, 8};
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().Width(), 320);
    EXPECT_EQ(ripper.Parameters().TileWidth, 8);
    EXPECT_EQ(ripper.Sheet().IndexAt(159, 127), 3);
    EXPECT_EQ(ripper.Sheet().IndexAt(2, 0), 1);
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 160, 0, 320, 256, 1));
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 0, 128, 160, 256, 1));
}

TEST(Rip, C64WithOnePlaneIsAcbmOfEightByEightWithMasks) {
    // Mask before (8 bytes), graphics (8), mask after (8), then the next tile.
    Bytes memory = test::Repeat(0xFF, 8);
    test::Append(memory, {0x80, 0, 0, 0, 0, 0, 0, 0x01});
    test::Append(memory, test::Repeat(0xFF, 8));
    test::Append(memory, test::Repeat(0xFF, 8));
    test::Append(memory, test::Repeat(0xF0, 8));
    Ripper ripper(memory);
    ripper.Controls.ModeIndex = 4;
    ripper.Controls.MaskBefore = true;
    ripper.Controls.MaskAfter = true;
    ripper.Controls.RipWidth = "32";
    ripper.Controls.RipHeight = "16";
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().IndexAt(0, 0), 1);
    EXPECT_EQ(ripper.Sheet().IndexAt(1, 0), 0);
    EXPECT_EQ(ripper.Sheet().IndexAt(7, 7), 1);
    EXPECT_EQ(ripper.Sheet().IndexAt(8, 0), 1); // second tile's graphics
    EXPECT_EQ(ripper.Sheet().IndexAt(12, 0), 0);
}

TEST(Rip, AddressesBeyondTheMemoryGiveTheBackground) {
    Ripper ripper(Bytes(64, 0xFF));
    ripper.Controls.Address = "$40";
    ripper.Run();
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 0, 0, 320, 256, 0));
    ripper.Controls.Address = "$FFFFFFF0"; // 16 bytes below 4 GiB, as in a large raw file: no negative offset
    ripper.Controls.SkipBytes = "16";
    ripper.Run();
    EXPECT_EQ(ripper.Parameters().Address, 0xFFFFFFF0);
    EXPECT_TRUE(RegionIs(ripper.Sheet(), 0, 0, 320, 256, 0));
}

TEST(Rip, ZeroTileWidthFailsWithDivisionByZeroAfterTheResize) {
    Ripper ripper;
    ripper.Controls.TileWidth = "0";
    ripper.Controls.RipWidth = "40";
    ripper.Controls.TilesPerBlockAcross = "0";
    RipControlUpdates updates;
    EXPECT_THROW(
        {
            try {
                Rip(ripper.Work, ripper.Controls, updates);
            } catch (const Error& error) {
                EXPECT_STREQ(error.what(), "Division by zero");
                throw;
            }
        },
        Error);
    EXPECT_EQ(ripper.Sheet().Width(), 40);
    EXPECT_EQ(updates.TilesPerBlockAcross, "1");
}

TEST(Rip, ZeroActualTileSizeFailsTheRip) {
    Ripper ripper;
    ripper.Controls.ActualTileSize = {-1, "0 x 16"};
    EXPECT_THROW(ripper.Run(), Error);
}

TEST(Rip, SuspendedRipDoesNothing) {
    Ripper ripper;
    ripper.Work.Ripper.RipSuspended = true;
    ripper.Controls.Bitplanes = "5";
    EXPECT_EQ(ripper.Run().Outcome, RipOutcome::Suspended);
    EXPECT_EQ(ripper.Parameters().Bitplanes, 1);
    EXPECT_TRUE(ripper.Sheet().Empty());
}

TEST(Rip, LoadedTilesAreLeftAloneButTheParametersAreRead) {
    Ripper ripper;
    ripper.Work.TileSheet.Reset(8, 8, PixelFormat::Rgb24);
    ripper.Work.TileSheet.SetRgb(1, 1, 0x123456);
    ripper.Controls.UseLoadedTiles = true;
    ripper.Controls.Bitplanes = "3";
    ripper.Work.Palette.Entries[1] = EntryFromColour(0xFF);
    const RipResult result = ripper.Run();
    EXPECT_EQ(result.Outcome, RipOutcome::LoadedTilesKept);
    EXPECT_EQ(ripper.Parameters().Bitplanes, 3);
    EXPECT_EQ(ripper.Sheet().Format(), PixelFormat::Rgb24);
    EXPECT_EQ(ripper.Sheet().ColourAt(1, 1), 0x123456u);
    ApplyPalette(ripper.Work);
    EXPECT_NE(ripper.Sheet().ColourTable[1], EntryFromColour(0xFF));
}

TEST(Rip, PaletteGoesIntoEveryIndexedImage) {
    Ripper ripper;
    for (int i = 0; i < 256; ++i)
        ripper.Work.Palette.Entries[static_cast<size_t>(i)] = EntryFromColour(i * 0x10101);
    ripper.Work.MapImages[1].Reset(40, 0, PixelFormat::Indexed8);
    ripper.Run();
    for (const Image* image :
         {&ripper.Work.TileSheet, &ripper.Work.RearrangeSource, &ripper.Work.MapImages[0], &ripper.Work.MapImages[1]})
        EXPECT_EQ(image->ColourTable, ripper.Work.Palette.Entries);
    EXPECT_EQ(ripper.Work.MapImages[0].Width(), 16);
    EXPECT_EQ(ripper.Work.MapImages[0].Height(), 16);
    EXPECT_EQ(ripper.Work.MapImages[1].Width(), 40);
    EXPECT_EQ(ripper.Work.MapImages[1].Height(), 16);
}

// A 320 x 16 strip whose tile k is filled with the value k + 1.
Bytes NumberedStrip() {
    Bytes memory;
    for (int32_t k = 0; k < 20; ++k)
        test::Append(memory, test::AcbmBytes(PixelGrid(16, 16, uint8_t(k + 1)), 5));
    return memory;
}

TEST(Rip, RearrangeAcrossLaysAStripIntoBlocksOfSixteen) {
    Ripper ripper(NumberedStrip());
    ripper.Controls.Bitplanes = "5";
    ripper.Controls.RipHeight = "16";
    ripper.Controls.Rearrange = true;
    ripper.Controls.TilesPerBlockAcross = "16";
    ripper.Run();
    ASSERT_EQ(ripper.Sheet().Width(), 256);
    ASSERT_EQ(ripper.Sheet().Height(), 32);
    EXPECT_EQ(ripper.Work.RearrangeSource.Width(), 320);
    EXPECT_EQ(ripper.Sheet().IndexAt(0, 0), 1);
    EXPECT_EQ(ripper.Sheet().IndexAt(15 * 16, 15), 16);
    EXPECT_EQ(ripper.Sheet().IndexAt(0, 16), 17);
    EXPECT_EQ(ripper.Sheet().IndexAt(3 * 16, 16), 20);
    EXPECT_EQ(ripper.Work.Ripper.SheetWidth, 256);
    EXPECT_EQ(ripper.Work.Ripper.SheetHeight, 32);
}

TEST(Rip, RearrangeDownStacksBlocksOfFourIntoColumns) {
    Ripper ripper(NumberedStrip());
    ripper.Controls.Bitplanes = "5";
    ripper.Controls.RipHeight = "16";
    ripper.Controls.Rearrange = true;
    ripper.Controls.TilesPerBlockDown = "4";
    ripper.Controls.TilesPerBlockDirectionIndex = 1;
    ripper.Run();
    ASSERT_EQ(ripper.Sheet().Width(), 320);
    ASSERT_EQ(ripper.Sheet().Height(), 64);
    for (int32_t k = 0; k < 4; ++k)
        EXPECT_EQ(ripper.Sheet().IndexAt(0, 16 * k), k + 1);
    EXPECT_EQ(ripper.Sheet().IndexAt(16, 0), 5);
    EXPECT_EQ(ripper.Sheet().IndexAt(4 * 16, 48), 20);
}

TEST(Rip, RearrangeWithARipNarrowerThanABlockMakesOneBlockAcross) {
    Ripper ripper(NumberedStrip());
    ripper.Controls.Bitplanes = "5";
    ripper.Controls.RipWidth = "16";
    ripper.Controls.RipHeight = "16";
    ripper.Controls.Rearrange = true;
    ripper.Controls.TilesPerBlockAcross = "2";
    ripper.Controls.TilesPerBlockDown = "2";
    ripper.Run();
    EXPECT_EQ(ripper.Sheet().Width(), 32);
    EXPECT_EQ(ripper.Sheet().Height(), 32);
    EXPECT_EQ(ripper.Sheet().IndexAt(0, 0), 1);
}

TEST(Rip, GridIsShownForSheetsLargerThanOneActualTile) {
    Ripper ripper;
    ripper.Work.Grid.GridEnabled = true;
    RipResult result = ripper.Run();
    ASSERT_TRUE(result.GridImage);
    EXPECT_EQ(result.GridImage->Width(), 339);
    EXPECT_EQ(result.GridImage->Height(), 271);
    EXPECT_EQ(&ShownImage(result, ripper.Work), &*result.GridImage);
    ripper.Work.Grid.GridThickness = 2;
    result = ripper.Run();
    EXPECT_EQ(result.GridImage->Width(), 358);
    EXPECT_EQ(result.GridImage->Height(), 286);

    ripper.Controls.RipWidth = "16";
    ripper.Controls.RipHeight = "16";
    result = ripper.Run();
    EXPECT_FALSE(result.GridImage);
    EXPECT_EQ(&ShownImage(result, ripper.Work), &ripper.Work.TileSheet);
}

} // namespace
} // namespace tavrik

// The tile sheet after the decoder: geometry, the grid image, dimension presets and "Save Gfx".
#include "ripper/TileSheet.h"

#include "app/Error.h"
#include "app/Files.h"
#include "imageio/PngFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

// A sheet whose pixel (x, y) holds (x + 3y) mod 200, so copies can be traced back.
Image NumberedSheet(int32_t width, int32_t height) {
    Image sheet(width, height, PixelFormat::Indexed8);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            sheet.Row(y)[x] = static_cast<uint8_t>((x + 3 * y) % 200);
    return sheet;
}

TEST(TileGeometry, CutsColumnsAndRowsAndLeavesTheRemainders) {
    const Image sheet(100, 40, PixelFormat::Indexed8);
    const TileGeometry geometry(sheet, 16, 16);
    EXPECT_EQ(geometry.Columns, 6);
    EXPECT_EQ(geometry.Rows, 2);
    EXPECT_EQ(geometry.TileX(7), 16);
    EXPECT_EQ(geometry.TileY(7), 16);
    EXPECT_THROW(TileGeometry(sheet, 0, 16), Error);
}

TEST(GridImage, HasGapsBetweenTilesAndPartialTilesAtTheEdges) {
    const Image sheet = NumberedSheet(100, 100);
    std::array<PaletteEntry, 256> palette{};
    palette[255] = EntryFromColour(0xFFFFFF);
    palette[7] = EntryFromColour(0x0000FF);
    const Image grid = BuildGridImage(sheet, 16, 16, 1, palette);
    ASSERT_EQ(grid.Width(), 106);
    ASSERT_EQ(grid.Height(), 106);
    EXPECT_EQ(grid.ColourTable[255], EntryFromColour(GridColour));
    EXPECT_EQ(grid.ColourTable[7], palette[7]);
    EXPECT_EQ(grid.IndexAt(16, 0), 255); // the first gap
    EXPECT_EQ(grid.IndexAt(17, 0), sheet.IndexAt(16, 0));
    // The seventh column holds the 4-pixel partial tiles; beyond them the grey stays.
    EXPECT_EQ(grid.IndexAt(102, 103), sheet.IndexAt(96, 97));
    EXPECT_EQ(grid.IndexAt(105, 0), sheet.IndexAt(99, 0));
    EXPECT_EQ(grid.IndexAt(0, 101), 255);
}

TEST(GridImage, SizesFollowTheThickness) {
    const Image sheet(320, 256, PixelFormat::Indexed8);
    const Image one = BuildGridImage(sheet, 16, 16, 1, {});
    EXPECT_EQ(one.Width(), 339);
    EXPECT_EQ(one.Height(), 271);
    const Image three = BuildGridImage(sheet, 32, 16, 3, {});
    EXPECT_EQ(three.Width(), 320 + 9 * 3);
    EXPECT_EQ(three.Height(), 256 + 15 * 3);
}

TEST(GridImage, TwentyFourBitSheetsGetAGreyGrid) {
    Image sheet(20, 10, PixelFormat::Rgb24);
    sheet.SetRgb(10, 0, 0x00FF00);
    const Image grid = BuildGridImage(sheet, 10, 10, 2, {});
    ASSERT_EQ(grid.Format(), PixelFormat::Rgb24);
    EXPECT_EQ(grid.Width(), 22);
    EXPECT_EQ(grid.ColourAt(10, 0), GridColour);
    EXPECT_EQ(grid.ColourAt(12, 0), 0x00FF00u);
}

TEST(GridImage, ZeroActualTileSizeIsADivisionByZero) {
    EXPECT_THROW(BuildGridImage(Image(32, 32, PixelFormat::Indexed8), 0, 16, 1, {}), Error);
}

TEST(GridImage, ShownOnlyWhenOnAndTheSheetIsMoreThanOneTile) {
    const Image single(16, 16, PixelFormat::Indexed8);
    EXPECT_FALSE(ShowsGrid(single, true, 16, 16));
    EXPECT_TRUE(ShowsGrid(Image(16, 17, PixelFormat::Indexed8), true, 16, 16));
    EXPECT_FALSE(ShowsGrid(Image(320, 256, PixelFormat::Indexed8), false, 16, 16));
    EXPECT_FALSE(ShowsGrid(Image(320, 256, PixelFormat::Indexed8), true, -16, 16));
}

TEST(Rearrange, UsesTheBlockTileSizeAndKeepsTheTargetColourTable) {
    const Image source = NumberedSheet(64, 8); // eight 8 x 8 tiles of a 8 x 8 block tile size
    Image target(1, 1, PixelFormat::Indexed8);
    target.ColourTable[3] = EntryFromColour(0x123456);
    Rearrange(source, target, {2, 2, 0, 8, 8, 16});
    ASSERT_EQ(target.Width(), 16);
    ASSERT_EQ(target.Height(), 32);
    EXPECT_EQ(target.ColourTable[3], EntryFromColour(0x123456));
    // Tiles 0, 1 / 2, 3 form the first block; 4, 5 / 6, 7 the block below.
    EXPECT_EQ(target.IndexAt(8, 0), source.IndexAt(8, 0));
    EXPECT_EQ(target.IndexAt(0, 8), source.IndexAt(16, 0));
    EXPECT_EQ(target.IndexAt(8, 24), source.IndexAt(56, 0));
}

TEST(Rearrange, DownWrapsToTheNextColumnOfBlocks) {
    const Image source = NumberedSheet(48, 8); // six tiles
    Image target;
    // Blocks of 1 x 2 tiles down, three blocks across from a typed width of 24: one row of blocks.
    Rearrange(source, target, {1, 2, 1, 8, 8, 24});
    ASSERT_EQ(target.Width(), 24);
    ASSERT_EQ(target.Height(), 16);
    EXPECT_EQ(target.IndexAt(0, 8), source.IndexAt(8, 0));
    EXPECT_EQ(target.IndexAt(8, 0), source.IndexAt(16, 0));
    EXPECT_EQ(target.IndexAt(16, 8), source.IndexAt(40, 0));
}

TEST(SaveSheet, ReplacesTheExtensionWithPng) {
    EXPECT_EQ(SheetFileName("/tmp/tiles.bmp"), "/tmp/tiles.png");
    EXPECT_EQ(SheetFileName("/tmp/tiles"), "/tmp/tiles.png");
}

TEST(SaveSheet, WritesTheSheetUnderThePngName) {
    test::TempDir folder;
    Image sheet = NumberedSheet(24, 8);
    sheet.ColourTable[5] = EntryFromColour(0x00FF00);
    test::ScriptedDialogs dialogs;
    dialogs.FileAnswers.push_back(folder.File("sheet.bmp"));
    const std::optional<std::string> written = SaveSheet(sheet, dialogs, true);
    ASSERT_EQ(written, folder.File("sheet.png"));
    ASSERT_EQ(dialogs.History.size(), 1u);
    EXPECT_EQ(dialogs.History[0].Text, "Save Tiles");
    EXPECT_EQ(dialogs.History[0].Detail, "PNG File (*.png)|*.png");
    const Image read = ReadPng(ReadWholeFile(*written));
    EXPECT_EQ(read.Width(), 24);
    EXPECT_EQ(read.ColourAt(5, 0), 0x00FF00u);
}

TEST(SaveSheet, AsksBeforeOverwritingWhenTheOptionIsOn) {
    test::TempDir folder;
    const std::string name = folder.File("sheet.png");
    WriteWholeFile(name, std::vector<uint8_t>{1, 2, 3});
    const Image sheet(8, 8, PixelFormat::Indexed8);
    test::ScriptedDialogs refuse;
    refuse.FileAnswers.push_back(name);
    refuse.ConfirmAnswers.push_back(false);
    EXPECT_FALSE(SaveSheet(sheet, refuse, true));
    EXPECT_EQ(refuse.Texts("confirm").at(0), name + " already exists! Are you sure you wish to overwrite it?");
    EXPECT_EQ(ReadWholeFile(name).size(), 3u);

    test::ScriptedDialogs silent;
    silent.FileAnswers.push_back(name);
    EXPECT_TRUE(SaveSheet(sheet, silent, false));
    EXPECT_TRUE(silent.Texts("confirm").empty());
    EXPECT_GT(ReadWholeFile(name).size(), 3u);

    test::ScriptedDialogs cancel;
    EXPECT_FALSE(SaveSheet(sheet, cancel, true));
}

} // namespace
} // namespace tavrik

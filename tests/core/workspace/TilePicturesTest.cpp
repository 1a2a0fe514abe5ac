// Pictures opened as tiles: the sheet they leave, the palette an Atari ST picture hands on, damaged and
// missing files, and the return to ripped tiles.
#include "workspace/TilePictures.h"

#include "app/Error.h"
#include "app/Files.h"
#include "imageio/NeoImage.h"
#include "palette/PaletteOperations.h"
#include "workspace/Rip.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "support/TinyPictures.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

constexpr std::array<uint16_t, 16> StColours{0x000, 0x700, 0x070, 0x007, 0x777, 0x123, 0x321, 0x456,
                                             0x654, 0x111, 0x222, 0x333, 0x444, 0x555, 0x666, 0x765};

class TilePicturesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DefaultPalette(Work.Palette);
        Work.TileSheet.Reset(32, 16, PixelFormat::Indexed8);
        Work.TileSheet.Fill(3);
        Work.MapImages[0].Reset(16, 16, PixelFormat::Indexed8);
    }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = Folder.File(name);
        WriteWholeFile(path, bytes);
        return path;
    }

    test::TempDir Folder;
    test::ScriptedDialogs Dialogs;
    Workspace Work;
};

TEST_F(TilePicturesTest, AtariPictureReplacesTheFirstSixteenColours) {
    const WorkingPalette before = Work.Palette;
    const TilePictureLoad load =
        LoadTilePicture(Work, Write("tiles.pi1", test::DegasLowResPicture(StColours, 1)), Dialogs);

    EXPECT_TRUE(load.Found);
    EXPECT_TRUE(load.PaletteChanged);
    ASSERT_EQ(Work.Palette.Colours.Count(), 16);
    for (int i = 0; i < 16; ++i) {
        const Colour expected = AtariColourToColour(StColours[static_cast<size_t>(i)]);
        EXPECT_EQ(static_cast<Colour>(Work.Palette.Colours.Get(i)), expected) << i;
        EXPECT_EQ(ColourFromEntry(Work.Palette.Entries[static_cast<size_t>(i)]), expected) << i;
    }
    for (size_t i = 16; i < 256; ++i)
        EXPECT_EQ(Work.Palette.Entries[i], before.Entries[i]) << i;

    EXPECT_EQ(Work.TileSheet.Format(), PixelFormat::Rgb24);
    EXPECT_EQ(Work.TileSheet.Width(), 320);
    EXPECT_EQ(Work.TileSheet.Height(), 200);
    EXPECT_EQ(Work.TileSheet.ColourAt(0, 0), AtariColourToColour(StColours[1]));
    EXPECT_EQ(Work.TileSheet.ColourAt(1, 0), AtariColourToColour(StColours[0]));
    EXPECT_EQ(Work.MapImages[0].Format(), PixelFormat::Rgb24);
    EXPECT_EQ(Work.MapImages[1].Format(), PixelFormat::Rgb24);
    EXPECT_TRUE(Work.Ripper.UseLoadedTiles);
}

TEST_F(TilePicturesTest, IlbmPictureLeavesThePaletteAlone) {
    const WorkingPalette before = Work.Palette;
    const std::vector<uint8_t> values{0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 1, 1, 2, 2, 2, 2};
    const std::string path =
        Write("tiles.iff", test::IlbmPicture(16, 1, 2, {0x102030, 0xF01122, 0x33F044, 0x5566F7}, values));

    const TilePictureLoad load = LoadTilePicture(Work, path, Dialogs);

    EXPECT_TRUE(load.Found);
    EXPECT_FALSE(load.PaletteChanged);
    EXPECT_EQ(Work.Palette.Colours, before.Colours);
    EXPECT_EQ(Work.Palette.Entries, before.Entries);
    ASSERT_EQ(Work.TileSheet.Width(), 16);
    ASSERT_EQ(Work.TileSheet.Height(), 1);
    EXPECT_EQ(Work.TileSheet.Format(), PixelFormat::Rgb24);
    EXPECT_EQ(Work.TileSheet.ColourAt(1, 0), MakeColour(0xF0, 0x11, 0x22));
    EXPECT_EQ(Work.TileSheet.ColourAt(3, 0), MakeColour(0x55, 0x66, 0xF7));
}

TEST_F(TilePicturesTest, DamagedPictureLeavesSheetAndPaletteAsTheyWere) {
    const WorkingPalette before = Work.Palette;
    const std::vector<uint8_t> values(32, 1);
    const std::string path = Write("broken.iff", test::IlbmPicture(16, 2, 2, {0x102030, 0x405060}, values, 5));

    EXPECT_THROW(LoadTilePicture(Work, path, Dialogs), Error);

    EXPECT_EQ(Work.TileSheet.Format(), PixelFormat::Indexed8);
    EXPECT_EQ(Work.TileSheet.Width(), 32);
    EXPECT_EQ(Work.TileSheet.IndexAt(5, 5), 3);
    EXPECT_EQ(Work.Palette.Colours, before.Colours);
    EXPECT_EQ(Work.Palette.Entries, before.Entries);
    EXPECT_EQ(Work.MapImages[0].Format(), PixelFormat::Indexed8);
    EXPECT_FALSE(Work.Ripper.UseLoadedTiles);
}

TEST_F(TilePicturesTest, MissingOrEmptyNameChangesNothing) {
    for (const std::string& name : {Folder.File("absent.png"), std::string("   ")}) {
        const TilePictureLoad load = LoadTilePicture(Work, name, Dialogs);
        EXPECT_FALSE(load.Found) << name;
        EXPECT_EQ(Work.TileSheet.Format(), PixelFormat::Indexed8);
        EXPECT_EQ(Work.TileSheet.Width(), 32);
        EXPECT_FALSE(Work.Ripper.UseLoadedTiles);
    }
}

TEST_F(TilePicturesTest, DataFileOpenedReturnsToRippedTiles) {
    LoadTilePicture(Work, Write("tiles.pi1", test::DegasLowResPicture(StColours, 2)), Dialogs);
    ASSERT_EQ(Work.TileSheet.Format(), PixelFormat::Rgb24);

    ReturnToIndexedTiles(Work);

    EXPECT_FALSE(Work.Ripper.UseLoadedTiles);
    EXPECT_EQ(Work.TileSheet.Format(), PixelFormat::Indexed8);
    for (const Image& map : Work.MapImages)
        EXPECT_EQ(map.Format(), PixelFormat::Indexed8);
    // A rip now decodes memory again and gets the working palette.
    const RipResult result = Rip(Work, RipControls{});
    EXPECT_EQ(result.Outcome, RipOutcome::Ripped);
    EXPECT_EQ(Work.TileSheet.Width(), 320);
    EXPECT_EQ(Work.TileSheet.Height(), 256);
    EXPECT_EQ(Work.TileSheet.ColourTable, Work.Palette.Entries);
}

} // namespace
} // namespace tavrik

// Loading pictures by extension: which reader runs, the Atari palette, missing and damaged files, the routing
// of files chosen in the Open dialogs.
#include "imageio/ImageLoader.h"

#include "support/PictureTestFiles.h"
#include "app/Error.h"
#include "imageio/PngFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavrik {
namespace {

using test::Bytes;

Bytes DegasFile(uint16_t firstColour) {
    Bytes file = {0, 0, uint8_t(firstColour >> 8), uint8_t(firstColour)};
    file.resize(34, 0);
    file.resize(32034, 0);
    file[34] = 0x80; // plane 0 of the first pixel
    return file;
}

Bytes SmallIlbm() {
    test::IlbmFile file;
    file.Width = 16;
    file.Height = 2;
    file.Planes = 1;
    file.Chunks = {test::Cmap({0x102030, 0x405061}), test::IffChunk("BODY", {0x80, 0, 0, 0})};
    return test::BuildIlbm(file);
}

class ImageLoading : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = Dir.File(name);
        test::WriteFileBytes(path, bytes);
        return path;
    }
    LoadedImage Load(const std::string& name) { return LoadImage(name, Places, Dialogs); }

    test::TempDir Dir;
    FileSearchPlaces Places;
    test::ScriptedDialogs Dialogs;
};

TEST_F(ImageLoading, EveryReaderGivesA24BitPictureOfItsSize) {
    Image sheet(3, 2, PixelFormat::Indexed8);
    sheet.ColourTable[0] = PaletteEntry{1, 2, 3, 0};
    LoadedImage png = Load(Write("sheet.PNG", EncodePng(sheet))); // capitals are the same extension
    ASSERT_TRUE(png.Found);
    ASSERT_TRUE(png.Picture);
    EXPECT_EQ(png.Picture->Format(), PixelFormat::Rgb24);
    EXPECT_EQ(png.Picture->ColourAt(2, 1), MakeColour(3, 2, 1));
    EXPECT_FALSE(png.AtariPalette);

    const LoadedImage ilbm = Load(Write("picture.iff", SmallIlbm()));
    ASSERT_TRUE(ilbm.Picture);
    EXPECT_EQ(ilbm.Picture->Format(), PixelFormat::Rgb24);
    EXPECT_EQ(ilbm.Picture->Width(), 16);
    EXPECT_EQ(ilbm.Picture->ColourAt(0, 0), MakeColour(0x40, 0x50, 0x61));
    EXPECT_FALSE(ilbm.AtariPalette); // an ILBM leaves the working palette alone

    Bytes bitmap = {'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24};
    bitmap.resize(54, 0);
    bitmap.insert(bitmap.end(), {30, 20, 10, 0});
    bitmap.resize(66, 0);
    const LoadedImage bmp = Load(Write("one.bmp", bitmap));
    ASSERT_TRUE(bmp.Picture);
    EXPECT_EQ(bmp.Picture->ColourAt(0, 0), MakeColour(10, 20, 30));
}

TEST_F(ImageLoading, AtariPicturesHandOnTheirSixteenColours) {
    for (const char* name : {"picture.pi1", "picture.PI2", "picture.pi3", "picture.pc2", "picture.pc3"}) {
        SCOPED_TRACE(name);
        const LoadedImage loaded = Load(Write(name, DegasFile(0x0777)));
        ASSERT_TRUE(loaded.Picture);
        EXPECT_EQ(loaded.Picture->Format(), PixelFormat::Rgb24);
        EXPECT_EQ(loaded.Picture->Width(), 320);
        ASSERT_TRUE(loaded.AtariPalette);
        ASSERT_EQ(loaded.AtariPalette->Count(), 16);
        EXPECT_EQ(static_cast<Colour>(loaded.AtariPalette->Get(0)), MakeColour(238, 238, 238));
        EXPECT_EQ(loaded.Picture->ColourAt(0, 0), 0u); // colour 1 of the palette is black
    }
}

TEST_F(ImageLoading, NeoAndPc1AreToldTheirFormatBeforehand) {
    // The same bytes: as ".pc1" the pixel data is run-length compressed, $FD $FF giving 32 pixels of colour 1.
    Bytes file = DegasFile(0);
    file[4] = 0x0F; // colour 1 is $0F00 doubled: red nibble 14
    file[34] = 0xFD;
    file[35] = 0xFF;
    const LoadedImage pc1 = Load(Write("picture.pc1", file));
    ASSERT_TRUE(pc1.Picture);
    EXPECT_EQ(pc1.Picture->ColourAt(31, 0), MakeColour(238, 0, 0));
    const LoadedImage pi1 = Load(Write("picture.pi1", file));
    EXPECT_EQ(pi1.Picture->ColourAt(31, 0), 0u);

    // As ".neo" the first word is a flag and a resolution word follows: here 7, so no picture and no colours.
    file[2] = 0;
    file[3] = 7;
    const LoadedImage neo = Load(Write("picture.neo", file));
    ASSERT_TRUE(neo.Picture);
    EXPECT_TRUE(neo.Picture->Empty());
    ASSERT_TRUE(neo.AtariPalette);
    EXPECT_EQ(neo.AtariPalette->Count(), 0);
}

TEST_F(ImageLoading, MissingFilesAndOtherExtensionsReadNothing) {
    const LoadedImage missing = Load(Dir.File("nothing.png"));
    EXPECT_FALSE(missing.Found);
    EXPECT_FALSE(missing.Picture);

    const LoadedImage text = Load(Write("notes.txt", {'h', 'i'}));
    EXPECT_TRUE(text.Found);
    EXPECT_FALSE(text.Picture);
    EXPECT_FALSE(text.AtariPalette);
}

TEST_F(ImageLoading, FileMovedWithItsProjectIsFoundBesideTheProject) {
    Write("tiles.iff", SmallIlbm());
    Places.ProjectFileName = Dir.File("work.ini");
    const LoadedImage loaded = Load("/no/such/folder/tiles.iff");
    EXPECT_TRUE(loaded.Found);
    ASSERT_TRUE(loaded.Picture);
    EXPECT_EQ(loaded.Picture->Width(), 16);
}

TEST_F(ImageLoading, DamagedPicturesThrowButADamagedBitmapIsOnlyReported) {
    Bytes truncated = SmallIlbm();
    truncated.resize(truncated.size() - 3);
    EXPECT_THROW(Load(Write("broken.iff", truncated)), Error);
    Bytes png = EncodePng(Image(4, 4, PixelFormat::Rgb24));
    png[20] ^= 0x55;
    EXPECT_THROW(Load(Write("broken.png", png)), Error);

    EXPECT_THROW(Load(Write("broken.bmp", {'B', 'M', 1, 2, 3})), Error);
}

TEST_F(ImageLoading, CorruptPictureFilesFailCleanly) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TAVRIK_TEST_DATA_DIR) + "/corrupt")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("image_", 0) != 0) continue;
        SCOPED_TRACE(name);
        ++checked;
        EXPECT_THROW(Load(entry.path().string()), Error);
    }
    EXPECT_GE(checked, 5);
}

TEST(OpenFileRouting, ProjectsPicturesAndEverythingElse) {
    EXPECT_EQ(RouteOpenedFile("/games/level.INI"), OpenFileRoute::Project);
    for (const char* name : {"a.png", "a.bmp", "a.iff", "a.neo", "a.pc1", "a.pc2", "a.pc3", "a.pi1", "a.pi2", "a.Pi3"})
        EXPECT_EQ(RouteOpenedFile(name), OpenFileRoute::Picture) << name;
    for (const char* name : {"state.uss", "dump", "a.ilbm", "a.pc4"})
        EXPECT_EQ(RouteOpenedFile(name), OpenFileRoute::DataFile) << name;
}

TEST(OpenFileRouting, DialogRequestsCarryTitleFilterInitialNameAndPngDefault) {
    const FileDialogRequest tiles = TileGraphicsOpenRequest("tiles.png");
    EXPECT_EQ(tiles.Title, "Load Tile Graphics");
    EXPECT_EQ(tiles.InitialName, "tiles.png");
    EXPECT_EQ(tiles.DefaultExtension, ".png");
    EXPECT_EQ(tiles.Filter.rfind("Image File (*.png;*.bmp;*.iff;*.neo;*.pc1;*.pi1)|", 0), 0u);
    const FileDialogRequest data = DataFileOpenRequest("game.uss");
    EXPECT_EQ(data.Title, "Load Data File");
    EXPECT_NE(data.Filter.find("|WinUAE Save State File (*.uss)|*.uss|INI File (*.ini)|*.ini|"), std::string::npos);
    EXPECT_EQ(data.Filter.substr(data.Filter.size() - 19), "All Files (*.*)|*.*");
}

} // namespace
} // namespace tavrik

// tavrik-cli convert: every supported picture becomes a 24-bit RGB PNG; bad input is an error with exit 1.
#include "app/Files.h"
#include "imageio/PngFile.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

namespace tavrik {
namespace {

using test::RunCli;

void Write(const std::string& path, const std::vector<uint8_t>& bytes) { WriteWholeFile(path, bytes); }

// The colour type byte of the PNG header.
int PngColourType(const std::vector<uint8_t>& file) { return file.size() > 25 ? file[25] : -1; }

std::vector<uint8_t> DegasPicture() {
    std::vector<uint8_t> file(32034, 0);
    file[4] = 0x07;  // colour 1: $0700, red 238
    file[34] = 0xC0; // pixels 0 and 1 of plane 0
    return file;
}

TEST(ConvertCommand, PicturesBecomeRgbPngs) {
    test::TempDir dir;
    Image sheet(5, 3, PixelFormat::Indexed8);
    sheet.ColourTable[7] = PaletteEntry{30, 20, 10, 0};
    sheet.Row(2)[4] = 7;
    Write(dir.File("sheet.png"), EncodePng(sheet));
    Write(dir.File("st.pi1"), DegasPicture());

    test::CliResult result = RunCli({"convert", dir.File("sheet.png"), dir.File("out.png")});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "");
    const std::vector<uint8_t> converted = ReadWholeFile(dir.File("out.png"));
    EXPECT_EQ(PngColourType(converted), PNG_COLOR_TYPE_RGB);
    const Image read = ReadPng(converted);
    EXPECT_EQ(read.Width(), 5);
    EXPECT_EQ(read.ColourAt(4, 2), MakeColour(10, 20, 30));

    result = RunCli({"convert", dir.File("st.pi1"), dir.File("st.png")});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const Image degas = ReadPng(ReadWholeFile(dir.File("st.png")));
    EXPECT_EQ(degas.Width(), 320);
    EXPECT_EQ(degas.Height(), 200);
    EXPECT_EQ(degas.ColourAt(1, 0), MakeColour(238, 0, 0));
    EXPECT_EQ(degas.ColourAt(2, 0), 0u);
}

TEST(ConvertCommand, MissingUnreadableOrUnknownInputIsAnError) {
    test::TempDir dir;
    const std::string missing = dir.File("missing.iff");
    test::CliResult result = RunCli({"convert", missing, dir.File("out.png")});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, "tavrik-cli: cannot open " + missing + "\n");

    Write(dir.File("broken.bmp"), {'B', 'M', 0, 0});
    result = RunCli({"convert", dir.File("broken.bmp"), dir.File("out.png")});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("Damaged bitmap"), std::string::npos) << result.Err;

    Write(dir.File("notes.txt"), {'x'});
    result = RunCli({"convert", dir.File("notes.txt"), dir.File("out.png")});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("is not a picture"), std::string::npos) << result.Err;
    EXPECT_FALSE(PathIsFile(dir.File("out.png")));

    Write(dir.File("st.pi1"), DegasPicture());
    result = RunCli({"convert", dir.File("st.pi1"), dir.File("no folder/out.png")});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find(dir.File("no folder/out.png")), std::string::npos) << result.Err;

    EXPECT_EQ(RunCli({"convert", dir.File("st.pi1")}).ExitCode, 2);
}

} // namespace
} // namespace tavrik

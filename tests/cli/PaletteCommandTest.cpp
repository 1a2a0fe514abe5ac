// tavrik-cli palette: the default palette of a new project, replaced by a save state's AGA or ECS colours
// or an Atari picture's 16 colours, and left alone by other pictures and raw memory.
#include "support/CliRunner.h"
#include "support/SaveStateBuilder.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

#include "app/ByteStream.h"
#include "app/Files.h"
#include "imageio/PngFile.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tavrik {
namespace {

using test::Lines;
using test::RunCli;

// Runs the command and expects success with nothing on standard error.
std::vector<std::string> PaletteOf(const std::string& file) {
    const test::CliResult result = RunCli({"palette", file});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    return Lines(result.Out);
}

std::string WriteState(const test::TempDir& folder, const test::ChipRegisters& chip,
                       const std::array<uint32_t, 256>* aga) {
    test::SaveStateBuilder state;
    state.Compressed("CRAM", std::vector<uint8_t>(0x1000, 0));
    state.Stored("CHIP", test::ChipChunkData(chip));
    if (aga != nullptr) state.Stored("AGAC", test::AgacChunkData(*aga));
    state.End();
    const std::string path = folder.File("state.uss");
    WriteWholeFile(path, state.Data());
    return path;
}

// An uncompressed low-resolution DEGAS picture (32034 bytes) or one whose first word names no resolution.
std::string WriteDegas(const test::TempDir& folder, const std::string& name, uint16_t firstWord) {
    ByteWriter file;
    file.WriteWordBE(firstWord);
    for (uint16_t i = 0; i < 16; ++i)
        file.WriteWordBE(static_cast<uint16_t>(i * 0x0111 & 0x0777));
    file.Data().resize(32034);
    file.Data()[2 + 2] = 0x07; // colour 1 := $0700, red 7
    file.Data()[2 + 3] = 0x00;
    const std::string path = folder.File(name);
    WriteWholeFile(path, file.Data());
    return path;
}

TEST(PaletteCommand, ARawFileKeepsTheDefaultPalette) {
    test::TempDir folder;
    const std::string path = folder.File("dump.bin");
    WriteWholeFile(path, std::vector<uint8_t>(4096, 0x55));
    const std::vector<std::string> lines = PaletteOf(path);
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "$000000");
    EXPECT_EQ(lines[1], "$A0A0A0");
    EXPECT_EQ(lines[2], "$EE0000");
    EXPECT_EQ(lines[10], "$00AAFF");
    EXPECT_EQ(lines[31], "$FFFFFF");
}

TEST(PaletteCommand, ASaveStateWithoutAgaColoursGivesIts32EcsColours) {
    test::TempDir folder;
    test::ChipRegisters chip;
    chip.COLOR[0] = 0x0F80;
    chip.COLOR[1] = 0x0123;
    chip.COLOR[31] = 0x000F;
    const std::vector<std::string> lines = PaletteOf(WriteState(folder, chip, nullptr));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "$FF8800");
    EXPECT_EQ(lines[1], "$112233");
    EXPECT_EQ(lines[2], "$000000");
    EXPECT_EQ(lines[31], "$0000FF");
}

TEST(PaletteCommand, ASaveStateWithAgaColoursGivesAll256) {
    test::TempDir folder;
    test::ChipRegisters chip;
    chip.COLOR[0] = 0x0FFF;
    std::array<uint32_t, 256> aga{};
    aga[0] = 0x00123456;
    aga[255] = 0xFFABCDEF; // the top byte is no part of the colour
    const std::vector<std::string> lines = PaletteOf(WriteState(folder, chip, &aga));
    ASSERT_EQ(lines.size(), 256u);
    EXPECT_EQ(lines[0], "$123456");
    EXPECT_EQ(lines[1], "$000000");
    EXPECT_EQ(lines[255], "$ABCDEF");
}

TEST(PaletteCommand, AllZeroAgaColoursGiveWayToTheEcsColours) {
    test::TempDir folder;
    test::ChipRegisters chip;
    chip.COLOR[3] = 0x0F00;
    const std::array<uint32_t, 256> aga{};
    const std::vector<std::string> lines = PaletteOf(WriteState(folder, chip, &aga));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[3], "$FF0000");
}

TEST(PaletteCommand, AnAtariPictureGivesIts16Colours) {
    test::TempDir folder;
    const std::vector<std::string> lines = PaletteOf(WriteDegas(folder, "title.pi1", 0));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "$000000");
    EXPECT_EQ(lines[1], "$EE0000");
    EXPECT_EQ(lines[2], "$444444"); // $0222 doubled
    EXPECT_EQ(lines[7], "$EEEEEE");
    EXPECT_EQ(lines[15], "$EEEEEE");
}

TEST(PaletteCommand, ANeochromePictureGivesIts16Colours) {
    test::TempDir folder;
    ByteWriter file;
    file.WriteWordBE(0); // flag
    file.WriteWordBE(0); // low resolution
    file.WriteWordBE(0x0070);
    file.Data().resize(128 + 32000);
    const std::string path = folder.File("PIC.NEO");
    WriteWholeFile(path, file.Data());
    const std::vector<std::string> lines = PaletteOf(path);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "$00EE00");
    EXPECT_EQ(lines[1], "$000000");
}

TEST(PaletteCommand, AnAtariPictureOfNoKnownResolutionEmptiesTheColourList) {
    test::TempDir folder;
    EXPECT_TRUE(PaletteOf(WriteDegas(folder, "odd.pi1", 3)).empty());
}

TEST(PaletteCommand, OtherPicturesLeaveTheDefaultPalette) {
    test::TempDir folder;
    Image picture(4, 2, PixelFormat::Rgb24);
    const std::string path = folder.File("shot.png");
    SaveImagePng(picture, path);
    const std::vector<std::string> lines = PaletteOf(path);
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[2], "$EE0000");
}

TEST(PaletteCommand, MissingFilesAndDamagedSaveStatesAreErrors) {
    for (const std::string missing : {"/no/such/state.uss", "/no/such/title.pi1"}) {
        const test::CliResult result = RunCli({"palette", missing});
        EXPECT_EQ(result.ExitCode, 1);
        EXPECT_EQ(result.Out, "");
        EXPECT_EQ(result.Err, "tavrik-cli: cannot open " + missing + "\n");
    }
    const test::CliResult broken =
        RunCli({"palette", std::string(TAVRIK_TEST_DATA_DIR) + "/corrupt/savestate_truncated.uss"});
    EXPECT_EQ(broken.ExitCode, 1);
    EXPECT_EQ(broken.Out, "");
    EXPECT_NE(broken.Err.find("CRAM"), std::string::npos) << broken.Err;
}

TEST(PaletteCommand, ProjectFilesAndWrongArgumentsAreRefused) {
    test::TempDir folder;
    const std::string project = folder.File("work.ini");
    WriteWholeFile(project, std::vector<uint8_t>{'[', 'F', ']'});
    const test::CliResult result = RunCli({"palette", project});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("project file"), std::string::npos) << result.Err;

    EXPECT_EQ(RunCli({"palette"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"palette", project, "extra"}).ExitCode, 2);
}

} // namespace
} // namespace tavrik

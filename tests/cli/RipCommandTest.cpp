// tavrik-cli rip: options mapped onto the ripper's controls, the palette chosen, the sheet or grid written
// as PNG under the name given, and bad option values refused as usage errors naming the option.
#include "support/CliRunner.h"
#include "support/PlanarMaker.h"
#include "support/SaveStateBuilder.h"
#include "support/TempDir.h"

#include "app/Colour.h"
#include "app/Files.h"
#include "imageio/PngFile.h"
#include "palette/BuiltInPalettes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace tavrik {
namespace {

using test::Bytes;
using test::RunCli;

struct RipRun {
    test::CliResult Result;
    Image Sheet;
};

RipRun RipFile(const test::TempDir& folder, const std::string& file, std::vector<std::string> options) {
    const std::string out = folder.File("out.png");
    std::vector<std::string> arguments{"rip", file, "-o", out};
    arguments.insert(arguments.end(), options.begin(), options.end());
    RipRun run{RunCli(arguments), {}};
    EXPECT_EQ(run.Result.ExitCode, 0) << run.Result.Err;
    if (run.Result.ExitCode == 0) run.Sheet = ReadPng(ReadWholeFile(out));
    return run;
}

std::string WriteMemory(const test::TempDir& folder, const Bytes& bytes) {
    const std::string path = folder.File("memory.bin");
    WriteWholeFile(path, bytes);
    return path;
}

Colour DefaultColour(size_t index) { return DefaultPaletteColours().at(index); }

TEST(RipCommand, DefaultsRipA320By256SheetInTheDefaultPalette) {
    test::TempDir folder;
    const RipRun run = RipFile(folder, WriteMemory(folder, Bytes(64, 0xF0)), {});
    ASSERT_EQ(run.Sheet.Width(), 320);
    ASSERT_EQ(run.Sheet.Height(), 256);
    EXPECT_EQ(run.Sheet.ColourAt(0, 0), DefaultColour(1));
    EXPECT_EQ(run.Sheet.ColourAt(4, 0), DefaultColour(0));
    EXPECT_EQ(run.Sheet.ColourAt(0, 16), DefaultColour(0)); // past the 64 bytes
    EXPECT_EQ(run.Result.Err, "");
}

TEST(RipCommand, ModePlanesTileSizeAndAddressReachTheRipper) {
    test::TempDir folder;
    test::PixelGrid grid(16, 2);
    grid.Set(0, 0, 3);
    grid.Set(9, 1, 2);
    Bytes memory(6, 0xFF);
    test::Append(memory, test::IlbmBytes(grid, 2));
    const RipRun run =
        RipFile(folder, WriteMemory(folder, memory),
                {"--mode", "ilbm", "--bitplanes", "2", "--tile", "16x2", "--size", "16x2", "--address", "$6"});
    ASSERT_EQ(run.Sheet.Width(), 16);
    ASSERT_EQ(run.Sheet.Height(), 2);
    EXPECT_EQ(run.Sheet.ColourAt(0, 0), DefaultColour(3));
    EXPECT_EQ(run.Sheet.ColourAt(9, 1), DefaultColour(2));
    EXPECT_EQ(run.Sheet.ColourAt(1, 0), DefaultColour(0));
}

TEST(RipCommand, OrderSymbolsAndSkipsAreApplied) {
    test::TempDir folder;
    // Two 16 x 1 tiles of one plane with 2 bytes skipped between them.
    const Bytes memory{0x80, 0x00, 0xEE, 0xEE, 0x00, 0x01};
    const RipRun run = RipFile(folder, WriteMemory(folder, memory),
                               {"--tile", "16x1", "--size", "32x1", "--skip", "2", "--order", "2X------"});
    EXPECT_EQ(run.Sheet.ColourAt(0, 0), DefaultColour(2 + 2)); // background 2, plane value 2
    EXPECT_EQ(run.Sheet.ColourAt(1, 0), DefaultColour(2));
    EXPECT_EQ(run.Sheet.ColourAt(31, 0), DefaultColour(4));
}

// 12-pixel tiles read one byte per plane row; the always-set plane still covers columns 8 to 11.
TEST(RipCommand, AlwaysSetPlaneCoversTilesWhoseWidthIsNoMultipleOfEight) {
    test::TempDir folder;
    const RipRun run = RipFile(folder, WriteMemory(folder, Bytes(256, 0)),
                               {"--bitplanes", "2", "--tile", "12x8", "--size", "96x8", "--order", "X2345678"});
    ASSERT_EQ(run.Sheet.Width(), 96);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 96; ++x)
            ASSERT_EQ(run.Sheet.ColourAt(x, y), DefaultColour(2)) << x << "," << y; // background 1 plus 1
}

TEST(RipCommand, GridWritesTheGridImage) {
    test::TempDir folder;
    const RipRun run = RipFile(folder, WriteMemory(folder, Bytes(16)), {"--grid", "2"});
    EXPECT_EQ(run.Sheet.Width(), 358);
    EXPECT_EQ(run.Sheet.Height(), 286);
    EXPECT_EQ(run.Sheet.ColourAt(16, 0), MakeColour(115, 115, 115));
}

TEST(RipCommand, RearrangeLaysAStripIntoBlocks) {
    test::TempDir folder;
    const RipRun run =
        RipFile(folder, WriteMemory(folder, Bytes(40 * 16, 0xFF)), {"--size", "320x16", "--rearrange", "16x1"});
    EXPECT_EQ(run.Sheet.Width(), 256);
    EXPECT_EQ(run.Sheet.Height(), 32);
    const RipRun down = RipFile(folder, WriteMemory(folder, Bytes(40 * 16, 0xFF)),
                                {"--size", "320x16", "--rearrange", "1x4", "--block-direction", "down"});
    EXPECT_EQ(down.Sheet.Width(), 320);
    EXPECT_EQ(down.Sheet.Height(), 64);
}

TEST(RipCommand, PaletteChoices) {
    test::TempDir folder;
    const std::string memory = WriteMemory(folder, Bytes(64, 0xFF));
    EXPECT_EQ(RipFile(folder, memory, {"--palette", "bw"}).Sheet.ColourAt(0, 0), MakeColour(254, 254, 254));
    EXPECT_EQ(RipFile(folder, memory, {"--palette", "c64"}).Sheet.ColourAt(0, 0), C64PaletteColours().at(1));
    Bytes words(512, 0);
    words[2] = 0x0F; // entry 1 := $0F80
    words[3] = 0x80;
    const std::string palette = folder.File("palette.bin");
    WriteWholeFile(palette, words);
    EXPECT_EQ(RipFile(folder, memory, {"--palette", palette}).Sheet.ColourAt(0, 0), AmigaColourToColour(0x0F80));
}

std::string WriteState(const test::TempDir& folder, const Bytes& chipRam) {
    test::ChipRegisters chip;
    chip.COLOR[1] = 0x00F0;
    test::SaveStateBuilder state;
    state.Compressed("CRAM", chipRam);
    state.Stored("CHIP", test::ChipChunkData(chip));
    state.End();
    const std::string path = folder.File("state.uss");
    WriteWholeFile(path, state.Data());
    return path;
}

TEST(RipCommand, SaveStatesRipInTheirSavedColoursFromChipRam) {
    test::TempDir folder;
    const std::string state = WriteState(folder, Bytes(0x1000, 0xFF));
    const RipRun run = RipFile(folder, state, {"--address", "+0", "--size", "16x16"});
    EXPECT_EQ(run.Sheet.ColourAt(0, 0), AmigaColourToColour(0x00F0));
    EXPECT_EQ(RipFile(folder, state, {"--address", "+", "--palette", "default"}).Sheet.ColourAt(0, 0),
              DefaultColour(1));
    const test::CliResult noAga = RunCli({"rip", state, "-o", folder.File("x.png"), "--palette", "aga"});
    EXPECT_EQ(noAga.ExitCode, 1);
    EXPECT_NE(noAga.Err.find("AGA"), std::string::npos);
}

TEST(RipCommand, BadOptionValuesAreUsageErrorsNamingTheOption) {
    test::TempDir folder;
    const std::string memory = WriteMemory(folder, Bytes(16));
    const std::string out = folder.File("out.png");
    const std::vector<std::vector<std::string>> bad{
        {"--mode", "ham"},      {"--bitplanes", "9"},    {"--tile", "0x16"},          {"--size", "wide"},
        {"--skip", "many"},     {"--skip-mode", "rows"}, {"--order", "1234"},         {"--order", "1234567Y"},
        {"--sprite-bank", "4"}, {"--actual-tile", "16"}, {"--rearrange", "100x1"},    {"--block-direction", "up"},
        {"--block-tile", "x"},  {"--grid", "4"},         {"--palette", "nosuchfile"}, {"--address", "zz"}};
    for (const std::vector<std::string>& option : bad) {
        const test::CliResult result = RunCli({"rip", memory, "-o", out, option[0], option[1]});
        EXPECT_EQ(result.ExitCode, 2) << option[0] << " " << option[1];
        EXPECT_NE(result.Err.find(option[0]), std::string::npos) << result.Err;
    }
    EXPECT_FALSE(PathIsFile(out));
    EXPECT_EQ(RunCli({"rip", memory}).ExitCode, 2);
}

TEST(RipCommand, MissingFileIsAnError) {
    test::TempDir folder;
    const test::CliResult result = RunCli({"rip", folder.File("none.bin"), "-o", folder.File("out.png")});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("none.bin"), std::string::npos);
}

// Inputs that cannot be what they are named as stop the rip with the reason; an address past the end of
// memory still rips (zeros) but says how large memory is.
TEST(RipCommand, AFileThatIsNoPaletteIsAnErrorAndAnAddressPastMemoryIsWarned) {
    test::TempDir folder;
    const std::string memory = WriteMemory(folder, Bytes(0x100, 0xFF));
    const std::string shortFile = folder.File("notes.txt");
    WriteWholeFile(shortFile, std::string_view("colours?"));
    const test::CliResult noPalette = RunCli({"rip", memory, "-o", folder.File("out.png"), "--palette", shortFile});
    EXPECT_EQ(noPalette.ExitCode, 1);
    EXPECT_NE(noPalette.Err.find(shortFile + " is no palette"), std::string::npos) << noPalette.Err;
    EXPECT_FALSE(PathIsFile(folder.File("out.png")));

    const RipRun inside = RipFile(folder, memory, {"--address", "$FF"});
    EXPECT_EQ(inside.Result.Err, "");
    const RipRun past = RipFile(folder, memory, {"--address", "$100"});
    EXPECT_NE(past.Result.Err.find("warning"), std::string::npos) << past.Result.Err;
    EXPECT_NE(past.Result.Err.find("256 bytes"), std::string::npos) << past.Result.Err;
    EXPECT_EQ(std::count(past.Result.Err.begin(), past.Result.Err.end(), '\n'), 1);
    // Raw files may be larger than 4 GiB: such an address is taken and named whole.
    const RipRun far = RipFile(folder, memory, {"--address", "$123456789AB"});
    EXPECT_NE(far.Result.Err.find("address $123456789AB lies past"), std::string::npos) << far.Result.Err;
}

TEST(RipCommand, HelpListsTheOptions) {
    const test::CliResult result = RunCli({"rip", "--help"});
    EXPECT_EQ(result.ExitCode, 0);
    for (const char* option : {"--address", "--mode", "--order", "--rearrange", "--block-tile", "--grid", "--palette"})
        EXPECT_NE(result.Out.find(option), std::string::npos) << option;
}

} // namespace
} // namespace tavrik

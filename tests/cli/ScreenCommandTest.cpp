// tavrik-cli screen: the rebuilt screen as PNG, what --json reports, and its ripOptions fed to tavrik-cli rip
// giving the same picture; Atari ST dumps; clear failures.
#include "app/Files.h"
#include "imageio/PngFile.h"
#include "support/CliRunner.h"
#include "support/SaveStateBuilder.h"
#include "support/ScreenReference.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace tavrik::test {
namespace {

const std::string DataDir = TAVRIK_TEST_DATA_DIR;

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The picture tavrik-cli rip gives with the screen's ripOptions must be the screen (left part, as the rip
// may also show a modulo's unshown bytes at the right).
void ExpectRipShowsScreen(const std::string& file, const nlohmann::json& json, const TempDir& dir) {
    std::vector<std::string> rip{"rip", file, "-o", dir.File("rip.png")};
    for (const std::string& word : Words(json.at("ripOptions").get<std::string>()))
        rip.push_back(word);
    const CliResult ripped = RunCli(rip);
    ASSERT_EQ(ripped.ExitCode, 0) << ripped.Err;
    const Image screen = ReadPng(ReadWholeFile(dir.File("screen.png")));
    const Image sheet = ReadPng(ReadWholeFile(dir.File("rip.png")));
    ASSERT_GE(sheet.Width(), screen.Width());
    ASSERT_EQ(sheet.Height(), screen.Height());
    int64_t wrong = 0;
    for (int32_t y = 0; y < screen.Height(); ++y)
        for (int32_t x = 0; x < screen.Width(); ++x)
            wrong += sheet.ColourAt(x, y) != screen.ColourAt(x, y);
    EXPECT_EQ(wrong, 0) << json.at("ripOptions").get<std::string>();
}

nlohmann::json ScreenJson(const std::vector<std::string>& arguments) {
    const CliResult result = RunCli(arguments);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    return nlohmann::json::parse(result.Out);
}

TEST(ScreenCommand, RipOptionsRipTheScreenInBothPlaneLayouts) {
    TempDir dir;
    std::set<std::string> modes;
    for (uint32_t seed = 1; seed < 9 && modes.size() < 2; ++seed) {
        std::mt19937 random(seed);
        ScreenSpec spec = RandomScreenSpec(ScreenKind::Plain, false, random);
        spec.Changes.clear(); // the rip shows one palette
        WriteWholeFile(dir.File("state.uss"), ScreenSaveState(spec, seed));
        const nlohmann::json json =
            ScreenJson({"screen", dir.File("state.uss"), "-o", dir.File("screen.png"), "--json"});
        EXPECT_EQ(json.at("machine").get<std::string>(), "amiga");
        EXPECT_EQ(json.at("bitplanes").get<int64_t>(), spec.Planes);
        EXPECT_EQ(json.at("width").get<int64_t>(), spec.Width);
        EXPECT_EQ(json.at("height").get<int64_t>(), spec.Lines);
        EXPECT_EQ(json.at("hires").get<bool>(), spec.Hires);
        EXPECT_FALSE(json.at("interlaced").get<bool>() || json.at("ham").get<bool>() || json.at("ehb").get<bool>() ||
                     json.at("dualPlayfield").get<bool>());
        modes.insert(json.at("mode").get<std::string>());
        ExpectRipShowsScreen(dir.File("state.uss"), json, dir);
    }
    EXPECT_EQ(modes, (std::set<std::string>{"acbm", "ilbm"}));
}

TEST(ScreenCommand, InterlacedEmulatorStateRipsAsOneBitmap) {
    TempDir dir;
    const std::string state = DataDir + "/screen_aros_ocs/state.uss";
    const nlohmann::json json = ScreenJson({"screen", state, "-o", dir.File("screen.png"), "--json"});
    EXPECT_TRUE(json.at("interlaced").get<bool>());
    EXPECT_TRUE(json.at("hires").get<bool>());
    EXPECT_EQ(json.at("height").get<int64_t>(), 512);
    ExpectRipShowsScreen(state, json, dir);
}

TEST(ScreenCommand, AtariStDumpWithItsOwnColours) {
    TempDir dir;
    std::vector<uint8_t> dump(0x80000, 0);
    PutWords(dump, 0x44C, {0x0000, 0x0007, 0x8000});
    PutWords(dump, 0x78000, {0x8000, 0x0000, 0x0000, 0x0000}); // pixel 0 is colour 1
    WriteWholeFile(dir.File("st.bin"), dump);
    std::vector<uint8_t> palette(512, 0);
    PutWords(palette, 2, {0x0F84}); // colour 1 as an Amiga colour word
    WriteWholeFile(dir.File("colours.pal"), palette);
    const nlohmann::json json = ScreenJson({"screen", dir.File("st.bin"), "--machine", "st", "--palette",
                                            dir.File("colours.pal"), "-o", dir.File("screen.png"), "--json"});
    EXPECT_EQ(json.at("machine").get<std::string>(), "st");
    EXPECT_EQ(json.at("mode").get<std::string>(), "st");
    EXPECT_EQ(json.at("address").get<std::string>(), "$78000");
    EXPECT_EQ(json.at("ripOptions").get<std::string>(),
              "--address $78000 --mode st --bitplanes 4 --tile 320x200 --size 320x200 --skip 0 --skip-mode tiles");
    const Image screen = ReadPng(ReadWholeFile(dir.File("screen.png")));
    EXPECT_EQ(screen.ColourAt(0, 0), MakeColour(0xFF, 0x88, 0x44));
    EXPECT_EQ(screen.ColourAt(1, 0), 0u);
}

TEST(ScreenCommand, FilesWithoutAScreenFailWithAMessageAndWriteNothing) {
    TempDir dir;
    WriteWholeFile(dir.File("raw.bin"), std::vector<uint8_t>(0x1000, 0));
    const CliResult amiga = RunCli({"screen", dir.File("raw.bin"), "--machine", "amiga", "-o", dir.File("out.png")});
    EXPECT_EQ(amiga.ExitCode, 1);
    EXPECT_NE(amiga.Err.find("no Amiga chip RAM"), std::string::npos) << amiga.Err;
    // Without --machine, a file that is no save state is taken as an Atari ST dump.
    const CliResult st = RunCli({"screen", dir.File("raw.bin"), "-o", dir.File("out.png")});
    EXPECT_EQ(st.ExitCode, 1);
    EXPECT_NE(st.Err.find("runs past the end"), std::string::npos) << st.Err;
    EXPECT_FALSE(PathIsFile(dir.File("out.png")));
    EXPECT_EQ(RunCli({"screen", dir.File("raw.bin")}).ExitCode, 2);
    EXPECT_EQ(RunCli({"screen", dir.File("raw.bin"), "-o", dir.File("o.png"), "--machine", "c64"}).ExitCode, 2);
}

} // namespace
} // namespace tavrik::test

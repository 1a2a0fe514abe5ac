// tavrik-cli map: the demo's level drawn from its tile set and checked against the picture kept in
// tests/data (itself checked against the demo's map bytes and tile indexes), the index dump, and the errors.
#include "support/CliRunner.h"
#include "support/DemoData.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

#include "app/Files.h"
#include "imageio/PngFile.h"
#include "workspace/DataFileLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrik {
namespace {

using test::RunCli;

std::string KeptLevel() { return std::string(TAVRIK_TEST_DATA_DIR) + "/demo_map/level.png"; }

int CountDifferences(const Image& a, const Image& b) {
    int differing = 0;
    for (int32_t y = 0; y < a.Height(); ++y)
        for (int32_t x = 0; x < a.Width(); ++x)
            if (a.ColourAt(x, y) != b.ColourAt(x, y) && differing++ < 5) ADD_FAILURE() << "pixel " << x << ", " << y;
    return differing;
}

TEST(MapCommand, DemoLevelIsDrawnAsThePictureKeptInTheTestData) {
    test::TempDir folder;
    const std::string out = folder.File("level.png");
    const test::CliResult result = RunCli(test::DemoLevelMapArguments(out));
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "Missing: 0, Min: $0, Max: $5F\n");
    const Image drawn = ReadPng(ReadWholeFile(out));
    const Image kept = ReadPng(ReadWholeFile(KeptLevel()));
    ASSERT_EQ(drawn.Width(), kept.Width());
    ASSERT_EQ(drawn.Height(), kept.Height());
    EXPECT_EQ(CountDifferences(drawn, kept), 0);
}

// The kept picture is the level the demo was made from: every cell shows the tile its map byte names.
TEST(MapCommand, KeptDemoLevelShowsTheTileOfEveryMapByte) {
    const nlohmann::json& manifest = test::DemoManifest();
    const nlohmann::json& level = manifest.at("LevelMap");
    Workspace demo;
    test::ScriptedDialogs dialogs;
    ASSERT_TRUE(LoadDataFile(demo, test::ExampleFile(manifest.at("SaveState").get<std::string>()), dialogs).Loaded);
    const std::vector<uint8_t>& memory = demo.Memory.MemoryImage;
    const Image tileIndexes = test::ReadIndexPicture(manifest.at("TilesAcbm").at("Indexes").get<std::string>());
    const std::vector<Colour> top = test::ManifestColours(manifest.at("TopPalette"));
    const Image kept = ReadPng(ReadWholeFile(KeptLevel()));
    const int32_t width = static_cast<int32_t>(level.at("Width").get<int64_t>());
    const int32_t height = static_cast<int32_t>(level.at("Height").get<int64_t>());
    ASSERT_EQ(kept.Width(), width * 16);
    ASSERT_EQ(kept.Height(), height * 16);
    const int32_t tilesPerRow = tileIndexes.Width() / 16;
    int differing = 0;
    for (int32_t y = 0; y < kept.Height(); ++y)
        for (int32_t x = 0; x < kept.Width(); ++x) {
            const size_t cell = static_cast<size_t>(level.at("FileOffset").get<int64_t>() + (y / 16) * width + x / 16);
            const int32_t tile = memory.at(cell);
            const uint8_t index =
                tileIndexes.IndexAt((tile % tilesPerRow) * 16 + x % 16, (tile / tilesPerRow) * 16 + y % 16);
            if (kept.ColourAt(x, y) != top.at(index) && differing++ < 5)
                ADD_FAILURE() << "pixel " << x << ", " << y << " of tile " << tile;
        }
    EXPECT_EQ(differing, 0);
}

TEST(MapCommand, DumpListsEveryRowAfterTheSummary) {
    test::TempDir folder;
    std::vector<std::string> arguments = test::DemoLevelMapArguments(folder.File("level.png"));
    arguments.insert(arguments.end(), {"--map-height", "3", "--dump"});
    const test::CliResult result = RunCli(arguments);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const std::vector<std::string> lines = test::Lines(result.Out);
    ASSERT_EQ(lines.size(), 4u) << result.Out;
    EXPECT_EQ(lines[0].rfind("Missing: 0, Min: $0, Max: $", 0), 0u);
    EXPECT_EQ(lines[1].rfind("Row 0: $0000, $004E, ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[3].rfind("Row 2: ", 0), 0u);
    // 64 values of "$" and four digits, separated by ", ".
    EXPECT_EQ(lines[2].size(), std::string("Row 1: ").size() + 64 * 5 + 63 * 2);
}

TEST(MapCommand, TooLargeAMapFailsWithTheOutOfMemoryMessageAndWritesNothing) {
    test::TempDir folder;
    const std::string out = folder.File("wide.png");
    const test::CliResult result =
        RunCli({"map", test::ExampleFile("demo.uss"), "-o", out, "--map-width", "2048", "--map-height", "16"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("Out of memory! Are you sure your tile dimensions are set to sensible values in the "
                              "Tile Ripper tab? The current map is trying to be 32768x256 pixels!"),
              std::string::npos)
        << result.Err;
    EXPECT_FALSE(PathIsFile(out));
    EXPECT_EQ(
        RunCli({"map", test::ExampleFile("demo.uss"), "-o", out, "--map-width", "2047", "--map-height", "16"}).ExitCode,
        0);
}

TEST(MapCommand, TilesThatAreNoPictureAreAnErrorAndWriteNothing) {
    test::TempDir folder;
    const std::string out = folder.File("level.png");
    const std::string notes = folder.File("tiles.txt");
    WriteWholeFile(notes, std::string_view("no picture here"));
    const std::string badBmp = folder.File("tiles.bmp");
    WriteWholeFile(badBmp, std::string_view("BM and nothing else"));
    for (const std::string& tiles : {notes, badBmp}) {
        const test::CliResult result = RunCli(test::DemoLevelMapArguments(out, {"--tiles", tiles}));
        EXPECT_EQ(result.ExitCode, 1) << tiles;
        EXPECT_NE(result.Err.find(tiles == notes ? "is not a picture" : "bitmap"), std::string::npos) << result.Err;
        EXPECT_FALSE(PathIsFile(out));
    }
}

TEST(MapCommand, UsageErrorsNameTheOption) {
    const std::string demo = test::ExampleFile("demo.uss");
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--type", "nibble"}, {"--game", "Brat!"}, {"--mask", "zz"}, {"--blocks", "2"}, {"--map-address", "q"}}) {
        std::vector<std::string> arguments{"map", demo, "-o", "/nonexistent/out.png"};
        arguments.insert(arguments.end(), bad.begin(), bad.end());
        const test::CliResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, 2) << bad[0];
        EXPECT_NE(result.Err.find(bad[0]), std::string::npos) << result.Err;
    }
    EXPECT_EQ(RunCli({"map", demo}).ExitCode, 2);
    const test::CliResult help = RunCli({"map", "--help"});
    EXPECT_EQ(help.ExitCode, 0);
    for (const char* option : {"--map-address", "--type", "--flip-x", "--replace", "--game", "--tiles", "--dump"})
        EXPECT_NE(help.Out.find(option), std::string::npos) << option;
}

} // namespace
} // namespace tavrik

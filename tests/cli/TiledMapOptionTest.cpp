// tavrik-cli map --tmx / --tiled-json / --unique-tiles: the demo level exported for Tiled is drawn by
// Tiled's own renderer as the map picture that -o writes, the JSON map holds the TMX map's gids, and
// unique tiles draw the same picture from fewer tiles.
#include "support/CliRunner.h"
#include "support/DemoData.h"
#include "support/OutsidePrograms.h"
#include "support/TempDir.h"
#include "support/TiledReference.h"

#include "app/Files.h"
#include "imageio/PngFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace tavrik {
namespace {

using test::RunCli;
namespace fs = std::filesystem;

Image Png(const std::string& path) { return ReadPng(ReadWholeFile(path)); }

TEST(TiledMapOption, DemoLevelInTmxAndJsonIsDrawnByTiledAsTheMapPicture) {
    TAVRIK_SKIP_WITHOUT_TILED();
    test::TempDir folder;
    const std::string tmx = folder.File("level.tmx"), json = folder.File("level.tmj");
    const test::CliResult result =
        RunCli(test::DemoLevelMapArguments(folder.File("level.png"), {"--tmx", tmx, "--tiled-json", json}));
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "Missing: 0, Min: $0, Max: $5F\n");
    const Image picture = Png(folder.File("level.png"));
    EXPECT_EQ(test::CountColourDifferences(test::RasterizeWithTiled(tmx, 0), picture), 0);
    EXPECT_EQ(test::CountColourDifferences(test::RasterizeWithTiled(json, 0), picture), 0);
    const std::vector<uint32_t> gids = test::TmxGids(tmx);
    EXPECT_EQ(gids.size(), 64u * 32u);
    EXPECT_EQ(test::TiledJsonGids(json), gids);
    EXPECT_EQ(Png(folder.File("level-tiles.png")).Width(), 320);
}

// Bits 6 and 5 of the demo's values taken as flips give mirrored cells to keep apart from their tiles.
TEST(TiledMapOption, UniqueTilesOfFlippedCellsAreCountedAndDrawTheSamePicture) {
    TAVRIK_SKIP_WITHOUT_TILED();
    test::TempDir folder;
    const std::string tmx = folder.File("unique.tmx"), json = folder.File("unique.tmj");
    const test::CliResult result =
        RunCli(test::DemoLevelMapArguments(folder.File("flipped.png"), {"--flip-x", "$40", "--flip-y", "$20", "--tmx",
                                                                        tmx, "--tiled-json", json, "--unique-tiles"}));
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    std::smatch kept;
    ASSERT_TRUE(
        std::regex_search(result.Out, kept, std::regex("\nTiles: (\\d+) of 100 kept\nTiles: \\1 of 100 kept\n$")))
        << result.Out;
    EXPECT_LT(std::stoi(kept[1]), 100);
    const Image picture = Png(folder.File("flipped.png"));
    EXPECT_EQ(test::CountColourDifferences(test::RasterizeWithTiled(tmx, 0), picture), 0);
    const std::vector<uint32_t> gids = test::TmxGids(tmx);
    EXPECT_TRUE(std::any_of(gids.begin(), gids.end(), [](uint32_t gid) { return gid >= 0x40000000u; }));
    EXPECT_EQ(test::TiledJsonGids(json), gids);
}

TEST(TiledMapOption, ExportErrorsAreReportedAndNameTheFile) {
    test::TempDir folder;
    const std::string missing = folder.File("no/level.tmx");
    std::vector<std::string> arguments = test::DemoLevelMapArguments(folder.File("level.png"), {"--tmx", missing});
    const test::CliResult unwritable = RunCli(arguments);
    EXPECT_EQ(unwritable.ExitCode, 1);
    EXPECT_NE(unwritable.Err.find("Cannot write " + missing + ": the folder"), std::string::npos) << unwritable.Err;

    const test::CliResult lonely = RunCli(test::DemoLevelMapArguments(folder.File("level.png"), {"--unique-tiles"}));
    EXPECT_EQ(lonely.ExitCode, 2);
    EXPECT_NE(lonely.Err.find("--unique-tiles needs --tmx or --tiled-json"), std::string::npos) << lonely.Err;
    const test::CliResult nothing = RunCli({"map", test::ExampleFile("demo.uss")});
    EXPECT_EQ(nothing.ExitCode, 2);
    EXPECT_NE(nothing.Err.find("missing -o OUT.png (or --tmx / --tiled-json)"), std::string::npos) << nothing.Err;
}

// The picture and every Tiled file of one run are written together: one that cannot be written leaves the
// old picture and none of the new files.
TEST(TiledMapOption, AFailedExportLeavesNoneOfItsFiles) {
    test::TempDir folder;
    const std::string picture = folder.File("level.png");
    WriteWholeFile(picture, std::string_view("old picture"));
    fs::create_directory(folder.Path() / "level.tsx");
    const test::CliResult result = RunCli(test::DemoLevelMapArguments(
        picture, {"--tiled-json", folder.File("fine.tmj"), "--tmx", folder.File("level.tmx")}));
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find(folder.File("level.tsx")), std::string::npos) << result.Err;
    const std::vector<uint8_t> kept = ReadWholeFile(picture);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old picture");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"level.png", "level.tsx"}));
}

} // namespace
} // namespace tavrik

// tavrik-cli match and search on the demo: its level drawn from its tiles, a region of that picture cut out as
// the screenshot, matched against the rip and searched for in memory; the JSON forms and the errors.
#include "support/CliRunner.h"
#include "support/DemoData.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include "app/Files.h"
#include "app/IntegerText.h"
#include "app/Limits.h"
#include "imageio/PngFile.h"
#include "project/ProjectFile.h"
#include "search/MapSearch.h"
#include "search/MatchGrid.h"
#include "search/TileMatcher.h"
#include "support/SearchInputs.h"
#include "workspace/DataFileLoader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace tavrik {
namespace {

using test::RunCli;

std::string Number(const nlohmann::json& value) { return std::to_string(value.get<int64_t>()); }

// The README's rip of the demo's tile set with the copper palette.
std::vector<std::string> RipArguments() {
    const nlohmann::json& ripper = test::DemoManifest().at("TilesAcbm").at("Ripper");
    return {"--address",   "+" + test::DemoManifest().at("TilesAcbm").at("AddressText").get<std::string>(),
            "--bitplanes", Number(ripper.at("Bitplanes")),
            "--tile",      Number(ripper.at("TileWidth")) + "x" + Number(ripper.at("TileHeight")),
            "--size",      Number(ripper.at("RipWidth")) + "x" + Number(ripper.at("RipHeight")),
            "--palette",   "copper"};
}

std::string DemoFile() { return test::ExampleFile(test::DemoManifest().at("SaveState").get<std::string>()); }

test::CliResult RunOnDemo(std::vector<std::string> arguments) {
    const std::vector<std::string> rip = RipArguments();
    arguments.insert(arguments.begin() + 1, DemoFile());
    arguments.insert(arguments.end(), rip.begin(), rip.end());
    return RunCli(arguments);
}

// The level cells (25, 19) onwards lie 15 and 14 pixels into the screenshot cut from (385, 290).
constexpr int32_t CutX = 385;
constexpr int32_t CutY = 290;
constexpr int32_t FirstColumn = 25;
constexpr int32_t FirstRow = 19;

class DemoScreenshot : public ::testing::Test {
  protected:
    test::TempDir Folder;
    std::string Screenshot = Folder.File("screenshot.png");

    void SetUp() override {
        const nlohmann::json& level = test::DemoManifest().at("LevelMap");
        const std::string drawn = Folder.File("level.png");
        const test::CliResult map =
            RunOnDemo({"map", "-o", drawn, "--map-address", "+" + level.at("AddressText").get<std::string>(),
                       "--map-width", Number(level.at("Width")), "--map-height", Number(level.at("Height"))});
        ASSERT_EQ(map.ExitCode, 0) << map.Err;
        Image picture = ReadPng(ReadWholeFile(drawn));
        picture.ConvertTo(PixelFormat::Rgb24);
        Image cut(320, 160, PixelFormat::Rgb24);
        CopyRect(picture, CutX, CutY, 320, 160, cut, 0, 0);
        SaveImagePng(cut, Screenshot);
    }

    static int32_t LevelByte(int32_t column, int32_t row) {
        Workspace demo;
        test::ScriptedDialogs dialogs;
        LoadDataFile(demo, DemoFile(), dialogs);
        const nlohmann::json& level = test::DemoManifest().at("LevelMap");
        return demo.Memory.MemoryImage.at(static_cast<size_t>(level.at("FileOffset").get<int64_t>() +
                                                              row * level.at("Width").get<int64_t>() + column));
    }
};

TEST_F(DemoScreenshot, MatchFindsTheLevelsTilesAndSearchFindsTheLevelInMemory) {
    const test::CliResult match =
        RunOnDemo({"match", "--screenshot", Screenshot, "--selection", "0,0,320,160", "--json"});
    ASSERT_EQ(match.ExitCode, 0) << match.Err;
    const nlohmann::json matched = nlohmann::json::parse(match.Out);
    std::vector<std::string> lines;
    for (const nlohmann::json& line : matched.at("indexes"))
        lines.push_back(line.get<std::string>());
    MatchGrid grid;
    ParseMatchGrid(lines, grid);
    ASSERT_EQ(grid.Columns, 15);
    ASSERT_EQ(grid.Rows, 9);
    for (int32_t r = 0; r < grid.Rows; ++r)
        for (int32_t c = 0; c < grid.Columns; ++c)
            EXPECT_EQ(grid.At(r, c).TileNumber, LevelByte(FirstColumn + c, FirstRow + r)) << "cell " << c << "," << r;
    const std::vector<int64_t> selection{15, 14, 15 + 15 * 16, 14 + 9 * 16};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(matched.at("selection").at(i).get<int64_t>(), selection[i]);

    const test::CliResult search =
        RunOnDemo({"search", "--screenshot", Screenshot, "--selection", "0,0,320,160", "--json"});
    ASSERT_EQ(search.ExitCode, 0) << search.Err;
    const nlohmann::json found = nlohmann::json::parse(search.Out);
    const int64_t address =
        test::DemoManifest().at("LevelMap").at("FileOffset").get<int64_t>() + FirstRow * 64 + FirstColumn;
    ASSERT_EQ(found.at("matches").size(), 1u) << search.Out;
    const nlohmann::json& first = found.at("matches").at(0);
    EXPECT_EQ(first.at("address").get<int64_t>(), address);
    EXPECT_EQ(first.at("width").get<int64_t>(), 64);
    EXPECT_EQ(first.at("mask").get<int64_t>(), 255);
    EXPECT_EQ(first.at("memoryType").get<int64_t>(), 0);
    EXPECT_EQ(first.at("item").get<std::string>(),
              "Horiz $" + Hex(static_cast<uint32_t>(address)) + " Width 64 shift 0");
    EXPECT_EQ(found.at("results").size(), 4u);
    EXPECT_EQ(found.at("results").at(3).get<std::string>(), "Finished!");
}

// Sprites over the screenshot: match writes "?" for the cells they cover and still succeeds; search finds the
// level with them and gives the whole level beside the find. A grid with nothing known, or a binary file given
// as the grid, fails with the reason.
TEST_F(DemoScreenshot, SpritesBecomeQuestionMarksAndTheSearchGivesTheWholeLevel) {
    Image shot = ReadPng(ReadWholeFile(Screenshot));
    shot.ConvertTo(PixelFormat::Rgb24);
    std::mt19937 random(3);
    test::PasteSprites(shot, 4, random);
    SaveImagePng(shot, Screenshot);
    const test::CliResult match = RunOnDemo({"match", "--screenshot", Screenshot, "--selection", "0,0,320,160"});
    ASSERT_EQ(match.ExitCode, 0) << match.Err;
    EXPECT_NE(match.Out.find("?"), std::string::npos) << match.Out;

    const test::CliResult search =
        RunOnDemo({"search", "--screenshot", Screenshot, "--selection", "0,0,320,160", "--json"});
    ASSERT_EQ(search.ExitCode, 0) << search.Err;
    const nlohmann::json found = nlohmann::json::parse(search.Out);
    ASSERT_EQ(found.at("matches").size(), 1u) << search.Out;
    const nlohmann::json& level = test::DemoManifest().at("LevelMap");
    const nlohmann::json& first = found.at("matches").at(0);
    EXPECT_EQ(first.at("address").get<int64_t>(), level.at("FileOffset").get<int64_t>() + FirstRow * 64 + FirstColumn);
    EXPECT_EQ(first.at("mapAddress").get<int64_t>(), level.at("FileOffset").get<int64_t>() + FirstColumn);
    EXPECT_EQ(first.at("mapHeight").get<int64_t>(), level.at("Height").get<int64_t>());
    EXPECT_EQ(first.at("mapWidth").get<int64_t>(), level.at("Width").get<int64_t>());
    EXPECT_NE(found.at("results").at(1).get<std::string>().find("cells unknown)"), std::string::npos);

    const std::string unknown = Folder.File("unknown.txt");
    std::ofstream(unknown) << "?, ?, 3\n?, 3, ?\n";
    const test::CliResult nothing = RunOnDemo({"search", "--grid-file", unknown});
    EXPECT_EQ(nothing.ExitCode, 1);
    EXPECT_NE(nothing.Out.find(std::string(NoUsableRowLine)), std::string::npos) << nothing.Out;
    const test::CliResult binary = RunOnDemo({"search", "--grid-file", DemoFile()});
    EXPECT_EQ(binary.ExitCode, 1);
    EXPECT_NE(binary.Err.find("the grid"), std::string::npos) << binary.Err;
}

TEST_F(DemoScreenshot, SearchReadsAGridFileAndPrintsTheResultLines) {
    const std::string gridFile = Folder.File("grid.txt");
    std::ofstream(gridFile) << "11, 11, 11, 11, 3\r\n3, 12, 3, 3, 3\r\n3, 12, 3, 3, 3\r\n";
    const test::CliResult result = RunOnDemo({"search", "--grid-file", gridFile});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "Checking for horizontal byte data...\nJackpot! $3850D with 1 bytes per tile, map width "
                          "64\nLevel map at $3804D: 64 x 32 tiles\nFinished!\n");
}

TEST_F(DemoScreenshot, MatchPrintsTheIndexLinesAndTheUnmatchedLine) {
    const test::CliResult result = RunOnDemo({"match", "--screenshot", Screenshot, "--selection", "15,14,63,46"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "11, 11, 11\n3, 12, 3\n");
    const test::CliResult blank = RunCli({"match", DemoFile(), "--screenshot", Screenshot, "--selection", "0,0,47,47",
                                          "--address", "0", "--bitplanes", "1"});
    EXPECT_EQ(blank.ExitCode, 1);
    EXPECT_EQ(blank.Out, std::string(UnmatchedTilesLine) + "\n" + std::string(NoUsableRowReason) + "\n");
}

TEST_F(DemoScreenshot, BadSelectionsAndMissingFilesAreErrors) {
    for (const std::string selection :
         {"1,2,3", "a,b,c,d", "40,0,20,40", "0,40,40,20", "0,0,15,40", "-1,0,40,40", "0,0,40,40,50"}) {
        const test::CliResult result = RunOnDemo({"match", "--screenshot", Screenshot, "--selection", selection});
        EXPECT_EQ(result.ExitCode, 2) << selection;
        EXPECT_NE(result.Err.find("--selection: the selection '" + selection + "'"), std::string::npos) << result.Err;
    }
    EXPECT_EQ(RunOnDemo({"match", "--screenshot", Folder.File("none.png"), "--selection", "0,0,16,16"}).ExitCode, 1);
    const test::CliResult noGrid = RunOnDemo({"search", "--grid-file", Folder.File("none.txt")});
    EXPECT_EQ(noGrid.ExitCode, 1);
    EXPECT_NE(noGrid.Err.find("none.txt"), std::string::npos);
    EXPECT_EQ(RunOnDemo({"search", "--grid-file", Screenshot, "--screenshot", Screenshot, "--selection", "0,0,16,16"})
                  .ExitCode,
              2);
}

// A screenshot that cannot be read stops match and search with the reason, not a search of nothing.
TEST_F(DemoScreenshot, ADamagedOrNonPictureScreenshotIsAnError) {
    std::vector<uint8_t> damaged = ReadWholeFile(Screenshot);
    damaged.resize(damaged.size() / 2);
    const std::string halfPng = Folder.File("half.png");
    WriteWholeFile(halfPng, damaged);
    const std::string text = Folder.File("notes.txt");
    WriteWholeFile(text, std::string_view("not a picture"));
    const std::string badBmp = Folder.File("bad.bmp");
    WriteWholeFile(badBmp, std::string_view("BM broken"));
    for (const char* command : {"match", "search"})
        for (const std::string& shot : {halfPng, text, badBmp}) {
            const test::CliResult result = RunOnDemo({command, "--screenshot", shot, "--selection", "0,0,16,16"});
            EXPECT_EQ(result.ExitCode, 1) << command << " " << shot << ": " << result.Err;
            EXPECT_NE(result.Err.find(shot == text ? "is not a picture" : shot), std::string::npos) << result.Err;
        }
}

// The demo's rip with another tile and sheet size.
test::CliResult MatchWithTiles(const std::string& screenshot, const std::string& tile, const std::string& size) {
    std::vector<std::string> arguments{"match", DemoFile(), "--screenshot", screenshot, "--selection", "0,0,320,160"};
    const std::vector<std::string> rip = RipArguments();
    arguments.insert(arguments.end(), rip.begin(), rip.end());
    arguments.insert(arguments.end(), {"--tile", tile, "--size", size});
    return RunCli(arguments);
}

// A sheet of half a billion one-pixel tiles took minutes and gigabytes; sizes of no use are refused at once,
// from the options and from a project alike, with the limit named.
TEST_F(DemoScreenshot, SizesOfNoUseAreRefusedNamingTheLimit) {
    const test::CliResult huge = MatchWithTiles(Screenshot, "1x1", "23170x23170");
    EXPECT_EQ(huge.ExitCode, 1);
    EXPECT_NE(huge.Err.find("23170 x 23170"), std::string::npos) << huge.Err;
    EXPECT_NE(huge.Err.find(std::to_string(RipSideLimit)), std::string::npos) << huge.Err;
    EXPECT_EQ(huge.Out, "");

    const test::CliResult tiny = MatchWithTiles(Screenshot, "1x1", "320x80");
    EXPECT_EQ(tiny.ExitCode, 1);
    EXPECT_NE(tiny.Err.find("too small to match"), std::string::npos) << tiny.Err;

    // The largest sheet within the limits is ripped and matched (no tile of it is in the screenshot).
    const test::CliResult widest = MatchWithTiles(Screenshot, "16x16", std::to_string(RipSideLimit) + "x16");
    EXPECT_EQ(widest.ExitCode, 0) << widest.Err;

    ProjectFile saved = NewProjectFile();
    saved.GfxFileName = DemoFile();
    saved.Ripper.TileWidth = saved.Ripper.TileHeight = "1";
    saved.Ripper.RipWidth = saved.Ripper.RipHeight = "23170";
    saved.Search.FileName = Screenshot;
    saved.Search.Selection = ProjectSelection{0, 0, 320, 160};
    const std::string project = Folder.File("huge.ini");
    SaveProjectFile(saved, project, {});
    const test::CliResult fromProject = RunCli({"match", "--project", project, DemoFile()});
    EXPECT_EQ(fromProject.ExitCode, 1);
    EXPECT_NE(fromProject.Err.find(std::to_string(RipSideLimit)), std::string::npos) << fromProject.Err;
}

} // namespace
} // namespace tavrik

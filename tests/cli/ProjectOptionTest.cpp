// tavrik-cli --project: a project's data file, rip, map and palette are the base that the other options
// change; the data-file argument may be left out or replace the project's; tavrik-cli project summarises
// a project file.
#include "support/CliRunner.h"
#include "support/SaveStateBuilder.h"
#include "support/TempDir.h"

#include "app/Files.h"
#include "imageio/PngFile.h"
#include "palette/BuiltInPalettes.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tavrik {
namespace {

using test::RunCli;

struct ProjectFolder {
    test::TempDir Folder;
    std::string Memory = Folder.File("memory.bin");
    std::string Other = Folder.File("other.bin");
    std::string Project = Folder.File("game.ini");

    ProjectFolder() {
        WriteWholeFile(Memory, test::VariedChipRam(0x4000, 3));
        WriteWholeFile(Other, test::VariedChipRam(0x4000, 9));
    }

    // The rip and map that the options below describe, with the default palette.
    ProjectFile Game() const {
        ProjectFile p = NewProjectFile();
        p.GfxFileName = Memory;
        p.Ripper.ModeIndex = 1;
        p.Ripper.Bitplanes = "2";
        p.Ripper.TileWidth = "8";
        p.Ripper.TileHeight = "8";
        p.Ripper.RipWidth = "64";
        p.Ripper.RipHeight = "32";
        p.Ripper.Address = "$10";
        ProjectMap& map = p.Maps[0];
        map.Controls.Address = "$200";
        map.Controls.WidthInTiles = "6";
        map.Controls.HeightInTiles = "5";
        map.Controls.Mask = "$1f";
        map.Replacements = {"$3=$4"};
        std::array<Colour, 256> colours{};
        const std::vector<Colour>& defaults = DefaultPaletteColours();
        std::copy(defaults.begin(), defaults.begin() + std::min<size_t>(256, defaults.size()), colours.begin());
        p.Palette = colours;
        p.Search.IndexLines = {"1, 2, 3", "4, 5, 6"};
        return p;
    }

    void Save(const ProjectFile& p) const { SaveProjectFile(p, Project, {}); }
    std::string Out(const std::string& name) const { return Folder.File(name); }
};

const std::vector<std::string> RipOptions{"--mode", "ilbm",   "--bitplanes", "2",         "--tile",
                                          "8x8",    "--size", "64x32",       "--address", "$10"};
const std::vector<std::string> MapOptions{"--map-address", "$200", "--map-width", "6",    "--map-height", "5",
                                          "--mask",        "$1f",  "--replace",   "$3=$4"};

std::vector<std::string> Joined(std::vector<std::string> words, const std::vector<std::string>& more) {
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

void ExpectSameFile(const std::string& a, const std::string& b) {
    ASSERT_TRUE(PathIsFile(a) && PathIsFile(b));
    EXPECT_TRUE(ReadWholeFile(a) == ReadWholeFile(b)) << a << " differs from " << b;
}

void ExpectSuccess(const test::CliResult& result) { EXPECT_EQ(result.ExitCode, 0) << result.Err; }

TEST(ProjectOption, RipTakesTheProjectsSettingsAndOptionsOnTop) {
    ProjectFolder f;
    f.Save(f.Game());
    ExpectSuccess(RunCli({"rip", "--project", f.Project, "-o", f.Out("project.png")}));
    ExpectSuccess(RunCli(Joined({"rip", f.Memory, "-o", f.Out("options.png")}, RipOptions)));
    ExpectSameFile(f.Out("project.png"), f.Out("options.png"));

    ExpectSuccess(RunCli({"rip", "--project", f.Project, "--tile", "16x4", "-o", f.Out("project2.png")}));
    ExpectSuccess(
        RunCli(Joined({"rip", f.Memory, "-o", f.Out("options2.png")}, Joined(RipOptions, {"--tile", "16x4"}))));
    ExpectSameFile(f.Out("project2.png"), f.Out("options2.png"));

    // A data file named on the command line replaces the project's.
    ExpectSuccess(RunCli({"rip", "--project", f.Project, f.Other, "-o", f.Out("other.png")}));
    ExpectSuccess(RunCli(Joined({"rip", f.Other, "-o", f.Out("other-options.png")}, RipOptions)));
    ExpectSameFile(f.Out("other.png"), f.Out("other-options.png"));
}

TEST(ProjectOption, TheSheetHasTheProjectsColours) {
    ProjectFolder f;
    WriteWholeFile(f.Memory, std::vector<uint8_t>(0x1000, 0xFF));
    ProjectFile p = f.Game();
    p.Ripper.Bitplanes = "1";
    p.Ripper.ModeIndex = 0;
    (*p.Palette)[1] = MakeColour(0x12, 0x34, 0x56);
    f.Save(p);
    ExpectSuccess(RunCli({"rip", "--project", f.Project, "-o", f.Out("sheet.png")}));
    EXPECT_EQ(ReadPng(ReadWholeFile(f.Out("sheet.png"))).ColourAt(0, 0), MakeColour(0x12, 0x34, 0x56));
    ExpectSuccess(RunCli({"rip", "--project", f.Project, "--palette", "bw", "-o", f.Out("bw.png")}));
    EXPECT_EQ(ReadPng(ReadWholeFile(f.Out("bw.png"))).ColourAt(0, 0), MakeColour(254, 254, 254));
}

TEST(ProjectOption, MapDrawsTheProjectsFirstMap) {
    ProjectFolder f;
    f.Save(f.Game());
    const test::CliResult project = RunCli({"map", "--project", f.Project, "-o", f.Out("project.png")});
    ExpectSuccess(project);
    const test::CliResult options =
        RunCli(Joined(Joined({"map", f.Memory, "-o", f.Out("options.png")}, RipOptions), MapOptions));
    ExpectSuccess(options);
    EXPECT_EQ(project.Out, options.Out);
    ExpectSameFile(f.Out("project.png"), f.Out("options.png"));

    ExpectSuccess(RunCli({"map", "--project", f.Project, "--map-width", "3", "-o", f.Out("narrow.png")}));
    EXPECT_EQ(ReadPng(ReadWholeFile(f.Out("narrow.png"))).Width(), 24);
}

TEST(ProjectOption, CopperAndSearchReadTheProjectsDataFile) {
    ProjectFolder f;
    f.Save(f.Game());
    const test::CliResult copper = RunCli({"copper", "--project", f.Project, "--address", "$100"});
    const test::CliResult direct = RunCli({"copper", f.Memory, "--address", "$100"});
    EXPECT_EQ(copper.ExitCode, direct.ExitCode);
    EXPECT_EQ(copper.Out, direct.Out);
    EXPECT_FALSE(copper.Out.empty());

    // Without a grid or screenshot, search looks for the project's match grid.
    std::ofstream(f.Out("grid.txt")) << "1, 2, 3\n4, 5, 6\n";
    const test::CliResult search = RunCli({"search", "--project", f.Project});
    ExpectSuccess(search);
    const test::CliResult grid = RunCli(Joined({"search", f.Memory, "--grid-file", f.Out("grid.txt")}, RipOptions));
    EXPECT_EQ(search.Out, grid.Out);
}

TEST(ProjectOption, MissingFilesAreNamed) {
    ProjectFolder f;
    const test::CliResult noProject = RunCli({"rip", "--project", f.Out("none.ini"), "-o", f.Out("x.png")});
    EXPECT_EQ(noProject.ExitCode, 1);
    EXPECT_NE(noProject.Err.find("cannot open project"), std::string::npos);

    ProjectFile p = f.Game();
    p.GfxFileName = f.Out("gone.uss");
    f.Save(p);
    const test::CliResult noData = RunCli({"rip", "--project", f.Project, "-o", f.Out("x.png")});
    EXPECT_EQ(noData.ExitCode, 1);
    EXPECT_NE(noData.Err.find("cannot open the project's data file"), std::string::npos) << noData.Err;
    EXPECT_EQ(RunCli({"rip", "-o", f.Out("x.png")}).ExitCode, 2); // no project, no data file
}

TEST(ProjectCommand, PrintsTheDataFileAndASummary) {
    ProjectFolder f;
    ProjectFile p = f.Game();
    p.Maps[1].Controls.SkipBytes = "2";
    p.Maps[0].Controls.CustomGame = "Brat";
    f.Save(p);
    const test::CliResult result = RunCli({"project", f.Project});
    ExpectSuccess(result);
    EXPECT_EQ(result.Out.rfind("Data file: " + f.Memory + "\n", 0), 0u) << result.Out;
    EXPECT_NE(result.Out.find("Rip: Amiga ILBM, 2 bitplanes, tiles 8 x 8, size 64 x 32, address $10"),
              std::string::npos)
        << result.Out;
    EXPECT_NE(result.Out.find("Map: 6 x 5 tiles at $200, Byte, Horizontal, mask $1f, shift 0, game Brat, 1 "
                              "replacement lines"),
              std::string::npos)
        << result.Out;
    EXPECT_NE(result.Out.find("Search: screenshot (none), 2 grid lines"), std::string::npos);
    EXPECT_EQ(RunCli({"project", f.Out("none.ini")}).ExitCode, 1);
}

TEST(ProjectCommand, AFileThatIsNoProjectIsAnError) {
    ProjectFolder f;
    const test::CliResult result = RunCli({"project", f.Memory});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, "tavrik-cli: The file " + f.Memory + " is not a Tavrik project.\n");
}

} // namespace
} // namespace tavrik

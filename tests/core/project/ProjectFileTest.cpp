// Project files: every key of every section written in order and read back, stored names, the lines of
// each map, the skip-bytes build rule, damaged, out-of-range and foreign files, and a write that cannot
// finish.
#include "support/TempDir.h"
#include "support/TextFiles.h"

#include "app/Error.h"
#include "app/IniFile.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace tavrik {
namespace {

using Keys = std::vector<std::string>;

// The file's tables as the program has always written them, in order. A key forgotten by the writer, or
// written under another name or in another place, fails the walk below.
const std::vector<std::pair<std::string, Keys>>& ProjectTables() {
    static const Keys mapKeys{"FileName",
                              "Address",
                              "WidthInTiles",
                              "HeightInTiles",
                              "MemoryType",
                              "Direction",
                              "Mask",
                              "Shift",
                              "ScaleMode",
                              "TrimTiles",
                              "SkipBytes",
                              "FlipYMask",
                              "FlipXMask",
                              "FlipYMaskEnabled",
                              "FlipXMaskEnabled",
                              "ReplaceCount",
                              "Replace1",
                              "Replace2",
                              "Adjust",
                              "TilesPerBlockAcross",
                              "TilesPerBlockDown",
                              "TilesPerBlockDirection"};
    static const std::vector<std::pair<std::string, Keys>> tables = [] {
        Keys map1 = mapKeys;
        map1.insert(map1.end(), {"ActualTileSize", "CustomGame", "UseLoadedMap"});
        Keys map2 = mapKeys;
        map2.push_back("CustomGame");
        Keys palette;
        for (int i = 0; i < 256; ++i)
            palette.push_back("Colour" + std::to_string(i));
        return std::vector<std::pair<std::string, Keys>>{
            {"File", {"GfxFileName", "GfxTilesFileName", "ChipMemoryOffset"}},
            {"General", {"Original", "MinimumBuildRequired"}},
            {"Gfx",
             {"Address",
              "PaletteAddress",
              "TileWidth",
              "TileHeight",
              "Bitplanes",
              "SkipBytes",
              "SkipMode",
              "RipWidth",
              "RipHeight",
              "Mode",
              "MaskBefore",
              "MaskAfter",
              "ActualTileSize",
              "CopperlistStopYPos",
              "TilesPerBlockAcross",
              "TilesPerBlockDown",
              "TilesPerBlockDirection",
              "TilesPerBlockSize",
              "Rearrange",
              "UseLoadedTiles"}},
            {"Map", map1},
            {"Map2", map2},
            {"Search",
             {"FileName", "IndexCount", "Indexes1", "Indexes2", "Indexes3", "SelectionLeft", "SelectionTop",
              "SelectionRight", "SelectionBottom"}},
            {"Palette", palette}};
    }();
    return tables;
}

// A project in which every value differs from what a load takes for a missing key.
ProjectFile EveryValueSet() {
    ProjectFile p;
    p.GfxFileName = "/games/turrican.uss";
    p.GfxTilesFileName = "/games/tiles.png";
    p.ChipMemoryOffset = 0x2C;
    p.MachineId = "1A2B3C";
    RipControls& r = p.Ripper;
    r.Address = "$1F00";
    p.PaletteAddress = "$3F0";
    r.TileWidth = "32";
    r.TileHeight = "8";
    r.Bitplanes = "5";
    r.SkipBytes = "-4";
    r.SkipModeIndex = 1;
    r.RipWidth = "256";
    r.RipHeight = "512";
    r.ModeIndex = 3;
    r.MaskBefore = true;
    r.MaskAfter = true;
    r.ActualTileSize = {3, "16 x 16"};
    r.CopperlistStopYPos = "$A0";
    r.TilesPerBlockAcross = "4";
    r.TilesPerBlockDown = "2";
    r.TilesPerBlockDirectionIndex = 1;
    r.TilesPerBlockSize = {-1, "24 x 24"};
    r.Rearrange = true;
    r.UseLoadedTiles = true;
    for (size_t i = 0; i < 2; ++i) {
        ProjectMap& m = p.Maps[i];
        const std::string n = std::to_string(i + 1);
        m.FileName = "/games/level" + n + ".bin";
        m.Controls.Address = "$40" + n;
        m.Controls.WidthInTiles = "12" + n;
        m.Controls.HeightInTiles = "3" + n;
        m.Controls.MemoryTypeIndex = 2 + static_cast<int32_t>(i);
        m.Controls.DirectionIndex = 1;
        m.Controls.Mask = "$3ff";
        m.Controls.Shift = "-" + n;
        m.ScaleModeIndex = 0;
        m.Controls.TrimTiles = "2";
        m.Controls.SkipBytes = "1" + n;
        m.Controls.FlipYMask = "$800";
        m.Controls.FlipXMask = "$400";
        m.FlipYMaskEnabled = true;
        m.FlipXMaskEnabled = true;
        m.Replacements = {"$1" + n + "=$0", "$5-$7=$2"};
        m.Controls.Adjust = "-1";
        m.Controls.TilesPerBlockAcross = "2";
        m.Controls.TilesPerBlockDown = "3";
        m.Controls.TilesPerBlockDirectionIndex = 1;
        m.Controls.CustomGame = i == 0 ? "Brat" : "Yo! Joe!";
    }
    p.Maps[0].Controls.TileSize = {-1, "8 x 16"};
    p.Maps[0].UseLoadedMap = true;
    p.Search.FileName = "/shots/level1.png";
    p.Search.IndexLines = {"12, 13, 14", "y3/40, 1, 2", "x7, 0, 0"};
    p.Search.Selection = ProjectSelection{16, 8, 272, 200};
    std::array<Colour, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = MakeColour(static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7));
    p.Palette = colours;
    return p;
}

ProjectLoad Load(const std::string& path, const AddressMode& addresses = {}) {
    return LoadProjectFile(path, ProjectFile{}, addresses, ProgramBuild());
}

TEST(ProjectFile, EveryKeyOfTheTablesIsWrittenInOrderAndReadBack) {
    test::TempDir folder;
    const std::string path = folder.File("game.ini");
    const ProjectFile saved = EveryValueSet();
    SaveProjectFile(saved, path, {});

    IniFile ini;
    ini.Load(path);
    for (const auto& [section, keys] : ProjectTables())
        EXPECT_EQ(ini.Keys(section), keys) << "section " << section;
    EXPECT_EQ(ini.Text("Palette", "Colour1"), "$01FE07");
    EXPECT_EQ(ini.Text("Gfx", "Address"), "$1F00");

    // A load that forgot a key would take its default, and the second save would differ from the first.
    ProjectLoad load = LoadProjectFile(path, saved, {}, ProgramBuild());
    load.Project.MachineId = saved.MachineId;
    const std::string again = folder.File("again.ini");
    SaveProjectFile(load.Project, again, {});
    EXPECT_EQ(test::ReadText(again), test::ReadText(path));
    EXPECT_EQ(load.Project.Maps[1].Replacements, saved.Maps[1].Replacements);
    EXPECT_EQ(load.Project.Search.IndexLines, saved.Search.IndexLines);
    EXPECT_EQ(load.Project.Palette, saved.Palette);
    EXPECT_EQ(load.Project.Ripper.ActualTileSize.ItemIndex, 3);
    EXPECT_EQ(load.Project.Ripper.TilesPerBlockSize.ItemIndex, -1);
}

TEST(ProjectFile, MissingKeysTakeTheTablesDefaultsAndUnsavedControlsKeepTheirs) {
    test::TempDir folder;
    const std::string path = folder.File("empty.ini");
    std::ofstream(path) << "[General]\nOriginal=$1\n[Gfx]\nBitplanes=1\n";
    ProjectFile current;
    current.Ripper.ModeIndex = 2;
    current.Ripper.CopperlistStopYPos = "$C0";
    const ProjectFile p = LoadProjectFile(path, current, {}, ProgramBuild()).Project;
    EXPECT_EQ(p.Ripper.ModeIndex, 2);
    EXPECT_EQ(p.Ripper.CopperlistStopYPos, "$C0");
    EXPECT_EQ(p.Ripper.Address, "$0");
    EXPECT_EQ(p.Ripper.RipWidth, "320");
    EXPECT_EQ(p.Ripper.ActualTileSize.Text, "Same as tiles");
    EXPECT_EQ(p.Maps[0].Controls.WidthInTiles, "0");
    EXPECT_EQ(p.Maps[1].Controls.Mask, "$ffff");
    EXPECT_EQ(p.Maps[1].ScaleModeIndex, 1);
    EXPECT_FALSE(p.Search.Selection);
    EXPECT_FALSE(p.Palette); // the data file's colours stay
}

// Names survive a move of the project's folder and a start from another folder: relative to the project
// when the file lies in or below its folder, else absolute; a name found nowhere stays as it is.
TEST(ProjectFile, NamesAreStoredRelativeToTheProjectOrAbsolute) {
    test::TempDir folder;
    const std::filesystem::path root = folder.Path();
    for (const char* file : {"games/a.uss", "games/shots/b.png", "other/c.bin", "old/d.uss"}) {
        std::filesystem::create_directories((root / file).parent_path());
        std::ofstream(root / file) << "x";
    }
    const std::string project = (root / "games/p.ini").string();
    const FileSearchPlaces none;
    EXPECT_EQ(StoredFileName((root / "games/a.uss").string(), project, none), "a.uss");
    EXPECT_EQ(StoredFileName((root / "games/shots/b.png").string(), project, none), "shots/b.png");
    EXPECT_EQ(StoredFileName((root / "other/c.bin").string(), project, none), (root / "other/c.bin").string());
    EXPECT_EQ(StoredFileName("C:\\Amiga\\e.uss", project, none), "C:\\Amiga\\e.uss");
    // A name the project opened before held relative to its own folder is found there first.
    const FileSearchPlaces before{(root / "old/p.ini").string(), ""};
    EXPECT_EQ(StoredFileName("d.uss", project, before), (root / "old/d.uss").string());

    ProjectFile p;
    p.GfxFileName = (root / "games/a.uss").string();
    p.Maps[1].FileName = (root / "other/c.bin").string();
    p.Search.FileName = (root / "games/shots/b.png").string();
    SaveProjectFile(p, project, {});
    const ProjectFile loaded = Load(project).Project;
    EXPECT_EQ(loaded.GfxFileName, "a.uss");
    EXPECT_EQ(loaded.Maps[1].FileName, (root / "other/c.bin").string());
    EXPECT_EQ(loaded.Search.FileName, "shots/b.png");
}

// An unreadable file or one that holds no project value is refused with the reason, so the window and the
// command line can leave the work as it was.
TEST(ProjectFile, AFileThatIsNoProjectIsRefusedWithTheReason) {
    test::TempDir folder;
    const std::vector<std::pair<std::string, std::string>> files{
        {"settings.ini", "[Settings]\nAutomaticUpdates=0\n[MRU List]\n1=/a.ini\n"},
        {"picture.ini", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"empty.ini", ""},
        {"sections.ini", "[Gfx]\n[Map]\n"},
    };
    for (const auto& [name, text] : files) {
        std::ofstream(folder.File(name), std::ios::binary) << text;
        try {
            Load(folder.File(name));
            ADD_FAILURE() << name << " was loaded as a project";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "The file " + folder.File(name) + " is not a Tavrik project.");
        }
    }
    EXPECT_THROW(Load(folder.File("missing.ini")), Error);
    EXPECT_THROW(Load(folder.Path().string()), Error);
}

TEST(ProjectFile, SavingAsTextFileWritesTheIniName) {
    EXPECT_EQ(ProjectNameForSave("/games/turrican.txt"), "/games/turrican.ini");
    EXPECT_EQ(ProjectNameForSave("/games/turrican"), "/games/turrican.ini");
}

TEST(ProjectFile, EachMapKeepsItsOwnReplacementLines) {
    test::TempDir folder;
    const std::string path = folder.File("p.ini");
    ProjectFile p;
    p.Maps[0].Replacements = {"$1=$2", "$3=$4", "$5=$6"};
    p.Maps[1].Replacements = {"$9=$0"};
    SaveProjectFile(p, path, {});
    IniFile ini;
    ini.Load(path);
    EXPECT_EQ(ini.Text("Map", "ReplaceCount"), "3");
    EXPECT_EQ(ini.Text("Map2", "ReplaceCount"), "1");
    EXPECT_EQ(ini.Text("Map2", "Replace1"), "$9=$0");
    EXPECT_FALSE(ini.HasKey("Map2", "Replace2"));

    // Saving fewer lines into the same file leaves no stale lines behind.
    p.Maps[0].Replacements = {"$7=$8"};
    SaveProjectFile(p, path, {});
    ini.Load(path);
    EXPECT_FALSE(ini.HasKey("Map", "Replace2"));
    const ProjectFile loaded = Load(path).Project;
    EXPECT_EQ(loaded.Maps[0].Replacements, std::vector<std::string>{"$7=$8"});
    EXPECT_EQ(loaded.Maps[1].Replacements, std::vector<std::string>{"$9=$0"});
}

TEST(ProjectFile, MapSkipBytesNeedBuild57AndANewerBuildIsWarned) {
    test::TempDir folder;
    const std::string path = folder.File("Skip.ini");
    ProjectFile p;
    SaveProjectFile(p, path, {});
    IniFile ini;
    ini.Load(path);
    EXPECT_FALSE(ini.HasKey("General", "MinimumBuildRequired"));
    p.Maps[1].Controls.SkipBytes = "3";
    SaveProjectFile(p, path, {});
    ini.Load(path);
    EXPECT_EQ(ini.Text("General", "MinimumBuildRequired"), "57");
    EXPECT_EQ(LoadProjectFile(path, {}, {}, 57).NewerBuildWarning, "");

    const ProjectLoad newer = LoadProjectFile(path, {}, {}, 56);
    EXPECT_EQ(newer.MinimumBuildRequired, 57);
    EXPECT_EQ(newer.NewerBuildWarning,
              "The project 'Skip.ini' was created in a newer version of Tavrik. You need to update to a newer "
              "version to safely load this project!\r\r(If you save this project, you will lose some of the "
              "settings. Go to the Help menu to update to a newer version!)");
    EXPECT_EQ(newer.Project.Maps[1].Controls.SkipBytes, "3"); // the load goes on

    p.Maps[1].Controls.SkipBytes = "0";
    SaveProjectFile(p, path, {});
    ini.Load(path);
    EXPECT_FALSE(ini.HasKey("General", "MinimumBuildRequired"));
}

TEST(ProjectFile, AnUnknownCustomGameIsKeptAsTrimmedText) {
    test::TempDir folder;
    const std::string path = folder.File("p.ini");
    std::ofstream(path) << "[Map]\nCustomGame=  Turrican II \n[Map2]\nCustomGame=\n";
    const ProjectFile p = Load(path).Project;
    EXPECT_EQ(p.Maps[0].Controls.CustomGame, "Turrican II");
    EXPECT_EQ(p.Maps[1].Controls.CustomGame, "");
}

TEST(ProjectFile, ChipRelativeDisplayShowsStoredOffsetsFromChipRam) {
    test::TempDir folder;
    const std::string path = folder.File("p.ini");
    ProjectFile p;
    p.Ripper.Address = "+$100"; // typed relative to chip RAM at $2C
    const AddressMode relative{0x2C, true};
    SaveProjectFile(p, path, ProjectSaveContext{relative, {}});
    IniFile ini;
    ini.Load(path);
    EXPECT_EQ(ini.Text("Gfx", "Address"), "$12C"); // a file offset
    EXPECT_EQ(Load(path, relative).Project.Ripper.Address, FormatAddress(0x12C, relative));
    EXPECT_EQ(Load(path).Project.Ripper.Address, "$12C");
}

TEST(ProjectFile, ValuesOutOfRangeAreHeldToTheControlsLimits) {
    test::TempDir folder;
    const std::string path = folder.File("p.ini");
    std::ofstream(path) << "[Gfx]\nTileWidth=-16\nBitplanes=99\nRipWidth=2000000000\nMode=77\nSkipMode=-3\n"
                           "[Map]\nWidthInTiles=-5\nHeightInTiles=99999999\nMemoryType=12\nScaleMode=9\n"
                           "ReplaceCount=2000000000\nTilesPerBlockAcross=500\n[Search]\nIndexCount=-4\n"
                           "SelectionLeft=-10\nSelectionRight=99999\nSelectionTop=0\nSelectionBottom=20\n";
    const ProjectFile p = Load(path).Project;
    EXPECT_EQ(p.Ripper.TileWidth, "1");
    EXPECT_EQ(p.Ripper.Bitplanes, "8");
    EXPECT_EQ(p.Ripper.RipWidth, "32767");
    EXPECT_EQ(p.Ripper.ModeIndex, 4);
    EXPECT_EQ(p.Ripper.SkipModeIndex, 0);
    EXPECT_EQ(p.Maps[0].Controls.WidthInTiles, "0");
    EXPECT_EQ(p.Maps[0].Controls.HeightInTiles, "32767");
    EXPECT_EQ(p.Maps[0].Controls.MemoryTypeIndex, 4);
    EXPECT_EQ(p.Maps[0].ScaleModeIndex, 1);
    EXPECT_EQ(p.Maps[0].Replacements.size(), 10000u);
    EXPECT_EQ(p.Maps[0].Controls.TilesPerBlockAcross, "99");
    EXPECT_TRUE(p.Search.IndexLines.empty());
    ASSERT_TRUE(p.Search.Selection);
    EXPECT_EQ(p.Search.Selection->Left, 0);
    EXPECT_EQ(p.Search.Selection->Right, 32767);
}

TEST(ProjectFile, DamagedFilesLoadWhatTheyCan) {
    test::TempDir folder;
    const std::string full = folder.File("full.ini");
    SaveProjectFile(EveryValueSet(), full, {});
    const std::string text = test::ReadText(full);
    const std::string cut = folder.File("cut.ini");
    std::ofstream(cut, std::ios::binary) << text.substr(0, text.find("[Map]") + 40);
    const ProjectFile p = Load(cut).Project;
    EXPECT_EQ(p.GfxFileName, "/games/turrican.uss");
    EXPECT_EQ(p.Ripper.Bitplanes, "5");
    EXPECT_EQ(p.Maps[1].Controls.WidthInTiles, "0");
    EXPECT_FALSE(p.Palette);

    const std::string binary = folder.File("binary.ini");
    std::string noise;
    for (int i = 0; i < 4096; ++i)
        noise.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
    std::ofstream(binary, std::ios::binary) << "[Gfx]\nBitplanes=3\n" << noise;
    EXPECT_EQ(Load(binary).Project.Ripper.Bitplanes, "3");
}

// A write that runs out of room half-way (the file size limit stands in for a full disk) fails with a
// message and leaves the earlier project and no temporary file behind.
TEST(ProjectFile, AWriteCutShortLeavesTheOldFileWhole) {
    test::TempDir folder;
    const std::string path = folder.File("game.ini");
    ProjectFile small;
    SaveProjectFile(small, path, {});
    const std::string before = test::ReadText(path);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = 2048;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    bool failed = false;
    try {
        SaveProjectFile(EveryValueSet(), path, {});
    } catch (const Error& error) {
        failed = std::string(error.what()).find(path) != std::string::npos;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(failed);
    EXPECT_EQ(test::ReadText(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(ProjectFile, NewProjectsMapsAndMasks) {
    const ProjectFile p = NewProjectFile();
    EXPECT_EQ(p.Maps[0].Controls.WidthInTiles, "64");
    EXPECT_EQ(p.Maps[0].Controls.HeightInTiles, "64");
    EXPECT_EQ(p.Maps[1].Controls.WidthInTiles, "0");
    EXPECT_EQ(p.Maps[1].Controls.HeightInTiles, "0");
    for (const ProjectMap& map : p.Maps) {
        EXPECT_EQ(map.Controls.Mask, "$ffff");
        EXPECT_EQ(map.ScaleModeIndex, 1);
    }
    EXPECT_EQ(p.Ripper.Address, "$0");
    EXPECT_EQ(p.Ripper.CopperlistStopYPos, "$80");
}

} // namespace
} // namespace tavrik

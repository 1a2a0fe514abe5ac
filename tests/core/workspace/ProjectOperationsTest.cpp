// Projects on a workspace: New Project's empty work, the palette kept through a save and a load, the data
// file's colours kept when a project has none, addresses carried across a move of chip RAM, data files
// found after a move or reported missing, and files that are no project.
#include "support/SaveStateBuilder.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IniFile.h"
#include "palette/BuiltInPalettes.h"
#include "palette/PaletteOperations.h"
#include "workspace/ProjectOperations.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavrik {
namespace {

// A save state whose chip RAM is stored uncompressed right after the header, at file offset $2C.
std::string WriteSaveState(const test::TempDir& folder, const std::string& name) {
    test::SaveStateBuilder state("UAE 4.10.1 AB");
    state.Stored("CRAM", std::vector<uint8_t>(0x8000, 0x55));
    state.End();
    const std::string path = folder.File(name);
    WriteWholeFile(path, state.Data());
    return path;
}

std::array<Colour, 256> Rainbow() {
    std::array<Colour, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = MakeColour(static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i));
    return colours;
}

TEST(ProjectOperations, NewProjectEmptiesTheWork) {
    Workspace ws;
    ws.Memory.MemoryImage.assign(100, 1);
    ws.Memory.ChipRamOffset = 0x2C;
    ws.LoadedMapData.assign(10, 2);
    ws.ProjectFileName = "/games/old.ini";
    ProjectFile project;
    project.MachineId = "ABC";
    project.Maps[1].Controls.WidthInTiles = "9";
    NewProject(ws, project);
    EXPECT_EQ(project.MachineId, "ABC");
    EXPECT_EQ(project.Maps[1].Controls.WidthInTiles, "0");
    EXPECT_TRUE(ws.ProjectFileName.empty());
    EXPECT_TRUE(ws.Memory.MemoryImage.empty());
    EXPECT_EQ(ws.Memory.ChipRamOffset, 0u);
    EXPECT_TRUE(ws.LoadedMapData.empty());
    EXPECT_EQ(ws.TileSheet.Width(), 320);
    EXPECT_EQ(ws.TileSheet.Height(), 256);
    EXPECT_EQ(ws.Maps[0].WidthInTiles, 64);
    EXPECT_EQ(ws.Maps[0].HeightInTiles, 64);
    EXPECT_EQ(ColourFromEntry(ws.Palette.Entries[2]), DefaultPaletteColours()[2]);
}

TEST(ProjectOperations, PaletteSurvivesSaveAndLoadAndIsKeptWhenAbsent) {
    test::TempDir folder;
    const std::string state = WriteSaveState(folder, "game.uss");
    Workspace ws;
    ProjectFile project = NewProjectFile();
    project.GfxFileName = state;
    SetPaletteColours(ws.Palette, Rainbow());
    SaveProject(ws, project, folder.File("game.ini"));
    EXPECT_EQ(ws.ProjectFileName, folder.File("game.ini"));

    Workspace loaded;
    ProjectFile back = NewProjectFile();
    test::ScriptedDialogs dialogs;
    const ProjectOpened opened = LoadProject(loaded, back, folder.File("game.ini"), dialogs);
    EXPECT_TRUE(opened.DataFile.Loaded);
    EXPECT_TRUE(opened.Problems.empty());
    for (size_t i = 0; i < 256; ++i)
        ASSERT_EQ(ColourFromEntry(loaded.Palette.Entries[i]), Rainbow()[i]) << i;

    // Without a palette section the colours the data file gave stay.
    WriteWholeFile(folder.File("bare.ini"), std::vector<uint8_t>{});
    ProjectFile bare = NewProjectFile();
    bare.GfxFileName = state;
    SaveProjectFile(bare, folder.File("bare.ini"), {});
    IniFile ini;
    ini.Load(folder.File("bare.ini"));
    for (int i = 0; i < 256; ++i)
        ini.RemoveKey("Palette", "Colour" + std::to_string(i));
    ini.Save(folder.File("bare.ini"));
    Workspace kept;
    SetPaletteColours(kept.Palette, Rainbow());
    LoadProject(kept, bare, folder.File("bare.ini"), dialogs);
    EXPECT_EQ(ColourFromEntry(kept.Palette.Entries[7]), Rainbow()[7]);
}

TEST(ProjectOperations, AddressesFollowChipRamToItsNewPlace) {
    test::TempDir folder;
    const std::string state = WriteSaveState(folder, "game.uss");
    Workspace probe;
    test::ScriptedDialogs dialogs;
    ASSERT_TRUE(LoadDataFile(probe, state, dialogs).Loaded);
    const uint32_t chipRam = probe.Memory.ChipRamOffset;
    const int32_t delta = 0x200 - static_cast<int32_t>(chipRam);
    ASSERT_EQ(chipRam, 0x2Cu);

    // Saved when chip RAM started at $200: everything moves down by $1D4.
    ProjectFile p = NewProjectFile();
    p.GfxFileName = state;
    p.ChipMemoryOffset = 0x200;
    p.Ripper.Address = "$1000";
    p.Maps[0].Controls.Address = "$800";
    p.Maps[1].Controls.Address = "$300";
    p.Maps[1].Controls.WidthInTiles = "4";
    p.Maps[1].Controls.HeightInTiles = "4";
    SaveProjectFile(p, folder.File("moved.ini"), {});
    p.ChipMemoryOffset = 0; // overwritten by the load

    Workspace ws;
    const ProjectOpened opened = LoadProject(ws, p, folder.File("moved.ini"), dialogs);
    EXPECT_EQ(opened.ChipRamDelta, delta);
    EXPECT_EQ(p.ChipMemoryOffset, chipRam);
    EXPECT_EQ(p.Ripper.Address, FormatAddress(static_cast<uint32_t>(0x1000 - delta), ws.Addresses()));
    EXPECT_EQ(ws.Maps[0].Address, 0x800 - delta);
    EXPECT_EQ(p.Maps[0].Controls.Address, FormatAddress(static_cast<uint32_t>(0x800 - delta), ws.Addresses()));
    EXPECT_EQ(ws.Maps[1].Address, 0x300 - delta);
    EXPECT_EQ(opened.Maps[1].Result, MapDrawResult::Drawn);

    // A rip address that would go below 0 stops at 0.
    p = NewProjectFile();
    p.GfxFileName = state;
    p.ChipMemoryOffset = 0x200;
    p.Ripper.Address = "$100";
    SaveProjectFile(p, folder.File("low.ini"), {});
    LoadProject(ws, p, folder.File("low.ini"), dialogs);
    EXPECT_EQ(p.Ripper.Address, FormatAddress(0, ws.Addresses()));

    // Addresses past 2 GiB move as any other: nothing is held to 32 bits.
    p = NewProjectFile();
    p.GfxFileName = state;
    p.ChipMemoryOffset = 0x200;
    p.Ripper.Address = "$100000000";
    p.Maps[0].Controls.Address = "$180000000";
    SaveProjectFile(p, folder.File("far.ini"), {});
    LoadProject(ws, p, folder.File("far.ini"), dialogs);
    EXPECT_EQ(ws.Ripper.Parameters.Address, 0x100000000 - delta);
    EXPECT_EQ(ws.Maps[0].Address, 0x180000000 - delta);
    EXPECT_EQ(p.Maps[0].Controls.Address, FormatAddress(0x180000000 - delta, ws.Addresses()));
}

// With the fields counting from chip RAM, the stored offsets are shown from the chip RAM of the data file the
// project loads, not from where chip RAM lay before it (nowhere, in a fresh window).
TEST(ProjectOperations, ChipRelativeFieldsCountFromTheLoadedDataFilesChipRam) {
    test::TempDir folder;
    test::ScriptedDialogs dialogs;
    ProjectFile p = NewProjectFile();
    p.GfxFileName = WriteSaveState(folder, "game.uss");
    p.ChipMemoryOffset = 0x2C;
    p.Ripper.Address = "$1000";
    SaveProjectFile(p, folder.File("p.ini"), {});
    Workspace ws;
    ws.ChipRelativeAddresses = true;
    LoadProject(ws, p, folder.File("p.ini"), dialogs);
    EXPECT_EQ(ws.Ripper.Parameters.Address, 0x1000);
    EXPECT_EQ(p.Ripper.Address, "$FD4");
}

TEST(ProjectOperations, AMissingDataFileLetsTheLoadGoOn) {
    test::TempDir folder;
    ProjectFile p = NewProjectFile();
    p.GfxFileName = folder.File("gone.uss");
    p.Maps[0].Controls.WidthInTiles = "8";
    SaveProjectFile(p, folder.File("p.ini"), {});
    Workspace ws;
    test::ScriptedDialogs dialogs;
    const ProjectOpened opened = LoadProject(ws, p, folder.File("p.ini"), dialogs);
    EXPECT_FALSE(opened.DataFile.Loaded);
    EXPECT_EQ(opened.Problems,
              std::vector<std::string>{"The file " + folder.File("gone.uss") + " named in the project " +
                                       folder.File("p.ini") + " cannot be found."});
    EXPECT_EQ(p.Maps[0].Controls.WidthInTiles, "8");
    EXPECT_EQ(opened.Maps[0].Result, MapDrawResult::NotDrawn); // no memory to draw from
}

// A project and its data file moved to another folder together, opened from yet another current folder.
TEST(ProjectOperations, ADataFileBesideItsProjectIsFoundFromAnyFolder) {
    test::TempDir folder;
    const std::string state = WriteSaveState(folder, "game.uss");
    Workspace ws;
    test::ScriptedDialogs dialogs;
    ProjectFile p = NewProjectFile();
    p.GfxFileName = state;
    p.Ripper.Address = "$2C";
    SaveProject(ws, p, folder.File("game.ini"));
    std::filesystem::create_directory(folder.File("moved"));
    for (const char* name : {"game.uss", "game.ini"})
        std::filesystem::rename(folder.File(name), folder.File(std::string("moved/") + name));

    Workspace fresh;
    ProjectFile loaded = NewProjectFile();
    const ProjectOpened opened = LoadProject(fresh, loaded, folder.File("moved/game.ini"), dialogs);
    EXPECT_TRUE(opened.Problems.empty());
    EXPECT_TRUE(opened.DataFile.Loaded);
    EXPECT_EQ(loaded.GfxFileName, "game.uss");
    EXPECT_EQ(fresh.Ripper.Parameters.Address, 0x2C);
}

// Opening a file that is no project changes nothing of the work.
TEST(ProjectOperations, AFileThatIsNoProjectChangesNothing) {
    test::TempDir folder;
    Workspace ws;
    test::ScriptedDialogs dialogs;
    ProjectFile p = NewProjectFile();
    p.GfxFileName = WriteSaveState(folder, "game.uss");
    LoadDataFile(ws, p.GfxFileName, dialogs);
    ws.ProjectFileName = folder.File("current.ini");
    const MemoryState memory = ws.Memory;
    WriteWholeFile(folder.File("notes.ini"), std::vector<uint8_t>{'h', 'i', '\n'});
    EXPECT_THROW(LoadProject(ws, p, folder.File("notes.ini"), dialogs), Error);
    EXPECT_EQ(ws.ProjectFileName, folder.File("current.ini"));
    EXPECT_EQ(p.GfxFileName, folder.File("game.uss"));
    EXPECT_TRUE(ws.Memory == memory);
}

} // namespace
} // namespace tavrik

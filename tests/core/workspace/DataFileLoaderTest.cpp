// Loading the data file into the workspace: the lines of the "Info" memo, the palette to run, the copper
// list address text, the search beside the project, and bad files that leave the workspace as it was.
#include "workspace/DataFileLoader.h"

#include "app/Error.h"
#include "app/Files.h"
#include "support/SaveStateBuilder.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavrik {
namespace {

using test::ChipChunkData;
using test::ChipRegisters;
using test::SaveStateBuilder;

const std::string DataDir = TAVRIK_TEST_DATA_DIR;
const std::string SampleState = DataDir + "/savestate_compressed/state.uss";

std::vector<uint8_t> StateWithColours(bool agaColours) {
    ChipRegisters chip;
    chip.COP1LC = 0x300;
    chip.COLOR[4] = 0x0123;
    std::array<uint32_t, 256> aga{};
    aga[9] = agaColours ? 0x00FFFFFF : 0;
    SaveStateBuilder state;
    state.Compressed("CRAM", std::vector<uint8_t>(0x1000, 0));
    state.Stored("CHIP", ChipChunkData(chip));
    state.Stored("AGAC", test::AgacChunkData(aga));
    state.End();
    return state.Data();
}

TEST(LoadDataFile, SaveStateFillsTheMemoryAndTheInfoLines) {
    Workspace ws;
    test::ScriptedDialogs dialogs;
    const DataFileLoad load = LoadDataFile(ws, SampleState, dialogs);

    ASSERT_TRUE(load.Loaded);
    EXPECT_EQ(load.FileName, "state.uss");
    ASSERT_GE(load.InfoLines.size(), 3u);
    EXPECT_EQ(load.InfoLines[0], "Amiga State File detected: UAE 4.10.1");
    EXPECT_EQ(load.InfoLines[1].rfind("ZLib compressed chunk CRAM found at offset $70 length $8000", 0), 0u);
    EXPECT_EQ(load.InfoLines[2].rfind("ZLib compressed chunk CONF found at offset $", 0), 0u);
    EXPECT_EQ(load.InfoLines[3], "Total chip memory: $8000 (32kb)");
    EXPECT_EQ(load.InfoLines.size(), 3u + 10u + 4u);
    EXPECT_EQ(ws.Memory.ChipRamOffset, 0x7Cu);
    EXPECT_EQ(ws.Memory.ChipRamSize, 0x8000u);
    EXPECT_EQ(load.Palette, SavedPalette::Ecs);
    EXPECT_EQ(load.PaletteAddressText, "$107C");
    EXPECT_TRUE(dialogs.History.empty());
}

TEST(LoadDataFile, PaletteAddressFollowsTheChipRelativeDisplay) {
    Workspace ws;
    ws.ChipRelativeAddresses = true;
    test::ScriptedDialogs dialogs;
    EXPECT_EQ(LoadDataFile(ws, SampleState, dialogs).PaletteAddressText, "$1000");
}

TEST(LoadDataFile, AgaColoursWinOverEcsColours) {
    test::TempDir folder;
    test::ScriptedDialogs dialogs;
    Workspace ws;
    WriteWholeFile(folder.File("aga.uss"), StateWithColours(true));
    WriteWholeFile(folder.File("ecs.uss"), StateWithColours(false));
    EXPECT_EQ(LoadDataFile(ws, folder.File("aga.uss"), dialogs).Palette, SavedPalette::Aga);
    EXPECT_EQ(LoadDataFile(ws, folder.File("ecs.uss"), dialogs).Palette, SavedPalette::Ecs);
}

TEST(LoadDataFile, SavedPaletteSetsTheWorkingPaletteEntries) {
    test::TempDir folder;
    test::ScriptedDialogs dialogs;
    Workspace ws;
    WriteWholeFile(folder.File("aga.uss"), StateWithColours(true));
    ApplySavedPalette(ws, LoadDataFile(ws, folder.File("aga.uss"), dialogs).Palette);
    EXPECT_EQ(ws.Palette.Entries[9], (PaletteEntry{255, 255, 255, 0}));
    EXPECT_EQ(ws.Palette.Colours.Count(), 256);

    Workspace ecs;
    WriteWholeFile(folder.File("ecs.uss"), StateWithColours(false));
    ApplySavedPalette(ecs, LoadDataFile(ecs, folder.File("ecs.uss"), dialogs).Palette);
    EXPECT_EQ(ecs.Palette.Entries[4], (PaletteEntry{0x33, 0x22, 0x11, 0}));
    EXPECT_EQ(ecs.Palette.Colours.Count(), 32);
}

TEST(LoadDataFile, RawFileAfterAStateRunsNoPaletteAndForgetsTheStatesChipRam) {
    test::TempDir folder;
    test::ScriptedDialogs dialogs;
    Workspace ws;
    const DataFileLoad state = LoadDataFile(ws, SampleState, dialogs);
    WriteWholeFile(folder.File("dump.bin"), std::vector<uint8_t>(300, 0x11));
    const DataFileLoad raw = LoadDataFile(ws, folder.File("dump.bin"), dialogs);

    ASSERT_TRUE(raw.Loaded);
    EXPECT_EQ(raw.Palette, SavedPalette::None);
    EXPECT_EQ(raw.InfoLines, std::vector<std::string>{"The file was read as raw memory of 300 bytes."});
    EXPECT_EQ(raw.PaletteAddressText, "$0");
    EXPECT_EQ(ws.Memory.MemoryImage, std::vector<uint8_t>(300, 0x11));
    EXPECT_EQ(ws.Memory.ChipRamOffset, 0u);
    EXPECT_EQ(ws.Memory.Snapshot, ChipsetSnapshot{});
}

TEST(LoadDataFile, MissingFileChangesNothingAndSaysNothing) {
    Workspace ws;
    test::ScriptedDialogs dialogs;
    LoadDataFile(ws, SampleState, dialogs);
    const MemoryState before = ws.Memory;
    const DataFileLoad load = LoadDataFile(ws, "/no/such/folder/nothing.uss", dialogs);
    EXPECT_FALSE(load.Loaded);
    EXPECT_TRUE(load.InfoLines.empty());
    EXPECT_EQ(ws.Memory, before);
    EXPECT_TRUE(dialogs.History.empty());
}

TEST(LoadDataFile, FileThatMovedIsFoundBesideTheProject) {
    test::TempDir folder;
    std::filesystem::copy_file(SampleState, folder.File("state.uss"));
    Workspace ws;
    ws.ProjectFileName = folder.File("project.ini");
    test::ScriptedDialogs dialogs;
    const DataFileLoad load = LoadDataFile(ws, "/old/place/state.uss", dialogs);
    EXPECT_TRUE(load.Loaded);
    EXPECT_EQ(ws.Memory.ChipRamSize, 0x8000u);
}

TEST(LoadDataFile, BadFilesThrowNamingTheFileAndLeaveTheWorkspaceAsItWas) {
    Workspace ws;
    test::ScriptedDialogs dialogs;
    LoadDataFile(ws, SampleState, dialogs);
    const MemoryState before = ws.Memory;
    for (const char* name : {"savestate_truncated.uss", "savestate_bad_zlib.uss", "savestate_short_inflate.uss",
                             "savestate_huge_length.uss"}) {
        SCOPED_TRACE(name);
        const std::string path = DataDir + "/corrupt/" + name;
        try {
            LoadDataFile(ws, path, dialogs);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
        }
        EXPECT_EQ(ws.Memory, before);
    }
}

TEST(SaveUncompressedState, WrittenCopyLoadsBackAsTheSameState) {
    test::TempDir folder;
    test::ScriptedDialogs dialogs;
    Workspace ws;
    const DataFileLoad first = LoadDataFile(ws, SampleState, dialogs);
    const MemoryState loaded = ws.Memory;
    const std::string path = UncompressedStateFileName(folder.File("copy.bin"));
    EXPECT_EQ(path, folder.File("copy.uss"));
    WriteMemoryImage(ws, path);

    Workspace again;
    const DataFileLoad second = LoadDataFile(again, path, dialogs);
    EXPECT_EQ(again.Memory, loaded);
    // The same report, without the compressed-chunk lines.
    std::vector<std::string> expected = first.InfoLines;
    expected.erase(expected.begin() + 1, expected.begin() + 3);
    EXPECT_EQ(second.InfoLines, expected);
}

} // namespace
} // namespace tavrik

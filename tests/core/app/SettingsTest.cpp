// The settings file: first start and the update question, defaults for what is missing or unreadable, the
// legacy file copied once, values kept as they are, the folder the settings live in, and a write that fails.
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

#include "app/IniFile.h"
#include "app/Settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tavrik {
namespace {

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string SettingValue(const std::string& path, const std::string& key) {
    IniFile ini;
    ini.Load(path);
    return ini.Text(SettingsSection, key, "(missing)");
}

class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value) : Name(name) {
        if (const char* old = std::getenv(name)) Old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (Old)
            ::setenv(Name, Old->c_str(), 1);
        else
            ::unsetenv(Name);
    }

  private:
    const char* Name;
    std::optional<std::string> Old;
};

TEST(Settings, FirstStartAsksOnceAndNoIsKept) {
    test::TempDir folder;
    const std::string path = folder.File(SettingsFileName);
    test::ScriptedDialogs dialogs;
    dialogs.ConfirmAnswers = {false};
    const SettingsRead first = ReadSettings(path, dialogs);
    EXPECT_EQ(dialogs.Texts("confirm"), std::vector<std::string>{AutomaticUpdatesQuestion});
    EXPECT_FALSE(first.Settings.AutomaticUpdates);
    EXPECT_TRUE(first.Settings.ConfirmOverwritingTiles);
    EXPECT_TRUE(first.Settings.LoadPreviousProject);
    EXPECT_EQ(first.Settings.ReplaceRunningExecutable, 2);
    EXPECT_EQ(first.Settings.GridThickness, 1);

    ASSERT_EQ(WriteSettings(path, first.Settings), "");
    EXPECT_EQ(SettingValue(path, "AutomaticUpdates"), "0");
    test::ScriptedDialogs again;
    EXPECT_FALSE(ReadSettings(path, again).Settings.AutomaticUpdates);
    EXPECT_TRUE(again.History.empty());
}

TEST(Settings, AnUndecidedValueOtherThanTwoIsOffWithoutAQuestion) {
    test::TempDir folder;
    const std::string path = folder.File(SettingsFileName);
    WriteText(path, "[Settings]\nAutomaticUpdates=5\n");
    test::ScriptedDialogs dialogs;
    const TSettings settings = ReadSettings(path, dialogs).Settings;
    EXPECT_TRUE(dialogs.History.empty());
    EXPECT_FALSE(settings.AutomaticUpdates);
    ASSERT_EQ(WriteSettings(path, settings), "");
    EXPECT_EQ(SettingValue(path, "AutomaticUpdates"), "0");
}

TEST(Settings, EveryKeyIsWrittenInOrderAndReadBack) {
    test::TempDir folder;
    const std::string path = folder.File(SettingsFileName);
    WriteText(path, "[MRU List]\n1=/games/a.ini\n[Settings]\nUnknownKey=kept\n");
    TSettings s;
    s.ConfirmOverwritingTiles = false;
    s.ConfirmOverwritingMaps = false;
    s.AutomaticUpdates = true;
    s.ReplaceRunningExecutable = 1;
    s.MapSearchLongs = true;
    s.KeyboardLayout = 2;
    s.LastUpdateCheck = 45678.123456789012;
    s.LoadPreviousProject = false;
    s.TotalRunTime = 1.0 / 3.0;
    s.ChipRelativeAddresses = true;
    s.GridEnabled = true;
    s.GridThickness = 3;
    s.UpdateServer = "http://127.0.0.1:8080/site";
    ASSERT_EQ(WriteSettings(path, s), "");

    IniFile ini;
    ini.Load(path);
    EXPECT_EQ(
        ini.Keys(SettingsSection),
        (std::vector<std::string>{"UnknownKey", "ConfirmOverwritingTiles", "ConfirmOverwritingMaps", "MapSearchLongs",
                                  "Keyboard", "LastUpdateCheck", "TotalRunTime", "LoadPreviousProject",
                                  "AutomaticUpdates", "ReplaceRunningExecutable", "DisplayOffsetsRelativeToChipMemory",
                                  "GridThickness", "Grid", "UpdateServer"}));
    EXPECT_NE(test::ReadText(path).find("Keyboard=2\n"), std::string::npos); // no blanks around "="

    test::ScriptedDialogs dialogs;
    const TSettings r = ReadSettings(path, dialogs).Settings;
    EXPECT_TRUE(dialogs.History.empty());
    EXPECT_EQ(r.ConfirmOverwritingTiles, false);
    EXPECT_EQ(r.UpdateServer, s.UpdateServer);
    EXPECT_EQ(r.ConfirmOverwritingMaps, false);
    EXPECT_EQ(r.AutomaticUpdates, true);
    EXPECT_EQ(r.ReplaceRunningExecutable, 1);
    EXPECT_EQ(r.MapSearchLongs, true);
    EXPECT_EQ(r.KeyboardLayout, 2);
    EXPECT_EQ(r.LastUpdateCheck, s.LastUpdateCheck);
    EXPECT_EQ(r.LoadPreviousProject, false);
    EXPECT_EQ(r.PreviousProject, "/games/a.ini");
    EXPECT_EQ(r.TotalRunTime, s.TotalRunTime);
    EXPECT_EQ(r.ChipRelativeAddresses, true);
    EXPECT_EQ(r.GridEnabled, true);
    EXPECT_EQ(r.GridThickness, 3);
}

TEST(Settings, UnreadableValuesTakeTheirDefaults) {
    test::TempDir folder;
    const std::string path = folder.File(SettingsFileName);
    WriteText(path, "[Settings]\nKeyboard=qwertz\nGridThickness=$3\nLastUpdateCheck=soon\nGrid=2\n"
                    "ConfirmOverwritingMaps=no\nLoadPreviousProject=0x0\nAutomaticUpdates=1\n");
    test::ScriptedDialogs dialogs;
    const TSettings s = ReadSettings(path, dialogs).Settings;
    EXPECT_EQ(s.KeyboardLayout, 0);
    EXPECT_EQ(s.GridThickness, 3);
    EXPECT_EQ(s.LastUpdateCheck, 0);
    EXPECT_FALSE(s.GridEnabled); // only 1 turns the grid on
    EXPECT_TRUE(s.ConfirmOverwritingMaps);
    EXPECT_FALSE(s.LoadPreviousProject);
}

TEST(Settings, ValuesOutsideTheirMenusReadAsTheDefaults) {
    test::TempDir folder;
    const std::string path = folder.File(SettingsFileName);
    WriteText(path, "[Settings]\nGridThickness=1000\nKeyboard=7\nReplaceRunningExecutable=-1\n"
                    "LastUpdateCheck=-5\nTotalRunTime=nan\nAutomaticUpdates=0\n");
    test::ScriptedDialogs dialogs;
    const TSettings s = ReadSettings(path, dialogs).Settings;
    const TSettings defaults;
    EXPECT_EQ(s.GridThickness, defaults.GridThickness);
    EXPECT_EQ(s.KeyboardLayout, defaults.KeyboardLayout);
    EXPECT_EQ(s.ReplaceRunningExecutable, defaults.ReplaceRunningExecutable);
    EXPECT_EQ(s.LastUpdateCheck, defaults.LastUpdateCheck);
    EXPECT_EQ(s.TotalRunTime, defaults.TotalRunTime);

    // The edges of each menu are its own items.
    WriteText(path, "[Settings]\nGridThickness=3\nKeyboard=2\nReplaceRunningExecutable=0\nAutomaticUpdates=0\n");
    const TSettings edges = ReadSettings(path, dialogs).Settings;
    EXPECT_EQ(edges.GridThickness, 3);
    EXPECT_EQ(edges.KeyboardLayout, 2);
    EXPECT_EQ(edges.ReplaceRunningExecutable, 0);
}

TEST(Settings, ReplaceExecutableItemAppearsOnceDecided) {
    TSettings s;
    EXPECT_FALSE(ReplaceExecutableItemVisible(s));
    ToggleReplaceRunningExecutable(s, false); // a click on the hidden item only shows it
    EXPECT_EQ(s.ReplaceRunningExecutable, 2);
    s.ReplaceRunningExecutable = 0; // the update check asked and stored No
    EXPECT_TRUE(ReplaceExecutableItemVisible(s));
    EXPECT_FALSE(ReplaceExecutableItemChecked(s));
    ToggleReplaceRunningExecutable(s, true);
    EXPECT_EQ(s.ReplaceRunningExecutable, 1);
    EXPECT_TRUE(ReplaceExecutableItemChecked(s));
    ToggleReplaceRunningExecutable(s, true);
    EXPECT_EQ(s.ReplaceRunningExecutable, 0);
}

TEST(Settings, LegacyFileIsCopiedOnceAndKept) {
    test::TempDir folder;
    const std::string legacy = folder.File(LegacySettingsFileName);
    WriteText(legacy, "[Settings]\nKeyboard=1\nAutomaticUpdates=1\n[MRU List]\n1=/games/old.ini\n");
    test::ScriptedDialogs dialogs;
    const SettingsRead read = ReadSettings(folder.File(SettingsFileName), dialogs);
    EXPECT_TRUE(read.Migrated);
    EXPECT_EQ(read.Settings.KeyboardLayout, 1);
    EXPECT_EQ(read.Settings.PreviousProject, "/games/old.ini");
    EXPECT_TRUE(dialogs.History.empty());
    EXPECT_TRUE(std::filesystem::exists(legacy));
    WriteText(legacy, "[Settings]\nKeyboard=2\n");
    EXPECT_FALSE(ReadSettings(folder.File(SettingsFileName), dialogs).Migrated);
}

TEST(Settings, UpdateCheckRunsAtMostOncePerThirdOfADay) {
    TSettings s;
    s.AutomaticUpdates = true;
    s.LastUpdateCheck = 100.0;
    EXPECT_FALSE(UpdateCheckDue(s, 100.1));
    EXPECT_TRUE(UpdateCheckDue(s, 100.34));
    s.AutomaticUpdates = false;
    EXPECT_FALSE(UpdateCheckDue(s, 200.0));
    EXPECT_GT(CurrentDateTime(), 45000.0); // after 2023
}

TEST(SettingsFolder, EnvironmentOverridesThenProgramFolderThenConfigHome) {
    test::TempDir folder;
    {
        ScopedEnvironment config("TAVRIK_CONFIG_DIR", folder.File("chosen"));
        EXPECT_EQ(SettingsFolder(folder.Path().string() + "/"), folder.File("chosen") + "/");
        EXPECT_TRUE(std::filesystem::is_directory(folder.File("chosen")));
    }
    ScopedEnvironment noOverride("TAVRIK_CONFIG_DIR", "");
    ScopedEnvironment xdg("XDG_CONFIG_HOME", folder.File("xdg"));
    EXPECT_EQ(SettingsFolder(folder.Path().string() + "/"), folder.Path().string() + "/");
    EXPECT_EQ(SettingsFolder("/no/such/program/folder/"), folder.File("xdg") + "/Tavrik/");
    // An installed program (its documents under ../share) keeps its settings out of bin/, even when it may
    // write there (run as root).
    std::filesystem::create_directories(folder.File("usr/bin"));
    std::filesystem::create_directories(folder.File("usr/share/doc/tavrik"));
    EXPECT_EQ(SettingsFolder(folder.File("usr/bin") + "/"), folder.File("xdg") + "/Tavrik/");
}

TEST(Settings, AFailedWriteGivesTheMessageNamingTheFile) {
    test::TempDir folder;
    const std::string path = folder.File("missing-folder/Tavrik.ini");
    EXPECT_EQ(WriteSettings(path, TSettings{}), "An error occurred while saving the configuration to " + path);
}

} // namespace
} // namespace tavrik

// The recent-files list: order and capacity, the letter-case rule, choosing entries that exist or are gone,
// and the "MRU List" section.
#include "support/TempDir.h"

#include "app/IniFile.h"
#include "app/MostRecentFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tavrik {
namespace {

TMostRecentFiles MainWindowList(const std::string& iniFile = "") {
    TMostRecentFiles recent;
    recent.SetMaxFiles(40);
    recent.IniFile = iniFile;
    return recent;
}

std::string Touch(const test::TempDir& folder, const std::string& name) {
    std::ofstream(folder.File(name)) << "[File]\n";
    return folder.File(name);
}

TEST(MostRecentFiles, ChoosingTheThirdProjectMovesItFirst) {
    test::TempDir folder;
    TMostRecentFiles recent = MainWindowList();
    for (const char* name : {"a.ini", "b.ini", "c.ini"})
        recent.AddFile(Touch(folder, name));
    const RecentClickOutcome click = recent.Choose(2);
    EXPECT_EQ(click.Action, RecentClick::Open);
    EXPECT_EQ(click.FileName, folder.File("a.ini"));
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{folder.File("a.ini"), folder.File("c.ini"), folder.File("b.ini")}));
}

TEST(MostRecentFiles, AFortyFirstEntryDropsTheOldest) {
    TMostRecentFiles recent = MainWindowList();
    for (int i = 1; i <= 41; ++i)
        recent.AddFile("/p/" + std::to_string(i) + ".ini");
    ASSERT_EQ(recent.Files().size(), 40u);
    EXPECT_EQ(recent.Files().front(), "/p/41.ini");
    EXPECT_EQ(recent.Files().back(), "/p/2.ini");
}

TEST(MostRecentFiles, NamesDifferingOnlyInCaseAreOneEntry) {
    TMostRecentFiles recent = MainWindowList();
    recent.AddFile("/p/A.ini");
    recent.AddFile("/p/B.ini");
    recent.AddFile("/p/a.INI");
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/p/a.INI", "/p/B.ini"}));
    recent.AddFile("/P/A.ini"); // equal to the first apart from case: nothing changes
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/p/a.INI", "/p/B.ini"}));
}

TEST(MostRecentFiles, AMissingFileIsReportedAndRemoved) {
    test::TempDir folder;
    TMostRecentFiles recent = MainWindowList();
    recent.AddFile(folder.File("gone.ini"));
    recent.AddFile(Touch(folder, "here.ini"));
    const RecentClickOutcome click = recent.Choose(1);
    EXPECT_EQ(click.Action, RecentClick::FileMissing);
    EXPECT_EQ(RecentFileMissingMessage(click.FileName), "The file " + folder.File("gone.ini") + " does not exist!");
    EXPECT_EQ(recent.Files(), std::vector<std::string>{folder.File("here.ini")});
    EXPECT_EQ(recent.Choose(5).Action, RecentClick::None);
}

TEST(MostRecentFiles, CapacityIsHeldBetweenOneAndForty) {
    TMostRecentFiles recent;
    EXPECT_EQ(recent.MaxFiles(), 4);
    recent.SetMaxFiles(0);
    EXPECT_EQ(recent.MaxFiles(), 1);
    recent.SetMaxFiles(99);
    EXPECT_EQ(recent.MaxFiles(), 40);
}

TEST(MostRecentFiles, ThreeEntriesWriteKeysOneToFortyAndLoadBack) {
    test::TempDir folder;
    const std::string ini = folder.File("Tavrik.ini");
    std::ofstream(ini) << "[Settings]\nKeyboard=1\n";
    TMostRecentFiles recent = MainWindowList(ini);
    for (const char* name : {"/p/a.ini", "/p/b.ini", "/p/c.ini"})
        recent.AddFile(name);
    recent.SaveList();

    IniFile file;
    file.Load(ini);
    std::vector<std::string> expectedKeys;
    for (int k = 1; k <= 40; ++k)
        expectedKeys.push_back(std::to_string(k));
    EXPECT_EQ(file.Keys(RecentFilesSection), expectedKeys);
    EXPECT_EQ(file.Text(RecentFilesSection, "1"), "/p/c.ini");
    EXPECT_EQ(file.Text(RecentFilesSection, "3"), "/p/a.ini");
    EXPECT_EQ(file.Value(RecentFilesSection, "4"), std::optional<std::string>(""));
    EXPECT_EQ(file.Text("Settings", "Keyboard"), "1");

    TMostRecentFiles reloaded = MainWindowList(ini);
    reloaded.LoadList();
    EXPECT_EQ(reloaded.Files(), recent.Files());
}

} // namespace
} // namespace tavrik

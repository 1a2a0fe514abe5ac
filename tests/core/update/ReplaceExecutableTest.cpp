// Self-replacement in a temporary program folder: the new executable unpacked with its run
// permission, the old one restored when none came out, unsafe archives refused whole, and the
// start-up clean-up of the old copy.
#include "update/ReplaceExecutable.h"

#include "UpdateTestFiles.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::ZipEntry;

class ReplaceExecutableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(Folder());
        test::WriteText(Folder() / "tavrik", "old program");
        fs::permissions(Folder() / "tavrik", fs::perms(0755));
        test::WriteText(Folder() / "Tavrik.ini", "[Settings]\n");
    }
    fs::path Folder() const { return Temp.Path() / "program"; }
    ProgramFiles Files() const { return {Folder().string() + "/", "tavrik"}; }
    void Archive(const std::vector<ZipEntry>& entries) { test::WriteZip(Folder() / "Tavrik.zip", entries); }

    // Everything in and beside the program folder, to see that nothing was written.
    std::vector<std::string> Everything() const { return test::Listing(Temp.Path()); }

    // The old executable is in place, nothing else changed, and the user was told.
    void ExpectRefusedWhole(const std::vector<std::string>& listingBefore) {
        EXPECT_EQ(ReadText(Folder() / "tavrik"), "old program");
        EXPECT_TRUE(test::IsExecutable(Folder() / "tavrik"));
        EXPECT_EQ(Everything(), listingBefore);
        EXPECT_EQ(Dialogs.Texts("information"), std::vector<std::string>{ExtractionFailedMessage(Files())});
    }

    test::TempDir Temp;
    test::ScriptedDialogs Dialogs;
};

TEST_F(ReplaceExecutableTest, UnpacksEveryEntryAndTheNewExecutableCanRun) {
    Archive({{"tavrik", "new program", 0100644},
             {"help/", "", 040755},
             {"help/index.html", "<p>help</p>"},
             {"Tavrik.ini", "[Settings]\nnew=1\n"}});
    ASSERT_TRUE(ReplaceExecutable(Files(), Dialogs));
    EXPECT_EQ(ReadText(Folder() / "tavrik"), "new program");
    EXPECT_TRUE(test::IsExecutable(Folder() / "tavrik"));
    EXPECT_EQ(ReadText(Folder() / "tavrik_Old"), "old program");
    EXPECT_EQ(ReadText(Folder() / "help/index.html"), "<p>help</p>");
    EXPECT_EQ(ReadText(Folder() / "Tavrik.ini"), "[Settings]\nnew=1\n");
    EXPECT_TRUE(Dialogs.History.empty());

    DeleteOldExecutable(Files());
    EXPECT_FALSE(fs::exists(Folder() / "tavrik_Old"));
    DeleteOldExecutable(Files()); // nothing left to delete is no failure
}

TEST_F(ReplaceExecutableTest, ArchiveWithoutTheExecutablePutsTheOldOneBack) {
    Archive({{"readme.txt", "notes"}});
    EXPECT_FALSE(ReplaceExecutable(Files(), Dialogs));
    EXPECT_EQ(ReadText(Folder() / "tavrik"), "old program");
    EXPECT_TRUE(test::IsExecutable(Folder() / "tavrik"));
    EXPECT_FALSE(fs::exists(Folder() / "tavrik_Old"));
    EXPECT_EQ(ReadText(Folder() / "readme.txt"), "notes");
    EXPECT_EQ(Dialogs.Texts("information"), std::vector<std::string>{ExtractionFailedMessage(Files())});
    EXPECT_TRUE(ExtractionFailedMessage(Files()).starts_with("An error occurred while extracting files from the file " +
                                                             Folder().string() + "/Tavrik.zip. One or more"));
}

TEST_F(ReplaceExecutableTest, SomethingUndeletableAtTheExecutablesNameIsRenamedAside) {
    Archive({{"tavrik/readme.txt", "a folder, not a program"}});
    EXPECT_FALSE(ReplaceExecutable(Files(), Dialogs));
    EXPECT_EQ(ReadText(Folder() / "tavrik"), "old program");
    int deleteMe = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(Folder())) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("tavrik_Delete_Me_")) continue;
        ++deleteMe;
        EXPECT_LE(std::stoi(name.substr(17)), 99999);
        EXPECT_EQ(ReadText(entry.path() / "readme.txt"), "a folder, not a program");
    }
    EXPECT_EQ(deleteMe, 1);
}

TEST_F(ReplaceExecutableTest, EntriesLandingOutsideTheFolderAreRefusedWhole) {
    const std::vector<std::vector<ZipEntry>> archives = {
        {{"help.txt", "fine"}, {"tavrik", "new"}, {"../escape", "outside"}},
        {{"tavrik", "new"}, {(Temp.Path() / "absolute").string(), "outside"}},
        {{"tavrik", "new"}, {"help/../../escape", "outside"}},
        {{"tavrik", "new"}, {"link", "/etc", 0120777}, {"link/passwd", "outside"}},
    };
    for (const std::vector<ZipEntry>& entries : archives) {
        SCOPED_TRACE(entries.back().Name);
        Dialogs.History.clear();
        Archive(entries);
        const std::vector<std::string> before = Everything();
        EXPECT_FALSE(ReplaceExecutable(Files(), Dialogs));
        ExpectRefusedWhole(before);
        EXPECT_FALSE(fs::exists(Temp.Path() / "escape"));
        EXPECT_FALSE(fs::exists(Temp.Path() / "absolute"));
    }
}

TEST_F(ReplaceExecutableTest, DamagedOrMissingArchiveChangesNothing) {
    test::WriteText(Folder() / "Tavrik.zip", "PK\x03\x04 cut short");
    std::vector<std::string> before = Everything();
    EXPECT_FALSE(ReplaceExecutable(Files(), Dialogs));
    ExpectRefusedWhole(before);

    fs::remove(Folder() / "Tavrik.zip");
    Dialogs.History.clear();
    before = Everything();
    EXPECT_FALSE(ReplaceExecutable(Files(), Dialogs));
    EXPECT_EQ(Everything(), before);
    EXPECT_EQ(Dialogs.Texts("error"), std::vector<std::string>{"The zip file containing the latest version " +
                                                               Folder().string() + "/Tavrik.zip was not found!"});
}

TEST(ProgramFiles, SideFilesKeepTheExecutablesExtension) {
    const ProgramFiles files{"/opt/t/", "tavrik.bin"};
    EXPECT_EQ(files.OldExecutable(), "/opt/t/tavrik_Old.bin");
    EXPECT_EQ(files.DeleteMeExecutable(42), "/opt/t/tavrik_Delete_Me_42.bin");
    EXPECT_EQ(ProgramFiles({"/opt/t/", "tavrik"}).OldExecutable(), "/opt/t/tavrik_Old");
}

} // namespace
} // namespace tavrik

// File look-up with the date rule, ResolveFileName's search beside the project and the program, and
// whole-file reading and writing.
#include "app/Files.h"

#include "app/Error.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

namespace tavrik {
namespace {

namespace fs = std::filesystem;

const std::string IllegalDate = " exists but cannot be loaded, most likely due to an illegal file date";

std::string MakeFile(const fs::path& path) {
    fs::create_directories(path.parent_path());
    WriteWholeFile(path.string(), std::vector<uint8_t>{1, 2, 3});
    return path.string();
}

// A modification time in 1970 cannot be written as a DOS date.
std::string MakeFileWithIllegalDate(const fs::path& path) {
    const std::string name = MakeFile(path);
    const timespec times[2] = {{0, 0}, {0, 0}};
    if (utimensat(AT_FDCWD, name.c_str(), times, 0) != 0) ADD_FAILURE() << "cannot set the date of " << name;
    return name;
}

class ResolveFileNameTest : public ::testing::Test {
  protected:
    test::TempDir Folder;
    test::ScriptedDialogs Dialogs;
    FileSearchPlaces Places{(Folder.Path() / "project" / "work.ini").string(),
                            (Folder.Path() / "program").string() + "/"};
    // A data file named in the project whose folder has since gone.
    std::string Moved = (Folder.Path() / "gone" / "state.uss").string();
    fs::path BesideProject = Folder.Path() / "project" / "state.uss";
    fs::path InProgram = Folder.Path() / "program" / "state.uss";

    std::string Resolve(const std::string& name) { return ResolveFileName(name, Places, Dialogs); }
};

TEST_F(ResolveFileNameTest, ALoadableFileIsItself) {
    const std::string name = MakeFile(Folder.Path() / "here.uss");
    MakeFile(BesideProject);
    EXPECT_EQ(Resolve(name), name);
    EXPECT_TRUE(Dialogs.History.empty());
}

TEST_F(ResolveFileNameTest, AMovedFileIsFoundBesideTheProjectFirst) {
    MakeFile(BesideProject);
    MakeFile(InProgram);
    EXPECT_EQ(Resolve(Moved), BesideProject.string());
    EXPECT_TRUE(Dialogs.History.empty());
}

TEST_F(ResolveFileNameTest, AMovedFileIsFoundInTheProgramFolderWhenOnlyThere) {
    MakeFile(InProgram);
    EXPECT_EQ(Resolve(Moved), InProgram.string());
    EXPECT_TRUE(Dialogs.History.empty());
}

TEST_F(ResolveFileNameTest, NothingFoundGivesTheNameItself) {
    EXPECT_EQ(Resolve(Moved), Moved);
    EXPECT_TRUE(Dialogs.History.empty());
}

TEST_F(ResolveFileNameTest, AWindowsPathFromAnotherMachineIsFoundBesideTheProject) {
    MakeFile(BesideProject);
    EXPECT_EQ(Resolve("C:\\Games\\Saves\\state.uss"), BesideProject.string());
}

TEST_F(ResolveFileNameTest, TheNamedFileWithAnIllegalDateIsReportedAndReturned) {
    const std::string name = MakeFileWithIllegalDate(Folder.Path() / "old.uss");
    MakeFile(Folder.Path() / "project" / "old.uss");
    EXPECT_EQ(Resolve(name), name);
    EXPECT_EQ(Dialogs.Texts("error"), (std::vector<std::string>{"The file " + name + IllegalDate}));
}

TEST_F(ResolveFileNameTest, AnIllegalDateBesideTheProjectStopsTheSearch) {
    MakeFileWithIllegalDate(BesideProject);
    MakeFile(InProgram);
    EXPECT_EQ(Resolve(Moved), Moved);
    EXPECT_EQ(Dialogs.Texts("error"), (std::vector<std::string>{"The file " + BesideProject.string() + IllegalDate}));
}

TEST_F(ResolveFileNameTest, AnIllegalDateInTheProgramFolderEndsInAnExclamationMark) {
    MakeFileWithIllegalDate(InProgram);
    EXPECT_EQ(Resolve(Moved), Moved);
    EXPECT_EQ(Dialogs.Texts("error"), (std::vector<std::string>{"The file " + InProgram.string() + IllegalDate + "!"}));
}

TEST(FileLoadable, FoldersAreNotFilesAndOldDatesAreNotLoadable) {
    test::TempDir folder;
    EXPECT_FALSE(PathIsFile(folder.Path().string()));
    EXPECT_FALSE(FileLoadable(folder.Path().string()));
    EXPECT_FALSE(PathIsFile(folder.File("none")));
    EXPECT_FALSE(PathIsFile(""));

    const std::string old = MakeFileWithIllegalDate(folder.Path() / "old.bin");
    EXPECT_TRUE(PathIsFile(old));
    EXPECT_FALSE(FileLoadable(old));

    const std::string fresh = MakeFile(folder.Path() / "new.bin");
    EXPECT_TRUE(FileLoadable(fresh));
}

TEST(WholeFiles, WrittenBytesReadBackAndFailuresNameTheFile) {
    test::TempDir folder;
    const std::string path = folder.File("data.bin");
    const std::vector<uint8_t> bytes{0, 255, 7};
    WriteWholeFile(path, bytes);
    EXPECT_EQ(ReadWholeFile(path), bytes);
    WriteWholeFile(path, std::vector<uint8_t>{});
    EXPECT_TRUE(ReadWholeFile(path).empty());

    try {
        ReadWholeFile(folder.File("missing.bin"));
        ADD_FAILURE() << "reading a missing file succeeded";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("missing.bin"), std::string::npos);
    }
    EXPECT_THROW(WriteWholeFile(folder.File("no/such/folder.bin"), bytes), Error);
}

TEST(FileNamePart, TakesTheLastComponent) {
    EXPECT_EQ(FileNamePart("/a/b/c.uss"), "c.uss");
    EXPECT_EQ(FileNamePart("c.uss"), "c.uss");
    EXPECT_EQ(FileNamePart("D:\\amiga\\game.uss"), "game.uss");
    EXPECT_EQ(FileNamePart(""), "");
}

} // namespace
} // namespace tavrik

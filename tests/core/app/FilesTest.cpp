// File look-up, ResolveFileName's search beside the project and the program, and
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

std::string MakeFile(const fs::path& path) {
    fs::create_directories(path.parent_path());
    WriteWholeFile(path.string(), std::vector<uint8_t>{1, 2, 3});
    return path.string();
}

// Archives and reproducible builds date their files at the start of 1970.
std::string MakeFileDated1970(const fs::path& path) {
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

TEST_F(ResolveFileNameTest, FilesDatedBefore1980AreFoundLikeAnyOther) {
    const std::string name = MakeFileDated1970(Folder.Path() / "old.uss");
    EXPECT_EQ(Resolve(name), name);
    MakeFileDated1970(BesideProject);
    MakeFile(InProgram);
    EXPECT_EQ(Resolve(Moved), BesideProject.string());
    EXPECT_TRUE(Dialogs.History.empty());
}

// Runs the test in another current folder and goes back afterwards.
class CurrentFolder {
  public:
    explicit CurrentFolder(const fs::path& folder) : Previous(fs::current_path()) { fs::current_path(folder); }
    ~CurrentFolder() { fs::current_path(Previous); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    fs::path Previous;
};

// Each case: the files that exist (relative to a scratch folder holding "project/work.ini", the folder
// "program/" and the current folder "here/"), and the one a stored name finds.
TEST(ResolveFileNameOrder, StoredAbsoluteThenProjectFolderThenBesideProjectThenProgramThenCurrentFolder) {
    struct Case {
        std::string Name;
        std::vector<std::string> Existing;
        std::string Found; // "" when nothing is found (the name itself comes back)
    };
    const std::string relative = "data/state.uss";
    const std::vector<Case> cases{
        {"ABSOLUTE", {"elsewhere/state.uss", "project/state.uss"}, "elsewhere/state.uss"},
        {relative, {"project/data/state.uss", "project/state.uss", "program/data/state.uss"}, "project/data/state.uss"},
        {relative, {"project/state.uss", "program/data/state.uss", "here/data/state.uss"}, "project/state.uss"},
        {relative, {"program/data/state.uss", "program/state.uss", "here/data/state.uss"}, "program/data/state.uss"},
        {relative, {"program/state.uss", "here/data/state.uss"}, "program/state.uss"},
        {relative, {"here/data/state.uss", "here/state.uss"}, "here/data/state.uss"},
        {relative, {"here/state.uss"}, ""},
    };
    for (const Case& c : cases) {
        test::TempDir folder;
        const fs::path root = folder.Path();
        for (const std::string& file : c.Existing)
            MakeFile(root / file);
        fs::create_directories(root / "here");
        const CurrentFolder here(root / "here");
        const std::string name = c.Name == "ABSOLUTE" ? (root / "elsewhere/state.uss").string() : c.Name;
        test::ScriptedDialogs dialogs;
        const FileSearchPlaces places{(root / "project/work.ini").string(), (root / "program").string() + "/"};
        const std::string found = ResolveFileName(name, places, dialogs);
        const std::string expected = c.Found.empty() ? name : (root / c.Found).lexically_normal().string();
        EXPECT_EQ(fs::absolute(found).lexically_normal().string(), fs::absolute(expected).lexically_normal().string())
            << c.Name << " with " << c.Existing.front();
        EXPECT_TRUE(dialogs.History.empty());
    }
}

TEST(OpenFileProblem, NamesAMissingFileAndAFolder) {
    test::TempDir folder;
    EXPECT_EQ(OpenFileProblem(folder.File("none.uss")), "The file " + folder.File("none.uss") + " does not exist.");
    EXPECT_EQ(OpenFileProblem(folder.Path().string()), folder.Path().string() + " is a folder, not a file.");
    EXPECT_EQ(OpenFileProblem(MakeFile(folder.Path() / "a.uss")), std::nullopt);
}

TEST(PathIsFile, FoldersAndMissingNamesAreNotFiles) {
    test::TempDir folder;
    EXPECT_FALSE(PathIsFile(folder.Path().string()));
    EXPECT_FALSE(PathIsFile(folder.File("none")));
    EXPECT_FALSE(PathIsFile(""));
}

TEST(ConfirmOverwrite, AsksAboutEveryExistingFileWhateverItsDate) {
    test::TempDir folder;
    test::ScriptedDialogs dialogs;
    const std::string old = MakeFileDated1970(folder.Path() / "old.png");
    dialogs.ConfirmAnswers = {false, true};
    EXPECT_FALSE(ConfirmOverwrite(old, dialogs));
    EXPECT_TRUE(ConfirmOverwrite(old, dialogs));
    EXPECT_TRUE(ConfirmOverwrite(folder.File("new.png"), dialogs));
    const std::vector<std::string> asked = dialogs.Texts("confirm");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_NE(asked[0].find(old), std::string::npos);
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

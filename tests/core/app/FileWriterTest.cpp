// The file writer: a replaced file is either the old one or the whole new one (also when the writer is
// killed or the disk is full), no temporary file stays behind, links are followed, and a set of files is
// written all or nothing.
#include "app/FileWriter.h"

#include "app/Error.h"
#include "app/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tavrik {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return {bytes.begin(), bytes.end()};
}

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Runs body in a child process and returns its wait status.
template <typename Body> int InChild(Body body) {
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

class FileWriterTest : public ::testing::Test {
  protected:
    test::TempDir Folder;
    std::string Old = Folder.File("picture.png");
    void SetUp() override { WriteWholeFile(Old, std::string_view("the old picture")); }
};

TEST_F(FileWriterTest, AReplacedFileKeepsItsPermissionsAndNothingElseIsLeft) {
    fs::permissions(Old, fs::perms::owner_read | fs::perms::owner_write);
    WriteWholeFile(Old, std::string_view("new"));
    EXPECT_EQ(ReadText(Old), "new");
    EXPECT_EQ(fs::status(Old).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Listing(Folder.Path()), std::set<std::string>{"picture.png"});
}

TEST_F(FileWriterTest, ASymbolicLinkIsFollowedAndStaysALink) {
    fs::create_directory(Folder.Path() / "real");
    fs::rename(Old, Folder.Path() / "real" / "picture.png");
    fs::create_symlink("real/picture.png", Old);
    WriteWholeFile(Old, std::string_view("through the link"));
    EXPECT_TRUE(fs::is_symlink(Old));
    EXPECT_EQ(ReadText(Folder.File("real/picture.png")), "through the link");
    EXPECT_EQ(Listing(Folder.Path() / "real"), std::set<std::string>{"picture.png"});

    // A link naming a file not there yet makes that file.
    fs::create_symlink("real/later.png", Folder.Path() / "later.png");
    WriteWholeFile(Folder.File("later.png"), std::string_view("made"));
    EXPECT_EQ(ReadText(Folder.File("real/later.png")), "made");
}

TEST_F(FileWriterTest, WhatIsNotARegularFileIsRefusedAndLeftAlone) {
    fs::create_directory(Folder.Path() / "folder");
    fs::create_directory_symlink("folder", Folder.Path() / "folder-link");
    for (const std::string& target : {Folder.File("folder"), Folder.File("folder-link"), std::string("/dev/full")}) {
        try {
            WriteWholeFile(target, std::string_view("x"));
            ADD_FAILURE() << "wrote over " << target;
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(target), std::string::npos) << error.what();
        }
    }
    EXPECT_TRUE(fs::is_directory(Folder.Path() / "folder") && fs::is_empty(Folder.Path() / "folder"));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_EQ(Listing(Folder.Path()), (std::set<std::string>{"folder", "folder-link", "picture.png"}));
}

TEST_F(FileWriterTest, AFullDiskLeavesTheOldFileAndNoTemporary) {
    const int status = InChild([this] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096}; // writes past 4 KB fail as on a full disk
        setrlimit(RLIMIT_FSIZE, &small);
        try {
            WriteWholeFile(Old, std::vector<uint8_t>(65536, 7));
        } catch (const Error&) {
            return 0;
        }
        return 1;
    });
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failed write was not reported";
    EXPECT_EQ(ReadText(Old), "the old picture");
    EXPECT_EQ(Listing(Folder.Path()), std::set<std::string>{"picture.png"});
}

TEST_F(FileWriterTest, AWriterKilledHalfWayLeavesTheOldFileWhole) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        PendingFile file(Old);
        const std::vector<uint8_t> chunk(1 << 20, 0x55);
        for (int megabyte = 0; megabyte < 16; ++megabyte)
            file.Write(chunk);
        (void)!write(ready[1], "w", 1); // half-way through a large write
        for (;;)
            file.Write(chunk), usleep(1000);
    }
    char signalled = 0;
    ASSERT_EQ(read(ready[0], &signalled, 1), 1);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(ReadText(Old), "the old picture");
    EXPECT_EQ(Listing(Folder.Path()), std::set<std::string>{"picture.png"});
}

TEST_F(FileWriterTest, ASetIsWrittenWholeOrNotAtAll) {
    fs::create_directory(Folder.Path() / "sub");
    const std::string added = Folder.File("sub/map.tmx");
    {
        // A file that cannot be written stops the set before anything is replaced.
        FileSet files;
        files.Add(Old, std::string_view("new picture"));
        files.Add(added, std::string_view("map"));
        EXPECT_THROW(files.Add(Folder.File("sub"), std::string_view("x")), Error);
    }
    EXPECT_EQ(ReadText(Old), "the old picture");
    EXPECT_FALSE(fs::exists(added));
    {
        // A folder gone before the set is committed: the file already replaced is put back.
        FileSet files;
        files.Add(Old, std::string_view("new picture"));
        files.Add(added, std::string_view("map"));
        fs::remove_all(Folder.Path() / "sub");
        EXPECT_THROW(files.Commit(), Error);
    }
    EXPECT_EQ(ReadText(Old), "the old picture");
    EXPECT_EQ(Listing(Folder.Path()), std::set<std::string>{"picture.png"});

    fs::create_directory(Folder.Path() / "sub");
    FileSet files;
    files.Add(Old, std::string_view("new picture"));
    files.Add(added, std::string_view("map"));
    files.Commit();
    EXPECT_EQ(ReadText(Old), "new picture");
    EXPECT_EQ(ReadText(added), "map");
    EXPECT_EQ(Listing(Folder.Path()), (std::set<std::string>{"picture.png", "sub"}));
}

} // namespace
} // namespace tavrik

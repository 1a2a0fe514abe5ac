// Installing an update into a temporary program folder: a good archive swapped in with fixed modes, every
// hostile archive refused naming its entry, things in the folder that a path would pass through, and a
// failure at any step of the swap; every refusal leaves the folder and its surroundings as they were.
#include "update/InstallUpdate.h"

#include "app/Error.h"
#include "support/TempDir.h"
#include "support/UpdateTestFiles.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::ZipEntry;

constexpr uint32_t File = 0100644;
constexpr uint32_t Folder = 040755;

class InstallUpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteText(Program() / "tavrik", "old program");
        fs::permissions(Program() / "tavrik", fs::perms(0755));
        test::WriteText(Program() / "Tavrik.ini", "[Settings]\n");
        test::WriteText(Program() / "help/index.html", "<p>old help</p>");
        test::WriteText(Temp.Path() / "elsewhere/notes.txt", "not the program's");
    }
    fs::path Program() const { return Temp.Path() / "program"; }
    ProgramFiles Files() const { return {Program().string() + "/", "tavrik"}; }

    // Installs the archive, expecting a refusal whose message holds what, with nothing changed anywhere.
    void ExpectRefused(const std::string& archive, const std::string& what, const UpdateArchiveLimits& limits = {}) {
        const auto before = test::Snapshot(Temp.Path());
        try {
            InstallUpdate(std::span(reinterpret_cast<const uint8_t*>(archive.data()), archive.size()), Files(), {},
                          limits);
            ADD_FAILURE() << "installed";
        } catch (const Error& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(what), std::string::npos) << message;
            EXPECT_NE(message.find("Nothing in " + Program().string() + " was changed"), std::string::npos) << message;
        }
        EXPECT_EQ(test::Snapshot(Temp.Path()), before);
    }
    void Install(const std::string& archive, const SwapStepHook& hook = {}) {
        InstallUpdate(std::span(reinterpret_cast<const uint8_t*>(archive.data()), archive.size()), Files(), hook);
    }

    test::TempDir Temp;
};

TEST_F(InstallUpdateTest, GoodArchiveReplacesTheFilesWithTheProgramRunnableAndNothingWritable) {
    Install(test::ZipBytes({{"tavrik", "new program", 0100666},
                            {"help/", "", 040777},
                            {"help/index.html", "<p>new help</p>", 0100777},
                            {"maps/level1.txt", "level"}}));
    EXPECT_EQ(ReadText(Program() / "tavrik"), "new program");
    EXPECT_EQ(fs::status(Program() / "tavrik").permissions(), fs::perms(0755));
    EXPECT_EQ(ReadText(Program() / "help/index.html"), "<p>new help</p>");
    EXPECT_EQ(fs::status(Program() / "help/index.html").permissions(), fs::perms(0644));
    EXPECT_EQ(fs::status(Program() / "maps").permissions(), fs::perms(0755));
    EXPECT_EQ(ReadText(Program() / "maps/level1.txt"), "level");
    EXPECT_EQ(ReadText(Program() / "Tavrik.ini"), "[Settings]\n"); // not in the archive: kept
    // The staging folder beside the program folder is gone, the old files with it.
    std::vector<std::string> beside;
    for (const fs::directory_entry& entry : fs::directory_iterator(Temp.Path()))
        beside.push_back(entry.path().filename().string());
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (std::vector<std::string>{"elsewhere", "program"}));
}

TEST_F(InstallUpdateTest, HostileEntriesAreRefusedByName) {
    const std::string outside = (Temp.Path() / "elsewhere/planted").string();
    struct Case {
        std::vector<ZipEntry> Entries;
        std::string Named;
    };
    const std::vector<Case> cases = {
        {{{"tavrik_Old", "junk"}}, "\"tavrik_Old\" uses a name the updater keeps"},
        {{{"tavrik", "new"}, {"Tavrik.zip", "junk"}}, "\"Tavrik.zip\" uses a name the updater keeps"},
        {{{"tavrik", "new"}, {"tavrik_Delete_Me_7", "junk"}}, "\"tavrik_Delete_Me_7\""},
        {{{"tavrik", "new"}, {"../planted", "out"}}, "\"../planted\" climbs out"},
        {{{"tavrik", "new"}, {"help/../../planted", "out"}}, "\"help/../../planted\" climbs out"},
        {{{"tavrik", "new"}, {outside, "out"}}, "\"" + outside + "\" is an absolute name"},
        {{{"tavrik", "new"}, {"help\\..\\..\\planted", "out"}}, "holds a backslash"},
        {{{"tavrik", "new"}, {"help//x", "x"}}, "\"help//x\" has an empty"},
        {{{"tavrik", "new"}, {"./x", "x"}}, "\"./x\" has an empty or \".\" part"},
        {{{"tavrik", "new"}, {"help", "../elsewhere", 0120777}, {"help/x", "x"}}, "\"help\" is a symbolic link"},
        {{{"tavrik", "new"}, {"ttyS9", "", 020644}}, "\"ttyS9\" is a device"},
        {{{"tavrik", "new"}, {"fifo", "", 010644}}, "\"fifo\" is a device or other special file"},
        {{{"tavrik", "new program", 0104755}}, "\"tavrik\" asks to run with its owner's rights"},
        {{{"tavrik", "new"}, {"tool", "x", 0102755}}, "\"tool\" asks to run with its owner's rights"},
        {{{"tavrik", "new"}, {"notes", "a"}, {"notes/x", "b"}}, "\"notes/x\" lies inside \"notes\""},
        {{{"readme.txt", "no program"}}, "holds no program file \"tavrik\""},
        {{{"tavrik/", "", Folder}, {"tavrik/x", "x"}}, "holds no program file \"tavrik\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Named);
        ExpectRefused(test::ZipBytes(c.Entries), c.Named);
    }
    ExpectRefused(test::WithDamagedEntry(test::ZipBytes({{"tavrik", "new program"}, {"data.bin", std::string(4000, 'd')}}),
                                         "data.bin"),
                  "\"data.bin\" is damaged");
    ExpectRefused("PK\x03\x04 cut short", "not a whole zip archive");
}

TEST_F(InstallUpdateTest, SizeLimitsCountTheUnpackedBytesOfEachEntryAndOfAll) {
    const UpdateArchiveLimits limits{1000, 1500, 3};
    ExpectRefused(test::ZipBytes({{"tavrik", std::string(1001, 'p')}}), "\"tavrik\" would unpack to 1001 bytes",
                  limits);
    ExpectRefused(test::ZipBytes({{"tavrik", std::string(800, 'p')}, {"data", std::string(800, 'd')}}),
                  "\"data\" brings the unpacked update past", limits);
    ExpectRefused(test::ZipBytes({{"tavrik", "p"}, {"a", "a"}, {"b", "b"}, {"c", "c"}}), "more than 3 entries",
                  limits);
    ExpectRefused(test::ZipOfZeros(uint64_t{1} << 30), "\"tavrik\" would unpack to 1073741824 bytes");
}

TEST_F(InstallUpdateTest, WhatStandsInTheFolderIsNeitherFollowedNorReplacedByAnotherKind) {
    fs::create_directory_symlink(Temp.Path() / "elsewhere", Program() / "maps");
    ExpectRefused(test::ZipBytes({{"tavrik", "new"}, {"maps/notes.txt", "planted"}}),
                  "\"maps\" in " + Program().string() + " is a symbolic link");
    fs::create_symlink(Temp.Path() / "elsewhere/notes.txt", Program() / "notes.txt");
    ExpectRefused(test::ZipBytes({{"tavrik", "new"}, {"notes.txt", "planted"}}), "\"notes.txt\" in");
    ExpectRefused(test::ZipBytes({{"tavrik", "new"}, {"help", "a file where a folder is"}}),
                  "is not a plain file, but the update brings a file");
    ExpectRefused(test::ZipBytes({{"tavrik", "new"}, {"Tavrik.ini/x", "a folder where a file is"}}),
                  "is not a folder, but the update needs a folder");
}

// The plug pulled before each change of the swap in turn: every time, all is moved back.
TEST_F(InstallUpdateTest, FailureAtAnyStepOfTheSwapMovesEverythingBack) {
    const std::string archive = test::ZipBytes({{"help/", "", Folder},
                                                {"help/index.html", "<p>new help</p>"},
                                                {"maps/deep/level1.txt", "level"},
                                                {"Tavrik.ini", "[Settings]\nnew=1\n"},
                                                {"tavrik", "new program"}});
    const auto before = test::Snapshot(Temp.Path());
    size_t failingStep = 0;
    for (;; ++failingStep) {
        SCOPED_TRACE(failingStep);
        size_t step = 0;
        try {
            Install(archive, [&](const std::string& what) {
                if (step++ == failingStep) throw std::runtime_error("unplugged before " + what);
            });
            break;
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find("unplugged before"), std::string::npos) << error.what();
        }
        ASSERT_EQ(test::Snapshot(Temp.Path()), before);
        ASSERT_LT(failingStep, 50u);
    }
    // Folders made, files moved aside and moved in: each kind of step was pulled at least once.
    EXPECT_GE(failingStep, 9u);
    EXPECT_EQ(ReadText(Program() / "tavrik"), "new program");
    EXPECT_EQ(ReadText(Program() / "maps/deep/level1.txt"), "level");
}

} // namespace
} // namespace tavrik

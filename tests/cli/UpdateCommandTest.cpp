// tavrik-cli update against a server on 127.0.0.1 giving good and hostile answers: a good archive replaces
// the program, which then runs; every hostile answer ends in exit 1 with the program folder and everything
// beside it exactly as they were.
#include "support/CliRunner.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"
#include "support/UpdateTestFiles.h"
#include "update/UpdateCheck.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tavrik {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::ZipEntry;

const std::string NewProgram = "#!/bin/sh\necho the new Tavrik\n";

std::string RunProgram(const fs::path& program) {
    std::string output;
    FILE* pipe = popen(program.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    pclose(pipe);
    return output;
}

class UpdateCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteText(Program() / "tavrik", "#!/bin/sh\necho the old Tavrik\n");
        fs::permissions(Program() / "tavrik", fs::perms(0755));
        test::WriteText(Program() / "help/index.html", "<p>old help</p>");
        test::WriteText(Temp.Path() / "elsewhere/notes.txt", "not the program's");
        Newer = RunningVersion();
        ++Newer.Major;
    }
    fs::path Program() const { return Temp.Path() / "program"; }
    void Serve(const std::string& versionFile, const test::LocalHttpServer::Reply& archive) {
        Server.Serve("/tavrik_version_check", {200, versionFile});
        Server.Serve("/Tavrik.zip", archive);
    }
    std::string NewerVersionFile(const std::string& extraLines = "") const {
        return VersionText(Newer) + "\n- faster maps\n" + extraLines;
    }
    test::CliResult Update(const std::vector<std::string>& more = {}) {
        std::vector<std::string> words{"update", "--server", Server.BaseUrl(), "--folder", Program().string()};
        words.insert(words.end(), more.begin(), more.end());
        return test::RunCli(words);
    }

    test::TempDir Temp;
    test::LocalHttpServer Server;
    ProgramVersion Newer;
};

TEST_F(UpdateCommandTest, GoodArchiveReplacesTheProgramWhichThenRuns) {
    const std::string archive = test::ZipBytes({{"tavrik", NewProgram, 0100666}, {"help/index.html", "<p>new</p>"}});
    Serve(NewerVersionFile("sha256: " + Sha256Hex({reinterpret_cast<const uint8_t*>(archive.data()), archive.size()})),
          {200, archive});
    const test::CliResult result = Update();
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_NE(result.Out.find(AvailableMessage(Newer, RunningVersion())), std::string::npos) << result.Out;
    EXPECT_EQ(RunProgram(Program() / "tavrik"), "the new Tavrik\n");
    EXPECT_EQ(fs::status(Program() / "tavrik").permissions(), fs::perms(0755));
    EXPECT_EQ(ReadText(Program() / "help/index.html"), "<p>new</p>");
    EXPECT_EQ(test::Snapshot(Temp.Path()).size(), 6u); // nothing left beside the program folder
    EXPECT_EQ(Server.Requests()[0].Target, "/tavrik_version_check?v=" + VersionText(RunningVersion()));
}

TEST_F(UpdateCommandTest, CheckOnlyOrNothingNewerChangesNothing) {
    Serve(NewerVersionFile(), {200, test::ZipBytes({{"tavrik", NewProgram}})});
    const auto before = test::Snapshot(Temp.Path());
    test::CliResult result = Update({"--check"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, AvailableMessage(Newer, RunningVersion()) + "\n");
    Serve(VersionText(RunningVersion()), {200, test::ZipBytes({{"tavrik", NewProgram}})});
    result = Update();
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, LatestVersionMessage(RunningVersion()) + "\n");
    EXPECT_EQ(Server.Requests().size(), 2u); // the archive was never asked for
    EXPECT_EQ(test::Snapshot(Temp.Path()), before);
}

TEST_F(UpdateCommandTest, NoServerOrBadWordsAreClearFailures) {
    test::CliResult result = test::RunCli({"update", "--folder", Program().string()});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("no update server is configured"), std::string::npos) << result.Err;
    EXPECT_EQ(test::RunCli({"update", "--folder", Program().string(), "extra"}).ExitCode, 2);
    EXPECT_EQ(test::RunCli({"update", "--server"}).ExitCode, 2);
    Server.Serve("/tavrik_version_check", {200, NewerVersionFile()});
    result = test::RunCli({"update", "--server", Server.BaseUrl(), "--folder", (Program() / "missing").string()});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("missing/ is not a folder"), std::string::npos) << result.Err;
    EXPECT_FALSE(fs::exists(Program() / "missing"));
    result = test::RunCli({"update", "--server", "http://192.0.2.7/", "--folder", Program().string()});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("not an https address"), std::string::npos) << result.Err;
}

TEST_F(UpdateCommandTest, HostileAnswersLeaveTheFolderAsItWas) {
    fs::create_directory_symlink(Temp.Path() / "elsewhere", Program() / "maps");
    const std::string good = test::ZipBytes({{"tavrik", NewProgram}, {"data.bin", std::string(300000, 'd')}});
    const std::string bytes = test::ZipBytes({{"tavrik", NewProgram}});
    using Reply = test::LocalHttpServer::Reply;
    struct Case {
        Reply Version;
        Reply Archive;
        std::string Says;
    };
    const Reply newer{200, NewerVersionFile()};
    const std::vector<Case> cases = {
        {newer, {200, test::ZipBytes({{"tavrik_Old", "junk"}})}, "\"tavrik_Old\""},
        {newer, {200, test::WithDamagedEntry(good, "data.bin")}, "\"data.bin\" is damaged"},
        {newer, {200, test::ZipOfZeros(uint64_t{1} << 30)}, "\"tavrik\" would unpack to 1073741824"},
        {{200, NewerVersionFile(), std::nullopt, true}, {200, bytes}, "The update check failed: the server sent more"},
        {newer, {200, "", std::nullopt, true}, "more than the 256 MB"},
        {newer, {200, test::ZipBytes({{"tavrik", NewProgram, 0104777}})}, "\"tavrik\" asks to run"},
        {newer, {200, test::ZipBytes({{"tavrik", NewProgram}, {"Tavrik.zip", "x"}})}, "\"Tavrik.zip\""},
        {newer, {200, test::ZipBytes({{"tavrik", NewProgram}, {"link", "/etc", 0120777}})}, "\"link\" is a symbolic link"},
        {newer, {200, test::ZipBytes({{"tavrik", NewProgram}, {"maps/x", "x"}})},
         "\"maps\" in " + Program().string() + " is a symbolic link"},
        {{404, "Not Found"}, {200, bytes}, "The update check failed"},
        {{200, NewerVersionFile("sha256: " + std::string(64, '0'))}, {200, bytes}, "checksum differs"},
        {newer, {200, good.substr(0, good.size() - 40)}, "not a whole zip archive"},
        {newer, {200, good, good.size() / 2}, "An error occurred while downloading Tavrik.zip"},
    };
    const auto before = test::Snapshot(Temp.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Says);
        Server.Serve("/tavrik_version_check", c.Version);
        Server.Serve("/Tavrik.zip", c.Archive);
        const test::CliResult result = Update();
        EXPECT_EQ(result.ExitCode, 1);
        EXPECT_NE(result.Err.find(c.Says), std::string::npos) << result.Err;
        EXPECT_EQ(result.Out.find(LatestVersionMessage(RunningVersion())), std::string::npos);
        EXPECT_EQ(test::Snapshot(Temp.Path()), before);
    }
}

} // namespace
} // namespace tavrik

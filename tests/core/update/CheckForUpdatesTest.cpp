// The whole update check against a server on 127.0.0.1: the request, the menu-versus-timer rule,
// the questions, the download with the update dialog's progress, and the three replacement choices.
#include "update/UpdateCheck.h"

#include "LocalHttpServer.h"
#include "UpdateTestFiles.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "update/ReplaceExecutable.h"

#include <gtest/gtest.h>

#include <deque>

namespace tavrik {
namespace {

namespace fs = std::filesystem;
using test::ReadText;

const std::string LatestVersion = "You have the latest version!";
const std::string ReplaceQuestionStart =
    "The new version has been downloaded. Would you like Tavrik to attempt to update itself now?\n\n";
const std::string OpenAtExit =
    "The new version has been downloaded. The zip file will be opened automatically when you close the program!";

struct RecordingWindow : UpdateWindow {
    std::vector<std::string> Calls;
    std::vector<DownloadProgress> Shown;
    int Busy = 0;
    int EventRuns = 0;
    void SetBusyCursor(bool busy) override {
        Busy += busy ? 1 : -1;
        Calls.push_back(busy ? "busy" : "normal");
    }
    void ShowDownload(const DownloadProgress& progress) override {
        Calls.push_back("show");
        Shown.push_back(progress);
    }
    void UpdateDownload(const DownloadProgress& progress) override { Shown.push_back(progress); }
    void CloseDownload() override { Calls.push_back("close"); }
    void LetEventsRun() override { ++EventRuns; }
};

class CheckForUpdatesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(Folder());
        test::WriteText(Folder() / "tavrik", "old program");
        Options.UpdateServer = Server.BaseUrl() + "/";
        Options.Files = {Folder().string() + "/", "tavrik"};
        Options.Now = 46000.25;
        Options.MachineId = "3FA2C";
        Options.TotalRunTime = 1.5;
        Options.Version = {0, 8, 4, 57};
        Options.ScreenWidth = 1920;
        Options.ScreenHeight = 1080;
    }
    fs::path Folder() const { return Temp.Path() / "program"; }
    void ServeVersion(const std::string& text) { Server.Serve("/tavrik_version_check", {200, text, std::nullopt}); }
    void ServeArchive(const std::string& bytes, std::optional<size_t> closeAfter = std::nullopt) {
        Server.Serve("/Tavrik.zip", {200, bytes, closeAfter});
    }
    UpdateCheckResult Check() { return CheckForUpdates(Options, Dialogs, Window); }
    std::string Question(const std::string& versionFile) {
        return NewVersionQuestion(ParseVersionFile(versionFile), Options.Files.Archive());
    }
    std::vector<std::string> Kinds() const {
        std::vector<std::string> kinds;
        for (const auto& shown : Dialogs.History)
            kinds.push_back(shown.Kind);
        return kinds;
    }

    test::TempDir Temp;
    test::LocalHttpServer Server;
    test::ScriptedDialogs Dialogs;
    RecordingWindow Window;
    UpdateCheckOptions Options;
};

TEST_F(CheckForUpdatesTest, AsksTheServerWithTheMachineRunTimeVersionAndScreen) {
    ServeVersion("0.8.4.57\n");
    Check();
    ASSERT_EQ(Server.Requests().size(), 1u);
    EXPECT_EQ(Server.Requests()[0].Target, "/tavrik_version_check?s=3FA2C&t=1.5&v=0.8.4.57&r=1920x1080");
    EXPECT_EQ(Server.Requests()[0].UserAgent, "Mozilla/4.0 (compatible; Indy Library)");
    EXPECT_EQ(Window.Calls, (std::vector<std::string>{"busy", "normal"}));
    EXPECT_EQ(ArchiveUrl("http://example.test//"), "http://example.test/Tavrik.zip");
}

TEST_F(CheckForUpdatesTest, NoNewerVersionIsReportedFromTheMenuOnly) {
    for (const char* versionFile : {"0.8.4.57\n- the running version", "0.7.9.99"}) {
        SCOPED_TRACE(versionFile);
        ServeVersion(versionFile);
        Dialogs.History.clear();
        Options.Sender = UpdateSender::Menu;
        UpdateCheckResult result = Check();
        EXPECT_EQ(Dialogs.Texts("information"), std::vector<std::string>{LatestVersion});
        EXPECT_EQ(result.Outcome, UpdateOutcome::NoNewerVersion);
        EXPECT_EQ(result.LastUpdateCheck, Options.Now);

        Dialogs.History.clear();
        Options.Sender = UpdateSender::Timer;
        result = Check();
        EXPECT_TRUE(Dialogs.History.empty());
        EXPECT_EQ(result.LastUpdateCheck, Options.Now);
        EXPECT_FALSE(result.OpenArchiveAtExit.has_value());
        EXPECT_FALSE(result.ExecutableReplaced);
    }
}

TEST_F(CheckForUpdatesTest, WithoutAnUpdateServerNothingIsAskedAndTheTimerStaysQuiet) {
    Options.UpdateServer = " ";
    UpdateCheckResult result = Check();
    EXPECT_EQ(result.Outcome, UpdateOutcome::NoUpdateServer);
    EXPECT_EQ(Dialogs.Texts("information"), std::vector<std::string>{NoUpdateServerMessage});
    EXPECT_FALSE(result.LastUpdateCheck.has_value());
    Dialogs.History.clear();
    Options.Sender = UpdateSender::Timer;
    EXPECT_EQ(Check().Outcome, UpdateOutcome::NoUpdateServer);
    EXPECT_TRUE(Dialogs.History.empty());
    EXPECT_TRUE(Server.Requests().empty());
}

TEST_F(CheckForUpdatesTest, UnreachableVersionFileShowsTheErrorAndFindsNothingNewer) {
    UpdateCheckResult result = Check(); // the server answers 404
    EXPECT_EQ(Kinds(), (std::vector<std::string>{"error", "information"}));
    EXPECT_TRUE(Dialogs.Texts("error")[0].starts_with("An error occurred while downloading Brenwick_Version.txt\n"));
    EXPECT_EQ(Dialogs.Texts("information")[0], LatestVersion);
    EXPECT_EQ(result.Outcome, UpdateOutcome::NoNewerVersion);

    Dialogs.History.clear();
    Options.Sender = UpdateSender::Timer;
    Check();
    EXPECT_EQ(Kinds(), std::vector<std::string>{"error"});
}

TEST_F(CheckForUpdatesTest, BadFirstLineIsAClearMessage) {
    ServeVersion("<html>maintenance</html>\n");
    const UpdateCheckResult result = Check();
    EXPECT_EQ(result.Outcome, UpdateOutcome::BadVersionFile);
    ASSERT_EQ(Dialogs.Texts("error").size(), 1u);
    EXPECT_NE(Dialogs.Texts("error")[0].find("is not four numbers"), std::string::npos);
    EXPECT_FALSE(result.LastUpdateCheck.has_value());
    EXPECT_EQ(Window.Busy, 0);
}

TEST_F(CheckForUpdatesTest, DecliningTheDownloadFetchesNothing) {
    ServeVersion("0.8.4.58");
    Options.Sender = UpdateSender::Timer;
    const UpdateCheckResult result = Check();
    EXPECT_EQ(Dialogs.Texts("confirm"), std::vector<std::string>{Question("0.8.4.58")});
    EXPECT_EQ(Question("0.8.4.58"), "A new version 0.8.4 (Build 58) of Tavrik is available!\n\nThe new version will "
                                    "be saved as " +
                                        Folder().string() + "/Tavrik.zip\nWould you like to download it now?");
    EXPECT_EQ(result.Outcome, UpdateOutcome::DownloadDeclined);
    EXPECT_EQ(result.LastUpdateCheck, Options.Now);
    EXPECT_EQ(Server.Requests().size(), 1u);
    EXPECT_FALSE(fs::exists(Folder() / "Tavrik.zip"));
}

// The replacement choice: 0 keeps the archive for the user, 1 replaces, 2 asks first and returns the answer.
TEST_F(CheckForUpdatesTest, ReplacementChoiceDecidesBetweenUnpackingAndOpeningAtExit) {
    const std::string versionFile = "0.8.5.0\n0.8.5 (Build 0)\n- new map rules";
    ServeVersion(versionFile);
    const std::string archive = test::ZipBytes({{"tavrik", "new program", 0100644}});
    ServeArchive(archive);
    struct Case {
        int32_t Setting;
        std::deque<bool> Answers;
        bool Replaced;
        std::optional<int32_t> Decided;
    };
    for (const Case& c : {Case{0, {true}, false, {}}, Case{1, {true}, true, {}}, Case{2, {true, false}, false, 0},
                          Case{2, {true, true}, true, 1}}) {
        SCOPED_TRACE(c.Setting * 10 + c.Answers.back());
        test::WriteText(Folder() / "tavrik", "old program");
        fs::permissions(Folder() / "tavrik", fs::perms(0644)); // the archive's copy is not marked runnable either
        Dialogs.History.clear();
        Dialogs.ConfirmAnswers = c.Answers;
        Options.ReplaceRunningExecutable = c.Setting;
        const UpdateCheckResult result = Check();

        const std::vector<std::string> asked = Dialogs.Texts("confirm");
        ASSERT_EQ(asked.size(), c.Answers.size());
        EXPECT_EQ(asked[0], Question(versionFile));
        if (c.Setting == 2) {
            EXPECT_TRUE(asked[1].starts_with(ReplaceQuestionStart)) << asked[1];
        }
        EXPECT_EQ(Dialogs.Texts("information"), c.Replaced ? std::vector<std::string>{} : std::vector{OpenAtExit});
        EXPECT_EQ(ReadText(Folder() / "Tavrik.zip"), archive);
        EXPECT_EQ(ReadText(Folder() / "tavrik"), c.Replaced ? "new program" : "old program");
        EXPECT_EQ(test::IsExecutable(Folder() / "tavrik"), c.Replaced);
        EXPECT_EQ(result.ExecutableReplaced, c.Replaced);
        EXPECT_EQ(result.OpenArchiveAtExit, !c.Replaced);
        EXPECT_EQ(result.ReplaceRunningExecutable, c.Decided);
        EXPECT_EQ(result.Outcome, c.Replaced ? UpdateOutcome::Replaced : UpdateOutcome::Downloaded);
    }
}

TEST_F(CheckForUpdatesTest, ArchiveWithoutTheExecutableKeepsTheProgramRunning) {
    ServeVersion("0.8.4.58");
    ServeArchive(test::ZipBytes({{"readme.txt", "no program here"}}));
    Options.ReplaceRunningExecutable = 1;
    Dialogs.ConfirmAnswers = {true};
    const UpdateCheckResult result = Check();
    EXPECT_EQ(Dialogs.Texts("information"), std::vector<std::string>{ExtractionFailedMessage(Options.Files)});
    EXPECT_EQ(ReadText(Folder() / "tavrik"), "old program");
    EXPECT_FALSE(result.ExecutableReplaced);
    EXPECT_EQ(result.OpenArchiveAtExit, true);
}

TEST_F(CheckForUpdatesTest, CutOffEmptyOrForeignDownloadsReplaceNothing) {
    ServeVersion("0.8.4.58");
    const std::string archive = test::ZipBytes({{"tavrik", std::string(200000, 'n'), 0100755}});
    const std::vector<test::LocalHttpServer::Reply> replies = {
        {200, archive, archive.size() / 2},
        {200, "", std::nullopt},
        {200, "<html>moved</html>", std::nullopt},
        {200, archive.substr(0, archive.size() - 30), std::nullopt},
        {404, "gone", std::nullopt}};
    Options.ReplaceRunningExecutable = 1;
    for (const test::LocalHttpServer::Reply& reply : replies) {
        SCOPED_TRACE(reply.Body.size());
        Server.Serve("/Tavrik.zip", reply);
        Dialogs.History.clear();
        Dialogs.ConfirmAnswers = {true};
        const UpdateCheckResult result = Check();
        EXPECT_EQ(result.Outcome, UpdateOutcome::DownloadFailed);
        EXPECT_EQ(Kinds(), (std::vector<std::string>{"confirm", "error"}));
        EXPECT_FALSE(fs::exists(Folder() / "Tavrik.zip"));
        EXPECT_EQ(ReadText(Folder() / "tavrik"), "old program");
        EXPECT_FALSE(result.ExecutableReplaced);
        EXPECT_FALSE(result.OpenArchiveAtExit.has_value());
        EXPECT_EQ(result.LastUpdateCheck, Options.Now);
        EXPECT_EQ(Window.Busy, 0);
    }
}

TEST_F(CheckForUpdatesTest, UpdateDialogFollowsADownloadOfAFewMegabytes) {
    ServeVersion("0.8.4.58");
    std::string big(4 * 1024 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string archive = test::ZipBytes({{"tavrik", "new program", 0100755}, {"data.bin", big}});
    ServeArchive(archive);
    Options.ReplaceRunningExecutable = 0;
    Dialogs.ConfirmAnswers = {true};
    Check();

    EXPECT_EQ(Window.Calls, (std::vector<std::string>{"busy", "normal", "busy", "show", "close", "normal"}));
    const std::vector<DownloadProgress>& shown = Window.Shown;
    ASSERT_GT(shown.size(), 4u);
    EXPECT_EQ(shown[0].Status, "Connecting to download site...");
    EXPECT_EQ(shown[0].Position, 0u);
    EXPECT_EQ(shown[1].Status, "Beginning download...");
    EXPECT_EQ(shown[1].Maximum, archive.size());
    uint64_t last = 0;
    for (size_t i = 2; i + 1 < shown.size(); ++i) {
        EXPECT_EQ(shown[i].Status, "Downloaded " + std::to_string(shown[i].Position) + " of " +
                                       std::to_string(archive.size()) + " bytes");
        EXPECT_GT(shown[i].Position, last);
        last = shown[i].Position;
    }
    EXPECT_EQ(last, archive.size());
    EXPECT_EQ(shown.back().Status, "Download complete!");
    EXPECT_EQ(shown.back().Position, archive.size());
    EXPECT_GT(Window.EventRuns, 0);
}

} // namespace
} // namespace tavrik

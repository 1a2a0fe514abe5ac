// "Check for updates" through the window against a server on 127.0.0.1: a newer version downloaded and
// swapped in while the window keeps running, a failed check said as such, a hostile archive refused with
// the folder untouched, and a window closed during an endless download.
#include "FormFixture.h"
#include "GuiTestRegistry.h"
#include "support/LocalHttpServer.h"
#include "support/UpdateTestFiles.h"
#include "update/TFormUpdate.h"
#include "update/UpdateCheck.h"

#include <QAction>
#include <QLabel>
#include <QTest>

namespace tavrik::test {

namespace fs = std::filesystem;

class UpdateJourneyTest : public QObject {
    Q_OBJECT

    LocalHttpServer Server;

    // A window whose program folder holds an old program and whose settings name the test server.
    TForm1& Create(FormFixture& fixture, int32_t replaceSetting) {
        WriteText(fixture.ProgramFolder() + "tavrik", "old program");
        TForm1& form = fixture.Create();
        form.Files = {fixture.ProgramFolder(), "tavrik"};
        form.Settings.UpdateServer = Server.BaseUrl();
        form.Settings.ReplaceRunningExecutable = replaceSetting;
        return form;
    }
    void ServeNewer(const LocalHttpServer::Reply& archive) {
        ProgramVersion newer = RunningVersion();
        ++newer.Build;
        Server.Serve("/tavrik_version_check", {200, VersionText(newer) + "\n- new map rules"});
        Server.Serve("/Tavrik.zip", archive);
    }
    static void CheckForUpdates(const FormFixture& fixture) { fixture.Find<QAction>("mnuCheckforUpdates")->trigger(); }
    static bool UpdateEnded(const FormFixture& fixture) { return fixture.Find<QAction>("mnuCheckforUpdates")->isEnabled(); }

  private slots:
    void NewerVersionIsDownloadedAndSwappedInWhileTheWindowRuns() {
        FormFixture fixture;
        TForm1& form = Create(fixture, 2);
        ServeNewer({200, ZipBytes({{"tavrik", "new program"}, {"docs/readme.txt", "read me"}})});
        fixture.Dialogs.ConfirmAnswers = {true, true};
        CheckForUpdates(fixture);
        QVERIFY(!UpdateEnded(fixture)); // the check runs beside the window: the handler has returned
        QTRY_VERIFY_WITH_TIMEOUT(form.ExecutableReplaced, 20000);
        QCOMPARE(ReadText(fixture.ProgramFolder() + "tavrik"), std::string("new program"));
        QCOMPARE(ReadText(fixture.ProgramFolder() + "docs/readme.txt"), std::string("read me"));
        const std::vector<std::string> asked = fixture.Dialogs.Texts("confirm");
        QCOMPARE(asked.size(), size_t{2});
        QCOMPARE(asked[1], std::string(ReplaceQuestion));
        QCOMPARE(form.Settings.ReplaceRunningExecutable, 1);
        QVERIFY(fixture.Dialogs.Texts("error").empty());
        QCOMPARE(fixture.Desktop.Started, std::vector<std::string>{form.Files.Executable()});
        QVERIFY(!fs::exists(form.Files.Archive()));
    }

    void FailedCheckSaysSoAndNeverThatThisIsTheLatest() {
        FormFixture fixture;
        Create(fixture, 1);
        Server.Serve("/tavrik_version_check", {404, "Not Found"});
        CheckForUpdates(fixture);
        QTRY_VERIFY_WITH_TIMEOUT(UpdateEnded(fixture), 20000);
        const std::vector<std::string> errors = fixture.Dialogs.Texts("error");
        QCOMPARE(errors.size(), size_t{1});
        QVERIFY(errors[0].starts_with("The update check failed: "));
        QVERIFY(fixture.Dialogs.Texts("information").empty());
    }

    void HostileArchiveIsRefusedAndNothingIsKept() {
        FormFixture fixture;
        TForm1& form = Create(fixture, 0);
        ServeNewer({200, ZipBytes({{"tavrik", "new program", 0104755}})});
        fixture.Dialogs.ConfirmAnswers = {true};
        const auto before = Snapshot(fixture.Folder.Path());
        CheckForUpdates(fixture);
        QTRY_VERIFY_WITH_TIMEOUT(UpdateEnded(fixture), 20000);
        QCOMPARE(fixture.Dialogs.Texts("error").size(), size_t{1});
        QVERIFY(fixture.Dialogs.Texts("error")[0].find("\"tavrik\" asks to run") != std::string::npos);
        QVERIFY(!form.OpenArchiveAtExit);
        QVERIFY(Snapshot(fixture.Folder.Path()) == before);
    }

    // Closing the download dialog stops the download; the next check may start at once.
    void ClosingTheDialogStopsTheDownload() {
        FormFixture fixture;
        TForm1& form = Create(fixture, 1);
        ServeNewer({200, "", std::nullopt, true});
        fixture.Dialogs.ConfirmAnswers = {true};
        CheckForUpdates(fixture);
        QTRY_VERIFY_WITH_TIMEOUT(form.findChild<TFormUpdate*>() != nullptr, 20000);
        TFormUpdate* dialog = form.findChild<TFormUpdate*>();
        QTRY_VERIFY_WITH_TIMEOUT(dialog->StatusLabel()->text().startsWith("Downloaded "), 20000);
        dialog->reject();
        QVERIFY(UpdateEnded(fixture));
        QVERIFY(!dialog->isVisible());
        QVERIFY(fixture.Dialogs.Texts("error").empty());
        QCOMPARE(ReadText(fixture.ProgramFolder() + "tavrik"), std::string("old program"));
    }

    // The dialog follows the transfer through the window's own event loop; closing the window stops it.
    void ClosingTheWindowStopsAnEndlessDownload() {
        FormFixture fixture;
        TForm1& form = Create(fixture, 1);
        ServeNewer({200, "", std::nullopt, true});
        fixture.Dialogs.ConfirmAnswers = {true};
        const auto before = Snapshot(fixture.Folder.Path());
        CheckForUpdates(fixture);
        QTRY_VERIFY_WITH_TIMEOUT(form.findChild<TFormUpdate*>() != nullptr, 20000);
        const QLabel* status = form.findChild<TFormUpdate*>()->StatusLabel();
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith("Downloaded "), 20000);
        form.close();
        QVERIFY(fixture.Dialogs.Texts("error").empty());
        QVERIFY(!form.ExecutableReplaced);
        QCOMPARE(ReadText(fixture.ProgramFolder() + "tavrik"), std::string("old program"));
        QVERIFY(fixture.Desktop.Opened.empty());
        QVERIFY(!fs::exists(form.Files.Archive()));
        QCOMPARE(Snapshot(fixture.Folder.Path()).at("tavrik"), before.at("tavrik"));
    }
};

namespace {
const GuiTestRegistration<UpdateJourneyTest> updateJourneyRegistration;
} // namespace

} // namespace tavrik::test

#include "UpdateJourneyTest.moc"

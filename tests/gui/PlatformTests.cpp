// The platform layer and the program's command line: file filters, the single-instance guard, the machine identity, the handler wrapper.
#include "GuiTestRegistry.h"

#include "app/Error.h"
#include "app/Files.h"
#include "platform/HandlerGuard.h"
#include "platform/MachineIdentity.h"
#include "platform/ProgramInfo.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"
#include "update/VersionFile.h"
#include "support/CliRunner.h"
#include "support/DemoData.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace tavrik::test {

class PlatformTest : public QObject {
    Q_OBJECT

  private slots:
    void FiltersBecomeQtFilters() {
        QCOMPARE(QtFileFilter("WinUAE Save State File (*.uss)|*.uss|All Files (*.*)|*.*"),
                 QString("WinUAE Save State File (*.uss);;All Files (*)"));
        QCOMPARE(QtFileFilter("Tavrik File (*.uss;*.ini;*.png)|*.uss;*.ini;*.png"),
                 QString("Tavrik File (*.uss *.ini *.png)"));
        QCOMPARE(QtFileFilter("Pictures|*.png;*.bmp"), QString("Pictures (*.png *.bmp)"));
        QCOMPARE(QtFileFilter(""), QString());
    }

    void ASecondInstanceIsToldAndLeavesTheFirstOnesLockAlone() {
        TempDir folder;
        const QString folderName = QString::fromStdString(folder.Path().string());
        const QString lockFile = QDir(folderName).filePath("TavrikInstantiated");
        ScriptedDialogs dialogs;
        auto first = std::make_unique<SingleInstance>(folderName, dialogs);
        QVERIFY(first->OwnsLock());
        QVERIFY(dialogs.History.empty());
        {
            const SingleInstance second(folderName, dialogs);
            QVERIFY(!second.OwnsLock());
            QCOMPARE(dialogs.Texts("information"), std::vector<std::string>{"Tavrik is already running!"});
        }
        QVERIFY(QFileInfo::exists(lockFile));
        const SingleInstance third(folderName, dialogs);
        QVERIFY(!third.OwnsLock());
        first.reset();
        QVERIFY(!QFileInfo::exists(lockFile));
        const SingleInstance fourth(folderName, dialogs);
        QVERIFY(fourth.OwnsLock());
    }

    // Each user's lock lives in that user's runtime folder, so two users each own theirs.
    void EachUserHoldsALockOfTheirOwn() {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        TempDir firstUser, secondUser;
        std::filesystem::permissions(firstUser.Path(), std::filesystem::perms::owner_all);
        std::filesystem::permissions(secondUser.Path(), std::filesystem::perms::owner_all);
        ScriptedDialogs dialogs;
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(firstUser.Path().string()));
        const SingleInstance first(InstanceLockFolder(), dialogs);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(secondUser.Path().string()));
        const SingleInstance second(InstanceLockFolder(), dialogs);
        qputenv("XDG_RUNTIME_DIR", saved);
        QVERIFY(first.OwnsLock());
        QVERIFY(second.OwnsLock());
        QVERIFY(dialogs.History.empty());
    }

    // The program's own command line answers without opening a window: the version, the help with the rip
    // options, and a bad rip option as a usage error naming it.
    void TheCommandLineAnswersBeforeAWindowOpens() {
        const CliResult version = RunProgram(TAVRIK_GUI_PATH, {"--version"});
        QCOMPARE(version.ExitCode, 0);
        QCOMPARE(version.Out, "tavrik " + VersionText(RunningVersion()) + "\n");
        const CliResult help = RunProgram(TAVRIK_GUI_PATH, {"--help"});
        QCOMPARE(help.ExitCode, 0);
        QVERIFY(help.Out.find("--bitplanes") != std::string::npos);
        const CliResult bad = RunProgram(TAVRIK_GUI_PATH, {ExampleFile("demo.uss"), "--bitplanes", "9"});
        QCOMPARE(bad.ExitCode, 2);
        QVERIFY2(bad.Err.find("--bitplanes: takes a number from 1 to 8") != std::string::npos, bad.Err.c_str());
        const CliResult noFile = RunProgram(TAVRIK_GUI_PATH, {"--bitplanes", "5"});
        QCOMPARE(noFile.ExitCode, 2);
        QVERIFY2(noFile.Err.find("need a FILE") != std::string::npos, noFile.Err.c_str());
    }

    void MachineIdIsUpperCaseHexWithoutLeadingZeros() {
        QCOMPARE(MachineIdFromFsid(0x00AB12), std::string("AB12"));
        QCOMPARE(MachineIdFromFsid(0), std::string("0"));
        QCOMPARE(MachineIdFromFsid(0xFFFFFFFFull), std::string("FFFFFFFF"));
        QCOMPARE(ReadMachineId("/no/such/folder/anywhere"), std::string("0"));
        const QString id = QString::fromStdString(ReadMachineId("/"));
        QVERIFY2(QRegularExpression("^(0|[1-9A-F][0-9A-F]*)$").match(id).hasMatch(), qPrintable(id));
    }

    void ErrorsEscapingAHandlerAreShownInTheErrorDialog() {
        ScriptedDialogs dialogs;
        bool ran = false;
        RunHandler(dialogs, [&] { ran = true; });
        RunHandler(dialogs, [] { throw Error("Arithmetic overflow"); });
        RunHandler(dialogs, [] { throw std::out_of_range("Index out of range"); });
        QVERIFY(ran);
        QCOMPARE(dialogs.Texts("error"), std::vector<std::string>({"Arithmetic overflow", "Index out of range"}));
    }

    void AnErrorEscapingTheEventLoopEndsTheProgramWithFailure() {
        std::ostringstream errors;
        QCOMPARE(RunEventLoop([] { return 0; }, errors), 0);
        QCOMPARE(RunEventLoop([]() -> int { throw Error("Out of memory"); }, errors), 1);
        QCOMPARE(errors.str(), std::string("tavrik: Out of memory\n"));
    }

    void ProgramFolderIsTheExecutablesFolderWithASeparator() {
        const std::string folder = ExecutableFolder();
        QVERIFY(folder.ends_with('/'));
        QCOMPARE(QDir(QString::fromStdString(folder)).absolutePath(),
                 QDir(QCoreApplication::applicationDirPath()).absolutePath());
    }
};

static const GuiTestRegistration<PlatformTest> platformRegistration;

} // namespace tavrik::test

#include "PlatformTests.moc"

// The main window: start-up state, window keys and the shell commands of the menus.
#include "FormFixture.h"
#include "GuiTestRegistry.h"

#include "app/Files.h"
#include "platform/ProgramInfo.h"
#include "ripper/RipperPage.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace tavrik::test {

namespace {

QStringList VisibleCaptions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions())
        if (action->isVisible()) captions << (action->isSeparator() ? QString("-") : action->text());
    return captions;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void CaptionIsTheProgramTitleWithVersionAndBuild() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        const QRegularExpression title(R"(^Tavrik v(\d+)\.(\d+)\.(\d+) \(Build (\d+)\)$)");
        const auto match = title.match(form.windowTitle());
        QVERIFY2(match.hasMatch(), qPrintable(form.windowTitle()));
        QVERIFY(match.captured(4).toInt() >= 57);
        QCOMPARE(form.windowTitle().toStdString(), form.ProgramTitle());
        QVERIFY(form.windowState().testFlag(Qt::WindowMaximized));
        QCOMPARE(form.minimumSize(), QSize(800, 600));
    }

    void HelpMenuShowsNoDeveloperCommand() {
        FormFixture fixture;
        fixture.Create();
        const QStringList captions = VisibleCaptions(fixture.Find<QMenu>("mnuHelp"));
        QCOMPARE(captions, QStringList({"Contents", "Check for updates", "Change Log...", "-", "About..."}));
        // The developer separator goes with the developer command: no second separator above "About...".
        QVERIFY(!fixture.Find<QAction>("mnuDeveloperSeparator")->isVisible());
    }

    // Every shown item of the main menu has its handler; only "Open Recent" waits for a first project.
    void EveryMenuItemHasItsHandler() {
        FormFixture fixture;
        fixture.Create();
        QList<QAction*> items = fixture.Form->menuBar()->actions();
        while (!items.isEmpty()) {
            const QAction* item = items.takeFirst();
            if (item->menu() && item->objectName() != "mnuOpenRecent")
                items << item->menu()->actions();
            else if (!item->isSeparator() && !item->menu() && item->isVisible())
                QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
        }
    }

    void StartsOnTheTileRipperWithTheMapDataTabAndKeyFieldsOutOfSight() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QTabWidget* tabs = form.PageControl();
        QCOMPARE(tabs->currentWidget(), &form.Ripper());
        for (int i = 0; i < tabs->count(); ++i)
            QCOMPARE(tabs->isTabVisible(i), tabs->widget(i)->objectName() != "TabSheetMapData");
        for (const char* name : {"EditGfxKeyCapture", "EditMapKeyCapture", "EditMap2KeyCapture"})
            QVERIFY2(fixture.Find<QLineEdit>(name)->y() == -1000, name);
        QCOMPARE(fixture.Find<QLabel>("LabelMapSummary")->text(), QString());
        QCOMPARE(fixture.Find<QLabel>("LabelMap2Summary")->text(), QString());
        QVERIFY(fixture.Dialogs.History.empty());
    }
};

class WindowKeysTest : public QObject {
    Q_OBJECT

  private slots:
    // Any machine: F7 is the one way to see chip RAM addresses in the fields.
    void F7SwitchesToChipRelativeAddressesAndBack() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.Work().Memory.ChipRamOffset = 0x1000;
        form.Work().Maps[0].Address = 0x1800;
        form.Work().Maps[1].Address = 0x10;
        QTest::keyClick(&form, Qt::Key_F7);
        QVERIFY(fixture.Dialogs.History.empty());
        QVERIFY(form.Work().ChipRelativeAddresses);
        QCOMPARE(form.StatusPanel(0)->text(), QString("Chip RAM Offset (F7)"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapAddress")->text(), QString("$800"));
        // An address below chip RAM is raised to its start.
        QCOMPARE(fixture.Find<QLineEdit>("EditMap2Address")->text(), QString("$0"));
        QCOMPARE(form.Work().Maps[1].Address, 0x1000);
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(form.StatusPanel(0)->text(), QString("File Offset (F7)"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapAddress")->text(), QString("$1800"));
    }

    void F7IsSeenWhateverControlHasTheFocus() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.PageControl()->setCurrentIndex(4);
        auto* memo = fixture.Find<QPlainTextEdit>("MemoInfo");
        QTest::keyClick(memo, Qt::Key_F7);
        // Seen once (twice would switch back): the window takes the key, it does not travel on through the
        // memo's parents.
        QVERIFY(form.Work().ChipRelativeAddresses);
    }

    void CtrlASelectsTheWholeMemo() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.PageControl()->setCurrentIndex(4);
        auto* memo = fixture.Find<QPlainTextEdit>("MemoInfo");
        memo->setPlainText("first line\nsecond line");
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(memo->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'),
                 QString("first line\nsecond line"));
        QCOMPARE(memo->toPlainText(), QString("first line\nsecond line"));
    }

    void CtrlAAlsoWorksInTheCopiedReplacementMemo() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.PageControl()->setCurrentIndex(5);
        auto* memo = fixture.Find<QPlainTextEdit>("MemoMap2TileIndexReplacements");
        QVERIFY(memo);
        memo->setEnabled(true);
        memo->setPlainText("$100-$105=$0");
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(memo->textCursor().selectedText(), QString("$100-$105=$0"));
    }
};

class ShellCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void AboutBoxShowsTheProgramTitleModally() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.show();
        QString shownName;
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) return;
            wasModal = box->isModal();
            if (auto* name = box->findChild<QLabel*>("ProductName")) shownName = name->text();
            qobject_cast<QDialog*>(box)->accept();
        });
        fixture.Find<QAction>("mnuAbout")->trigger();
        QVERIFY(wasModal);
        QCOMPARE(shownName.toStdString(), form.ProgramTitle());
    }

    void QuitClosesTheWindowAndStartsNothing() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.show();
        fixture.Find<QAction>("mnuQuit")->trigger();
        QVERIFY(!form.isVisible());
        QVERIFY(fixture.Desktop.Started.empty());
        QVERIFY(fixture.Desktop.Opened.empty());
        QVERIFY(form.TotalRunTime >= 0.0);
    }

    void ClosingAfterAnUpdateStartsTheNewProgramAndOpensTheArchive() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.ExecutableReplaced = true;
        form.OpenArchiveAtExit = true;
        form.close();
        form.close();
        QCOMPARE(fixture.Desktop.Started.size(), size_t{1});
        QCOMPARE(fixture.Desktop.Opened, std::vector<std::string>{fixture.ProgramFolder() + "Tavrik.zip"});
    }
};

static const GuiTestRegistration<MainWindowTest> mainWindowRegistration;
static const GuiTestRegistration<WindowKeysTest> windowKeysRegistration;
static const GuiTestRegistration<ShellCommandsTest> shellCommandsRegistration;

} // namespace tavrik::test

#include "Unit1Tests.moc"

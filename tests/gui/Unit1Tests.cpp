// The main window: tabs, menus, status bar, start-up state, window keys, help and the Help menu's commands.
#include "FormFixture.h"
#include "GuiTestRegistry.h"

#include "InfoTab.h"
#include "app/Files.h"
#include "platform/ProgramInfo.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace tavrik::test {

namespace {

// A menu's items as "name|caption|shortcut", separators as "name|-".
QStringList Entries(const QMenu* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            entries << action->objectName() + "|-";
        else
            entries << action->objectName() + "|" + action->text() + "|" + action->shortcut().toString();
    }
    return entries;
}

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

    void SixTabsInOrderWithMapDataHiddenAndTileRipperActive() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QTabWidget* tabs = form.PageControl();
        const QStringList names{"TabSheetGfx",     "TabSheetMap",  "TabSheetSearch",
                                "TabSheetMapData", "TabSheetInfo", "TabSheetMap2"};
        const QStringList captions{"Tile Ripper", "Map Ripper", "Map Search", "Map Data", "Info", "Map 2"};
        const QList<int> contexts{1000, 2000, 0, 0, 0, 0};
        QCOMPARE(tabs->count(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(tabs->widget(i)->objectName(), names[i]);
            QCOMPARE(tabs->tabText(i), captions[i]);
            QCOMPARE(tabs->widget(i)->property("helpContext").toInt(), contexts[i]);
            QCOMPARE(tabs->isTabVisible(i), i != 3);
        }
        QCOMPARE(tabs->currentWidget()->objectName(), QString("TabSheetGfx"));
    }

    void InfoTabHoldsTheReportMemoAndAFixedPitchCopperListMemo() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.PageControl()->setCurrentIndex(4);
        form.show();
        auto* info = fixture.Find<QPlainTextEdit>("MemoInfo");
        auto* copper = fixture.Find<QPlainTextEdit>("MemoCopperlist");
        QVERIFY(info && copper);
        QCOMPARE(info->width(), 273);
        QCOMPARE(info->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(info->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(info->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(copper->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(QFontInfo(copper->font()).fixedPitch());
        QVERIFY(copper->x() >= info->x() + info->width());
        QVERIFY(copper->width() > info->width());
    }

    void StatusBarHasFivePanelsOfTheirWidths() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QCOMPARE(form.statusBar()->objectName(), QString("StatusBar1"));
        const int widths[] = {100, 150, 150, 350, 350};
        for (int i = 0; i < 5; ++i) {
            auto* panel = fixture.Find<QLabel>(qPrintable(QString("StatusBar1Panel%1").arg(i)));
            QVERIFY(panel);
            QCOMPARE(panel, form.StatusPanel(i));
            QCOMPARE(panel->width(), widths[i]);
        }
        QCOMPARE(form.StatusPanel(0)->text(), QString("File Offset (F7)"));
    }

    void MainMenuHoldsEveryItemInOrder() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QMenuBar* bar = form.menuBar();
        QCOMPARE(bar->objectName(), QString("MainMenu1"));
        QStringList titles;
        for (const QAction* action : bar->actions())
            titles << action->text();
        QCOMPARE(titles, QStringList({"File", "Palette", "Options", "Tools", "Help"}));

        QCOMPARE(Entries(fixture.Find<QMenu>("mnuFile")),
                 QStringList({"mnuOpen|Open...|Ctrl+O", "N3|-", "mnuOpenRecent|Open Recent|", "N1|-",
                              "mnuNewProject|New Project|", "mnuOpenProject|Open Project...|",
                              "mnuSaveProject|Save Project...|Ctrl+S", "N2|-", "mnuQuit|Quit|"}));
        QCOMPARE(
            Entries(fixture.Find<QMenu>("mnuPalette")),
            QStringList({"mnuSwap4Colours|Swap 4 colours|", "mnuSwap8Colours|Swap 8 colours|",
                         "mnuSwap16Colours|Swap 16 colours|", "mnuSwap32Colours|Swap 32 colours|", "N4|-",
                         "mnuDefaultPalette|Default palette|",
                         "mnuLoadPaletteFromBinaryFile|Load Palette From Binary File|",
                         "mnuBlackAndWhite|Black and White|", "mnuDuplicate4Colours|Duplicate 4 colours|",
                         "mnuDuplicate8Colours|Duplicate 8 colours|", "mnuDuplicate16Colours|Duplicate 16 colours|",
                         "mnuDuplicate32Colours|Duplicate 32 colours|", "mnuDuplicate64Colours|Duplicate 64 colours|",
                         "mnuDuplicate128Colours|Duplicate 128 colours|",
                         "mnuExtraHalfBriteColours|Extra-Half-Brite colours|", "mnuC64Palette|C64 palette|"}));
        QCOMPARE(Entries(fixture.Find<QMenu>("mnuOptions")),
                 QStringList({"mnuAutomaticallyCheckForUpdates|Automatically check for updates|",
                              "mnuReplaceExecutableIfUpdateFound|Replace executable if update is found|",
                              "mnuConfirmOverwritingTiles|Confirm overwriting tiles|",
                              "mnuConfirmOverwritingMaps|Confirm overwriting maps|",
                              "mnuLoadPreviousProject|Load previous project when starting|", "N7|-", "mnuGrid|Grid|",
                              "mnuKeyboard|Keyboard|"}));
        QCOMPARE(Entries(fixture.Find<QMenu>("mnuTools")),
                 QStringList({"mnuSaveUncompressedState|Save Uncompressed State...|"}));
        QCOMPARE(Entries(fixture.Find<QMenu>("mnuHelp")),
                 QStringList({"mnuCheckforUpdates|Check for updates|", "mnuChangeLog|Change Log...|", "N5|-",
                              "mnuGenerateUpdate|Generate update|", "mnuDeveloperSeparator|-", "mnuAbout|About...|"}));
    }

    void GridAndKeyboardAreRadioGroupsCarryingTheirValues() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        const QMenu* grid = fixture.Find<QAction>("mnuGrid")->menu();
        QCOMPARE(Entries(grid),
                 QStringList({"mnuGrid1Pixel|1 pixel|", "mnuGrid2Pixels|2 pixels|", "mnuGrid3Pixels|3 pixels|"}));
        const QMenu* keyboard = fixture.Find<QAction>("mnuKeyboard")->menu();
        QCOMPARE(Entries(keyboard),
                 QStringList({"mnuKeyboardQwerty|Qwerty|", "mnuKeyboardQwertz|Qwertz|", "mnuKeyboardAzerty|Azerty|"}));
        for (const QMenu* menu : {grid, keyboard}) {
            QActionGroup* group = menu->actions().front()->actionGroup();
            QVERIFY(group && group->isExclusive());
            QCOMPARE(group->actions().size(), 3);
        }
        QCOMPARE(fixture.Find<QAction>("mnuGrid3Pixels")->data().toInt(), 3);
        Q_UNUSED(form);
    }

    void PopupMenusHoldTheirItemsWithColourSwatches() {
        FormFixture fixture;
        fixture.Create();
        QCOMPARE(Entries(fixture.Find<QMenu>("PopupMenuPalette")),
                 QStringList({"mnuColourBlack|Black|", "mnuColourWhite|White|", "mnuColourRed|Red|",
                              "mnuColourYellow|Yellow|", "mnuColourGreen|Green|", "mnuColourAqua|Aqua|",
                              "mnuColourBlue|Blue|", "mnuColourFuchsia|Fuchsia|", "mnuColourCustom|Custom...|",
                              "mnuPopupMenuPaletteDivider|-", "mnuSetAsSearchBackground|Set as Search Background|"}));
        const QImage red = fixture.Find<QAction>("mnuColourRed")->icon().pixmap(12, 12).toImage();
        QCOMPARE(red.pixelColor(5, 5), QColor(255, 0, 0));
        const QImage aqua = fixture.Find<QAction>("mnuColourAqua")->icon().pixmap(12, 12).toImage();
        QCOMPARE(aqua.pixelColor(5, 5), QColor(0, 255, 255));

        QStringList dimensions;
        for (const QAction* action : fixture.Find<QMenu>("PopupMenuGfxBitplaneDimensions")->actions())
            dimensions << action->text();
        QCOMPARE(dimensions, QStringList({"16 x 16", "320 x 200", "320 x 256", "640 x 400", "640 x 512"}));
        QStringList masks;
        for (const QAction* action : fixture.Find<QMenu>("PopupMenuMapMask")->actions())
            masks << action->text();
        QCOMPARE(masks,
                 QStringList({"$ff", "$1ff", "$3ff", "$7ff", "$fff", "$1fff", "$3fff", "$7fff", "$ffff", "$ffffffff"}));
    }

    void HelpMenuWithoutUnit1PasHidesTheDeveloperCommand() {
        FormFixture fixture;
        fixture.Create();
        const QStringList captions = VisibleCaptions(fixture.Find<QMenu>("mnuHelp"));
        QCOMPARE(captions, QStringList({"Check for updates", "Change Log...", "-", "About..."}));
        // The developer separator goes with the developer command: no second separator above "About...".
        QVERIFY(!fixture.Find<QAction>("mnuDeveloperSeparator")->isVisible());
    }

    void HelpMenuWithUnit1PasShowsTheDeveloperCommand() {
        FormFixture fixture;
        WriteTestFile(fixture, "Unit1.pas", {'u'});
        fixture.Create();
        QCOMPARE(VisibleCaptions(fixture.Find<QMenu>("mnuHelp")),
                 QStringList({"Check for updates", "Change Log...", "-", "Generate update", "-", "About..."}));
    }

    void ItemsWithoutBehaviourYetAreDisabled() {
        FormFixture fixture;
        fixture.Create();
        for (const char* name : {"mnuOpen", "mnuQuit", "mnuSaveUncompressedState", "mnuChangeLog", "mnuAbout"})
            QVERIFY2(fixture.Find<QAction>(name)->isEnabled(), name);
        for (const char* name : {"mnuNewProject", "mnuOpenProject", "mnuSaveProject", "mnuCheckforUpdates",
                                 "mnuGenerateUpdate", "mnuAutomaticallyCheckForUpdates"})
            QVERIFY2(!fixture.Find<QAction>(name)->isEnabled(), name);
    }

    void StartUpRemovesTheOldExecutableAndHidesTheKeyFields() {
        FormFixture fixture;
        const std::string oldExecutable = WriteTestFile(fixture, "Tavrik_Old.exe", {1, 2, 3});
        fixture.Create();
        QVERIFY(!std::filesystem::exists(oldExecutable));
        for (const char* name : {"EditMapKeyCapture", "EditMap2KeyCapture"})
            QVERIFY2(fixture.Find<QLineEdit>(name)->y() == -1000, name);
        QCOMPARE(fixture.Find<QLabel>("LabelMapSummary")->text(), QString());
        QCOMPARE(fixture.Find<QLabel>("LabelMap2Summary")->text(), QString());
        QVERIFY(fixture.Dialogs.History.empty());
    }
};

class WindowKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void F7OnAnOrdinaryMachineTellsAndStillRewritesTheAddressFields() {
        FormFixture fixture;
        TForm1& form = fixture.Create("1234ABCD");
        form.StatusPanel(0)->setText("junk");
        fixture.Find<QLineEdit>("EditMapAddress")->setText("junk");
        fixture.Find<QLineEdit>("EditMap2Address")->setText("junk");
        form.MapAddresses = {0x2A40, 0x100};
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(
            fixture.Dialogs.Texts("information"),
            std::vector<std::string>{"The map tab is still buggy so this has been disabled for the time being sorry!"});
        QVERIFY(!form.Work().ChipRelativeAddresses);
        QCOMPARE(form.StatusPanel(0)->text(), QString("File Offset (F7)"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapAddress")->text(), QString("$2A40"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMap2Address")->text(), QString("$100"));
    }

    void F7OnTheDevelopersMachineSwitchesToChipRelativeAddresses() {
        FormFixture fixture;
        TForm1& form = fixture.Create(DeveloperMachineId);
        form.Work().Memory.ChipRamOffset = 0x1000;
        form.MapAddresses = {0x1800, 0x10};
        QTest::keyClick(&form, Qt::Key_F7);
        QVERIFY(fixture.Dialogs.History.empty());
        QVERIFY(form.Work().ChipRelativeAddresses);
        QCOMPARE(form.StatusPanel(0)->text(), QString("Chip RAM Offset (F7)"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapAddress")->text(), QString("$800"));
        // An address below chip RAM is raised to its start.
        QCOMPARE(fixture.Find<QLineEdit>("EditMap2Address")->text(), QString("$0"));
        QCOMPARE(form.MapAddresses[1], int64_t{0x1000});
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
        // Seen once: the window takes the key, it does not travel on through the memo's parents.
        QCOMPARE(fixture.Dialogs.Texts("information").size(), size_t{1});
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

    void F5WithoutTabHandlersPassesOn() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QTest::keyClick(&form, Qt::Key_F5);
        QTest::keyClick(&form, Qt::Key_PageDown);
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void RegisteredTabHandlersGetF5AndThePageKeys() {
        struct Recorder : TabHandlers {
            QStringList Calls;
            void Refresh() override { Calls << "refresh"; }
            bool PageStep(int direction) override {
                Calls << QString("page %1").arg(direction);
                return true;
            }
        };
        FormFixture fixture;
        TForm1& form = fixture.Create();
        Recorder ripper;
        QWidget* gfx = form.PageControl()->widget(0);
        form.RegisterTabHandlers(gfx, &ripper);
        QTest::keyClick(&form, Qt::Key_F5);
        QTest::keyClick(&form, Qt::Key_PageDown);
        QTest::keyClick(&form, Qt::Key_PageUp);
        form.PageControl()->setCurrentIndex(1);
        QTest::keyClick(&form, Qt::Key_F5);
        QTest::keyClick(&form, Qt::Key_PageDown);
        QCOMPARE(ripper.Calls, QStringList({"refresh", "page 1", "page -1"}));
    }
};

class HelpTest : public QObject {
    Q_OBJECT

  private slots:
    void F1OpensTheTopicOfTheFocusedControlOrOfTheActiveTab() {
        FormFixture fixture;
        std::filesystem::create_directory(fixture.Folder.Path() / HelpFolderName);
        TForm1& form = fixture.Create();
        form.show();

        if (auto* mode = fixture.Find<QWidget>("ComboBoxGfxMode")) {
            mode->setFocus();
            QTest::keyClick(&form, Qt::Key_F1);
            QCOMPARE(fixture.Help.Topics.back().second, 1002);
        }

        form.PageControl()->setCurrentIndex(1);
        auto* mask = fixture.Find<QLineEdit>("EditMapMask");
        mask->setEnabled(true);
        mask->setFocus();
        QCOMPARE(form.HelpContextOfFocus(), 2001);
        auto* trim = fixture.Find<QLineEdit>("EditMapTrimTiles");
        trim->setEnabled(true);
        trim->setFocus();
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(fixture.Help.Topics.back(), std::make_pair(fixture.ProgramFolder() + HelpFolderName, 2000));

        form.PageControl()->setCurrentIndex(4);
        fixture.Find<QPlainTextEdit>("MemoInfo")->setFocus();
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(fixture.Help.Topics.back().second, 0);
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void F1WithoutAViewerOrWithoutTheHelpSaysSo() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QTest::keyClick(&form, Qt::Key_F1);
        fixture.Help.IsAvailable = false;
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(fixture.Dialogs.Texts("error"),
                 std::vector<std::string>({"Help file Tavrik.chm could not be found!", "HTML Help is not installed!"}));
        QVERIFY(fixture.Help.Topics.empty());
    }

    void TopicPageIsTheNumberedPageOrTheIndex() {
        TempDir folder;
        WriteWholeFile(folder.File("2000.html"), std::vector<uint8_t>{'<'});
        QCOMPARE(HelpTopicPage(folder.Path().string(), 2000), folder.File("2000.html"));
        QCOMPARE(HelpTopicPage(folder.Path().string(), 1002), folder.File("index.html"));
    }

    void ChangeLogOpensBesideTheProgramOrIsReportedMissing() {
        FormFixture fixture;
        fixture.Create();
        fixture.Find<QAction>("mnuChangeLog")->trigger();
        QCOMPARE(fixture.Dialogs.Texts("error"),
                 std::vector<std::string>{fixture.ProgramFolder() + "ChangeLog.txt was not found!"});
        const std::string changeLog = WriteTestFile(fixture, "ChangeLog.txt", {'v'});
        fixture.Find<QAction>("mnuChangeLog")->trigger();
        QCOMPARE(fixture.Desktop.Opened, std::vector<std::string>{changeLog});
    }

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
static const GuiTestRegistration<HelpTest> helpRegistration;

} // namespace tavrik::test

#include "Unit1Tests.moc"

// The window's options, recent projects, projects and update check as a user meets them: options changed
// through the menu and found again after a restart, the first-run question, the "Open Recent" submenu after
// saves, a project saved and loaded giving back every control, and the exit order after a self-replacement.
#include "FormFixture.h"
#include "GuiTestRegistry.h"

#include "app/Files.h"
#include "app/IniFile.h"
#include "app/IntegerText.h"
#include "app/Settings.h"
#include "map/MapPage.h"
#include "map/MapRipper.h"
#include "ripper/RipperPage.h"
#include "search/SearchPage.h"
#include "support/DemoData.h"
#include "update/TFormUpdate.h"
#include "update/UpdateCheck.h"
#include "widgets/ImageView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace tavrik::test {

namespace {

void Trigger(const FormFixture& fixture, const char* item) { fixture.Find<QAction>(item)->trigger(); }
bool Checked(const FormFixture& fixture, const char* item) { return fixture.Find<QAction>(item)->isChecked(); }

// Closing runs the exit order (settings and recent files written); the next window starts from them.
TForm1& Restart(FormFixture& fixture) {
    fixture.Form->close();
    fixture.Form.reset();
    return fixture.Create();
}

void WriteSettingsText(const FormFixture& fixture, const std::string& text) {
    WriteWholeFile(fixture.Folder.File(SettingsFileName), text);
}

IniFile SettingsFile(const FormFixture& fixture) {
    IniFile ini;
    ini.Load(fixture.Folder.File(SettingsFileName));
    return ini;
}

QStringList RecentFileNames(const FormFixture& fixture) {
    QStringList names;
    for (const QAction* item : fixture.Find<QMenu>("mnuOpenRecentMenu")->actions())
        if (!item->isSeparator()) names << item->text().section("  ", 1);
    return names;
}

void SetText(const FormFixture& fixture, const char* field, const char* text) {
    fixture.Find<QLineEdit>(field)->setText(text);
}

} // namespace

class WindowSettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void OptionsChangedInTheMenuAreThereAfterARestart() {
        FormFixture fixture;
        TForm1& first = fixture.Create();
        QVERIFY(Checked(fixture, "mnuConfirmOverwritingTiles"));
        for (const char* item : {"mnuConfirmOverwritingTiles", "mnuConfirmOverwritingMaps", "mnuLoadPreviousProject",
                                 "mnuAutomaticallyCheckForUpdates", "mnuKeyboardAzerty", "mnuGrid3Pixels"})
            Trigger(fixture, item);
        QVERIFY(!first.Ripper().ConfirmOverwritingTiles);
        QVERIFY(!first.MapHandlers().ConfirmOverwritingMaps);
        QCOMPARE(first.Ripper().CurrentKeyboardLayout(), KeyboardLayout::Azerty);
        // Nothing is written before the window closes.
        QCOMPARE(SettingsFile(fixture).Text(SettingsSection, "ConfirmOverwritingTiles"), std::string());

        TForm1& second = Restart(fixture);
        QVERIFY(fixture.Dialogs.Texts("confirm").empty());
        QVERIFY(!Checked(fixture, "mnuConfirmOverwritingTiles"));
        QVERIFY(!Checked(fixture, "mnuConfirmOverwritingMaps"));
        QVERIFY(!Checked(fixture, "mnuLoadPreviousProject"));
        QVERIFY(Checked(fixture, "mnuAutomaticallyCheckForUpdates"));
        QVERIFY(Checked(fixture, "mnuKeyboardAzerty"));
        QVERIFY(Checked(fixture, "mnuGrid3Pixels"));
        QVERIFY(!second.Ripper().ConfirmOverwritingTiles);
        QVERIFY(!second.MapHandlers().ConfirmOverwritingMaps);
        QCOMPARE(second.Ripper().CurrentKeyboardLayout(), KeyboardLayout::Azerty);
        QCOMPARE(second.Work().Grid.GridThickness, 3);
        QVERIFY(second.Work().Grid.GridEnabled);
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxGfxGrid")->isChecked());

        // Automatic checks are on and none ran yet: the timer's check finds no server and says nothing.
        QVERIFY(second.UpdateTimer()->isActive());
        QTRY_VERIFY(!second.UpdateTimer()->isActive());
        QVERIFY(fixture.Dialogs.History.empty());
        QVERIFY(fixture.Find<QAction>("mnuCheckforUpdates")->isEnabled());
    }

    void FirstStartAsksAboutUpdatesOnce() {
        FormFixture fixture;
        fixture.UpdateQuestionAnswered = false;
        fixture.Create();
        QCOMPARE(fixture.Dialogs.Texts("confirm"), std::vector<std::string>{AutomaticUpdatesQuestion});
        QVERIFY(!Checked(fixture, "mnuAutomaticallyCheckForUpdates"));
        TForm1& second = Restart(fixture);
        QCOMPARE(fixture.Dialogs.Texts("confirm").size(), size_t{1});
        QCOMPARE(SettingsFile(fixture).Text(SettingsSection, "AutomaticUpdates"), std::string("0"));
        QVERIFY(!second.UpdateTimer()->isActive());
    }

    // A settings file that cannot be written is reported and the window closes all the same.
    void ASettingsFileThatCannotBeWrittenIsReported() {
        FormFixture fixture;
        fixture.UpdateQuestionAnswered = false;
        const std::string path = fixture.ProgramFolder() + SettingsFileName;
        std::filesystem::create_directory(path);
        fixture.Create();
        fixture.Form->close();
        QCOMPARE(fixture.Dialogs.Texts("error"),
                 std::vector<std::string>{"An error occurred while saving the configuration to " + path});
        QVERIFY(fixture.Form->isHidden());
    }

    // Values the menus have no item for read as the defaults: a 1000-pixel grid would take gigabytes for the
    // smallest rip. The defaults are what is written back.
    void ValuesWithoutAnItemReadAsTheDefaults() {
        FormFixture fixture;
        WriteSettingsText(fixture, "[Settings]\nAutomaticUpdates=0\nGrid=1\nGridThickness=1000\nKeyboard=7\n");
        TForm1& form = fixture.Create();
        QVERIFY(Checked(fixture, "mnuGrid1Pixel"));
        QCOMPARE(form.Work().Grid.GridThickness, 1);
        QCOMPARE(form.Ripper().CurrentKeyboardLayout(), KeyboardLayout::Qwerty);
        QVERIFY(!fixture.Find<QAction>("mnuReplaceExecutableIfUpdateFound")->isVisible());
        Restart(fixture);
        const IniFile ini = SettingsFile(fixture);
        QCOMPARE(ini.Text(SettingsSection, "GridThickness"), std::string("1"));
        QCOMPARE(ini.Text(SettingsSection, "Keyboard"), std::string("0"));
    }

    void ReplaceExecutableItemTogglesOnceDecided() {
        FormFixture fixture;
        WriteSettingsText(fixture, "[Settings]\nAutomaticUpdates=0\nReplaceRunningExecutable=1\n");
        fixture.Create();
        auto* item = fixture.Find<QAction>("mnuReplaceExecutableIfUpdateFound");
        QVERIFY(item->isVisible());
        QVERIFY(item->isChecked());
        item->trigger();
        QVERIFY(!item->isChecked());
        Restart(fixture);
        QCOMPARE(SettingsFile(fixture).Text(SettingsSection, "ReplaceRunningExecutable"), std::string("0"));
    }

    void OpenRecentListsSavedProjectsNewestFirst() {
        FormFixture fixture;
        fixture.Create();
        QVERIFY(!fixture.Find<QAction>("mnuOpenRecent")->isEnabled());
        for (const char* name : {"a.txt", "b.ini", "c"}) {
            fixture.Dialogs.FileAnswers = {fixture.Folder.File(name)};
            Trigger(fixture, "mnuSaveProject");
        }
        QVERIFY(fixture.Dialogs.Texts("error").empty());
        QVERIFY(PathIsFile(fixture.Folder.File("a.ini")));
        QVERIFY(PathIsFile(fixture.Folder.File("c.ini")));
        QCOMPARE(RecentFileNames(fixture), QStringList({"c.ini", "b.ini", "a.ini"}));
        QVERIFY(fixture.Find<QAction>("mnuOpenRecent")->isEnabled());

        // The third opens and moves to the top; a project gone since is reported and dropped.
        fixture.Find<QMenu>("mnuOpenRecentMenu")->actions().at(2)->trigger();
        QCOMPARE(fixture.Form->Work().ProjectFileName, fixture.Folder.File("a.ini"));
        QCOMPARE(RecentFileNames(fixture), QStringList({"a.ini", "c.ini", "b.ini"}));
        std::filesystem::remove(fixture.Folder.File("b.ini"));
        fixture.Find<QMenu>("mnuOpenRecentMenu")->actions().at(2)->trigger();
        QCOMPARE(fixture.Dialogs.Texts("error"),
                 std::vector<std::string>{RecentFileMissingMessage(fixture.Folder.File("b.ini"))});
        QCOMPARE(RecentFileNames(fixture), QStringList({"a.ini", "c.ini"}));

        Restart(fixture);
        QCOMPARE(RecentFileNames(fixture), QStringList({"a.ini", "c.ini"}));
    }

    // Every way a project is opened gives back every control and the map drawn from them.
    void ASavedProjectGivesBackEveryControlHoweverItIsOpened() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QVERIFY(Checked(fixture, "mnuLoadPreviousProject"));
        const QMap<QString, QString> fresh = ControlValues(form);
        form.OpenChosenFile(ExampleFile("demo.uss"));
        SetText(fixture, "EditGfxAddress", "$20034");
        SetText(fixture, "EditGfxTileWidth", "32");
        SetText(fixture, "EditGfxBitplaneCount", "4");
        SetText(fixture, "EditGfxRipHeight", "128");
        fixture.Find<QComboBox>("ComboBoxGfxMode")->setCurrentIndex(2);
        fixture.Find<QCheckBox>("CheckBoxGfxMaskAfter")->setChecked(true);
        fixture.Find<QComboBox>("ComboBoxGfxTileSize")->setCurrentIndex(3);
        SetText(fixture, "EditMapAddress", "$38034");
        SetText(fixture, "EditMapWidthInTiles", "20");
        SetText(fixture, "EditMapSkipBytes", "2");
        SetText(fixture, "EditMapFlipYMask", "$8000");
        fixture.Find<QCheckBox>("CheckBoxMapFlipYMask")->setChecked(true);
        fixture.Find<QComboBox>("ComboBoxMapCustomGame")->setCurrentIndex(2);
        fixture.Find<QComboBox>("ComboBoxMapDirection")->setCurrentIndex(1);
        fixture.Find<QPlainTextEdit>("MemoMapTileIndexReplacements")->setPlainText("1=2\n3=4");
        SetText(fixture, "EditMap2WidthInTiles", "8");
        SetText(fixture, "EditMap2Mask", "$ff");
        fixture.Find<QComboBox>("ComboBoxMap2ScaleMode")->setCurrentIndex(0);
        fixture.Find<QPlainTextEdit>("MemoMap2TileIndexReplacements")->setPlainText("5=6");
        // A screenshot with the selection moved over it, and a match grid's text.
        const std::string shot = fixture.Folder.File("shot.png");
        QImage(64, 48, QImage::Format_RGB32).save(QString::fromStdString(shot));
        SetText(fixture, "EditSearchFileName", shot.c_str());
        fixture.Find<QPushButton>("ButtonLoadSearch")->click();
        form.Work().SearchSelection = SelectionRect{8, 8, 40, 32};
        fixture.Find<QPlainTextEdit>("MemoSearchIndexes")->setPlainText("1 2\n3 4");
        fixture.Find<QPushButton>("ButtonGfxRip")->click();
        form.PageControl()->setCurrentWidget(&form.Map(1));
        fixture.Find<QPushButton>("ButtonCreateMap")->click();
        QVERIFY(!fixture.Find<QLabel>("LabelMapSummary")->text().isEmpty());
        const QImage map = form.Map(1).Controls().View->Picture();
        QMap<QString, QString> saved = ControlValues(form);

        const std::string project = fixture.Folder.File("game.ini");
        fixture.Dialogs.FileAnswers = {project};
        Trigger(fixture, "mnuSaveProject");
        Trigger(fixture, "mnuNewProject");
        QCOMPARE(ControlValues(form), fresh);
        QVERIFY(form.Work().ProjectFileName.empty());
        QVERIFY(!form.Work().SearchSelection);

        // A file in the project's folder is kept by its name alone, so the folder can move.
        saved["EditSearchFileName"] = "shot.png";
        const std::vector<std::pair<const char*, std::function<void()>>> ways{
            {"Open Project",
             [&] {
                 fixture.Dialogs.FileAnswers = {project};
                 Trigger(fixture, "mnuOpenProject");
             }},
            {"Open...",
             [&] {
                 fixture.Dialogs.FileAnswers = {project};
                 Trigger(fixture, "mnuOpen");
             }},
            {"Open Recent", [&] { fixture.Find<QMenu>("mnuOpenRecentMenu")->actions().at(0)->trigger(); }},
            {"the window's argument", [&] { fixture.Form->OpenProgramArgument(project, std::nullopt); }},
            {"the previous project at start", [&] { Restart(fixture); }},
        };
        for (const auto& [way, open] : ways) {
            Trigger(fixture, "mnuNewProject");
            open();
            const QMap<QString, QString> loaded = ControlValues(*fixture.Form);
            for (const QString& name : saved.keys())
                QVERIFY2(loaded.value(name) == saved.value(name),
                         qPrintable(QString(way) + ": " + name + " is " + loaded.value(name) + ", not " +
                                    saved.value(name)));
            QVERIFY2(fixture.Form->Map(1).Controls().View->Picture() == map, way);
            QVERIFY2(fixture.Dialogs.Texts("error").empty(), way);
            QCOMPARE(fixture.Form->Work().SearchSelection, (SelectionRect{8, 8, 40, 32}));
            QVERIFY(!fixture.Find<QLabel>("LabelSearchDimensions")->text().isEmpty());
        }
    }

    // A raw memory file may be larger than 4 GiB: addresses past it go through the fields, both display forms
    // and a saved project whole.
    void AddressesPast4GiBSurviveTheOffsetDisplayAndAProject() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.OpenChosenFile(ExampleFile("demo.uss"));
        const int64_t chipRam = form.Work().Memory.ChipRamOffset;
        QVERIFY(chipRam > 0);
        constexpr int64_t ripAt = 0x123456789AB;
        constexpr int64_t mapAt = 0x100000010;
        SetText(fixture, "EditGfxAddress", "$123456789AB");
        fixture.Find<QPushButton>("ButtonGfxRip")->click();
        form.PageControl()->setCurrentWidget(&form.Map(1));
        SetText(fixture, "EditMapAddress", "$100000010");
        fixture.Find<QPushButton>("ButtonCreateMap")->click();
        const auto shown = [&](const char* field) { return fixture.Find<QLineEdit>(field)->text().toStdString(); };
        const auto keptWhole = [&] {
            QCOMPARE(form.Work().Ripper.Parameters.Address, ripAt);
            QCOMPARE(form.Work().Maps[0].Address, mapAt);
        };
        keptWhole();
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(shown("EditGfxAddress"), DollarHexWide(static_cast<uint64_t>(ripAt - chipRam)));
        QCOMPARE(shown("EditMapAddress"), DollarHexWide(static_cast<uint64_t>(mapAt - chipRam)));

        const std::string project = fixture.Folder.File("far.ini");
        fixture.Dialogs.FileAnswers = {project};
        Trigger(fixture, "mnuSaveProject");
        IniFile ini;
        ini.Load(project);
        QCOMPARE(ini.Text("Gfx", "Address"), std::string("$123456789AB"));
        Trigger(fixture, "mnuNewProject");
        fixture.Dialogs.FileAnswers = {project};
        Trigger(fixture, "mnuOpenProject");
        fixture.Find<QPushButton>("ButtonGfxRip")->click();
        keptWhole();
        QTest::keyClick(&form, Qt::Key_F7);
        QCOMPARE(shown("EditGfxAddress"), std::string("$123456789AB"));
        QCOMPARE(shown("EditMapAddress"), std::string("$100000010"));
        keptWhole();
        QVERIFY(fixture.Dialogs.Texts("error").empty());
    }

    // A file that is no project, opened as one, is refused: the work stays and the recent list does not take it.
    void AFileThatIsNoProjectIsRefusedAndChangesNothing() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        SetText(fixture, "EditGfxTileWidth", "24");
        const QMap<QString, QString> before = ControlValues(form);
        const std::string notes = fixture.Folder.File("notes.ini");
        WriteWholeFile(notes, "[Tools]\nEditor=vi\n");
        fixture.Dialogs.FileAnswers = {notes, notes};
        Trigger(fixture, "mnuOpenProject");
        Trigger(fixture, "mnuOpen");
        const std::string refused = "The file " + notes + " is not a Tavrik project.";
        QCOMPARE(fixture.Dialogs.Texts("error"), (std::vector<std::string>{refused, refused}));
        QCOMPARE(ControlValues(form), before);
        QVERIFY(RecentFileNames(fixture).isEmpty());
        QVERIFY(form.Work().ProjectFileName.empty());
    }

    void CheckForUpdatesWithoutAServerSaysSo() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        Trigger(fixture, "mnuCheckforUpdates");
        QCOMPARE(fixture.Dialogs.Texts("information"), std::vector<std::string>{NoUpdateServerMessage});
        QVERIFY(fixture.Find<QAction>("mnuCheckforUpdates")->isEnabled());
        QVERIFY(!form.ExecutableReplaced);
    }

    // The download dialog follows the transfer, also past the progress bar's int range.
    void TheDownloadDialogShowsTheTransfer() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        UpdateWindowOfForm window(&form);
        constexpr uint64_t size = 6'000'000'000;
        window.ShowDownload({"Downloading Tavrik.zip", 0, size});
        TFormUpdate* dialog = window.Dialog();
        QVERIFY(dialog && dialog->isVisible());
        window.UpdateDownload({"Downloading Tavrik.zip", size / 4, size});
        QCOMPARE(dialog->StatusLabel()->text(), QString("Downloading Tavrik.zip"));
        const QProgressBar* bar = dialog->ProgressBar();
        QCOMPARE(bar->minimum(), 0);
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(qRound(100.0 * bar->value() / bar->maximum()), 25);
        window.UpdateDownload({"Downloading Tavrik.zip", 300, 1200});
        QCOMPARE(bar->maximum(), 1200);
        QCOMPARE(bar->value(), 300);
        window.CloseDownload();
        QVERIFY(!dialog->isVisible());
    }

    void AReplacedExecutableKeepsTheWorkAndStartsTheNewCopy() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        SetText(fixture, "EditGfxTileWidth", "24");
        form.ExecutableReplaced = true;
        form.OpenArchiveAtExit = true;
        form.close();
        const std::string autoSaved = fixture.ProgramFolder() + AutoSavedProjectName;
        QVERIFY(PathIsFile(autoSaved));
        QCOMPARE(fixture.Desktop.Started, std::vector<std::string>{form.Files.Executable()});
        QCOMPARE(fixture.Desktop.Opened, std::vector<std::string>{fixture.ProgramFolder() + "Tavrik.zip"});
        QCOMPARE(form.Files.Folder, fixture.ProgramFolder());
        // The next start opens the work again (it is the most recent project).
        fixture.Form.reset();
        fixture.Create();
        QCOMPARE(fixture.Find<QLineEdit>("EditGfxTileWidth")->text(), QString("24"));
    }
};

namespace {
const GuiTestRegistration<WindowSettingsTest> windowSettingsRegistration;
} // namespace

} // namespace tavrik::test

#include "Unit1SettingsTest.moc"

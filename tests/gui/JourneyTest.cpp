// A user's whole day in the window as one journey: the demo opened by a relative name, its tiles ripped with
// the keys of the fields, the level drawn, a cut of the level's picture taken as the screenshot, matched and
// searched, the find chosen, the map exported for Tiled and the project saved; then, from another folder, a
// new project and the saved one opened again, which must give back every control and the same map.
#include "GuiTestRegistry.h"
#include "RipperTabFixture.h"

#include "app/Files.h"
#include "map/MapPage.h"
#include "search/SearchPage.h"
#include "support/DemoData.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include <filesystem>
#include <optional>

namespace tavrik::test {

namespace {

// The test runs in another current folder and goes back afterwards.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::filesystem::path& folder) : Previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(Previous); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::filesystem::path Previous;
};

QImage MapPicture(const TForm1& form) {
    return form.Map(1).Controls().View->Picture().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class JourneyTest : public QObject {
    Q_OBJECT

  private slots:
    void FromTheDemoToASavedProjectAndBack() {
        RipperFixture fixture;
        TForm1& form = fixture.Window();
        const std::filesystem::path examples(ExampleFile(""));
        std::optional<CurrentFolder> here(examples.parent_path().parent_path());
        form.OpenProgramArgument("examples/demo.uss", std::nullopt);
        QVERIFY(fixture.Dialogs.History.empty());

        // The tiles: 5 planes from +$20000, 320 x 80, in the palette of the copper list.
        fixture.SetText("EditGfxAddress", "+$20000");
        fixture.SetText("EditGfxBitplaneCount", "5");
        fixture.SetText("EditGfxRipHeight", "80");
        QTest::keyClick(&form, Qt::Key_F5);
        fixture.Click("ButtonCopperlistPalette");
        QCOMPARE(fixture.Work().TileSheet.Height(), 80);

        // The level, 64 x 32 bytes.
        form.PageControl()->setCurrentWidget(&form.Map(1));
        fixture.SetText("EditMapAddress", "+$38000");
        fixture.SetText("EditMapWidthInTiles", "64");
        fixture.SetText("EditMapHeightInTiles", "32");
        fixture.Click("ButtonCreateMap");
        const MapPageWidgets& map = form.Map(1).Controls();
        QCOMPARE(map.LabelSummary->text(), QString("Missing: 0, Min: $0, Max: $5F"));
        const QImage level = MapPicture(form);

        // A cut of the level's picture is the screenshot; the find is the cell the cut starts in.
        const std::string shot = fixture.Folder.File("shot.png");
        QVERIFY(level.copy(203, 245, 320, 200).save(QString::fromStdString(shot)));
        form.PageControl()->setCurrentWidget(&form.Search());
        const SearchPageWidgets& search = form.Search().Controls();
        search.EditFileName->setText(QString::fromStdString(shot));
        QTest::mouseClick(search.ButtonLoad, Qt::LeftButton);
        fixture.Work().SearchSelection = SelectionRect{0, 0, 300, 160};
        const auto finished = [&] { return !form.Search().Busy(); };
        QTest::mouseClick(search.ButtonMatchTiles, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor(finished, 30000));
        QTest::mouseClick(search.ButtonSearchMap, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor(finished, 30000));
        QVERIFY(search.MemoResults->toPlainText().endsWith("Finished!"));
        form.PageControl()->setCurrentWidget(&form.Map(1));
        QCOMPARE(map.ComboBoxMatches->count(), 1);
        emit map.ComboBoxMatches->activated(0);
        // The cut starts in cell (13, 16); the whole level is drawn from its first row, the cut's column kept.
        QCOMPARE(map.EditHeightInTiles->text(), QString("32"));
        const QRect rest(13 * 16, 0, (64 - 13) * 16, 32 * 16);
        QVERIFY(MapPicture(form).copy(QRect(QPoint(0, 0), rest.size())) == level.copy(rest));

        // Exported for Tiled and saved as a project.
        const std::string tmx = fixture.Folder.File("level.tmx");
        fixture.Dialogs.FileAnswers = {tmx};
        fixture.Click("ButtonMapExportTiled");
        QVERIFY(PathIsFile(tmx) && PathIsFile(fixture.Folder.File("level.tsx")));
        const std::string project = fixture.Folder.File("level.ini");
        fixture.Dialogs.FileAnswers = {project};
        fixture.Trigger("mnuSaveProject");
        QVERIFY(fixture.Dialogs.Texts("error").empty());
        QMap<QString, QString> firstPass = ControlValues(form);
        const QImage drawn = MapPicture(form);

        // Another day, started in another folder.
        here.reset();
        const CurrentFolder elsewhere(fixture.Folder.Path());
        fixture.Trigger("mnuNewProject");
        QVERIFY(ControlValues(form) != firstPass);
        fixture.Dialogs.FileAnswers = {project};
        fixture.Trigger("mnuOpenProject");
        QVERIFY(fixture.Dialogs.Texts("error").empty());
        // The screenshot lies beside the project, which keeps it by its name alone; the rip address typed
        // from the start of chip RAM comes back as the file offset it names.
        firstPass["EditSearchFileName"] = "shot.png";
        firstPass["EditGfxAddress"] = "$20034";
        // The search's report is not part of a project: New Project empties it.
        firstPass.remove("MemoSearchResults");
        const QMap<QString, QString> secondPass = ControlValues(form);
        for (const QString& name : firstPass.keys())
            QVERIFY2(secondPass.value(name) == firstPass.value(name),
                     qPrintable(name + " is " + secondPass.value(name) + ", not " + firstPass.value(name)));
        QVERIFY(MapPicture(form) == drawn);
    }
};

namespace {
const GuiTestRegistration<JourneyTest> journeyRegistration;
} // namespace

} // namespace tavrik::test

#include "JourneyTest.moc"

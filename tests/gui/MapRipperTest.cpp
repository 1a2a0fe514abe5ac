// The map ripper in the window: the demo's level drawn on the "Map Ripper" tab and walked with the map keys,
// the second map cut from the first map's picture, the boxes and lists that redraw, the index dump, the
// read-out, the mask presets, the map data file and "Save Map" through the scripted dialogs.
#include "GuiTestRegistry.h"
#include "RipperTabFixture.h"

#include "app/Files.h"
#include "map/MapPage.h"
#include "support/CliRunner.h"
#include "support/DemoData.h"
#include "support/RipWords.h"
#include "workspace/RipRequest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

namespace tavrik::test {

namespace {

const QString DemoSummary = "Missing: 0, Min: $0, Max: $5F";

// The demo opened with its tile set ripped (5 planes, 16 x 16, copper palette) and the first map's fields
// set to its level, with the "Map Ripper" tab active.
class MapFixture : public RipperFixture {
  public:
    // levelSize: the level's width and height typed as well (else the fields keep their start-up values).
    explicit MapFixture(bool levelSize = true) {
        const std::vector<std::string> options{"--address", "+$20000", "--bitplanes", "5",         "--tile",
                                       "16x16",     "--size",  "320x80",      "--palette", "copper"};
        Form->OpenProgramArgument(ExampleFile("demo.uss"),
                                  test::RipRequestFromWords(options));
        SetText("EditMapAddress", "+$38000");
        if (levelSize) {
            SetText("EditMapWidthInTiles", "64");
            SetText("EditMapHeightInTiles", "32");
        }
        Show(1);
    }

    const MapPageWidgets& Map(int map) const { return Form->Map(map).Controls(); }
    QImage Picture(int map) const { return Map(map).View->Picture().convertToFormat(QImage::Format_RGB32); }
    QString Summary(int map) const { return Map(map).LabelSummary->text(); }
    void Show(int map) const { Form->PageControl()->setCurrentWidget(&Form->Map(map)); }
    void MapKey(int map, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(Map(map).EditKeyCapture, static_cast<Qt::Key>(key), modifiers);
    }
};

QImage KeptDemoLevel() {
    return QImage(QString(TAVRIK_TEST_DATA_DIR) + "/demo_map/level.png").convertToFormat(QImage::Format_RGB32);
}

} // namespace

class MapRipperTest : public QObject {
    Q_OBJECT

  private slots:
    void CreateMapDrawsTheDemoLevelAndF5DrawsTheActiveTabsMap() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        QVERIFY(fixture.Dialogs.History.empty());
        QCOMPARE(fixture.Summary(1), DemoSummary);
        QVERIFY(fixture.Picture(1) == KeptDemoLevel());

        // The second map cuts 32 x 32 blocks out of the first map's picture: block 33 is the picture's
        // second row of blocks, second column. F5 draws the map of the tab that is shown.
        fixture.Show(2);
        fixture.SetText("EditMap2Address", "+$38000"); // the level's first value, 0
        fixture.SetText("EditMap2WidthInTiles", "1");
        fixture.SetText("EditMap2HeightInTiles", "1");
        fixture.SetText("EditMap2Adjust", "33");
        QTest::keyClick(&fixture.Window(), Qt::Key_F5);
        QCOMPARE(fixture.Picture(2).size(), QSize(32, 32));
        QVERIFY(fixture.Picture(2) == KeptDemoLevel().copy(32, 32, 32, 32));
        QCOMPARE(fixture.Summary(1), DemoSummary);
        QVERIFY(!fixture.Summary(2).isEmpty());
        // The second tab's "Create Map" draws the second map: block 0 now.
        fixture.SetText("EditMap2Adjust", "0");
        fixture.Click("ButtonCreateMap2");
        QVERIFY(fixture.Picture(2) == KeptDemoLevel().copy(0, 0, 32, 32));
        QCOMPARE(fixture.Work().Maps[1].Adjust, 0);
    }

    // tavrik-cli map takes the tab's start-up values for every map option it is not given, so both draw the
    // same picture; read as longwords, the mask counts as well.
    void TheCommandLinesMapDefaultsAreTheTabsAfterStartUp() {
        MapFixture fixture(false);
        fixture.Find<QComboBox>("ComboBoxMapMemoryType")->setCurrentIndex(2); // "Longword"
        fixture.Click("ButtonCreateMap");
        const std::string out = fixture.Folder.File("cli.png");
        const CliResult cli = RunCli({"map", ExampleFile("demo.uss"), "-o", out, "--address", "+$20000", "--bitplanes",
                                      "5", "--tile", "16x16", "--size", "320x80", "--palette", "copper",
                                      "--map-address", "+$38000", "--type", "longword"});
        QCOMPARE(cli.ExitCode, 0);
        QCOMPARE(QString::fromStdString(cli.Out).trimmed(), fixture.Summary(1));
        QVERIFY(QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32) == fixture.Picture(1));
    }

    void ListsAndFlipBoxesRedrawAtOnce() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        fixture.SetText("EditMapFlipXMask", "$1");
        fixture.Find<QCheckBox>("CheckBoxMapFlipXMask")->click();
        // Odd tile numbers are mirrored now (and drawn as the even tile below them).
        QVERIFY(fixture.Picture(1) != KeptDemoLevel());
        // The mask's bits are cleared from the tile number even with the box off: back to no mask.
        fixture.SetText("EditMapFlipXMask", "$0");
        fixture.Find<QCheckBox>("CheckBoxMapFlipXMask")->click();
        QVERIFY(fixture.Picture(1) == KeptDemoLevel());
        fixture.Find<QComboBox>("ComboBoxMapMemoryType")->setCurrentIndex(1); // "Word"
        QVERIFY(fixture.Summary(1) != DemoSummary);
        QCOMPARE(fixture.Work().Maps[0].MemoryType, 1);
    }

    void ShowIndexesListsTheValuesInTheMapDataTab() {
        MapFixture fixture;
        QTabWidget* tabs = fixture.Window().PageControl();
        QWidget* mapData = fixture.Find<QWidget>("TabSheetMapData");
        QVERIFY(!tabs->isTabVisible(tabs->indexOf(mapData)));
        fixture.Find<QCheckBox>("CheckBoxMapShowIndexes")->setChecked(true);
        fixture.SetText("EditMapHeightInTiles", "3");
        fixture.Click("ButtonCreateMap");
        QVERIFY(tabs->isTabVisible(tabs->indexOf(mapData)));
        const QStringList lines = fixture.MemoLines("MemoMapData");
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("Row 0: $0000, $004E, "));
    }

    void MapKeysWalkTheLevelAndRepaintIt() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        QTest::mouseClick(fixture.Map(1).View->viewport(), Qt::LeftButton);
        QVERIFY(fixture.Map(1).EditKeyCapture->hasFocus());
        QVERIFY(fixture.Map(1).LabelMapIsActive->isVisible());
        // One stored row down: 64 bytes; the picture is the level moved up by one row of tiles.
        fixture.MapKey(1, Qt::Key_Down);
        QCOMPARE(fixture.Text("EditMapAddress"), QString("$38074"));
        QVERIFY(fixture.Picture(1).copy(0, 0, 1024, 496) == KeptDemoLevel().copy(0, 16, 1024, 496));
        fixture.MapKey(1, Qt::Key_Up);
        QVERIFY(fixture.Picture(1) == KeptDemoLevel());
        // The width keys step by whole blocks, Shift by eight.
        fixture.MapKey(1, Qt::Key_Q, Qt::ShiftModifier);
        QCOMPARE(fixture.Text("EditMapWidthInTiles"), QString("72"));
        QCOMPARE(fixture.Picture(1).width(), 72 * 16);
        // V swaps the view mode without drawing.
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxMapScaleMode")->currentIndex(), 1);
        fixture.MapKey(1, Qt::Key_V);
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxMapScaleMode")->currentIndex(), 0);
    }

    void PointerOverTheMapReadsTheCellIntoTheStatusBar() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        const MapPageWidgets& map = fixture.Map(1);
        const QPoint at = map.View->PictureToViewport(QPoint(50, 20)).center();
        QTest::mouseMove(map.View->viewport(), at);
        // Cell (3, 1) of the level, read at file offset $38034 + 64 + 3.
        QVERIFY2(fixture.Window().StatusPanel(3)->text().startsWith("Map: $38077: (3, 1) = $"),
                 qPrintable(fixture.Window().StatusPanel(3)->text()));
    }

    void MaskPresetWritesUpperCaseAndDoesNotRedraw() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        QMenu* presets = fixture.Window().findChild<QMenu*>("PopupMenuMapMask");
        presets->actions().at(5)->trigger();
        QCOMPARE(fixture.Text("EditMapMask"), QString("$1FFF"));
        presets->actions().at(9)->trigger();
        QCOMPARE(fixture.Text("EditMapMask"), QString("$ffffffff"));
        // On another tab the presets do nothing.
        fixture.Show(2);
        presets->actions().at(0)->trigger();
        QCOMPARE(fixture.Text("EditMapMask"), QString("$ffffffff"));
    }

    void LoadMapDrawsTheFirstMapFromTheFile() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        // The level's 2048 bytes as a map data file, read from its start.
        const std::vector<uint8_t>& memory = fixture.Work().Memory.MemoryImage;
        const auto level = memory.begin() + DemoManifest().at("LevelMap").at("FileOffset").get<int64_t>();
        const std::string file = WriteTestFile(fixture, "level.map", std::vector<uint8_t>(level, level + 2048));
        fixture.SetText("EditMapFileName", QString::fromStdString(file));
        fixture.SetText("EditMapAddress", "0");
        fixture.Click("ButtonLoadMap");
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxMapUseLoadedMap")->isChecked());
        QVERIFY(fixture.Work().Maps[0].UseLoadedMap);
        QVERIFY(fixture.Picture(1) == KeptDemoLevel());
        // Unchecking goes back to memory at the same address (its start: no level there).
        fixture.Find<QCheckBox>("CheckBoxMapUseLoadedMap")->click();
        QVERIFY(fixture.Picture(1) != KeptDemoLevel());
    }

    void SaveMapWritesAPngUnderTheChosenName() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        const std::string chosen = fixture.Folder.File("level.bmp");
        const std::string written = fixture.Folder.File("level.png");
        fixture.Dialogs.FileAnswers = {chosen, chosen};
        fixture.Click("ButtonMapSave");
        QVERIFY(PathIsFile(written));
        QVERIFY(!PathIsFile(chosen));
        QVERIFY(QImage(QString::fromStdString(written)).convertToFormat(QImage::Format_RGB32) == KeptDemoLevel());
        QCOMPARE(fixture.Dialogs.History.front().Text, std::string("Save Map"));
        // Again: the existing file is replaced only after a Yes.
        fixture.Click("ButtonMapSave");
        QCOMPARE(fixture.Dialogs.Texts("confirm"),
                 std::vector<std::string>{written + " already exists! Are you sure you wish to overwrite it?"});
    }

    void ExportTiledMapWritesTheMapAndReportsTheKeptTiles() {
        MapFixture fixture;
        const std::string map = fixture.Folder.File("level.tmx");
        // (New Project at start-up has drawn the first map already, so there is always a map to export.)
        fixture.Click("ButtonCreateMap");
        fixture.Dialogs.FileAnswers = {map};
        fixture.Dialogs.OptionAnswers = {true};
        fixture.Click("ButtonMapExportTiled");
        QVERIFY(fixture.Dialogs.Texts("error").empty());
        QVERIFY(PathIsFile(map) && PathIsFile(fixture.Folder.File("level.tsx")));
        QCOMPARE(fixture.Window().StatusPanel(3)->text(), QString("Tiles: 93 of 100 kept"));
    }

    void TooLargeAMapSaysSoAndKeepsThePicture() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        fixture.SetText("EditMapWidthInTiles", "2048");
        fixture.SetText("EditMapHeightInTiles", "16");
        fixture.Click("ButtonCreateMap");
        QCOMPARE(fixture.Dialogs.Texts("information"),
                 std::vector<std::string>{"Out of memory! Are you sure your tile dimensions are set to sensible "
                                          "values in the Tile Ripper tab? The current map is trying to be "
                                          "32768x256 pixels!"});
        QVERIFY(fixture.Picture(1) == KeptDemoLevel());
    }

    // The second tab's copies act for the second map: its lists and flip boxes redraw it, its zoom and view
    // mode change its own view, and its "Save Map" writes its picture.
    void TheSecondTabsCopiesActForTheSecondMap() {
        MapFixture fixture;
        fixture.Click("ButtonCreateMap");
        fixture.Show(2);
        fixture.SetText("EditMap2WidthInTiles", "4");
        fixture.SetText("EditMap2HeightInTiles", "2");
        fixture.Find<QComboBox>("ComboBoxMap2MemoryType")->setCurrentIndex(1);
        QCOMPARE(fixture.Picture(2).size(), QSize(128, 64));
        QCOMPARE(fixture.Work().Maps[1].MemoryType, 1);
        const QString summary = fixture.Summary(2);
        fixture.Find<QComboBox>("ComboBoxMap2CustomGame")->setCurrentText("Battle Squadron");
        QCOMPARE(fixture.Work().Maps[1].CustomGameId, 6);
        QVERIFY(fixture.Summary(2) != summary);
        fixture.Find<QSlider>("GaugeBarMap2Zoom")->setValue(300);
        QCOMPARE(fixture.Find<QLabel>("LabelMap2Zoom")->text(), QString("Zoom 300%"));
        QCOMPARE(fixture.Find<QLabel>("LabelMapZoom")->text(), QString("Zoom:"));
        const std::string written = fixture.Folder.File("blocks.png");
        fixture.Dialogs.FileAnswers = {written};
        fixture.Click("ButtonMap2Save");
        QCOMPARE(QImage(QString::fromStdString(written)).size(), QSize(128, 64));
        QCOMPARE(fixture.Summary(1), DemoSummary);
    }
};

static const GuiTestRegistration<MapRipperTest> mapRipperRegistration;

} // namespace tavrik::test

#include "MapRipperTest.moc"

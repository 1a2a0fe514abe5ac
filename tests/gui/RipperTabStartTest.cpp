// How files and rips reach the "Tile Ripper" tab from outside it: the main menu's "Open..." routes a
// picture to the tiles, and the rip options of the program's command line fill the controls and rip.
#include "GuiTestRegistry.h"
#include "RipperTabFixture.h"
#include "support/CliRunner.h"
#include "support/RipWords.h"
#include "support/DemoData.h"
#include "support/TempDir.h"
#include "support/TinyPictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>

namespace tavrik::test {

namespace {

RipRequest RequestFrom(const std::vector<std::string>& words) {
    return test::RipRequestFromWords(words);
}

} // namespace

class RipperTabStartTest : public QObject {
    Q_OBJECT

  private slots:
    void TheOpenMenuItemRoutesAPictureToTheTiles() {
        RipperFixture fixture;
        const std::string path = WriteTestFile(
            fixture, "tiles.IFF", IlbmPicture(16, 4, 1, {0x000000, 0xFF8000}, std::vector<uint8_t>(64, 1)));
        const WorkingPalette before = fixture.Work().Palette;
        fixture.Dialogs.FileAnswers.push_back(path);
        fixture.Trigger("mnuOpen");
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxUseMap")->isChecked());
        QCOMPARE(fixture.Text("EditGfxTilesFileName").toStdString(), path);
        QCOMPARE(fixture.Shown().pixel(3, 3), qRgb(0xFF, 0x80, 0x00));
        QVERIFY(fixture.Work().Palette.Entries == before.Entries);
    }

    void TheOptionsFillTheControlsAndRip() {
        RipperFixture fixture;
        fixture.Open("memory.bin", MemoryWith(0x4000, {{0x100, 0xFF}}));
        fixture.Tab->ApplyRipRequest(
            RequestFrom({"--address", "$100", "--mode", "ilbm", "--bitplanes", "2", "--tile", "8x8", "--size", "64x32",
                         "--mask-after", "--actual-tile", "8x8", "--grid", "2", "--palette", "bw"}));
        QCOMPARE(fixture.Text("EditGfxAddress"), QString("$100"));
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxGfxMode")->currentText(), QString("Amiga ILBM"));
        QCOMPARE(fixture.Text("EditGfxBitplaneCount"), QString("2"));
        QCOMPARE(fixture.Text("EditGfxTileWidth"), QString("8"));
        QCOMPARE(fixture.Text("EditGfxRipWidth"), QString("64"));
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxGfxMaskAfter")->isChecked());
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxGfxGrid")->isChecked());
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxGfxTileSize")->currentText(), QString("8 x 8"));
        // The grid image of a 64 x 32 sheet cut by 8 x 8 with 2-pixel lines.
        QCOMPARE(fixture.Shown().size(), QSize(64 + 7 * 2, 32 + 3 * 2));
        // Black and white: index 1 shows grey 254; the first row's plane 0 byte $FF sets 8 pixels to 1.
        QCOMPARE(fixture.Work().TileSheet.IndexAt(0, 0), uint8_t{1});
        QCOMPARE(fixture.Shown().pixelColor(0, 0), QColor(254, 254, 254));
    }

    void TheCopperPaletteChoiceWalksTheCopperList() {
        RipperFixture fixture;
        fixture.Open("memory.bin", MemoryWith(0x100, {}));
        fixture.Tab->ApplyRipRequest(RequestFrom({"--palette", "copper", "--stop-line", "200"}));
        QCOMPARE(fixture.Text("EditGfxCopperlistStopYPos"), QString("$C8"));
        // Without chip RAM the walk lists only its headings, and the palette becomes the saved ECS colours.
        const QString listing = fixture.Find<QPlainTextEdit>("MemoCopperlist")->toPlainText();
        QVERIFY(listing.startsWith("Chip Addr: Copper instructions ; Comments"));
        QCOMPARE(fixture.Work().Palette.Colours.Count(), 32);
        QCOMPARE(fixture.Work().TileSheet.ColourTable[1], PaletteEntry{});
    }

    // The window and tavrik-cli rip go through the same rip request, so the demo's title screen ripped with
    // the colours of its copper list must come out alike to the pixel.
    void TheWindowsCopperRipIsTavrikCliRip() {
        const std::vector<std::string> options{"--address", "+$10000", "--bitplanes", "5",
                                       "--tile",    "320x256", "--palette",   "copper"};
        TempDir folder;
        const std::string demo = ExampleFile("demo.uss");
        const std::string written = folder.File("title.png");
        std::vector<std::string> command{"rip", demo, "-o", written};
        command.insert(command.end(), options.begin(), options.end());
        const CliResult cli = RunCli(command);
        QVERIFY2(cli.ExitCode == 0, cli.Err.c_str());

        RipperFixture fixture;
        fixture.Window().OpenProgramArgument(demo, RequestFrom(options));
        QVERIFY(fixture.Dialogs.Texts("error").empty());
        const QImage expected = QImage(QString::fromStdString(written)).convertToFormat(QImage::Format_RGB32);
        const QImage shown = fixture.Shown().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(320, 256));
        QVERIFY(shown == expected);
        // A real picture: the copper list gave more than one colour.
        QVERIFY(fixture.Work().Palette.Colours.Count() == 32 && shown.pixel(0, 0) != shown.pixel(160, 128));
    }
};

static const GuiTestRegistration<RipperTabStartTest> ripperTabStartRegistration;

} // namespace tavrik::test

#include "RipperTabStartTest.moc"

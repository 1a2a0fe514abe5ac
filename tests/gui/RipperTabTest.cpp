// The "Tile Ripper" tab: ripping from F5 and the button, the mode-dependent controls, Page Up and Page Down,
// the zoom and scale mode, the grid and its thickness items, the dimension presets and "Save Gfx".
#include "GuiTestRegistry.h"
#include "RipperTabFixture.h"

#include "app/Files.h"
#include "ripper/TileSheet.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSlider>

namespace tavrik::test {

namespace {

// One plane of 16 x 16 tiles: tile 0 has its top-left pixel set, tile 1 its first two pixels; read as two
// planes, the second byte row belongs to plane 1 of tile 0.
std::vector<uint8_t> TwoTiles() { return MemoryWith(0x10000, {{0, 0x80}, {32, 0xC0}}); }

QAction* Preset(const RipperFixture& fixture, const QString& caption) {
    for (QAction* action : fixture.Find<QMenu>("PopupMenuGfxBitplaneDimensions")->actions())
        if (action->text() == caption) return action;
    return nullptr;
}

} // namespace

class RipperTabTest : public QObject {
    Q_OBJECT

  private slots:
    void F5AndTheButtonRipFromMemory() {
        RipperFixture fixture;
        QVERIFY(fixture.Tab);
        const std::string path = fixture.Open("memory.bin", TwoTiles());
        QCOMPARE(fixture.Text("EditGfxFileName").toStdString(), path);
        QCOMPARE(fixture.Window().DataFileName, path);

        QCOMPARE(fixture.Shown().size(), QSize(320, 256));
        QCOMPARE(fixture.Shown().pixelIndex(0, 0), 1);
        QCOMPARE(fixture.Shown().pixelIndex(16, 0), 1);
        QCOMPARE(fixture.Shown().pixelIndex(17, 0), 1);
        QCOMPARE(fixture.Shown().pixelIndex(18, 0), 0);
        // The default palette: entry 1 is $A0A0A0.
        QCOMPARE(fixture.Shown().color(1), qRgb(0xA0, 0xA0, 0xA0));

        fixture.SetText("EditGfxBitplaneCount", "2");
        QTest::keyClick(&fixture.Window(), Qt::Key_F5);
        QCOMPARE(fixture.Shown().pixelIndex(0, 0), 3);
        QCOMPARE(fixture.Shown().pixelIndex(1, 0), 2);
        QCOMPARE(fixture.Shown().pixelIndex(16, 0), 0);

        fixture.SetText("EditGfxBitplaneCount", "1");
        fixture.SetText("EditGfxRipWidth", "32");
        fixture.SetText("EditGfxRipHeight", "16");
        fixture.Click("ButtonGfxRip");
        QCOMPARE(fixture.Shown().size(), QSize(32, 16));
        QCOMPARE(fixture.Shown().pixelIndex(16, 0), 1);
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void ATileSizeOfZeroIsReportedAndTheBlockFieldsAreCorrected() {
        RipperFixture fixture;
        fixture.SetText("EditGfxTilesPerBlockAcross", "0");
        fixture.SetText("EditGfxTileWidth", "0");
        fixture.Click("ButtonGfxRip");
        QCOMPARE(fixture.Dialogs.Texts("error"), std::vector<std::string>{"Division by zero"});
        QCOMPARE(fixture.Text("EditGfxTilesPerBlockAcross"), QString("1"));
    }

    void ModeChangeShowsTheSpriteControlsInSpritesModeOnly() {
        RipperFixture fixture;
        auto* mode = fixture.Find<QComboBox>("ComboBoxGfxMode");
        auto* bank = fixture.Find<QComboBox>("ComboBoxGfxSpriteMode");
        QVERIFY(!bank->isVisible());
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxGfxMaskBefore")->isVisible());

        fixture.SetText("EditGfxBitplaneCount", "2");
        QTest::keyClick(&fixture.Window(), Qt::Key_F5);
        mode->setCurrentIndex(3);
        QVERIFY(bank->isVisible());
        QVERIFY(bank->isEnabled());
        QVERIFY(fixture.Find<QLabel>("LabelGfxSprite4ColourBank")->isVisible());
        QVERIFY(fixture.Find<QLabel>("LabelGfxColourBankKeys")->isVisible());
        QVERIFY(!fixture.Find<QLineEdit>("EditGfxTileWidth")->isEnabled());
        for (const char* name : {"CheckBoxGfxMaskBefore", "CheckBoxGfxMaskAfter"}) {
            QVERIFY(!fixture.Find<QCheckBox>(name)->isVisible());
            QVERIFY(!fixture.Find<QCheckBox>(name)->isEnabled());
        }
        QVERIFY(!fixture.Find<QLabel>("LabelBitplaneOrder")->isVisible());
        // The mode change ripped: two-plane sprites are 16 pixels wide, 20 across a 320-pixel sheet.
        QCOMPARE(fixture.Work().Ripper.Parameters.TileWidth, 16);

        fixture.SetText("EditGfxBitplaneCount", "4");
        mode->setCurrentIndex(1);
        mode->setCurrentIndex(3);
        QVERIFY(!bank->isEnabled());
        mode->setCurrentIndex(0);
        QVERIFY(!bank->isVisible());
        QVERIFY(fixture.Find<QLineEdit>("EditGfxTileWidth")->isEnabled());
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxGfxMaskAfter")->isVisible());
        QCOMPARE(fixture.Find<QLabel>("LabelBitplaneOrder")->text(), QString("Bitplane Order: 12345678"));
    }

    void PageKeysMoveByOneBitplaneOfTheSheet() {
        RipperFixture fixture;
        fixture.Open("memory.bin", TwoTiles());
        QTest::keyClick(&fixture.Window(), Qt::Key_PageDown);
        QCOMPARE(fixture.Text("EditGfxAddress"), QString("$2800"));
        QTest::keyClick(&fixture.Window(), Qt::Key_PageDown);
        QCOMPARE(fixture.Text("EditGfxAddress"), QString("$5000"));
        QCOMPARE(fixture.Work().Ripper.Parameters.Address, 20480);

        fixture.SetText("EditGfxAddress", "5000");
        QTest::keyClick(&fixture.Window(), Qt::Key_F5);
        QTest::keyClick(&fixture.Window(), Qt::Key_PageUp);
        QCOMPARE(fixture.Text("EditGfxAddress"), QString("$0"));
        QCOMPARE(fixture.Shown().pixelIndex(0, 0), 1);
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void ZoomAndScaleModeSetTheViewAndTheLabel() {
        RipperFixture fixture;
        auto* zoom = fixture.Find<QSlider>("GaugeBarGfxZoom");
        auto* label = fixture.Find<QLabel>("LabelGfxZoomValue");

        zoom->setValue(300);
        QCOMPARE(label->text(), QString("300%"));
        QCOMPARE(fixture.Tab->View().Scale(), 3.0);

        fixture.Find<QComboBox>("ComboBoxGfxScaleMode")->setCurrentIndex(1);
        QCOMPARE(label->text(), QString("Automatic"));
        zoom->setValue(450);
        QCOMPARE(label->text(), QString("Automatic"));
        QCOMPARE(fixture.Tab->View().GetScaleMode(), TImgView32::ScaleMode::Fit);

        fixture.Find<QComboBox>("ComboBoxGfxScaleMode")->setCurrentIndex(0);
        QCOMPARE(label->text(), QString("450%"));
        QCOMPARE(fixture.Tab->View().GetScaleMode(), TImgView32::ScaleMode::Normal);
        QCOMPARE(fixture.Tab->View().Scale(), 4.5);
    }

    void StartZoomWaitsUntilTheViewHasRoomForTwiceTheSheet() {
        RipperFixture fixture(QSize(800, 600));
        auto* label = fixture.Find<QLabel>("LabelGfxZoomValue");
        QCOMPARE(label->text(), QString("100%"));
        QCOMPARE(fixture.Tab->View().Scale(), 1.0);

        fixture.Window().resize(1500, 1100);
        QTRY_COMPARE(label->text(), QString("200%"));
        QCOMPARE(fixture.Tab->View().Scale(), 2.0);
    }

    void GridCheckBoxAndThicknessItems() {
        RipperFixture fixture;
        fixture.Find<QComboBox>("ComboBoxGfxTileSize")->setCurrentIndex(3);
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxGfxTileSize")->currentText(), QString("16 x 16"));
        auto* grid = fixture.Find<QCheckBox>("CheckBoxGfxGrid");

        QTest::mouseClick(grid, Qt::LeftButton);
        QCOMPARE(fixture.Shown().size(), QSize(339, 271));
        fixture.Trigger("mnuGrid2Pixels");
        QCOMPARE(fixture.Shown().size(), QSize(358, 286));
        QVERIFY(fixture.Find<QAction>("mnuGrid2Pixels")->isChecked());
        fixture.Trigger("mnuGrid3Pixels");
        QCOMPARE(fixture.Shown().size(), QSize(377, 301));
        // The grey of the gaps takes entry 255 of the shown picture only.
        QCOMPARE(fixture.Shown().pixel(16, 0), qRgb(115, 115, 115));
        QVERIFY(fixture.Work().Palette.Entries[255] != EntryFromColour(GridColour));

        QTest::mouseClick(grid, Qt::LeftButton);
        QCOMPARE(fixture.Shown().size(), QSize(320, 256));
        QVERIFY(!fixture.Work().Grid.GridEnabled);
        // A new thickness while the grid is off turns it on.
        fixture.Trigger("mnuGrid2Pixels");
        QVERIFY(grid->isChecked());
        QCOMPARE(fixture.Shown().size(), QSize(358, 286));
        fixture.Trigger("mnuGrid1Pixel");
        QCOMPARE(fixture.Shown().size(), QSize(339, 271));

        // A sheet of one actual tile is shown plain.
        fixture.SetText("EditGfxRipWidth", "16");
        fixture.SetText("EditGfxRipHeight", "16");
        fixture.Click("ButtonGfxRip");
        QCOMPARE(fixture.Shown().size(), QSize(16, 16));
    }

    void DimensionPresetFillsTheTileSizeAndRips() {
        RipperFixture fixture;
        QCOMPARE(fixture.Find<QLineEdit>("EditGfxTileWidth")->contextMenuPolicy(), Qt::CustomContextMenu);
        QAction* preset = Preset(fixture, "640 x 400");
        QVERIFY(preset);
        QVERIFY(preset->isEnabled());
        preset->trigger();
        QCOMPARE(fixture.Text("EditGfxTileWidth"), QString("640"));
        QCOMPARE(fixture.Text("EditGfxTileHeight"), QString("400"));
        // The rip area is raised to one tile.
        QCOMPARE(fixture.Shown().size(), QSize(640, 400));
        Preset(fixture, "16 x 16")->trigger();
        QCOMPARE(fixture.Shown().size(), QSize(320, 256));
    }

    void SaveGfxWritesTheSheetAsPngAndAsksBeforeOverwriting() {
        RipperFixture fixture;
        fixture.Open("memory.bin", MemoryWith(0x10000, {{0, 0x80}, {33, 0xFF}, {70, 0x0F}}));
        fixture.SetText("EditGfxBitplaneCount", "2");
        fixture.Find<QComboBox>("ComboBoxGfxTileSize")->setCurrentIndex(3);
        QTest::mouseClick(fixture.Find<QCheckBox>("CheckBoxGfxGrid"), Qt::LeftButton);
        const std::string chosen = fixture.Folder.File("sheet.bmp");
        const std::string written = fixture.Folder.File("sheet.png");

        fixture.Dialogs.FileAnswers.push_back(chosen);
        fixture.Click("ButtonSaveGfx");
        QCOMPARE(fixture.Dialogs.History.back().Kind, std::string("save"));
        QCOMPARE(fixture.Dialogs.History.back().Text, std::string("Save Tiles"));
        QCOMPARE(fixture.Dialogs.History.back().Detail, std::string("PNG File (*.png)|*.png"));
        QVERIFY(!PathIsFile(chosen));
        const QImage saved(QString::fromStdString(written));
        QCOMPARE(saved.format(), QImage::Format_Indexed8);
        // The sheet itself, not the grid image the view shows.
        QCOMPARE(saved.size(), QSize(320, 256));
        const Image& sheet = fixture.Work().TileSheet;
        for (int y = 0; y < sheet.Height(); ++y)
            for (int x = 0; x < sheet.Width(); ++x)
                if (saved.pixelIndex(x, y) != sheet.IndexAt(x, y))
                    QFAIL(qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
        QCOMPARE(saved.pixelIndex(0, 0), 1);
        QCOMPARE(saved.pixelIndex(8, 0), 2);
        QCOMPARE(saved.pixelIndex(20, 3), 1);

        const std::vector<uint8_t> before = ReadWholeFile(written);
        fixture.SetText("EditGfxAddress", "64");
        fixture.Dialogs.FileAnswers.push_back(chosen);
        fixture.Dialogs.ConfirmAnswers.push_back(false);
        fixture.Click("ButtonSaveGfx");
        QCOMPARE(fixture.Dialogs.Texts("confirm"),
                 std::vector<std::string>{written + " already exists! Are you sure you wish to overwrite it?"});
        QVERIFY(ReadWholeFile(written) == before);

        fixture.Tab->ConfirmOverwritingTiles = false;
        fixture.Click("ButtonGfxRip");
        fixture.Dialogs.FileAnswers.push_back(chosen);
        fixture.Click("ButtonSaveGfx");
        QCOMPARE(fixture.Dialogs.Texts("confirm").size(), size_t{1});
        QVERIFY(ReadWholeFile(written) != before);
    }

    void CancelledSaveWritesNothing() {
        RipperFixture fixture;
        fixture.Click("ButtonSaveGfx");
        QCOMPARE(fixture.Dialogs.Texts("save").size(), size_t{1});
        QVERIFY(fixture.Dialogs.Texts("error").empty());
    }
};

static const GuiTestRegistration<RipperTabTest> ripperTabRegistration;

} // namespace tavrik::test

#include "RipperTabTest.moc"

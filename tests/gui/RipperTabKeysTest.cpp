// The ripper view's keys through the key capture field, the keyboard layouts, the tile read-out, the copper
// list controls, and pictures used as tiles ("Use Loaded Tiles", "Clear Tiles", the "..." buttons).
#include "GuiTestRegistry.h"
#include "RipperTabFixture.h"

#include "app/Files.h"
#include "imageio/ImageLoader.h"
#include "imageio/NeoImage.h"
#include "support/SaveStateBuilder.h"
#include "support/TinyPictures.h"
#include "widgets/ColorPalette.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

namespace tavrik::test {

namespace {

constexpr std::array<uint16_t, 16> StColours{0x000, 0x700, 0x070, 0x007, 0x777, 0x123, 0x321, 0x456,
                                             0x654, 0x111, 0x222, 0x333, 0x444, 0x555, 0x666, 0x765};

// Chip RAM with a copper list at $1000 (COLOR01 red, BPLCON0 with four planes) and another at $100
// (COLOR02 green), the saved COP1LC pointing at the first.
std::vector<uint8_t> StateWithCopperLists() {
    std::vector<uint8_t> chipRam(0x8000, 0);
    PutWords(chipRam, 0x1000, {0x0182, 0x0F00, 0x0100, 0x4200, 0xFFFF, 0xFFFE});
    PutWords(chipRam, 0x100, {0x0184, 0x00F0, 0xFFFF, 0xFFFE});
    ChipRegisters registers;
    registers.COP1LC = 0x1000;
    registers.COLOR[1] = 0x0888;
    SaveStateBuilder state;
    state.Compressed("CRAM", chipRam);
    state.Stored("CHIP", ChipChunkData(registers));
    state.End();
    return state.Data();
}

class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Count;
        return false;
    }
};

QString StatusText(const RipperFixture& fixture, int panel) { return fixture.Window().StatusPanel(panel)->text(); }

} // namespace

class RipperTabKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void KeyFieldShowsTheActiveLabelAndReadsTheParameters() {
        RipperFixture fixture;
        QVERIFY(fixture.Active);
        auto* active = fixture.Find<QLabel>("LabelGfxMapActive");
        QVERIFY(!active->isVisible());
        auto* field = fixture.Find<QLineEdit>("EditGfxKeyCapture");
        QCOMPARE(field->maxLength(), 3);
        QVERIFY(field->y() < -900);

        fixture.SetText("EditGfxBitplaneCount", "4");
        QVERIFY(fixture.FocusKeyField());
        QVERIFY(active->isVisible());
        QCOMPARE(fixture.Work().Ripper.Parameters.Bitplanes, 4);
        fixture.Find<QLineEdit>("EditGfxAddress")->setFocus();
        QVERIFY(!active->isVisible());
    }

    void MovementKeysStepByTheLayoutOfTheMode() {
        RipperFixture fixture;
        fixture.SetText("EditGfxBitplaneCount", "4");
        QTest::keyClick(&fixture.Window(), Qt::Key_F5);
        QVERIFY(fixture.FocusKeyField());
        fixture.Key(Qt::Key_Right);
        QCOMPARE(fixture.Text("EditGfxAddress"), QString("$2"));
        fixture.Key(Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(fixture.Text("EditGfxAddress"), QString("$82"));
        fixture.Key(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(fixture.Text("EditGfxAddress"), QString("$482"));
        QCOMPARE(fixture.Work().Ripper.Parameters.Address, 2 + 128 + 1024);
        fixture.Key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(fixture.Work().Ripper.Parameters.Address, 1154 + 2560);
        fixture.Key(Qt::Key_4, Qt::KeypadModifier);
        QCOMPARE(fixture.Work().Ripper.Parameters.Address, 1154 + 2560 - 128);
        // Nothing typed stays in the field.
        fixture.Key(Qt::Key_K);
        QVERIFY(fixture.Text("EditGfxKeyCapture").isEmpty());
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void HeldKeyRepaintsTheViewBeforeTheNextRepeat() {
        RipperFixture fixture;
        fixture.Open("memory.bin", std::vector<uint8_t>(0x40000, 0x5A));
        fixture.SetText("EditGfxBitplaneCount", "5");
        QTest::keyClick(&fixture.Window(), Qt::Key_F5);
        QVERIFY(fixture.FocusKeyField());
        QApplication::processEvents();
        PaintCounter paints(fixture.Tab->View().viewport());
        QElapsedTimer timer;
        timer.start();
        constexpr int repeats = 40;
        for (int i = 0; i < repeats; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), i > 0);
            QApplication::sendEvent(fixture.Find<QLineEdit>("EditGfxKeyCapture"), &press);
            // Painted within the key's handler, with no event processed in between.
            QCOMPARE(paints.Count, i + 1);
        }
        QCOMPARE(fixture.Work().Ripper.Parameters.Address, 2 * repeats);
        // Auto-repeat comes every 30 ms or so; each step must take far less.
        QVERIFY2(timer.elapsed() < repeats * 30, qPrintable(QString("%1 ms").arg(timer.elapsed())));
    }

    void ParameterAndSelectionKeys() {
        RipperFixture fixture;
        fixture.Open("memory.bin", MemoryWith(0x1000, {{0, 0x80}}));
        auto* bank = fixture.Find<QComboBox>("ComboBoxGfxSpriteMode");
        fixture.Find<QComboBox>("ComboBoxGfxMode")->setCurrentIndex(3);
        fixture.SetText("EditGfxBitplaneCount", "2");
        QTest::keyClick(&fixture.Window(), Qt::Key_F5);
        QVERIFY(fixture.FocusKeyField());

        QCOMPARE(fixture.Shown().pixelIndex(0, 0), 17);
        fixture.Key(Qt::Key_E);
        QCOMPARE(fixture.Text("EditGfxBitplaneCount"), QString("4"));
        fixture.Key(Qt::Key_D);
        QCOMPARE(fixture.Text("EditGfxBitplaneCount"), QString("2"));
        fixture.Key(Qt::Key_5);
        QCOMPARE(bank->currentText(), QString("Sprite 4/5"));
        // Sprite 4/5 with two planes: a set bit of plane 0 shows as 16 + 4 x 2 + 1.
        QCOMPARE(fixture.Shown().pixelIndex(0, 0), 25);

        fixture.Key(Qt::Key_M);
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxGfxMode")->currentText(), QString("Amiga ACBM"));
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxGfxMaskBefore")->isVisible());
        fixture.Key(Qt::Key_3, Qt::ShiftModifier);
        QCOMPARE(fixture.Find<QLabel>("LabelBitplaneOrder")->text(), QString("Bitplane Order: 12245678"));

        fixture.Key(Qt::Key_V);
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxGfxScaleMode")->currentText(), QString("Scale to fit"));
        QCOMPARE(fixture.Find<QLabel>("LabelGfxZoomValue")->text(), QString("Automatic"));

        fixture.Key(Qt::Key_Q);
        QCOMPARE(fixture.Text("EditGfxTileWidth"), QString("32"));
        fixture.Key(Qt::Key_S, Qt::ShiftModifier);
        QCOMPARE(fixture.Text("EditGfxTileHeight"), QString("8"));
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void StopLineKeysRunTheCopperListAction() {
        RipperFixture fixture;
        fixture.Open("state.uss", StateWithCopperLists());
        fixture.SetText("EditGfxCopperlistStopYPos", "$FE");
        QVERIFY(fixture.FocusKeyField());
        fixture.Key(Qt::Key_U);
        QCOMPARE(fixture.Text("EditGfxCopperlistStopYPos"), QString("$FE"));
        QCOMPARE(fixture.Work().Ripper.Parameters.CopperlistStopYPos, 254);
        QVERIFY(fixture.MemoLines("MemoCopperlist").at(2).startsWith("$00001000: 0182 0F00"));
        fixture.Key(Qt::Key_J, Qt::ShiftModifier);
        QCOMPARE(fixture.Text("EditGfxCopperlistStopYPos"), QString("$F6"));
    }

    void StopLineKeyWalksWithTheLineItHasJustSet() {
        std::vector<uint8_t> chipRam(0x2000, 0);
        PutWords(chipRam, 0x1000, {0x8107, 0xFFFE, 0x0182, 0x0F00, 0xFFFF, 0xFFFE});
        ChipRegisters registers;
        registers.COP1LC = 0x1000;
        SaveStateBuilder state;
        state.Stored("CRAM", chipRam);
        state.Stored("CHIP", ChipChunkData(registers));
        state.End();
        RipperFixture fixture;
        fixture.Open("state.uss", state.Data());
        QVERIFY(fixture.FocusKeyField());
        // U moves the stop line from $80 to $81, so the wait for line $81 no longer ends the walk.
        fixture.Key(Qt::Key_U);
        QCOMPARE(fixture.Text("EditGfxCopperlistStopYPos"), QString("$81"));
        QCOMPARE(ColourFromEntry(fixture.Work().Palette.Entries[1]), MakeColour(255, 0, 0));
    }

    void KeyThatReadsNoNumberIsReported() {
        RipperFixture fixture;
        QVERIFY(fixture.FocusKeyField());
        fixture.SetText("EditGfxSkipBytes", "lots");
        fixture.Key(Qt::Key_R);
        QCOMPARE(fixture.Dialogs.Texts("error").size(), size_t{1});
        QCOMPARE(fixture.Text("EditGfxSkipBytes"), QString("lots"));
        QVERIFY(fixture.Text("EditGfxKeyCapture").isEmpty());
    }

    void KeyboardLayoutMovesTheLettersAndTheirLabels() {
        RipperFixture fixture;
        QCOMPARE(fixture.Find<QLabel>("LabelGfxRipHeightKeys")->text(), QString("Y/H"));
        fixture.Trigger("mnuKeyboardQwertz");
        QVERIFY(fixture.Find<QAction>("mnuKeyboardQwertz")->isChecked());
        QCOMPARE(fixture.Find<QLabel>("LabelGfxRipHeightKeys")->text(), QString("Z/H"));
        QVERIFY(fixture.FocusKeyField());
        fixture.Key(Qt::Key_Z);
        QCOMPARE(fixture.Text("EditGfxRipHeight"), QString("272"));
        fixture.Key(Qt::Key_Y);
        QCOMPARE(fixture.Text("EditGfxRipHeight"), QString("272"));

        fixture.Trigger("mnuKeyboardAzerty");
        QCOMPARE(fixture.Find<QLabel>("LabelGfxTileWidthKeys")->text(), QString("A/Q"));
        QCOMPARE(fixture.Find<QLabel>("LabelGfxTileHeightKeys")->text(), QString("Z/S"));
        QCOMPARE(fixture.Find<QLabel>("LabelMapWidthInTilesKeys")->text(), QString("A/Q"));
        QCOMPARE(fixture.Find<QLabel>("LabelMap2HeightInTilesKeys")->text(), QString("Z/S"));
        QCOMPARE(fixture.Tab->CurrentKeyboardLayout(), KeyboardLayout::Azerty);
    }

    void PointerReadsTheTileUnderItAndAClickKeepsIt() {
        RipperFixture fixture;
        fixture.SendPointer(QEvent::MouseMove, QPoint(40, 20));
        QCOMPARE(StatusText(fixture, 1), QString("Tile Ripper: 22 ($16)"));
        fixture.SendPointer(QEvent::MouseMove, QPoint(0, 20));
        QCOMPARE(StatusText(fixture, 1), QString("Tile Ripper: 22 ($16)"));
        fixture.SendPointer(QEvent::MouseMove, QPoint(319, 255));
        QCOMPARE(StatusText(fixture, 1), QString("Tile Ripper: 319 ($13F)"));

        fixture.SendPointer(QEvent::MouseButtonPress, QPoint(40, 20), Qt::LeftButton);
        QCOMPARE(StatusText(fixture, 2), QString("Last tile: 22 ($16)"));
        QVERIFY(fixture.Find<QLineEdit>("EditGfxKeyCapture")->hasFocus());

        // A key that widens the tiles under the resting pointer changes what it reads.
        fixture.SendPointer(QEvent::MouseMove, QPoint(40, 20));
        fixture.Key(Qt::Key_Q);
        QCOMPARE(fixture.Text("EditGfxTileWidth"), QString("32"));
        QCOMPARE(StatusText(fixture, 1), QString("Tile Ripper: 11 ($B)"));
    }

    void CopperlistAndProcessWalkIntoTheInfoTab() {
        RipperFixture fixture;
        fixture.Open("state.uss", StateWithCopperLists());
        const uint32_t offset = fixture.Work().Memory.ChipRamOffset;
        QVERIFY(offset > 0);

        fixture.Click("ButtonCopperlistPalette");
        QCOMPARE(fixture.Text("EditGfxPaletteAddress"), QString("$%1").arg(0x1000 + offset, 0, 16).toUpper());
        QStringList listing = fixture.MemoLines("MemoCopperlist");
        QCOMPARE(listing.at(0), QString("Chip Addr: Copper instructions ; Comments"));
        QVERIFY(listing.at(2).startsWith("$00001000: 0182 0F00"));
        QCOMPARE(fixture.MemoLines("MemoInfo").back(), QString("Game uses 4 bitplanes"));
        QCOMPARE(fixture.Work().Palette.Colours.Count(), 32);
        QCOMPARE(fixture.Shown().color(1), qRgb(255, 0, 0));

        fixture.SetText("EditGfxPaletteAddress", "+$100");
        fixture.Click("ButtonGfxWalkCopperlist");
        listing = fixture.MemoLines("MemoCopperlist");
        QVERIFY(listing.at(2).startsWith("$00000100: 0184 00F0"));
        QCOMPARE(fixture.Shown().color(2), qRgb(0, 255, 0));
        // This walk starts again from the saved colours: colour 1 is the saved grey.
        QCOMPARE(fixture.Shown().color(1), qRgb(0x88, 0x88, 0x88));

        fixture.SetText("EditGfxPaletteAddress", "zz");
        fixture.Click("ButtonGfxWalkCopperlist");
        QCOMPARE(fixture.MemoLines("MemoCopperlist"), listing);
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void AWalkOutsideChipRamIsAnErrorAndKeepsThePalette() {
        RipperFixture fixture;
        fixture.Open("state.uss", StateWithCopperLists());
        const auto entries = fixture.Work().Palette.Entries;
        fixture.SetText("EditGfxPaletteAddress", "$0");
        fixture.Click("ButtonGfxWalkCopperlist");
        QCOMPARE(fixture.Dialogs.Texts("error").size(), size_t{1});
        QCOMPARE(fixture.MemoLines("MemoCopperlist").size(), 2);
        QVERIFY(fixture.Work().Palette.Entries == entries);
    }

    void AtariPictureOpenedAsTilesReplacesTheFirstSixteenColours() {
        RipperFixture fixture;
        const std::string path = WriteTestFile(fixture, "tiles.pi1", DegasLowResPicture(StColours, 1));
        const auto entry20 = fixture.Work().Palette.Entries[20];
        fixture.Dialogs.FileAnswers.push_back(path);
        fixture.Click("ButtonOpenGfxTiles");
        QCOMPARE(fixture.Dialogs.History.at(0).Text, std::string(LoadTileGraphicsTitle));
        QCOMPARE(fixture.Dialogs.History.at(0).Detail, std::string(LoadTileGraphicsFilter));

        QCOMPARE(fixture.Text("EditGfxTilesFileName").toStdString(), path);
        QVERIFY(fixture.Find<QCheckBox>("CheckBoxUseMap")->isChecked());
        QCOMPARE(fixture.Text("EditGfxRipWidth"), QString("320"));
        QCOMPARE(fixture.Text("EditGfxRipHeight"), QString("200"));
        const Colour first = AtariColourToColour(StColours[1]);
        QCOMPARE(fixture.Shown().size(), QSize(320, 200));
        QCOMPARE(fixture.Shown().pixel(0, 0), qRgb(RedOf(first), GreenOf(first), BlueOf(first)));
        QCOMPARE(fixture.Find<TmbColorPalette>("mbColorPaletteGfx")->Count(), 16);
        QCOMPARE(ColourFromEntry(fixture.Work().Palette.Entries[1]), first);
        QVERIFY(fixture.Work().Palette.Entries[20] == entry20);

        // Rips leave the loaded picture alone.
        QTest::keyClick(&fixture.Window(), Qt::Key_F5);
        QCOMPARE(fixture.Work().TileSheet.Format(), PixelFormat::Rgb24);
        QCOMPARE(fixture.Shown().size(), QSize(320, 200));
        QVERIFY(fixture.Dialogs.Texts("error").empty());
    }

    void IlbmPictureOpenedLeavesThePaletteAlone() {
        RipperFixture fixture;
        const std::vector<uint8_t> values(32 * 8, 3);
        const std::string path = WriteTestFile(fixture, "tiles.iff",
                                               IlbmPicture(32, 8, 2, {0x102030, 0x405060, 0x708090, 0xA1B2C3}, values));
        const WorkingPalette before = fixture.Work().Palette;
        fixture.Dialogs.FileAnswers.push_back(path);
        fixture.Click("ButtonOpenGfx");
        QCOMPARE(fixture.Dialogs.History.at(0).Text, std::string(LoadDataFileTitle));

        QVERIFY(fixture.Find<QCheckBox>("CheckBoxUseMap")->isChecked());
        QCOMPARE(fixture.Text("EditGfxRipWidth"), QString("32"));
        QCOMPARE(fixture.Text("EditGfxRipHeight"), QString("8"));
        QCOMPARE(fixture.Shown().pixel(5, 5), qRgb(0xA1, 0xB2, 0xC3));
        QVERIFY(fixture.Work().Palette.Entries == before.Entries);
        QVERIFY(fixture.Work().Palette.Colours == before.Colours);
    }

    void UseLoadedTilesAndClearTilesSwitchBetweenPictureAndMemory() {
        RipperFixture fixture;
        fixture.Open("tiles.pi1", DegasLowResPicture(StColours, 1));
        auto* useTiles = fixture.Find<QCheckBox>("CheckBoxUseMap");

        QTest::mouseClick(useTiles, Qt::LeftButton);
        QVERIFY(!useTiles->isChecked());
        QCOMPARE(fixture.Shown().format(), QImage::Format_Indexed8);
        QCOMPARE(fixture.Shown().size(), QSize(320, 200));
        for (const Image& map : fixture.Work().MapImages)
            QCOMPARE(map.Format(), PixelFormat::Indexed8);

        QTest::mouseClick(useTiles, Qt::LeftButton);
        QVERIFY(useTiles->isChecked());
        QCOMPARE(fixture.Work().TileSheet.Format(), PixelFormat::Rgb24);
        QCOMPARE(fixture.Shown().format(), QImage::Format_RGB888);

        fixture.Click("ButtonClearTiles");
        QVERIFY(fixture.Text("EditGfxTilesFileName").isEmpty());
        QVERIFY(!useTiles->isChecked());
        QCOMPARE(fixture.Work().TileSheet.Format(), PixelFormat::Indexed8);
        QCOMPARE(fixture.Shown().format(), QImage::Format_Indexed8);

        // Without a file name the box does not stay checked.
        QTest::mouseClick(useTiles, Qt::LeftButton);
        QVERIFY(!useTiles->isChecked());
        QVERIFY(fixture.Dialogs.History.empty());

        // A damaged bitmap is reported like any damaged picture and leaves the box off.
        const std::string broken = fixture.Folder.File("broken.bmp");
        WriteWholeFile(broken, std::string_view("BM and nothing more"));
        fixture.SetText("EditGfxTilesFileName", QString::fromStdString(broken));
        QTest::mouseClick(useTiles, Qt::LeftButton);
        QVERIFY(!useTiles->isChecked());
        QVERIFY(!fixture.Work().Ripper.UseLoadedTiles);
        QCOMPARE(fixture.Dialogs.Texts("error").size(), size_t{1});
        QVERIFY(fixture.Dialogs.Texts("error")[0].find("Damaged bitmap") != std::string::npos);
    }

    void OpeningADataFileReturnsToRippingFromMemory() {
        RipperFixture fixture;
        fixture.Open("tiles.pi1", DegasLowResPicture(StColours, 1));
        fixture.Open("memory.bin", MemoryWith(0x10000, {{0, 0x80}}));
        QVERIFY(!fixture.Find<QCheckBox>("CheckBoxUseMap")->isChecked());
        QCOMPARE(fixture.Work().TileSheet.Format(), PixelFormat::Indexed8);
        QCOMPARE(fixture.Shown().format(), QImage::Format_Indexed8);
        QCOMPARE(fixture.Shown().pixelIndex(0, 0), 1);
    }
};

static const GuiTestRegistration<RipperTabKeysTest> ripperTabKeysRegistration;

} // namespace tavrik::test

#include "RipperTabKeysTest.moc"

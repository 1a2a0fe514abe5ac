// The rebuilt screen in the window: "Show Screen" (F8) sets the tile ripper to the screen of an emulator's save
// state and rips it; "From Save State" on the "Map Search" tab takes the screen, colour changes and all, as the
// screenshot; a file without a screen gives an error and changes nothing.
#include "GuiTestRegistry.h"
#include "RipperTabFixture.h"

#include "app/Files.h"
#include "screen/AmigaScreen.h"
#include "search/SearchPage.h"
#include "support/ScreenReference.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace tavrik::test {

namespace {

const std::string StateFile = std::string(TAVRIK_TEST_DATA_DIR) + "/screen_aros_ocs/state.uss";

bool SamePicture(const QImage& shown, const Image& expected) {
    const QImage picture = shown.convertToFormat(QImage::Format_RGB32);
    if (picture.width() != expected.Width() || picture.height() != expected.Height()) return false;
    for (int32_t y = 0; y < expected.Height(); ++y)
        for (int32_t x = 0; x < expected.Width(); ++x) {
            const Colour c = expected.ColourAt(x, y);
            if (picture.pixel(x, y) != qRgb(RedOf(c), GreenOf(c), BlueOf(c))) return false;
        }
    return true;
}

} // namespace

class ScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void F8RipsTheScreenOfAnEmulatorState() {
        RipperFixture fixture;
        QVERIFY(fixture.Active);
        fixture.Open("state.uss", ReadWholeFile(StateFile));
        fixture.Form->PageControl()->setCurrentWidget(&fixture.Form->Search());
        QTest::keyClick(&fixture.Window(), Qt::Key_F8);
        QCOMPARE(fixture.Form->PageControl()->currentWidget(), fixture.Tab);
        QCOMPARE(fixture.Text("EditGfxBitplaneCount"), QString("4"));
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxGfxMode")->currentIndex(), 0);
        const Image screen = RebuildAmigaScreen(fixture.Work().Memory).Picture;
        QVERIFY(SamePicture(fixture.Shown(), screen));
        QVERIFY(fixture.Dialogs.Texts("error").empty());
    }

    void FromSaveStateTakesTheScreenWithItsLineColours() {
        RipperFixture fixture;
        std::mt19937 random(3);
        const ScreenSpec spec = RandomScreenSpec(ScreenKind::Ham6, false, random);
        QVERIFY(!spec.Changes.empty());
        fixture.Open("ham.uss", ScreenSaveState(spec, 3));
        fixture.Form->PageControl()->setCurrentWidget(&fixture.Form->Search());
        QTest::mouseClick(fixture.Form->Search().Controls().ButtonFromState, Qt::LeftButton);
        const Image expected = ReferenceScreenPicture(spec, ScreenChipRam(spec, 3));
        QVERIFY(SamePicture(ToQImage(fixture.Work().SearchImage), expected));
        QVERIFY(fixture.Work().SearchSelection.has_value());
        QVERIFY(fixture.Form->Search().Controls().LabelDimensions->text().contains(
            QString("%1 x %2").arg(spec.Width).arg(spec.Lines)));
    }

    void AFileWithoutAScreenGivesAnErrorAndChangesNothing() {
        RipperFixture fixture;
        fixture.Open("raw.bin", std::vector<uint8_t>(0x1000, 0));
        const QString address = fixture.Text("EditGfxAddress");
        fixture.Trigger("mnuShowScreen");
        QCOMPARE(fixture.Dialogs.Texts("error").size(), size_t{1});
        QCOMPARE(fixture.Text("EditGfxAddress"), address);
        QTest::mouseClick(fixture.Form->Search().Controls().ButtonFromState, Qt::LeftButton);
        QCOMPARE(fixture.Dialogs.Texts("error").size(), size_t{2});
        QVERIFY(!fixture.Work().SearchSelection.has_value());
    }
};

static const GuiTestRegistration<ScreenTest> screenRegistration;

} // namespace tavrik::test

#include "ScreenTest.moc"

// TmbColorPalette: cell layout for the palette sizes the program shows, the cell under a point, hints
// and the popup that the program may suppress.
#include "widgets/ColorPalette.h"

#include "palette/PaletteDisplay.h"

#include "GuiTestRegistry.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace tavrik {

namespace {

TIntList Greys(int count) {
    TIntList colours(Duplicates::Accept);
    for (int i = 0; i < count; ++i)
        colours.Add(static_cast<int32_t>(MakeColour(i, i, i)));
    return colours;
}

} // namespace

class ColorPaletteTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        Palette = std::make_unique<TmbColorPalette>();
        Palette->show();
        QVERIFY(QTest::qWaitForWindowExposed(Palette.get()));
    }
    void cleanup() { Palette.reset(); }

    void StartsAtItsDesignSize() {
        QCOMPARE(Palette->size(), QSize(128, 128));
        QCOMPARE(Palette->Count(), 0);
        QCOMPARE(Palette->CellAt(QPoint(1, 1)), -1);
    }

    void CellSizeFollowsTheColourCount_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("cellSize");
        QTest::addColumn<int>("perRow");
        QTest::addColumn<QPoint>("lastCellCorner");
        QTest::newRow("16 colours") << 16 << 32 << 4 << QPoint(127, 127);
        QTest::newRow("32 colours") << 32 << 16 << 8 << QPoint(127, 63);
        QTest::newRow("256 colours") << 256 << 8 << 16 << QPoint(127, 127);
    }

    void CellSizeFollowsTheColourCount() {
        QFETCH(int, count);
        QFETCH(int, cellSize);
        QFETCH(int, perRow);
        QFETCH(QPoint, lastCellCorner);
        Palette->Show(DisplayColourPalette(Greys(count), Palette->width(), Palette->CellSize()));
        QCOMPARE(Palette->Count(), count);
        QCOMPARE(Palette->CellSize(), cellSize);
        QCOMPARE(Palette->CellsPerRow(), perRow);
        QCOMPARE(Palette->CellAt(lastCellCorner), count - 1);
        QCOMPARE(Palette->CellAt(lastCellCorner + QPoint(0, 1)), -1);
        QCOMPARE(Palette->CellAt(QPoint(cellSize + 1, 2 * cellSize + 1)), 2 * perRow + 1);
        QCOMPARE(Palette->ColourOf(count - 1), MakeColour(count - 1, count - 1, count - 1));
    }

    void NoCellPastTheLastColourOrOutside() {
        Palette->SetColours(QStringList{"255", "65280", "$FF0000"});
        Palette->SetCellSize(32);
        QCOMPARE(Palette->CellAt(QPoint(70, 10)), 2);
        QCOMPARE(Palette->CellAt(QPoint(100, 10)), -1);
        QCOMPARE(Palette->CellAt(QPoint(10, 40)), -1);
        QCOMPARE(Palette->CellAt(QPoint(-1, 10)), -1);
        QCOMPARE(Palette->ColourOf(2), Colour{0xFF0000});
        QCOMPARE(Palette->ColourOf(3), Colour{0});
        // A width that is not a whole number of cells leaves the remainder outside every cell.
        Palette->resize(100, 128);
        QCOMPARE(Palette->CellsPerRow(), 3);
        QCOMPARE(Palette->CellAt(QPoint(97, 10)), -1);
    }

    void CellsAreDrawnLeftToRightThenDown() {
        Palette->SetColours(QStringList{"255", "65280", "16711680", "0", "16777215"});
        Palette->SetCellSize(32);
        const QImage shown = Palette->grab().toImage();
        QCOMPARE(QColor(shown.pixel(16, 16)), QColor(255, 0, 0));
        QCOMPARE(QColor(shown.pixel(48, 16)), QColor(0, 255, 0));
        QCOMPARE(QColor(shown.pixel(80, 16)), QColor(0, 0, 255));
        QCOMPARE(QColor(shown.pixel(16, 48)), QColor(255, 255, 255));
    }

    void HintShowsChannelsAndHex() {
        Palette->SetColours(QStringList{QString::number(MakeColour(17, 34, 171)), "$0000FF"});
        QCOMPARE(Palette->HintFor(0), QString("RGB(17, 34, 171)\nHex: 1122AB"));
        QCOMPARE(Palette->HintFor(1), QString("RGB(255, 0, 0)\nHex: FF0000"));
        QCOMPARE(Palette->HintFor(2), QString());
        Palette->SetHintFormat("%hex/%b");
        QCOMPARE(Palette->HintFor(0), QString("1122AB/171"));
    }

    void RightClickAsksBeforeOpeningTheMenu() {
        Palette->SetColours(QStringList{"255", "65280"});
        Palette->SetCellSize(32);
        QMenu menu;
        menu.addAction("Black");
        Palette->SetPopupMenu(&menu);
        bool suppressIt = true;
        QPoint askedAt;
        connect(Palette.get(), &TmbColorPalette::ContextPopup, this, [&](QPoint position, bool* suppress) {
            askedAt = position;
            *suppress = suppressIt;
        });

        RightClick(QPoint(40, 5));
        QCOMPARE(askedAt, QPoint(40, 5));
        QCOMPARE(Palette->CellUnderPointer(), 1);
        QVERIFY(!menu.isVisible());

        suppressIt = false;
        RightClick(QPoint(5, 5));
        QVERIFY(menu.isVisible());
        QCOMPARE(Palette->CellUnderPointer(), 0);
        menu.hide();
    }

  private:
    void RightClick(QPoint position) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, position, Palette->mapToGlobal(position));
        QApplication::sendEvent(Palette.get(), &event);
    }

    std::unique_ptr<TmbColorPalette> Palette;
};

static const test::GuiTestRegistration<ColorPaletteTest> colorPaletteRegistration;

} // namespace tavrik

#include "ColorPaletteTest.moc"

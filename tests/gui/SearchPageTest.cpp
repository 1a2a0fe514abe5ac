// The "Map Search" tab in the window: the selection moved and resized with the mouse, a paint tool under a
// press and a drag, the demo's level found again from a cut of its picture (Match Tiles and Search for map on
// the worker, the chosen find drawn on the "Map Ripper" tab), and a long search stopped by Cancel, Open, New
// Project and closing the window.
#include "GuiTestRegistry.h"
#include "RipperTabFixture.h"

#include "app/IntegerText.h"
#include "map/MapPage.h"
#include "search/SearchPage.h"
#include "search/SelectionOverlay.h"
#include "support/DemoData.h"
#include "support/RipWords.h"
#include "support/SearchInputs.h"
#include "workspace/RipRequest.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <random>

namespace tavrik::test {

namespace {

QImage DemoLevel() {
    return QImage(QString(TAVRIK_TEST_DATA_DIR) + "/demo_map/level.png").convertToFormat(QImage::Format_RGB32);
}

// The demo opened with its tiles ripped and the "Map Search" tab shown.
class SearchFixture : public RipperFixture {
  public:
    SearchFixture() {
        const std::vector<std::string> options{"--address", "+$20000", "--bitplanes", "5",         "--tile",
                                       "16x16",     "--size",  "320x80",      "--palette", "copper"};
        Form->OpenProgramArgument(ExampleFile("demo.uss"),
                                  test::RipRequestFromWords(options));
        Form->PageControl()->setCurrentWidget(&Form->Search());
    }

    const SearchPageWidgets& Page() const { return Form->Search().Controls(); }
    bool Busy() const { return Form->Search().Busy(); }
    // Waits for the job on the worker to end and be shown.
    bool Finished() const {
        return QTest::qWaitFor([this] { return !Busy(); }, 30000);
    }
    // A search started over 16 MB of noise with every step of the table, which keeps the worker busy for a
    // while: two rows of sky over a row of a tile the memory lacks.
    void StartLongSearch() {
        std::mt19937 random(20);
        Work().Memory.MemoryImage = NoisyMemory(16 << 20, random);
        Page().CheckBoxLongs->setChecked(true);
        Page().MemoIndexes->setPlainText("3, 3, 3, 3\n3, 3, 3, 3\n99, 99, 99, 99");
        QTest::mouseClick(Page().ButtonSearchMap, Qt::LeftButton);
        QVERIFY(Busy());
        QVERIFY(!Page().ButtonSearchMap->isEnabled() && !Page().ButtonMatchTiles->isEnabled());
    }
    QWidget* Viewport() const { return Page().View->viewport(); }

    // The picture saved in the fixture's folder and loaded as the screenshot with "Load Image".
    void LoadScreenshot(const QImage& picture) {
        const QString path = QString::fromStdString(ProgramFolder()) + "screenshot.png";
        QVERIFY(picture.save(path));
        Page().EditFileName->setText(path);
        QTest::mouseClick(Page().ButtonLoad, Qt::LeftButton);
    }
    // Pointer events as the window receives them, at viewport points of the view: the window decides which
    // widget gets them (the selection, or the view while a paint tool is chosen).
    QPoint InWindow(QPointF viewportPoint) const { return Viewport()->mapTo(Form.get(), viewportPoint.toPoint()); }
    void Press(QPointF at, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mousePress(Form->windowHandle(), button, Qt::NoModifier, InWindow(at));
    }
    void Release(QPointF at, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mouseRelease(Form->windowHandle(), button, Qt::NoModifier, InWindow(at));
    }
    // A left-button drag over the view from one viewport point to another, in two moves.
    void Drag(QPointF from, QPointF to) const {
        Press(from);
        QTest::mouseMove(Form->windowHandle(), InWindow((from + to) / 2));
        QTest::mouseMove(Form->windowHandle(), InWindow(to));
        Release(to);
    }
    QPoint PixelCentre(int x, int y) const { return Page().View->PictureToViewport(QPoint(x, y)).center(); }
    SelectionRect Selection() const { return Work().SearchSelection.value(); }
    QString SelectionLabel() const { return Page().LabelRubberBandDimensions->text(); }
};

QImage Filled(QSize size, QRgb colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

} // namespace

class SearchPageTest : public QObject {
    Q_OBJECT

  private slots:
    void TheSelectionMovesAndResizesWithinItsLimits() {
        SearchFixture fixture;
        fixture.LoadScreenshot(Filled(QSize(200, 120), qRgb(10, 20, 30)));
        QCOMPARE(fixture.Selection(), (SelectionRect{0, 0, 16, 16}));
        QVERIFY(fixture.SelectionLabel().isEmpty());
        const double scale = fixture.Page().View->EffectiveScale();

        // Dragged by its inside: 20 screen pixels right and 10 down move it by 10 and 5 image pixels at 200%.
        fixture.Drag(fixture.Page().Selection->ShownRect().center(),
                     fixture.Page().Selection->ShownRect().center() + QPointF(20, 10));
        QCOMPARE(fixture.Selection(), (SelectionRect{20 / scale, 10 / scale, 16 + 20 / scale, 16 + 10 / scale}));
        QVERIFY(fixture.SelectionLabel().contains("(10, 5)"));
        QVERIFY(fixture.SelectionLabel().endsWith("16 x 16"));

        // The bottom-right corner pulled far out: the size follows; pushed past the top-left, 16 x 16 stays.
        const QPointF corner = fixture.Page().Selection->ShownRect().bottomRight();
        fixture.Drag(corner, corner + QPointF(2 * 50, 2 * 30));
        QCOMPARE(fixture.Selection(), (SelectionRect{10, 5, 76, 51}));
        QVERIFY(fixture.SelectionLabel().endsWith("66 x 46"));
        const QPointF grown = fixture.Page().Selection->ShownRect().bottomRight();
        fixture.Drag(grown, grown - QPointF(400, 400));
        QCOMPARE(fixture.Selection(), (SelectionRect{10, 5, 26, 21}));

        // Moved off the top-left it is shifted back inside; its left edge dragged out stops at 0.
        const QPointF inside = fixture.Page().Selection->ShownRect().center();
        fixture.Drag(inside, inside - QPointF(300, 300));
        QCOMPARE(fixture.Selection(), (SelectionRect{0, 0, 16, 16}));
        QVERIFY(fixture.SelectionLabel().startsWith("Selection: (0, 0)"));

        // Ctrl and plus zooms in one step; the selection stays on the same picture pixels.
        const SelectionRect before = fixture.Selection();
        QTest::keyClick(&fixture.Window(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(fixture.Page().View->EffectiveScale(), 2.5);
        QCOMPARE(fixture.Selection(), before);
        QCOMPARE(fixture.Page().Selection->ShownRect().width(), 2.5 * (before.Right - before.Left));
        for (int press = 0; press < 4; ++press)
            QTest::keyClick(&fixture.Window(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(fixture.Page().View->EffectiveScale(), 1.0);

        // At 100% a bottom edge dragged past the view stops at the view's height.
        const QRectF shown = fixture.Page().Selection->ShownRect();
        const double below = fixture.Page().View->height() + 20;
        fixture.Drag(QPointF(shown.center().x(), shown.bottom()), QPointF(shown.center().x(), below));
        QCOMPARE(fixture.Selection().Bottom, static_cast<double>(fixture.Page().View->height()));
    }

    void TheBandsToolPaintsTheRowUnderThePointerAndLeavesTheSelectionAlone() {
        SearchFixture fixture;
        // Each row its own colour, with a different colour in column 0.
        QImage picture(40, 40, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, x == 0 ? qRgb(255, 255, 255) : qRgb(y * 5, 100, 200));
        fixture.LoadScreenshot(picture);
        const SelectionRect selection = fixture.Selection();
        const Image before = fixture.Work().SearchImage;

        // A right button press with no tool chosen paints nothing.
        fixture.Press(fixture.PixelCentre(5, 30), Qt::RightButton);
        fixture.Release(fixture.PixelCentre(5, 30), Qt::RightButton);
        QVERIFY(fixture.Work().SearchImage.Data() == before.Data());

        QTest::mouseClick(fixture.Page().PaintButtons[0], Qt::LeftButton);
        QCOMPARE(fixture.Form->Search().CurrentPaintMode(), PaintMode::Bands);
        fixture.Drag(fixture.PixelCentre(5, 3), fixture.PixelCentre(5, 5));
        const Image& after = fixture.Work().SearchImage;
        const Colour background = fixture.Work().SearchBackgroundColour;
        for (int y = 0; y < picture.height(); ++y) {
            const bool painted = y >= 3 && y <= 5;
            QCOMPARE(after.ColourAt(1, y) == background, painted);
            QCOMPARE(after.ColourAt(39, y) == background, painted);
            QCOMPARE(after.ColourAt(0, y), before.ColourAt(0, y));
        }
        QCOMPARE(fixture.Selection(), selection);
        // The view shows the painted picture.
        QCOMPARE(fixture.Page().View->Picture().pixelColor(20, 4).rgb() & 0xFFFFFF, 0xFF00FFu);

        // The magic wand never stays down and releases the tool's button, which keeps painting.
        QTest::mouseClick(fixture.Page().MagicWand, Qt::LeftButton);
        QVERIFY(!fixture.Page().MagicWand->isChecked());
        QVERIFY(!fixture.Page().PaintButtons[0]->isChecked());
        QCOMPARE(fixture.Form->Search().CurrentPaintMode(), PaintMode::Bands);
    }

    void PasteTakesOnlyAPictureAndHalfSizeKeepsTheSizeShown() {
        SearchFixture fixture;
        QApplication::clipboard()->setText("no picture");
        QTest::mouseClick(fixture.Page().ButtonPaste, Qt::LeftButton);
        QVERIFY(!fixture.Work().SearchSelection);
        QVERIFY(!fixture.Page().PaintButtons[0]->isEnabled());
        const std::vector<std::string> told = fixture.Dialogs.Texts("information");
        QCOMPARE(told.size(), size_t{1});
        QVERIFY(QString::fromStdString(told[0]).contains("clipboard"));

        QApplication::clipboard()->setImage(Filled(QSize(33, 21), qRgb(1, 2, 3)));
        QTest::mouseClick(fixture.Page().ButtonPaste, Qt::LeftButton);
        QCOMPARE(fixture.Work().SearchImage.Width(), 33);
        QVERIFY(fixture.Work().SearchSelection.has_value());
        QVERIFY(fixture.Page().PaintButtons[0]->isEnabled() && fixture.Page().MagicWand->isEnabled());
        const QString dimensions = fixture.Page().LabelDimensions->text();
        QVERIFY(dimensions.contains("33 x 21"));

        QTest::mouseClick(fixture.Page().ButtonHalfSize, Qt::LeftButton);
        QCOMPARE(fixture.Page().View->Picture().size(), QSize(16, 10));
        QCOMPARE(fixture.Page().LabelDimensions->text(), dimensions);
    }

    // Cancel in the middle of a long search: the worker stops at once, the memo ends the report, and the next
    // search runs to its end.
    void CancelStopsALongSearchAtOnce() {
        SearchFixture fixture;
        fixture.StartLongSearch();
        // The progress bar moves and the memo fills while the worker runs.
        QTRY_VERIFY(fixture.Page().ProgressBar->value() > 0 || !fixture.Busy());
        QVERIFY2(fixture.Busy(), "the search ended before it could be cancelled");
        QVERIFY(fixture.Page().MemoResults->toPlainText().startsWith("Checking for horizontal byte data..."));
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(fixture.Page().ButtonCancel, Qt::LeftButton);
        const qint64 stoppedAfter = clock.elapsed();
        QVERIFY(!fixture.Busy());
        // Under 100 ms on an idle machine; the bound leaves room for a machine busy with other builds, and is
        // still far below the seconds the search would run on.
        QVERIFY2(stoppedAfter < 500, qPrintable(QString("Cancel took %1 ms").arg(stoppedAfter)));
        const QStringList cancelled = fixture.Page().MemoResults->toPlainText().split('\n');
        QCOMPARE(cancelled.back(), QString("Finished!"));
        QVERIFY(fixture.Page().ButtonSearchMap->isEnabled() && fixture.Page().ButtonMatchTiles->isEnabled());

        // Cancel was for that search only: the next one, over little memory, runs every step.
        fixture.Work().Memory.MemoryImage.resize(0x4000);
        QTest::mouseClick(fixture.Page().ButtonSearchMap, Qt::LeftButton);
        QVERIFY(fixture.Finished());
        const QStringList full = fixture.Page().MemoResults->toPlainText().split('\n');
        QVERIFY(full.size() > cancelled.size());
        QCOMPARE(full.back(), QString("Finished!"));
    }

    // Open, New Project and closing the window in the middle of a long search stop it first; the window then
    // shows what the action made, and nothing of the stopped search arrives afterwards.
    void OpenNewProjectAndCloseStopALongSearchFirst() {
        {
            SearchFixture fixture;
            fixture.StartLongSearch();
            const std::string other = WriteTestFile(fixture, "other.bin", std::vector<uint8_t>(0x1000, 7));
            fixture.Dialogs.FileAnswers.push_back(other);
            fixture.Trigger("mnuOpen");
            QVERIFY(!fixture.Busy());
            QCOMPARE(fixture.Work().Memory.MemoryImage, std::vector<uint8_t>(0x1000, 7));
            QVERIFY(fixture.Window().windowTitle().contains("other.bin"));
            const QString report = fixture.Page().MemoResults->toPlainText();
            QVERIFY(report.endsWith("Finished!"));
            QVERIFY(fixture.Work().MapMatchList.empty());
            QTest::qWait(50);
            QCOMPARE(fixture.Page().MemoResults->toPlainText(), report);
            QVERIFY(fixture.Page().ButtonSearchMap->isEnabled());
        }
        {
            SearchFixture fixture;
            fixture.LoadScreenshot(Filled(QSize(64, 64), qRgb(1, 2, 3)));
            fixture.StartLongSearch();
            fixture.Trigger("mnuNewProject");
            QVERIFY(!fixture.Busy());
            QVERIFY(fixture.Page().MemoResults->toPlainText().isEmpty());
            QVERIFY(fixture.Page().Selection->isHidden());
            QTest::qWait(50);
            QVERIFY(fixture.Page().MemoResults->toPlainText().isEmpty());
        }
        {
            SearchFixture fixture;
            fixture.StartLongSearch();
            QVERIFY(fixture.Form->close());
            QVERIFY(!fixture.Busy());
            QVERIFY(fixture.Form->isHidden());
        }
    }

    // A cut of the level with a sprite over four of its tiles: the cells it covers are framed on the screenshot
    // and written "?", the search finds the level with them, and choosing the find draws the whole level.
    void TheDemoLevelIsFoundFromACutOfItsPictureWithASpriteOverIt() {
        SearchFixture fixture;
        // A cut that starts 11 and 5 pixels into a tile (tile column 12, row 15 of the level).
        const QImage level = DemoLevel();
        QImage shot = level.copy(203, 245, 320, 200);
        const QRect sprite(5 + 4 * 16 + 10, 11 + 2 * 16 + 9, 12, 12); // over cells (4, 2) to (5, 3)
        QPainter(&shot).fillRect(sprite, QColor(250, 3, 3));
        fixture.LoadScreenshot(shot);
        fixture.Work().SearchSelection = SelectionRect{0, 0, 300, 160};

        QTest::mouseClick(fixture.Page().ButtonMatchTiles, Qt::LeftButton);
        QVERIFY(!fixture.Page().ButtonMatchTiles->isEnabled() && !fixture.Page().ButtonSearchMap->isEnabled());
        QVERIFY(fixture.Finished());
        QVERIFY(fixture.Page().ButtonMatchTiles->isEnabled());
        // Aligned on the tile boundary 5 and 11 pixels in: 15 whole tiles across, 9 down.
        QCOMPARE(fixture.Selection(), (SelectionRect{5, 11, 5 + 15 * 16, 11 + 9 * 16}));
        const QStringList indexes = fixture.Page().MemoIndexes->toPlainText().split('\n');
        QCOMPARE(indexes.size(), 9);
        QCOMPARE(indexes[2].split(", ")[4], QString("?"));
        QCOMPARE(indexes[3].split(", ")[5], QString("?"));
        QCOMPARE(indexes[0].split(", ").size(), 15);

        // The view shows frames around the four cells, and nothing else changed.
        const QImage shown = fixture.Page().View->Picture().convertToFormat(QImage::Format_RGB32);
        const QRect cells(5 + 4 * 16, 11 + 2 * 16, 2 * 16, 2 * 16);
        int framed = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shown.pixel(x, y) != shot.pixel(x, y)) {
                    QVERIFY2(cells.contains(x, y), qPrintable(QString("(%1, %2) changed").arg(x).arg(y)));
                    ++framed;
                }
        QVERIFY(framed > 4 * 16);

        QTest::mouseClick(fixture.Page().ButtonSearchMap, Qt::LeftButton);
        QVERIFY(fixture.Finished());
        const QString results = fixture.Page().MemoResults->toPlainText();
        QVERIFY(results.endsWith("Finished!"));
        QVERIFY(results.contains("(4 cells unknown)"));
        auto* matches = fixture.Find<QComboBox>("ComboBoxMapMatches");
        QCOMPARE(matches->count(), 1);
        // The level's cell (13, 16) is 16 x 64 + 13 bytes into the map at +$38000 (from the start of chip RAM).
        const uint32_t map = fixture.Work().Memory.ChipRamOffset + 0x38000;
        QVERIFY(matches->itemText(0).contains(QString::fromStdString(DollarHex(map + 16 * 64 + 13)) + " Width 64 "));

        fixture.Form->PageControl()->setCurrentWidget(&fixture.Form->Map(1));
        matches->setCurrentIndex(0);
        emit matches->activated(0);
        // The whole level from its first row, the find's column kept.
        QCOMPARE(fixture.Text("EditMapAddress"), QString::fromStdString(DollarHex(map + 13)));
        QCOMPARE(fixture.Text("EditMapHeightInTiles"), QString("32"));
        const QImage drawn = fixture.Form->Map(1).Controls().View->Picture().convertToFormat(QImage::Format_RGB32);
        const QRect rest(13 * 16, 0, (64 - 13) * 16, 32 * 16);
        QVERIFY(drawn.width() >= rest.width() && drawn.height() == rest.height());
        QVERIFY(drawn.copy(QRect(QPoint(0, 0), rest.size())) == level.copy(rest));

        // A new picture drops the frames.
        fixture.Form->PageControl()->setCurrentWidget(&fixture.Form->Search());
        QTest::mouseClick(fixture.Page().ButtonHalfSize, Qt::LeftButton);
        const QImage halved = fixture.Page().View->Picture().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(halved.size(), shot.size() / 2);
        for (int y = 0; y < halved.height(); ++y)
            for (int x = 0; x < halved.width(); ++x)
                QCOMPARE(halved.pixel(x, y), shot.pixel(2 * x, 2 * y));
    }

    // "Search while selecting": the selection dragged over the demo's level and left to rest is matched and
    // searched for on the worker, and the finds list follows the selection; a second drag before the first
    // job is shown replaces it.
    void TheFindsFollowASelectionThatRests() {
        SearchFixture fixture;
        fixture.LoadScreenshot(DemoLevel().copy(203, 245, 320, 200));
        fixture.Work().SearchSelection = SelectionRect{0, 0, 160, 96};
        auto* matches = fixture.Find<QComboBox>("ComboBoxMapMatches");
        QVERIFY(fixture.Page().CheckBoxWhileSelecting->isVisible());
        fixture.Page().CheckBoxWhileSelecting->click();
        const double scale = fixture.Page().View->EffectiveScale();
        const auto dragBy = [&](QPointF picturePixels) {
            const QPointF inside = fixture.Page().Selection->ShownRect().center();
            fixture.Drag(inside, inside + picturePixels * scale);
        };
        const auto found = [&] { return matches->itemText(0).startsWith("Horiz"); };
        const auto foundAddress = [&] {
            return fixture.Finished() && found() ? matches->itemText(0).split(' ').value(1) : QString();
        };
        const int64_t level = fixture.Work().Memory.ChipRamOffset + 0x38000;

        dragBy(QPointF(2, 3));
        // Nothing starts while the selection has not rested.
        QVERIFY(!fixture.Busy());
        QVERIFY(QTest::qWaitFor([&] { return fixture.Busy() || found(); }, 2000));
        // Snapped to the tile boundary 5 and 11 pixels in: the level's cell (13, 16) is the first one.
        QCOMPARE(foundAddress(), QString::fromStdString(DollarHex(level + 16 * 64 + 13)));
        QCOMPARE(fixture.Selection().Left, 5.0);

        // Two tiles right and one down, then at once two more right: only the last place is searched for.
        dragBy(QPointF(32, 16));
        QVERIFY(QTest::qWaitFor([&] { return fixture.Busy() || found(); }, 2000));
        dragBy(QPointF(32, 0));
        const QString last = QString::fromStdString(DollarHex(level + 17 * 64 + 17));
        QVERIFY(QTest::qWaitFor([&] { return !fixture.Busy() && matches->itemText(0).contains(last + " "); }, 5000));
        QCOMPARE(fixture.Selection().Left, 5.0 + 4 * 16);

        // With the box off, a resting selection starts nothing.
        fixture.Page().CheckBoxWhileSelecting->click();
        const QString before = fixture.Page().MemoIndexes->toPlainText();
        dragBy(QPointF(16, 16));
        QTest::qWait(500);
        QVERIFY(!fixture.Busy());
        QCOMPARE(fixture.Page().MemoIndexes->toPlainText(), before);
    }
};

static const GuiTestRegistration<SearchPageTest> searchPageRegistration;

} // namespace tavrik::test

#include "SearchPageTest.moc"

// TImgView32: pointer positions in picture pixels at several zooms and when fitted, scrolling to the
// edges, sharp nearest-neighbour blocks, the picture conversion and the rubber band.
#include "widgets/ImageView.h"

#include "GuiTestRegistry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace tavrik {

namespace {

// A picture whose pixel (x, y) has red x and green y, so every pixel is told apart.
QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, 7));
    return image;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(position), target->mapToGlobal(QPointF(position)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class ImageViewTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        View = std::make_unique<TImgView32>();
        View->setFrameShape(QFrame::NoFrame);
        View->resize(200, 160);
        View->show();
        QVERIFY(QTest::qWaitForWindowExposed(View.get()));
    }
    void cleanup() { View.reset(); }

    void PixelMappingFollowsTheZoom() {
        View->SetCentred(false);
        View->SetImage(Gradient(64, 32));
        View->SetScale(1.0);
        QCOMPARE(View->ViewportToPicture(QPoint(5, 7)), QPoint(5, 7));
        View->SetScale(2.0);
        QCOMPARE(View->ViewportToPicture(QPoint(5, 7)), QPoint(2, 3));
        QCOMPARE(View->PictureToViewport(QPoint(3, 1)), QRect(6, 2, 2, 2));
        View->SetScale(8.0);
        QCOMPARE(View->ViewportToPicture(QPoint(7, 7)), QPoint(0, 0));
        QCOMPARE(View->ViewportToPicture(QPoint(17, 9)), QPoint(2, 1));
        QCOMPARE(View->EffectiveScale(), 8.0);
    }

    void PositionsOutsideThePictureAreReported() {
        View->SetCentred(false);
        View->SetImage(Gradient(64, 32));
        View->SetScale(2.0);
        QVERIFY(View->PicturePixelAt(QPoint(127, 63)).has_value());
        QVERIFY(!View->PicturePixelAt(QPoint(128, 10)).has_value());
        QVERIFY(!View->PicturePixelAt(QPoint(10, 64)).has_value());
        QCOMPARE(View->ViewportToPicture(QPoint(150, 10)), QPoint(75, 5));
    }

    void SmallPictureIsCentred() {
        View->SetImage(Gradient(64, 32));
        const QSize area = View->viewport()->size();
        const QPoint origin((area.width() - 128) / 2, (area.height() - 64) / 2);
        View->SetScale(2.0);
        QCOMPARE(View->PictureToViewport(QPoint(0, 0)).topLeft(), origin);
        QCOMPARE(View->ViewportToPicture(origin + QPoint(5, 5)), QPoint(2, 2));
        QVERIFY(!View->PicturePixelAt(origin - QPoint(1, 1)).has_value());
    }

    void FitKeepsProportionsAndGrowsOrShrinks() {
        View->SetScaleMode(TImgView32::ScaleMode::Fit);
        const QSize area = View->viewport()->size();
        View->SetImage(Gradient(50, 10));
        const double grow = static_cast<double>(area.width()) / 50;
        QCOMPARE(View->EffectiveScale(), grow);
        const QRect pixel = View->PictureToViewport(QPoint(49, 9));
        QCOMPARE(pixel.right(), area.width() - 1);
        QVERIFY(qAbs(pixel.width() - pixel.height()) <= 1);
        QCOMPARE(View->ViewportToPicture(pixel.center()), QPoint(49, 9));

        View->SetImage(Gradient(1000, 2000));
        const double shrink = static_cast<double>(area.height()) / 2000;
        QCOMPARE(View->EffectiveScale(), shrink);
        QCOMPARE(View->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(View->verticalScrollBar()->maximum(), 0);
        const int left = (area.width() - 80) / 2;
        QVERIFY(View->PicturePixelAt(QPoint(left, area.height() - 1)).has_value());
        QVERIFY(!View->PicturePixelAt(QPoint(left - 1, 0)).has_value());
        QCOMPARE(View->ViewportToPicture(QPoint(left + 79, area.height() - 1)), QPoint(993, 1993));
    }

    void ShrinkToFitOnlyKeepsAFittingZoom() {
        View->SetScaleMode(TImgView32::ScaleMode::ShrinkToFitOnly);
        View->SetScale(2.0);
        View->SetImage(Gradient(20, 20));
        QCOMPARE(View->EffectiveScale(), 2.0);
        View->SetImage(Gradient(400, 100));
        QCOMPARE(View->EffectiveScale(), View->viewport()->width() / 400.0);
    }

    void ScrollsToEachEdge() {
        View->SetImage(Gradient(64, 32));
        View->SetScale(8.0);
        QCoreApplication::processEvents(); // the scroll bars appear
        const QSize area = View->viewport()->size();
        View->ScrollToEdge(TImgView32::Edge::Right);
        View->ScrollToEdge(TImgView32::Edge::Bottom);
        QVERIFY(View->horizontalScrollBar()->value() > 0);
        QCOMPARE(View->ViewportToPicture(QPoint(area.width() - 1, area.height() - 1)), QPoint(63, 31));
        View->ScrollToEdge(TImgView32::Edge::Left);
        View->ScrollToEdge(TImgView32::Edge::Top);
        QCOMPARE(View->horizontalScrollBar()->value(), 0);
        QCOMPARE(View->ViewportToPicture(QPoint(0, 0)), QPoint(0, 0));
    }

    void ScalesWithoutSmoothing() {
        QImage tiny(2, 2, QImage::Format_RGB32);
        tiny.setPixel(0, 0, qRgb(255, 0, 0));
        tiny.setPixel(1, 0, qRgb(0, 255, 0));
        tiny.setPixel(0, 1, qRgb(0, 0, 255));
        tiny.setPixel(1, 1, qRgb(255, 255, 255));
        View->SetCentred(false);
        View->SetImage(tiny);
        View->SetScale(8.0);
        const QImage shown = View->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Four sharp 8 x 8 blocks, the picture ending exactly at 16 pixels.
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                QCOMPARE(QColor(shown.pixel(x, y)), QColor(tiny.pixel(x / 8, y / 8)));
        const QRgb background = View->viewport()->palette().color(QPalette::Dark).rgb();
        QCOMPARE(shown.pixel(16, 3), background);
        QCOMPARE(shown.pixel(3, 16), background);
    }

    void DrawsTheVisiblePartAfterScrolling() {
        View->SetImage(Gradient(64, 32));
        View->SetScale(8.0);
        QCoreApplication::processEvents();
        View->ScrollToEdge(TImgView32::Edge::Right);
        const QSize area = View->viewport()->size();
        const QImage shown = View->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint corner(area.width() - 1, area.height() - 1);
        QCOMPARE(QColor(shown.pixel(corner)), QColor(qRgb(63, View->ViewportToPicture(corner).y(), 7)));
    }

    void ConvertsIndexedAndDirectPictures() {
        Image indexed(3, 2, PixelFormat::Indexed8);
        indexed.ColourTable[5] = PaletteEntry{30, 20, 10, 0};
        indexed.Row(1)[2] = 5;
        const QImage fromIndexed = ToQImage(indexed);
        QCOMPARE(fromIndexed.format(), QImage::Format_Indexed8);
        QCOMPARE(fromIndexed.colorCount(), 256);
        QCOMPARE(fromIndexed.pixelIndex(2, 1), 5);
        QCOMPARE(fromIndexed.pixel(2, 1), qRgb(10, 20, 30));

        Image direct(2, 1, PixelFormat::Rgb24);
        direct.SetRgb(1, 0, MakeColour(200, 100, 50));
        const QImage fromDirect = ToQImage(direct);
        QCOMPARE(fromDirect.format(), QImage::Format_RGB888);
        QCOMPARE(fromDirect.pixel(1, 0), qRgb(200, 100, 50));
        QCOMPARE(FromQImage(fromIndexed).ColourAt(2, 1), MakeColour(10, 20, 30));
        QVERIFY(ToQImage(Image()).isNull());
    }

    void ReportsPointerPositionsInPicturePixels() {
        View->SetCentred(false);
        View->SetImage(Gradient(64, 32));
        View->SetScale(2.0);
        QSignalSpy moves(View.get(), &TImgView32::PictureMouseMove);
        QSignalSpy presses(View.get(), &TImgView32::PictureMousePress);
        SendMouse(View->viewport(), QEvent::MouseMove, QPoint(41, 21), Qt::NoButton, Qt::NoButton);
        SendMouse(View->viewport(), QEvent::MouseButtonPress, QPoint(190, 10), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves.at(0).at(0).toPoint(), QPoint(20, 10));
        QCOMPARE(moves.at(0).at(1).toBool(), true);
        QCOMPARE(presses.count(), 1);
        QCOMPARE(presses.at(0).at(1).toBool(), false);
    }

    void RubberBandKeepsItsMinimumSize() {
        View->SetCentred(false);
        View->SetImage(Gradient(64, 64));
        View->SetRubberBandEnabled(true);
        View->SetRubberBandMinimumSize(QSize(16, 16));
        QSignalSpy finished(View.get(), &TImgView32::SelectionFinished);
        QWidget* area = View->viewport();

        Drag(area, QPoint(10, 10), QPoint(50, 30));
        QCOMPARE(View->Selection(), QRect(10, 10, 41, 21));
        Drag(area, QPoint(2, 2), QPoint(5, 5));
        QCOMPARE(View->Selection(), QRect(2, 2, 16, 16));
        Drag(area, QPoint(40, 40), QPoint(30, 35));
        QCOMPARE(View->Selection(), QRect(25, 25, 16, 16));
        Drag(area, QPoint(60, 60), QPoint(62, 61)); // pushed back inside the picture
        QCOMPARE(View->Selection(), QRect(48, 48, 16, 16));
        QCOMPARE(finished.count(), 4);
        QCOMPARE(finished.last().at(0).toRect(), QRect(48, 48, 16, 16));

        View->SetRubberBandEnabled(false);
        Drag(area, QPoint(1, 1), QPoint(30, 30));
        QCOMPARE(finished.count(), 4);
    }

  private:
    static void Drag(QWidget* area, QPoint from, QPoint to) {
        SendMouse(area, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        SendMouse(area, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        SendMouse(area, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    std::unique_ptr<TImgView32> View;
};

static const test::GuiTestRegistration<ImageViewTest> imageViewRegistration;

} // namespace tavrik

#include "ImageViewTest.moc"

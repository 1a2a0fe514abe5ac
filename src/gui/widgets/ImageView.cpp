// The zoomable picture view. Only the part of the picture inside the exposed area is scaled, so holding
// a key down over a large sheet at high zoom stays smooth; the picture is converted once per change.
#include "widgets/ImageView.h"

#include "app/Error.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tavrik {

namespace {

constexpr int ScrollStep = 16;

QImage ForDisplay(const QImage& image) {
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied) return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

// Keeps a rectangle of at least the minimum size inside the picture where the picture allows it.
QRect KeptInside(QRect rect, const QSize& picture) {
    if (rect.right() >= picture.width()) rect.moveRight(picture.width() - 1);
    if (rect.bottom() >= picture.height()) rect.moveBottom(picture.height() - 1);
    if (rect.left() < 0) rect.moveLeft(0);
    if (rect.top() < 0) rect.moveTop(0);
    return rect;
}

} // namespace

QImage ToQImage(const Image& image) {
    if (image.Empty()) return QImage();
    const bool indexed = image.Format() == PixelFormat::Indexed8;
    QImage result(image.Width(), image.Height(), indexed ? QImage::Format_Indexed8 : QImage::Format_RGB888);
    if (result.isNull())
        throw Error("Not enough memory to show a picture of " + std::to_string(image.Width()) + " x " +
                    std::to_string(image.Height()) + " pixels");
    for (int32_t y = 0; y < image.Height(); ++y)
        std::memcpy(result.scanLine(y), image.Row(y), image.Stride());
    if (indexed) {
        QList<QRgb> table;
        table.reserve(static_cast<qsizetype>(image.ColourTable.size()));
        for (const PaletteEntry& entry : image.ColourTable)
            table.push_back(qRgb(entry.Red, entry.Green, entry.Blue));
        result.setColorTable(table);
    }
    return result;
}

Image FromQImage(const QImage& image) {
    if (image.isNull()) return Image(0, 0, PixelFormat::Rgb24);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Image result(rgb.width(), rgb.height(), PixelFormat::Rgb24);
    for (int32_t y = 0; y < result.Height(); ++y)
        std::memcpy(result.Row(y), rgb.constScanLine(y), result.Stride());
    return result;
}

TImgView32::TImgView32(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

void TImgView32::SetImage(const QImage& image) {
    if (!image.isNull() && image.cacheKey() == Shown.cacheKey()) return;
    Shown = image;
    Display = image.isNull() ? QImage() : ForDisplay(image);
    UpdateScrollBars();
    viewport()->update();
}

void TImgView32::SetImage(const Image& image) { SetImage(ToQImage(image)); }

void TImgView32::ClearImage() { SetImage(QImage()); }

void TImgView32::SetScale(double scale) {
    if (!(scale > 0) || scale == ZoomScale) return;
    ZoomScale = scale;
    UpdateScrollBars();
    viewport()->update();
}

void TImgView32::SetScaleMode(ScaleMode mode) {
    Mode = mode;
    const Qt::ScrollBarPolicy policy = mode == ScaleMode::Normal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    UpdateScrollBars();
    viewport()->update();
}

void TImgView32::SetCentred(bool centred) {
    Centred = centred;
    viewport()->update();
}

double TImgView32::EffectiveScale() const {
    if (Mode == ScaleMode::Normal || Shown.isNull()) return ZoomScale;
    const QSize area = viewport()->size();
    const double fit = std::min(static_cast<double>(area.width()) / Shown.width(),
                                static_cast<double>(area.height()) / Shown.height());
    if (Mode == ScaleMode::ShrinkToFitOnly && ZoomScale <= fit) return ZoomScale;
    return fit > 0 ? fit : ZoomScale;
}

QSizeF TImgView32::ScaledSize() const { return QSizeF(Shown.size()) * EffectiveScale(); }

QPointF TImgView32::Origin() const {
    const QSizeF scaled = ScaledSize();
    const QSize area = viewport()->size();
    auto axis = [&](double length, int available, const QScrollBar* bar) {
        if (length < available) return Centred ? std::floor((available - length) / 2) : 0.0;
        return -static_cast<double>(bar->value());
    };
    return QPointF(axis(scaled.width(), area.width(), horizontalScrollBar()),
                   axis(scaled.height(), area.height(), verticalScrollBar()));
}

void TImgView32::UpdateScrollBars() {
    const QSizeF scaled = ScaledSize();
    const QSize area = viewport()->size();
    const bool scrolls = Mode == ScaleMode::Normal;
    auto setUp = [&](QScrollBar* bar, double length, int available) {
        const int range = scrolls ? std::max(0, static_cast<int>(std::ceil(length)) - available) : 0;
        bar->setRange(0, range);
        bar->setPageStep(std::max(1, available));
        bar->setSingleStep(ScrollStep);
    };
    setUp(horizontalScrollBar(), scaled.width(), area.width());
    setUp(verticalScrollBar(), scaled.height(), area.height());
}

QPoint TImgView32::ViewportToPicture(QPoint viewportPosition) const {
    const double scale = EffectiveScale();
    const QPointF origin = Origin();
    // The pixel whose area holds the centre of the viewport pixel, as the painter samples it.
    return QPoint(static_cast<int>(std::floor((viewportPosition.x() + 0.5 - origin.x()) / scale)),
                  static_cast<int>(std::floor((viewportPosition.y() + 0.5 - origin.y()) / scale)));
}

std::optional<QPoint> TImgView32::PicturePixelAt(QPoint viewportPosition) const {
    const QPoint pixel = ViewportToPicture(viewportPosition);
    if (Shown.isNull() || !Shown.rect().contains(pixel)) return std::nullopt;
    return pixel;
}

QRect TImgView32::PictureToViewport(QPoint picturePixel) const {
    const double scale = EffectiveScale();
    const QPointF origin = Origin();
    auto edge = [&](int pixel, double start) { return static_cast<int>(std::lround(start + pixel * scale)); };
    const QPoint topLeft(edge(picturePixel.x(), origin.x()), edge(picturePixel.y(), origin.y()));
    const QPoint bottomRight(edge(picturePixel.x() + 1, origin.x()), edge(picturePixel.y() + 1, origin.y()));
    return QRect(topLeft, bottomRight - QPoint(1, 1));
}

void TImgView32::ScrollToEdge(Edge edge) {
    switch (edge) {
    case Edge::Left: horizontalScrollBar()->setValue(horizontalScrollBar()->minimum()); break;
    case Edge::Right: horizontalScrollBar()->setValue(horizontalScrollBar()->maximum()); break;
    case Edge::Top: verticalScrollBar()->setValue(verticalScrollBar()->minimum()); break;
    case Edge::Bottom: verticalScrollBar()->setValue(verticalScrollBar()->maximum()); break;
    }
}

ViewEdges TImgView32::EdgesShown() const {
    const QScrollBar* across = horizontalScrollBar();
    const QScrollBar* down = verticalScrollBar();
    return {across->value() == across->minimum(), across->value() == across->maximum(),
            down->value() == down->minimum(), down->value() == down->maximum()};
}

void TImgView32::SetRubberBandEnabled(bool enabled) {
    BandEnabled = enabled;
    if (!enabled) BandAnchor.reset();
}

void TImgView32::SetRubberBandMinimumSize(QSize size) { BandMinimum = size.expandedTo(QSize(1, 1)); }

void TImgView32::SetSelection(const QRect& rect) {
    BandRect = rect.normalized();
    viewport()->update();
}

void TImgView32::ClearSelection() {
    BandRect = QRect();
    BandAnchor.reset();
    viewport()->update();
}

// The rectangle from the anchor to the current pixel, both included, grown away from the anchor to
// the minimum size.
QRect TImgView32::BandFromDrag(QPoint current) const {
    const QPoint anchor = *BandAnchor;
    QRect rect(QPoint(std::min(anchor.x(), current.x()), std::min(anchor.y(), current.y())),
               QPoint(std::max(anchor.x(), current.x()), std::max(anchor.y(), current.y())));
    if (rect.width() < BandMinimum.width()) {
        if (current.x() < anchor.x())
            rect.setLeft(rect.right() - BandMinimum.width() + 1);
        else
            rect.setWidth(BandMinimum.width());
    }
    if (rect.height() < BandMinimum.height()) {
        if (current.y() < anchor.y())
            rect.setTop(rect.bottom() - BandMinimum.height() + 1);
        else
            rect.setHeight(BandMinimum.height());
    }
    return KeptInside(rect, Shown.size());
}

void TImgView32::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!Display.isNull()) DrawPicture(painter, event->rect());
    if (!BandRect.isEmpty()) DrawSelection(painter);
}

// Draws only the picture pixels that the exposed area touches.
void TImgView32::DrawPicture(QPainter& painter, const QRect& exposed) const {
    const double scale = EffectiveScale();
    const QPointF origin = Origin();
    auto first = [&](int position, double start) { return static_cast<int>(std::floor((position - start) / scale)); };
    auto last = [&](int position, double start) { return static_cast<int>(std::ceil((position - start) / scale)); };
    const int left = std::max(0, first(exposed.left(), origin.x()));
    const int top = std::max(0, first(exposed.top(), origin.y()));
    const int right = std::min(Display.width(), last(exposed.right() + 1, origin.x()));
    const int bottom = std::min(Display.height(), last(exposed.bottom() + 1, origin.y()));
    if (left >= right || top >= bottom) return;
    const QRect source(left, top, right - left, bottom - top);
    const QRectF target(origin.x() + left * scale, origin.y() + top * scale, source.width() * scale,
                        source.height() * scale);
    painter.drawImage(target, Display, source);
}

void TImgView32::DrawSelection(QPainter& painter) const {
    const QRect band(PictureToViewport(BandRect.topLeft()).topLeft(),
                     PictureToViewport(BandRect.bottomRight()).bottomRight());
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(band);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(band);
}

void TImgView32::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TImgView32::scrollContentsBy(int, int) { viewport()->update(); }

void TImgView32::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pixel = ViewportToPicture(event->position().toPoint());
    if (BandAnchor && (event->buttons() & Qt::LeftButton)) {
        const QRect dragged = BandFromDrag(pixel);
        if (dragged != BandRect) {
            BandRect = dragged;
            viewport()->update();
            emit SelectionChanging(BandRect);
        }
    }
    emit PictureMouseMove(pixel, Shown.rect().contains(pixel), event->buttons(), event->modifiers());
}

void TImgView32::mousePressEvent(QMouseEvent* event) {
    const QPoint pixel = ViewportToPicture(event->position().toPoint());
    const bool inside = !Shown.isNull() && Shown.rect().contains(pixel);
    if (BandEnabled && inside && event->button() == Qt::LeftButton) {
        BandAnchor = pixel;
        BandRect = BandFromDrag(pixel);
        viewport()->update();
        emit SelectionChanging(BandRect);
    }
    emit PictureMousePress(pixel, inside, event->button(), event->modifiers());
}

void TImgView32::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pixel = ViewportToPicture(event->position().toPoint());
    if (BandAnchor && event->button() == Qt::LeftButton) {
        BandAnchor.reset();
        emit SelectionFinished(BandRect);
    }
    emit PictureMouseRelease(pixel, Shown.rect().contains(pixel), event->button(), event->modifiers());
}

} // namespace tavrik

// TImgView32: the zoomable picture view of the ripper, map and search tabs, with nearest-neighbour
// scaling, picture-pixel pointer positions and an optional rubber-band selection.
#pragma once

#include "imageio/Image.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace tavrik {

// The picture as Qt shows it: Indexed8 keeps its 256-entry colour table, Rgb24 becomes Format_RGB888.
QImage ToQImage(const Image& image);
// A Qt picture (for instance from the clipboard) as a 24-bit Image.
Image FromQImage(const QImage& image);

struct ViewEdges {
    bool Left = true;
    bool Right = true;
    bool Top = true;
    bool Bottom = true;
};

class TImgView32 : public QAbstractScrollArea {
    Q_OBJECT

  public:
    enum class ScaleMode {
        Normal,          // at Scale(), with scroll bars when larger than the view
        Fit,             // the whole picture as large as the view allows, proportions kept
        ShrinkToFitOnly, // at Scale() when that fits, else shrunk like Fit
    };
    enum class Edge { Left, Right, Top, Bottom };

    explicit TImgView32(QWidget* parent = nullptr);

    // A picture with the same cache key as the one shown is not converted again.
    void SetImage(const QImage& image);
    void SetImage(const Image& image);
    void ClearImage();
    const QImage& Picture() const { return Shown; }

    void SetScale(double scale);
    double Scale() const { return ZoomScale; }
    void SetScaleMode(ScaleMode mode);
    ScaleMode GetScaleMode() const { return Mode; }
    // The factor the picture is drawn at now, after fitting.
    double EffectiveScale() const;
    // A picture smaller than the view is centred in it (the default), else drawn at the top left.
    void SetCentred(bool centred);

    // The picture pixel under a viewport position (may lie outside the picture), and whether it is inside.
    QPoint ViewportToPicture(QPoint viewportPosition) const;
    std::optional<QPoint> PicturePixelAt(QPoint viewportPosition) const;
    // The viewport rectangle that picture pixel (x, y) covers.
    QRect PictureToViewport(QPoint picturePixel) const;
    void ScrollToEdge(Edge edge);
    // Which edges of the picture lie at the edges of the visible area (all of them when it fits).
    ViewEdges EdgesShown() const;

    // Rubber band: press, drag and release the left button over the picture, in picture pixels.
    void SetRubberBandEnabled(bool enabled);
    bool RubberBandEnabled() const { return BandEnabled; }
    void SetRubberBandMinimumSize(QSize size);
    QSize RubberBandMinimumSize() const { return BandMinimum; }
    // The selection in picture pixels; empty when there is none.
    QRect Selection() const { return BandRect; }
    void SetSelection(const QRect& rect);
    void ClearSelection();

  signals:
    // Pointer positions in picture pixels; inside says whether the pixel lies on the picture.
    void PictureMouseMove(QPoint pixel, bool inside, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void PictureMousePress(QPoint pixel, bool inside, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void PictureMouseRelease(QPoint pixel, bool inside, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void SelectionChanging(QRect rect);
    void SelectionFinished(QRect rect);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QSizeF ScaledSize() const;
    // Where picture pixel (0, 0) lies in the viewport.
    QPointF Origin() const;
    void UpdateScrollBars();
    QRect BandFromDrag(QPoint current) const;
    void DrawPicture(QPainter& painter, const QRect& exposed) const;
    void DrawSelection(QPainter& painter) const;

    QImage Shown;
    // Shown converted once to the format the painter scales fastest.
    QImage Display;
    double ZoomScale = 1.0;
    ScaleMode Mode = ScaleMode::Normal;
    bool Centred = true;

    bool BandEnabled = false;
    QSize BandMinimum{1, 1};
    QRect BandRect;
    std::optional<QPoint> BandAnchor;
};

} // namespace tavrik

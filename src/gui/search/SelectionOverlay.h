// The search selection over the "Map Search" tab's view: its outline and handles, and the drags that move
// it by its inside or resize it by an edge or a corner, never below 16 x 16 and kept within the view.
#pragma once

#include "search/SearchImageTools.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <optional>

namespace tavrik {

class TImgView32;

// Which part of the selection a press took hold of.
enum class SelectionGrab { None, Move, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// The part under a viewport point, given the selection's rectangle in viewport pixels; edges and corners
// are taken within tolerance pixels, the inside moves.
SelectionGrab GrabAt(const QRectF& shown, QPointF point, double tolerance);

// The selection after dragging grabbed by delta image pixels from start, corrected to the view (bounds in
// screen pixels taken as image coordinates). A resize that would leave less than 16 x 16 inside the bounds
// keeps the edges at the smallest allowed size.
SelectionRect DraggedSelection(const SelectionRect& start, SelectionGrab grabbed, QPointF delta, double viewWidth,
                               double viewHeight);

class SelectionOverlay : public QWidget {
    Q_OBJECT
  public:
    // Lies over the view's viewport and edits selection, which the workspace holds.
    SelectionOverlay(TImgView32& view, std::optional<SelectionRect>& selection);

    // The selection in viewport pixels under the view's zoom and scroll.
    QRectF ShownRect() const;
    // Whether presses edit the selection (true) or pass to the view (painting).
    void SetEditing(bool editing);

  signals:
    // The user moved or resized the selection.
    void SelectionEdited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPointF Origin() const;

    TImgView32& View;
    std::optional<SelectionRect>& Selection;
    SelectionGrab Grabbed = SelectionGrab::None;
    QPointF GrabPoint;
    SelectionRect GrabStart;
};

} // namespace tavrik

// The search selection's outline, handles and mouse drags over the search view.
#include "search/SelectionOverlay.h"

#include "widgets/ImageView.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace tavrik {

namespace {

constexpr double GrabTolerance = 5;
constexpr double HandleSize = 6;

Qt::CursorShape CursorFor(SelectionGrab grab) {
    switch (grab) {
    case SelectionGrab::Move: return Qt::SizeAllCursor;
    case SelectionGrab::Left:
    case SelectionGrab::Right: return Qt::SizeHorCursor;
    case SelectionGrab::Top:
    case SelectionGrab::Bottom: return Qt::SizeVerCursor;
    case SelectionGrab::TopLeft:
    case SelectionGrab::BottomRight: return Qt::SizeFDiagCursor;
    case SelectionGrab::TopRight:
    case SelectionGrab::BottomLeft: return Qt::SizeBDiagCursor;
    case SelectionGrab::None: break;
    }
    return Qt::ArrowCursor;
}

bool MovesLeft(SelectionGrab g) {
    return g == SelectionGrab::Left || g == SelectionGrab::TopLeft || g == SelectionGrab::BottomLeft;
}
bool MovesRight(SelectionGrab g) {
    return g == SelectionGrab::Right || g == SelectionGrab::TopRight || g == SelectionGrab::BottomRight;
}
bool MovesTop(SelectionGrab g) {
    return g == SelectionGrab::Top || g == SelectionGrab::TopLeft || g == SelectionGrab::TopRight;
}
bool MovesBottom(SelectionGrab g) {
    return g == SelectionGrab::Bottom || g == SelectionGrab::BottomLeft || g == SelectionGrab::BottomRight;
}

// One axis of a resize: the dragged edge follows the pointer but stays at least the minimum size away from
// the other edge, and within 0 .. limit.
void ResizeAxis(double& low, double& high, bool movesLow, bool movesHigh, double delta, double limit) {
    if (movesLow) low = std::clamp(low + delta, 0.0, std::max(0.0, high - MinimumSelectionSize));
    if (movesHigh) high = std::max(high + delta, low + MinimumSelectionSize);
    if (movesHigh && high > limit) high = std::max(limit, low + MinimumSelectionSize);
}

} // namespace

SelectionGrab GrabAt(const QRectF& shown, QPointF point, double tolerance) {
    const bool withinX = point.x() >= shown.left() - tolerance && point.x() <= shown.right() + tolerance;
    const bool withinY = point.y() >= shown.top() - tolerance && point.y() <= shown.bottom() + tolerance;
    if (!withinX || !withinY) return SelectionGrab::None;
    const auto near = [tolerance](double value, double target) { return std::abs(value - target) <= tolerance; };
    const bool left = near(point.x(), shown.left()), right = !left && near(point.x(), shown.right());
    const bool top = near(point.y(), shown.top()), bottom = !top && near(point.y(), shown.bottom());
    if (top) return left ? SelectionGrab::TopLeft : right ? SelectionGrab::TopRight : SelectionGrab::Top;
    if (bottom) return left ? SelectionGrab::BottomLeft : right ? SelectionGrab::BottomRight : SelectionGrab::Bottom;
    if (left) return SelectionGrab::Left;
    if (right) return SelectionGrab::Right;
    return SelectionGrab::Move;
}

SelectionRect DraggedSelection(const SelectionRect& start, SelectionGrab grabbed, QPointF delta, double viewWidth,
                               double viewHeight) {
    SelectionRect rect = start;
    if (grabbed == SelectionGrab::None) return rect;
    if (grabbed == SelectionGrab::Move) {
        rect.Left += delta.x();
        rect.Right += delta.x();
        rect.Top += delta.y();
        rect.Bottom += delta.y();
        return ConstrainMovedSelection(rect, viewWidth, viewHeight);
    }
    ResizeAxis(rect.Left, rect.Right, MovesLeft(grabbed), MovesRight(grabbed), delta.x(), viewWidth);
    ResizeAxis(rect.Top, rect.Bottom, MovesTop(grabbed), MovesBottom(grabbed), delta.y(), viewHeight);
    return ConstrainResizedSelection(rect, std::max(viewWidth, rect.Right), std::max(viewHeight, rect.Bottom));
}

SelectionOverlay::SelectionOverlay(TImgView32& view, std::optional<SelectionRect>& selection)
    : QWidget(view.viewport()), View(view), Selection(selection) {
    setObjectName("SearchSelectionOverlay");
    setMouseTracking(true);
    setGeometry(view.viewport()->rect());
    view.viewport()->installEventFilter(this);
}

void SelectionOverlay::SetEditing(bool editing) {
    setAttribute(Qt::WA_TransparentForMouseEvents, !editing);
    if (!editing) unsetCursor();
}

QPointF SelectionOverlay::Origin() const { return View.PictureToViewport(QPoint(0, 0)).topLeft(); }

QRectF SelectionOverlay::ShownRect() const {
    if (!Selection) return {};
    const double scale = View.EffectiveScale();
    const QPointF origin = Origin();
    return QRectF(QPointF(origin.x() + Selection->Left * scale, origin.y() + Selection->Top * scale),
                  QPointF(origin.x() + Selection->Right * scale, origin.y() + Selection->Bottom * scale));
}

bool SelectionOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == View.viewport() && event->type() == QEvent::Resize) setGeometry(View.viewport()->rect());
    return QWidget::eventFilter(watched, event);
}

void SelectionOverlay::paintEvent(QPaintEvent*) {
    if (!Selection) return;
    QPainter painter(this);
    const QRectF shown = ShownRect().adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawRect(shown);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(shown);
    const std::array<QPointF, 8> handles{shown.topLeft(),
                                         shown.topRight(),
                                         shown.bottomLeft(),
                                         shown.bottomRight(),
                                         QPointF(shown.center().x(), shown.top()),
                                         QPointF(shown.center().x(), shown.bottom()),
                                         QPointF(shown.left(), shown.center().y()),
                                         QPointF(shown.right(), shown.center().y())};
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    for (const QPointF& handle : handles)
        painter.drawRect(QRectF(handle - QPointF(HandleSize / 2, HandleSize / 2), QSizeF(HandleSize, HandleSize)));
}

void SelectionOverlay::mousePressEvent(QMouseEvent* event) {
    const SelectionGrab grab = Selection ? GrabAt(ShownRect(), event->position(), GrabTolerance) : SelectionGrab::None;
    if (event->button() != Qt::LeftButton || grab == SelectionGrab::None) {
        event->ignore();
        return;
    }
    Grabbed = grab;
    GrabPoint = event->position();
    GrabStart = *Selection;
}

void SelectionOverlay::mouseMoveEvent(QMouseEvent* event) {
    if (Grabbed == SelectionGrab::None) {
        setCursor(CursorFor(Selection ? GrabAt(ShownRect(), event->position(), GrabTolerance) : SelectionGrab::None));
        event->ignore();
        return;
    }
    const double scale = View.EffectiveScale();
    const QPointF delta = (event->position() - GrabPoint) / scale;
    const SelectionRect dragged = DraggedSelection(GrabStart, Grabbed, delta, View.width(), View.height());
    if (dragged == *Selection) return;
    Selection = dragged;
    update();
    emit SelectionEdited();
}

void SelectionOverlay::mouseReleaseEvent(QMouseEvent* event) {
    if (Grabbed == SelectionGrab::None) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::LeftButton) Grabbed = SelectionGrab::None;
}

} // namespace tavrik

// The palette widget: cells laid out left to right and top to bottom, as many per row as fit.
#include "widgets/ColorPalette.h"

#include "app/IntegerText.h"
#include "palette/PaletteDisplay.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace tavrik {

namespace {

constexpr int DesignSize = 128;

QColor ToQColor(Colour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

Colour ColourTextValue(const QString& text) {
    const std::optional<int32_t> value = ParseIntegerText(text.toStdString());
    return value ? static_cast<Colour>(*value) & 0xFFFFFF : 0;
}

} // namespace

TmbColorPalette::TmbColorPalette(QWidget* parent)
    : QWidget(parent), Format(QString::fromUtf8(PaletteHintFormat.data(), PaletteHintFormat.size())) {
    resize(DesignSize, DesignSize);
    setMouseTracking(true);
}

void TmbColorPalette::SetColours(const QStringList& colours) {
    ColourTexts = colours;
    ParseColours();
}

void TmbColorPalette::SetColours(const std::vector<std::string>& colours) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(colours.size()));
    for (const std::string& colour : colours)
        texts.push_back(QString::fromStdString(colour));
    SetColours(texts);
}

void TmbColorPalette::AddColour(const QString& colour) {
    ColourTexts.push_back(colour);
    Values.push_back(ColourTextValue(colour));
    update();
}

void TmbColorPalette::ClearColours() { SetColours(QStringList()); }

void TmbColorPalette::Show(const PaletteDisplay& display) {
    SetColours(display.Colours);
    SetCellSize(display.CellSize);
}

void TmbColorPalette::ParseColours() {
    Values.clear();
    Values.reserve(static_cast<size_t>(ColourTexts.size()));
    for (const QString& text : ColourTexts)
        Values.push_back(ColourTextValue(text));
    HotCell = -1;
    update();
}

void TmbColorPalette::SetCellSize(int size) {
    Cell = std::max(1, size);
    update();
}

int TmbColorPalette::CellsPerRow() const { return std::max(1, width() / Cell); }

int TmbColorPalette::CellAt(QPoint position) const {
    if (position.x() < 0 || position.y() < 0) return -1;
    const int column = position.x() / Cell;
    if (column >= CellsPerRow()) return -1;
    const qint64 index = static_cast<qint64>(position.y() / Cell) * CellsPerRow() + column;
    return index < Count() ? static_cast<int>(index) : -1;
}

Colour TmbColorPalette::ColourOf(int index) const {
    if (index < 0 || index >= static_cast<int>(Values.size())) return 0;
    return Values[static_cast<size_t>(index)];
}

QRect TmbColorPalette::CellRect(int index) const {
    return QRect((index % CellsPerRow()) * Cell, (index / CellsPerRow()) * Cell, Cell, Cell);
}

void TmbColorPalette::SetHintFormat(const QString& format) { Format = format; }

QString TmbColorPalette::HintFor(int index) const {
    if (index < 0 || index >= Count()) return QString();
    const std::string hint = FormatPaletteHint(Format.toStdString(), ColourOf(index));
    return QString::fromStdString(hint).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

bool TmbColorPalette::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int cell = CellAt(help->pos());
    if (cell < 0) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), HintFor(cell), this, CellRect(cell));
    }
    return true;
}

void TmbColorPalette::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor border = palette().color(QPalette::Dark);
    for (int i = 0; i < Count(); ++i) {
        const QRect cell = CellRect(i);
        painter.fillRect(cell, ToQColor(Values[static_cast<size_t>(i)]));
        painter.setPen(border);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
    if (HotCell >= 0 && HotCell < Count() && Cell > 4) {
        painter.setPen(Qt::white);
        painter.drawRect(CellRect(HotCell).adjusted(1, 1, -2, -2));
    }
}

void TmbColorPalette::SetHotCell(int cell) {
    if (cell == HotCell) return;
    HotCell = cell;
    update();
}

void TmbColorPalette::mouseMoveEvent(QMouseEvent* event) {
    PointerCell = CellAt(event->position().toPoint());
    SetHotCell(PointerCell);
}

void TmbColorPalette::mousePressEvent(QMouseEvent* event) {
    PointerCell = CellAt(event->position().toPoint());
    emit CellClicked(PointerCell, event->button());
}

// The pointer cell stays: the menu that covers the widget must still know the cell it opened on.
void TmbColorPalette::leaveEvent(QEvent*) { SetHotCell(-1); }

void TmbColorPalette::contextMenuEvent(QContextMenuEvent* event) {
    PointerCell = CellAt(event->pos());
    bool suppress = false;
    emit ContextPopup(event->pos(), &suppress);
    if (!suppress && Menu) Menu->popup(event->globalPos());
    event->accept();
}

} // namespace tavrik

// TmbColorPalette: the palette widget, a list of colours drawn as square cells with a hint over each,
// and the popup menu that a right click opens unless the program suppresses it.
#pragma once

#include "app/Colour.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

class QMenu;

namespace tavrik {

struct PaletteDisplay;

class TmbColorPalette : public QWidget {
    Q_OBJECT

  public:
    explicit TmbColorPalette(QWidget* parent = nullptr);

    // Colour texts: a Colour ($00BBGGRR) in decimal, or "$" and the Colour in hexadecimal. A text that
    // is no number shows black.
    void SetColours(const QStringList& colours);
    void SetColours(const std::vector<std::string>& colours);
    void AddColour(const QString& colour);
    void ClearColours();
    const QStringList& Colours() const { return ColourTexts; }
    int Count() const { return static_cast<int>(ColourTexts.size()); }
    // The colours and cell size worked out for a colour list.
    void Show(const PaletteDisplay& display);

    void SetCellSize(int size);
    int CellSize() const { return Cell; }
    int CellsPerRow() const;

    // The cell under a widget position; -1 outside the cells or past the last colour.
    int CellAt(QPoint position) const;
    // The cell under the pointer at its last move or click over the widget (-1 when none).
    int CellUnderPointer() const { return PointerCell; }
    // The colour of a cell; black for an index outside the list.
    Colour ColourOf(int index) const;
    QRect CellRect(int index) const;

    // %r, %g, %b: channels in decimal; %hex: RRGGBB. A carriage return starts a new line.
    void SetHintFormat(const QString& format);
    const QString& HintFormat() const { return Format; }
    // The hint over a cell, lines separated by "\n"; empty for no cell.
    QString HintFor(int index) const;

    // The menu a right click opens; the widget does not own it.
    void SetPopupMenu(QMenu* menu) { Menu = menu; }
    QMenu* PopupMenu() const { return Menu; }

  signals:
    // Sent on a right click before the menu opens; a receiver sets *suppress to keep it closed.
    // Connect directly (the default within the GUI thread).
    void ContextPopup(QPoint position, bool* suppress);
    void CellClicked(int index, Qt::MouseButton button);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void SetHotCell(int cell);
    void ParseColours();

    QStringList ColourTexts;
    std::vector<Colour> Values;
    int Cell = 16;
    QString Format;
    QMenu* Menu = nullptr;
    int PointerCell = -1;
    int HotCell = -1;
};

} // namespace tavrik

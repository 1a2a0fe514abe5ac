// The "Palette" section of the "Tile Ripper" tab: the header bar, the "ECS", "AGA" and "Copperlist"
// buttons and the palette widget with its popup menu; it also serves the main menu's "Palette" items.
#pragma once

#include "workspace/DataFileLoader.h"
#include "app/Colour.h"
#include "palette/PalettePopup.h"

#include <QPoint>
#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QMenu;

namespace tavrik {

class TForm1;
class TmbColorPalette;

class PalettePanel : public QWidget {
    Q_OBJECT
  public:
    // What the panel asks of the tab that holds it.
    struct Actions {
        std::function<void()> Rip;              // re-rip so a palette change shows at once
        std::function<void()> CopperlistAction; // the "Copperlist" button (the copper list walk)
    };

    PalettePanel(TForm1& form, Actions actions, QWidget* parent);

    // Shows the working palette's colour list in mbColorPaletteGfx (trailing repeats trimmed).
    void DisplayWorkingPalette();
    // The common ending of every palette change: display, push the colours into the images, rip.
    void FinishPaletteChange();

    void ButtonECSPaletteClick();
    void ButtonAGAPaletteClick();
    void mnuDefaultPaletteClick();
    // After a data file was loaded: the AGA action, else the ECS action, as the load found.
    void ApplySavedPalette(SavedPalette palette);
    // After a copper list walk: colour list := the 32 colours, entries 0 to 31, then the common ending.
    void SetCopperPalette(const std::array<PaletteEntry, 32>& colours);

    TmbColorPalette* PaletteWidget() const { return Widget; }

    // The palette popup menu (PopupMenuPalette, shared with the search colour strip).
    void mbColorPaletteGfxContextPopup(QPoint position, bool* suppress);
    void PopupMenuPalettePopup();
    void mnuColourRedClick(Colour colour);
    void mnuColourCustomClick();
    void mnuSetAsSearchBackgroundClick();
    const PalettePopupState& PopupState() const { return Popup; }

    // The main menu's "Palette" items.
    void mnuSwapColoursClick(int32_t count);
    void mnuDuplicateColoursClick(int32_t count);
    void mnuExtraHalfBriteColoursClick();
    void mnuC64PaletteClick();
    void mnuBlackAndWhiteClick();
    void mnuLoadPaletteFromBinaryFileClick();

  private:
    void BuildControls();
    void ConnectButtons();
    void ConnectPopupMenu();
    void ConnectPaletteMenu();
    bool TabActive(const char* pageName) const;
    void SetSearchBackground(Colour colour, const std::string& stripText);

    TForm1& Form;
    Actions Callbacks;
    TmbColorPalette* Widget = nullptr;
    QMenu* Menu = nullptr;
    PalettePopupState Popup;
};

} // namespace tavrik

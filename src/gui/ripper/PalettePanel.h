// The "Palette" section of the "Tile Ripper" tab: the header bar, the "ECS", "AGA" and "Copperlist"
// buttons and the palette widget with its popup menu; the window connects the main menu's "Palette" items
// to its handlers.
#pragma once

#include "app/Colour.h"
#include "app/Dialogs.h"
#include "palette/PalettePopup.h"
#include "workspace/DataFileLoader.h"
#include "workspace/Workspace.h"

#include <QPoint>
#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QMenu;

namespace tavrik {

class TmbColorPalette;

// Where the palette popup menu was opened: its colour items change the palette on the "Tile Ripper" tab and
// the search background elsewhere; "Custom..." asks for the search background on the "Map Search" tab.
enum class PaletteMenuPlace { RipperTab, SearchTab, Elsewhere };

struct PalettePanelServices {
    Workspace& Work;
    Dialogs& UserDialogs;
    QMenu* Menu = nullptr; // PopupMenuPalette, shared with the search colour strip
    std::function<PaletteMenuPlace()> Place;
    std::function<void()> Rip;              // re-rip so a palette change shows at once
    std::function<void()> CopperlistAction; // the "Copperlist" button (the copper list walk)
};

class PalettePanel : public QWidget {
    Q_OBJECT
  public:
    PalettePanel(const PalettePanelServices& services, QWidget* parent);

    // Shows the working palette's colour list in mbColorPaletteGfx (trailing repeats trimmed).
    void DisplayWorkingPalette();

    void ButtonECSPaletteClick();
    void ButtonAGAPaletteClick();
    void mnuDefaultPaletteClick();
    // After a data file was loaded: the AGA action, else the ECS action, as the load found.
    void ApplySavedPalette(SavedPalette palette);
    // After a copper list walk: colour list := the 32 colours, entries 0 to 31, then the common ending.
    void SetCopperPalette(const std::array<PaletteEntry, 32>& colours);

    TmbColorPalette* PaletteWidget() const { return Widget; }

    // The palette popup menu.
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

  signals:
    // The search background became colour; the search colour strip shows stripText as its single colour.
    void SearchBackgroundChanged(const QString& stripText);

  private:
    void BuildControls();
    void ConnectButtons();
    void ConnectPopupMenu();
    // The common ending of every palette change: change, display, push into the images, rip.
    void ChangePalette(const std::function<void(WorkingPalette&)>& change);
    void SetSearchBackground(Colour colour, const std::string& stripText);
    QAction* MenuItem(const char* name) const;

    PalettePanelServices Services;
    TmbColorPalette* Widget = nullptr;
    PalettePopupState Popup;
};

} // namespace tavrik

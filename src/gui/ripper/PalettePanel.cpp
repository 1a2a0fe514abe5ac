// The palette section of the "Tile Ripper" tab and its popup menu: each handler changes the working
// palette through one palette change, which shows the palette, pushes it into the images and rips.
#include "ripper/PalettePanel.h"

#include "app/IntegerText.h"
#include "palette/BinaryPalette.h"
#include "palette/PaletteDisplay.h"
#include "palette/PaletteOperations.h"
#include "platform/HandlerGuard.h"
#include "widgets/ColorPalette.h"
#include "widgets/QtText.h"
#include "workspace/Rip.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrik {

namespace {

constexpr int PaletteWidgetSize = 128;
constexpr int PaletteHelpContext = 1003;

QPushButton* AddButton(QWidget* parent, QLayout* layout, const char* name, const char* caption, const char* hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setProperty("helpContext", PaletteHelpContext);
    layout->addWidget(button);
    return button;
}

} // namespace

PalettePanel::PalettePanel(const PalettePanelServices& services, QWidget* parent)
    : QWidget(parent), Services(services) {
    setObjectName("PalettePanel");
    BuildControls();
    ConnectButtons();
    ConnectPopupMenu();
}

void PalettePanel::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* header = new QLabel("Palette", this);
    header->setObjectName("Panel1");
    header->setAlignment(Qt::AlignCenter);
    header->setFrameStyle(QFrame::Panel | QFrame::Raised);
    layout->addWidget(header);

    auto* buttons = new QHBoxLayout;
    AddButton(this, buttons, "ButtonECSPalette", "ECS", "Extract ECS palette from WinUAE uncompressed savestate");
    AddButton(this, buttons, "ButtonAGAPalette", "AGA", "Extract AGA palette from WinUAE uncompressed savestate");
    AddButton(this, buttons, "ButtonCopperlistPalette", "Copperlist", "");
    layout->addLayout(buttons);

    Widget = new TmbColorPalette(this);
    Widget->setObjectName("mbColorPaletteGfx");
    Widget->setFixedSize(PaletteWidgetSize, PaletteWidgetSize);
    Widget->SetHintFormat(QText(PaletteHintFormat));
    layout->addWidget(Widget, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

void PalettePanel::ConnectButtons() {
    const auto connectButton = [this](const char* name, std::function<void()> handler) {
        ConnectHandler(findChild<QPushButton*>(name), &QPushButton::clicked, this, Services.UserDialogs,
                       std::move(handler));
    };
    connectButton("ButtonECSPalette", [this] { ButtonECSPaletteClick(); });
    connectButton("ButtonAGAPalette", [this] { ButtonAGAPaletteClick(); });
    connectButton("ButtonCopperlistPalette", [this] { Services.CopperlistAction(); });
}

QAction* PalettePanel::MenuItem(const char* name) const { return Services.Menu->findChild<QAction*>(name); }

void PalettePanel::ConnectPopupMenu() {
    QMenu* menu = Services.Menu;
    Widget->SetPopupMenu(menu);
    connect(Widget, &TmbColorPalette::ContextPopup, this, [this](QPoint position, bool* suppress) {
        RunHandler(Services.UserDialogs, [&] { mbColorPaletteGfxContextPopup(position, suppress); });
    });
    ConnectHandler(menu, &QMenu::aboutToShow, this, Services.UserDialogs, [this] { PopupMenuPalettePopup(); });
    const auto connectItem = [this](QAction* item, std::function<void()> handler) {
        item->setEnabled(true);
        ConnectHandler(item, &QAction::triggered, this, Services.UserDialogs, std::move(handler));
    };
    for (const PaletteMenuColour& colour : PaletteMenuColours)
        connectItem(MenuItem(qPrintable("mnuColour" + QText(colour.Caption))),
                    [this, value = colour.Value] { mnuColourRedClick(value); });
    connectItem(MenuItem("mnuColourCustom"), [this] { mnuColourCustomClick(); });
    connectItem(MenuItem("mnuSetAsSearchBackground"), [this] { mnuSetAsSearchBackgroundClick(); });
}

// ---- Showing a change ----

void PalettePanel::DisplayWorkingPalette() {
    Widget->Show(DisplayColourPalette(Services.Work.Palette.Colours, Widget->width(), Widget->CellSize()));
}

void PalettePanel::ChangePalette(const std::function<void(WorkingPalette&)>& change) {
    change(Services.Work.Palette);
    DisplayWorkingPalette();
    ApplyPalette(Services.Work);
    Services.Rip();
}

// ---- Palette sources ----

void PalettePanel::ButtonECSPaletteClick() { ApplySavedPalette(SavedPalette::Ecs); }

void PalettePanel::ButtonAGAPaletteClick() { ApplySavedPalette(SavedPalette::Aga); }

void PalettePanel::ApplySavedPalette(SavedPalette palette) {
    if (palette == SavedPalette::None) return;
    tavrik::ApplySavedPalette(Services.Work, palette);
    ChangePalette([](WorkingPalette&) {});
}

void PalettePanel::SetCopperPalette(const std::array<PaletteEntry, 32>& colours) {
    ChangePalette([&](WorkingPalette& palette) { SetPaletteEntries(palette, colours); });
}

void PalettePanel::mnuDefaultPaletteClick() { ChangePalette(DefaultPalette); }

void PalettePanel::mnuC64PaletteClick() { ChangePalette(C64Palette); }

void PalettePanel::mnuBlackAndWhiteClick() { ChangePalette(BlackAndWhite); }

void PalettePanel::mnuLoadPaletteFromBinaryFileClick() {
    const auto chosen = Services.UserDialogs.OpenFile({BinaryPaletteDialogTitle, BinaryPaletteDialogFilter, "", ""});
    if (!chosen) return;
    ChangePalette([&](WorkingPalette& palette) { LoadPaletteFromBinaryFile(palette, *chosen); });
}

// ---- Rearranging ----

void PalettePanel::mnuSwapColoursClick(int32_t count) {
    ChangePalette([count](WorkingPalette& palette) { SwapColours(palette, count); });
}

void PalettePanel::mnuDuplicateColoursClick(int32_t count) {
    ChangePalette([count](WorkingPalette& palette) { DuplicateColours(palette, count); });
}

void PalettePanel::mnuExtraHalfBriteColoursClick() { ChangePalette(ExtraHalfBrite); }

// ---- The popup menu ----

void PalettePanel::mbColorPaletteGfxContextPopup(QPoint position, bool* suppress) {
    const bool opens = OpenPalettePopup(Services.Work.Palette, Widget->CellAt(position), Popup);
    if (suppress) *suppress = !opens;
}

void PalettePanel::PopupMenuPalettePopup() {
    const bool onRipperTab = Services.Place() == PaletteMenuPlace::RipperTab;
    for (const char* name : {"mnuPopupMenuPaletteDivider", "mnuSetAsSearchBackground"})
        MenuItem(name)->setVisible(onRipperTab);
}

void PalettePanel::SetSearchBackground(Colour colour, const std::string& stripText) {
    Services.Work.SearchBackgroundColour = colour;
    emit SearchBackgroundChanged(QText(stripText));
}

void PalettePanel::mnuColourRedClick(Colour colour) {
    if (Services.Place() != PaletteMenuPlace::RipperTab) {
        SetSearchBackground(colour, DollarHex(colour));
        return;
    }
    // The menu opens only over a cell of the colour list, so a cell outside it means no cell.
    if (Popup.PopupCell < 0 || Popup.PopupCell >= Services.Work.Palette.Colours.Count()) return;
    ChangePalette([&](WorkingPalette& palette) { SetCellColour(palette, Popup.PopupCell, colour); });
}

void PalettePanel::mnuColourCustomClick() {
    Workspace& ws = Services.Work;
    Dialogs& dialogs = Services.UserDialogs;
    if (Services.Place() == PaletteMenuPlace::SearchTab) {
        const auto answer =
            dialogs.InputBox(CustomColourTitle, CustomColourPrompt, CustomColourInitialText(ws.SearchBackgroundColour));
        if (!answer) return;
        if (const auto colour = CustomColourAnswer(*answer))
            SetSearchBackground(*colour, CustomColourAnswerText(*answer));
        return;
    }
    const int32_t cell = Widget->CellUnderPointer();
    if (cell < 0 || cell >= static_cast<int32_t>(ws.Palette.Entries.size())) return;
    const auto answer =
        dialogs.InputBox(CustomColourTitle, CustomColourPrompt, CustomColourInitialText(Widget->ColourOf(cell)));
    if (!answer) return;
    const auto colour = CustomColourAnswer(*answer);
    if (!colour) return;
    ChangePalette([&](WorkingPalette& palette) { SetCellColour(palette, cell, *colour); });
}

void PalettePanel::mnuSetAsSearchBackgroundClick() {
    if (Popup.PopupCell < 0 || Popup.PopupCell >= static_cast<int32_t>(Services.Work.Palette.Entries.size())) return;
    SetSearchBackground(Popup.PopupColour, DollarHex(Popup.PopupColour));
}

} // namespace tavrik

// The palette section of the "Tile Ripper" tab, its popup menu and the main menu's "Palette" items:
// each handler changes the working palette through the palette operations and ends in the common ending.
#include "PalettePanel.h"

#include "ColorPalette.h"
#include "Unit1.h"
#include "app/Error.h"
#include "app/IntegerText.h"
#include "palette/BinaryPalette.h"
#include "palette/PaletteDisplay.h"
#include "palette/PaletteOperations.h"
#include "platform/HandlerGuard.h"
#include "workspace/Rip.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tavrik {

namespace {

constexpr int PaletteWidgetSize = 128;
constexpr int PaletteHelpContext = 1003;
constexpr int SwatchSize = 12;
constexpr std::array<int32_t, 4> SwapCounts{4, 8, 16, 32};
constexpr std::array<int32_t, 6> DuplicateCounts{4, 8, 16, 32, 64, 128};

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QPushButton* AddButton(QWidget* parent, QLayout* layout, const char* name, const char* caption, const char* hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setProperty("helpContext", PaletteHelpContext);
    layout->addWidget(button);
    return button;
}

QIcon Swatch(Colour colour) {
    QPixmap pixmap(SwatchSize, SwatchSize);
    pixmap.fill(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    return QIcon(pixmap);
}

} // namespace

PalettePanel::PalettePanel(TForm1& form, Actions actions, QWidget* parent)
    : QWidget(parent), Form(form), Callbacks(std::move(actions)) {
    setObjectName("PalettePanel");
    BuildControls();
    ConnectButtons();
    ConnectPopupMenu();
    ConnectPaletteMenu();
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
    Widget->SetHintFormat(Text(PaletteHintFormat));
    layout->addWidget(Widget, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

void PalettePanel::ConnectButtons() {
    Dialogs& dialogs = Form.UserDialogs();
    const auto connectButton = [&](const char* name, std::function<void()> handler) {
        ConnectHandler(findChild<QPushButton*>(name), &QPushButton::clicked, this, dialogs, std::move(handler));
    };
    connectButton("ButtonECSPalette", [this] { ButtonECSPaletteClick(); });
    connectButton("ButtonAGAPalette", [this] { ButtonAGAPaletteClick(); });
    connectButton("ButtonCopperlistPalette", [this] {
        if (Callbacks.CopperlistAction) Callbacks.CopperlistAction();
    });
}

void PalettePanel::ConnectPopupMenu() {
    Menu = Form.findChild<QMenu*>("PopupMenuPalette");
    if (!Menu) throw Error("The main window has no popup menu PopupMenuPalette");
    Widget->SetPopupMenu(Menu);
    connect(Widget, &TmbColorPalette::ContextPopup, this, [this](QPoint position, bool* suppress) {
        RunHandler(Form.UserDialogs(), [&] { mbColorPaletteGfxContextPopup(position, suppress); });
    });
    ConnectHandler(Menu, &QMenu::aboutToShow, this, Form.UserDialogs(), [this] { PopupMenuPalettePopup(); });

    for (const PaletteMenuColour& item : PaletteMenuColours) {
        const QString name = "mnuColour" + Text(item.Caption);
        if (auto* action = Form.findChild<QAction*>(name); action && action->icon().isNull())
            action->setIcon(Swatch(item.Value));
        Form.ConnectMenuItem(name, [this, colour = item.Value] { mnuColourRedClick(colour); });
    }
    Form.ConnectMenuItem("mnuColourCustom", [this] { mnuColourCustomClick(); });
    Form.ConnectMenuItem("mnuSetAsSearchBackground", [this] { mnuSetAsSearchBackgroundClick(); });
}

void PalettePanel::ConnectPaletteMenu() {
    for (const int32_t n : SwapCounts)
        Form.ConnectMenuItem(QString("mnuSwap%1Colours").arg(n), [this, n] { mnuSwapColoursClick(n); });
    Form.ConnectMenuItem("mnuDefaultPalette", [this] { mnuDefaultPaletteClick(); });
    Form.ConnectMenuItem("mnuLoadPaletteFromBinaryFile", [this] { mnuLoadPaletteFromBinaryFileClick(); });
    Form.ConnectMenuItem("mnuBlackAndWhite", [this] { mnuBlackAndWhiteClick(); });
    for (const int32_t n : DuplicateCounts)
        Form.ConnectMenuItem(QString("mnuDuplicate%1Colours").arg(n), [this, n] { mnuDuplicateColoursClick(n); });
    Form.ConnectMenuItem("mnuExtraHalfBriteColours", [this] { mnuExtraHalfBriteColoursClick(); });
    Form.ConnectMenuItem("mnuC64Palette", [this] { mnuC64PaletteClick(); });
}

// ---- Showing a change ----

void PalettePanel::DisplayWorkingPalette() {
    Widget->Show(DisplayColourPalette(Form.Work().Palette.Colours, Widget->width(), Widget->CellSize()));
}

void PalettePanel::FinishPaletteChange() {
    DisplayWorkingPalette();
    ApplyPalette(Form.Work());
    if (Callbacks.Rip) Callbacks.Rip();
}

// ---- Palette sources ----

void PalettePanel::ButtonECSPaletteClick() { ApplySavedPalette(SavedPalette::Ecs); }

void PalettePanel::ButtonAGAPaletteClick() { ApplySavedPalette(SavedPalette::Aga); }

void PalettePanel::ApplySavedPalette(SavedPalette palette) {
    if (palette == SavedPalette::None) return;
    tavrik::ApplySavedPalette(Form.Work(), palette);
    FinishPaletteChange();
}

void PalettePanel::SetCopperPalette(const std::array<PaletteEntry, 32>& colours) {
    SetPaletteEntries(Form.Work().Palette, colours);
    FinishPaletteChange();
}

void PalettePanel::mnuDefaultPaletteClick() {
    DefaultPalette(Form.Work().Palette);
    FinishPaletteChange();
}

void PalettePanel::mnuC64PaletteClick() {
    C64Palette(Form.Work().Palette);
    FinishPaletteChange();
}

void PalettePanel::mnuBlackAndWhiteClick() {
    BlackAndWhite(Form.Work().Palette);
    FinishPaletteChange();
}

void PalettePanel::mnuLoadPaletteFromBinaryFileClick() {
    const auto chosen = Form.UserDialogs().OpenFile({BinaryPaletteDialogTitle, BinaryPaletteDialogFilter, "", ""});
    if (!chosen) return;
    LoadPaletteFromBinaryFile(Form.Work().Palette, *chosen);
    FinishPaletteChange();
}

// ---- Rearranging ----

void PalettePanel::mnuSwapColoursClick(int32_t count) {
    SwapColours(Form.Work().Palette, count);
    FinishPaletteChange();
}

void PalettePanel::mnuDuplicateColoursClick(int32_t count) {
    DuplicateColours(Form.Work().Palette, count);
    FinishPaletteChange();
}

void PalettePanel::mnuExtraHalfBriteColoursClick() {
    ExtraHalfBrite(Form.Work().Palette);
    FinishPaletteChange();
}

// ---- The popup menu ----

bool PalettePanel::TabActive(const char* pageName) const {
    const QWidget* page = Form.PageControl()->currentWidget();
    return page && page->objectName() == pageName;
}

void PalettePanel::mbColorPaletteGfxContextPopup(QPoint position, bool* suppress) {
    const bool opens = OpenPalettePopup(Form.Work().Palette, Widget->CellAt(position), Popup);
    if (suppress) *suppress = !opens;
}

void PalettePanel::PopupMenuPalettePopup() {
    const bool onRipperTab = TabActive("TabSheetGfx");
    for (const char* name : {"mnuPopupMenuPaletteDivider", "mnuSetAsSearchBackground"})
        if (auto* action = Form.findChild<QAction*>(name)) action->setVisible(onRipperTab);
}

// The search colour strip of the "Map Search" tab shows the search background as its single colour.
void PalettePanel::SetSearchBackground(Colour colour, const std::string& stripText) {
    Form.Work().SearchBackgroundColour = colour;
    if (auto* strip = Form.findChild<TmbColorPalette*>("mbColorPaletteSearch"))
        strip->SetColours(QStringList{QString::fromStdString(stripText)});
}

void PalettePanel::mnuColourRedClick(Colour colour) {
    if (!TabActive("TabSheetGfx")) {
        SetSearchBackground(colour, DollarHex(colour));
        return;
    }
    // The menu opens only over a cell of the colour list, so a cell outside it means no cell.
    if (Popup.PopupCell < 0 || Popup.PopupCell >= Form.Work().Palette.Colours.Count()) return;
    SetCellColour(Form.Work().Palette, Popup.PopupCell, colour);
    FinishPaletteChange();
}

void PalettePanel::mnuColourCustomClick() {
    Workspace& ws = Form.Work();
    if (TabActive("TabSheetSearch")) {
        const auto answer = Form.UserDialogs().InputBox(CustomColourTitle, CustomColourPrompt,
                                                        CustomColourInitialText(ws.SearchBackgroundColour));
        if (!answer) return;
        if (const auto colour = CustomColourAnswer(*answer))
            SetSearchBackground(*colour, CustomColourAnswerText(*answer));
        return;
    }
    const int32_t cell = Widget->CellUnderPointer();
    if (cell < 0 || cell >= static_cast<int32_t>(ws.Palette.Entries.size())) return;
    const auto answer = Form.UserDialogs().InputBox(CustomColourTitle, CustomColourPrompt,
                                                    CustomColourInitialText(Widget->ColourOf(cell)));
    if (!answer) return;
    const auto colour = CustomColourAnswer(*answer);
    if (!colour) return;
    SetCellColour(ws.Palette, cell, *colour);
    FinishPaletteChange();
}

void PalettePanel::mnuSetAsSearchBackgroundClick() {
    if (Popup.PopupCell < 0 || Popup.PopupCell >= static_cast<int32_t>(Form.Work().Palette.Entries.size())) return;
    SetSearchBackground(Popup.PopupColour, DollarHex(Popup.PopupColour));
}

} // namespace tavrik

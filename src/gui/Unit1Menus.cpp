// TForm1's main menu and popup menus, and what each item is connected to: the window's own commands, the
// "Tile Ripper" page's grid, keyboard and preset handlers and its palette panel's "Palette" handlers.
#include "Unit1.h"

#include "app/Error.h"
#include "map/MapItems.h"
#include "map/MapPage.h"
#include "map/MapRipper.h"
#include "palette/PalettePopup.h"
#include "platform/HandlerGuard.h"
#include "ripper/PalettePanel.h"
#include "ripper/RipperPage.h"
#include "widgets/QtText.h"
#include "widgets/Swatch.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <initializer_list>

namespace tavrik {

namespace {

// One entry of a menu: an item (caption, optional shortcut) or, with the caption "-", a separator.
struct MenuEntry {
    const char* Name;
    const char* Caption;
    const char* Shortcut = "";
};

QAction* AddEntry(QMenu* menu, const MenuEntry& entry) {
    QAction* action = QString(entry.Caption) == "-" ? menu->addSeparator() : menu->addAction(entry.Caption);
    action->setObjectName(entry.Name);
    if (*entry.Shortcut != '\0') action->setShortcut(QKeySequence(entry.Shortcut));
    // Enabled once its handler is connected (ConnectMenuItem).
    if (!action->isSeparator()) action->setEnabled(false);
    return action;
}

QMenu* AddMenu(QWidget* owner, QMenuBar* bar, const char* name, const char* caption,
               std::initializer_list<MenuEntry> entries) {
    auto* menu = new QMenu(caption, owner);
    menu->setObjectName(name);
    for (const MenuEntry& entry : entries)
        AddEntry(menu, entry);
    if (bar) bar->addMenu(menu);
    return menu;
}

// A submenu item: the submenu's own item carries the name.
QMenu* AddSubmenu(QMenu* menu, const char* name, const char* caption) {
    QMenu* submenu = menu->addMenu(caption);
    submenu->setObjectName(QString(name) + "Menu");
    submenu->menuAction()->setObjectName(name);
    return submenu;
}

// Radio items of one group; each carries its value as the action's data.
void AddRadioGroup(QMenu* submenu, std::initializer_list<std::pair<MenuEntry, int>> items) {
    auto* group = new QActionGroup(submenu);
    group->setExclusive(true);
    for (const auto& [entry, value] : items) {
        QAction* action = AddEntry(submenu, entry);
        action->setCheckable(true);
        action->setData(value);
        group->addAction(action);
    }
    group->actions().front()->setChecked(true);
}

constexpr std::pair<const char*, int32_t> GridItems[] = {
    {"mnuGrid1Pixel", 1}, {"mnuGrid2Pixels", 2}, {"mnuGrid3Pixels", 3}};
constexpr std::pair<const char*, KeyboardLayout> LayoutItems[] = {{"mnuKeyboardQwerty", KeyboardLayout::Qwerty},
                                                                  {"mnuKeyboardQwertz", KeyboardLayout::Qwertz},
                                                                  {"mnuKeyboardAzerty", KeyboardLayout::Azerty}};
constexpr int32_t SwapCounts[] = {4, 8, 16, 32};
constexpr int32_t DuplicateCounts[] = {4, 8, 16, 32, 64, 128};

} // namespace

void TForm1::BuildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName("MainMenu1");
    setMenuBar(bar);

    QMenu* file = AddMenu(this, bar, "mnuFile", "File", {{"mnuOpen", "Open...", "Ctrl+O"}, {"N3", "-"}});
    AddSubmenu(file, "mnuOpenRecent", "Open Recent")->menuAction()->setEnabled(false);
    for (const MenuEntry& entry : std::initializer_list<MenuEntry>{{"N1", "-"},
                                                                   {"mnuNewProject", "New Project"},
                                                                   {"mnuOpenProject", "Open Project..."},
                                                                   {"mnuSaveProject", "Save Project...", "Ctrl+S"},
                                                                   {"N2", "-"},
                                                                   {"mnuQuit", "Quit"}})
        AddEntry(file, entry);

    AddMenu(this, bar, "mnuPalette", "Palette",
            {{"mnuSwap4Colours", "Swap 4 colours"},
             {"mnuSwap8Colours", "Swap 8 colours"},
             {"mnuSwap16Colours", "Swap 16 colours"},
             {"mnuSwap32Colours", "Swap 32 colours"},
             {"N4", "-"},
             {"mnuDefaultPalette", "Default palette"},
             {"mnuLoadPaletteFromBinaryFile", "Load Palette From Binary File"},
             {"mnuBlackAndWhite", "Black and White"},
             {"mnuDuplicate4Colours", "Duplicate 4 colours"},
             {"mnuDuplicate8Colours", "Duplicate 8 colours"},
             {"mnuDuplicate16Colours", "Duplicate 16 colours"},
             {"mnuDuplicate32Colours", "Duplicate 32 colours"},
             {"mnuDuplicate64Colours", "Duplicate 64 colours"},
             {"mnuDuplicate128Colours", "Duplicate 128 colours"},
             {"mnuExtraHalfBriteColours", "Extra-Half-Brite colours"},
             {"mnuC64Palette", "C64 palette"}});

    QMenu* options = AddMenu(this, bar, "mnuOptions", "Options",
                             {{"mnuAutomaticallyCheckForUpdates", "Automatically check for updates"},
                              {"mnuReplaceExecutableIfUpdateFound", "Replace executable if update is found"},
                              {"mnuConfirmOverwritingTiles", "Confirm overwriting tiles"},
                              {"mnuConfirmOverwritingMaps", "Confirm overwriting maps"},
                              {"mnuLoadPreviousProject", "Load previous project when starting"},
                              {"N7", "-"}});
    for (QAction* action : options->actions())
        if (!action->isSeparator()) action->setCheckable(true);
    AddRadioGroup(
        AddSubmenu(options, "mnuGrid", "Grid"),
        {{{"mnuGrid1Pixel", "1 pixel"}, 1}, {{"mnuGrid2Pixels", "2 pixels"}, 2}, {{"mnuGrid3Pixels", "3 pixels"}, 3}});
    AddRadioGroup(AddSubmenu(options, "mnuKeyboard", "Keyboard"), {{{"mnuKeyboardQwerty", "Qwerty"}, 0},
                                                                   {{"mnuKeyboardQwertz", "Qwertz"}, 1},
                                                                   {{"mnuKeyboardAzerty", "Azerty"}, 2}});

    AddMenu(this, bar, "mnuTools", "Tools",
            {{"mnuSaveUncompressedState", "Save Uncompressed State..."}, {"mnuShowScreen", "Show Screen", "F8"}});
    // "Generate update" and its separator are developer commands, hidden until the update brings them.
    AddMenu(this, bar, "mnuHelp", "Help",
            {{"mnuHelpContents", "Contents"},
             {"mnuCheckforUpdates", "Check for updates"},
             {"mnuChangeLog", "Change Log..."},
             {"N5", "-"},
             {"mnuGenerateUpdate", "Generate update"},
             {"mnuDeveloperSeparator", "-"},
             {"mnuAbout", "About..."}});
    for (const char* name : {"mnuGenerateUpdate", "mnuDeveloperSeparator"})
        findChild<QAction*>(name)->setVisible(false);
}

void TForm1::BuildPopupMenus() {
    QMenu* palette = AddMenu(this, nullptr, "PopupMenuPalette", "", {});
    for (const PaletteMenuColour& item : PaletteMenuColours) {
        const QByteArray caption = QText(item.Caption).toUtf8();
        const QByteArray name = "mnuColour" + caption;
        QAction* action = AddEntry(palette, {name.constData(), caption.constData()});
        action->setIcon(ColourSwatch(item.Value));
        action->setData(item.Value);
    }
    AddEntry(palette, {"mnuColourCustom", "Custom..."});
    AddEntry(palette, {"mnuPopupMenuPaletteDivider", "-"});
    AddEntry(palette, {"mnuSetAsSearchBackground", "Set as Search Background"});

    AddMenu(this, nullptr, "PopupMenuGfxBitplaneDimensions", "",
            {{"mnuGfxBitplaneDimensions16x16", "16 x 16"},
             {"mnuGfxBitplaneDimensions320x200", "320 x 200"},
             {"mnuGfxBitplaneDimensions320x256", "320 x 256"},
             {"mnuGfxBitplaneDimensions640x400", "640 x 400"},
             {"mnuGfxBitplaneDimensions640x512", "640 x 512"}});

    QMenu* mask = AddMenu(this, nullptr, "PopupMenuMapMask", "", {});
    for (const std::string_view preset : MapMaskPresetItems) {
        const QString caption = QText(preset);
        AddEntry(mask, {qPrintable("mnuMapMaskPopup" + caption.mid(1).toUpper()), qPrintable(caption)});
    }
}

QMenu* TForm1::PopupMenu(const char* name) const { return findChild<QMenu*>(name); }

void TForm1::ConnectMenuItem(const QString& name, std::function<void()> handler) {
    auto* action = findChild<QAction*>(name);
    if (!action) throw Error("No menu item named " + name.toStdString());
    action->setEnabled(true);
    ConnectHandler(action, &QAction::triggered, this, UserDialogs(), std::move(handler));
}

void TForm1::ConnectShellMenuItems() {
    ConnectMenuItem("mnuOpen", [this] { OpenFile(); });
    ConnectMenuItem("mnuNewProject", [this] { NewProject(); });
    ConnectMenuItem("mnuOpenProject", [this] { OpenProject(); });
    ConnectMenuItem("mnuSaveProject", [this] { SaveProjectAs(); });
    ConnectMenuItem("mnuQuit", [this] { close(); });
    ConnectMenuItem("mnuSaveUncompressedState", [this] { SaveUncompressedState(); });
    ConnectMenuItem("mnuShowScreen", [this] { ShowScreen(); });
    ConnectMenuItem("mnuHelpContents", [this] { ShowHelpContents(); });
    ConnectMenuItem("mnuChangeLog", [this] { ShowChangeLog(); });
    ConnectMenuItem("mnuAbout", [this] { ShowAbout(); });
}

void TForm1::ConnectRipperMenuItems() {
    for (QAction* preset : PopupMenu("PopupMenuGfxBitplaneDimensions")->actions())
        ConnectMenuItem(preset->objectName(),
                        [this, caption = preset->text()] { Ripper().ApplyDimensionPreset(caption); });
    for (const auto& [name, thickness] : GridItems)
        ConnectMenuItem(name, [this, value = thickness] { Ripper().GridThicknessChosen(value); });
    for (const auto& [name, layout] : LayoutItems)
        ConnectMenuItem(name, [this, value = layout] {
            Settings.KeyboardLayout = static_cast<int32_t>(value);
            ApplyKeyboardLayout(value);
        });
}

void TForm1::ConnectPaletteMenuItems() {
    PalettePanel& palette = Ripper().Palette();
    for (const int32_t n : SwapCounts)
        ConnectMenuItem(QString("mnuSwap%1Colours").arg(n), [&palette, n] { palette.mnuSwapColoursClick(n); });
    ConnectMenuItem("mnuDefaultPalette", [&palette] { palette.mnuDefaultPaletteClick(); });
    ConnectMenuItem("mnuLoadPaletteFromBinaryFile", [&palette] { palette.mnuLoadPaletteFromBinaryFileClick(); });
    ConnectMenuItem("mnuBlackAndWhite", [&palette] { palette.mnuBlackAndWhiteClick(); });
    for (const int32_t n : DuplicateCounts)
        ConnectMenuItem(QString("mnuDuplicate%1Colours").arg(n),
                        [&palette, n] { palette.mnuDuplicateColoursClick(n); });
    ConnectMenuItem("mnuExtraHalfBriteColours", [&palette] { palette.mnuExtraHalfBriteColoursClick(); });
    ConnectMenuItem("mnuC64Palette", [&palette] { palette.mnuC64PaletteClick(); });
}

// The grid items show the grid settings (the page's check box shows them too); a thickness without an item
// of its own checks "1 pixel".
void TForm1::ShowGridSettings() {
    const int32_t item = GridThicknessItem(Shared.Grid.GridThickness);
    for (const auto& [name, thickness] : GridItems)
        findChild<QAction*>(name)->setChecked(thickness == item);
}

void TForm1::ApplyKeyboardLayout(KeyboardLayout layout) {
    for (const auto& [name, itemLayout] : LayoutItems)
        findChild<QAction*>(name)->setChecked(itemLayout == layout);
    Ripper().ApplyKeyboardLayout(layout);
    for (MapPage* map : MapTabs)
        map->ApplyKeyboardLayout(KeysForLayout(layout));
    Maps->ApplyKeyboardLayout(KeysForLayout(layout));
}

} // namespace tavrik

// TForm1: builds the window and runs its start-up order, exit order, keys and shell commands.
#include "Unit1.h"

#include "AboutBox.h"
#include "InfoTab.h"
#include "MapTab.h"
#include "RipperTab.h"
#include "app/Address.h"
#include "app/Checked.h"
#include "app/Colour.h"
#include "app/Error.h"
#include "app/Files.h"
#include "imageio/ImageLoader.h"
#include "platform/HandlerGuard.h"
#include "platform/ProgramInfo.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>

#include <filesystem>
#include <initializer_list>
#include <tuple>

namespace tavrik {

namespace {

constexpr const char* UncompressedStateFilter = "WinUAE Save State File (*.uss)|*.uss|All Files (*.*)|*.*";
constexpr const char* ExecutableName = "tavrik";
constexpr std::array<int, 5> StatusPanelWidths{100, 150, 150, 350, 350};
constexpr double MillisecondsPerDay = 86400000.0;

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

QIcon Swatch(Colour colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    return QIcon(pixmap);
}

// Ctrl+A selects the whole text of a memo that has no key handler of its own.
class MemoSelectAll : public QObject {
  public:
    explicit MemoSelectAll(QPlainTextEdit* memo) : QObject(memo), Memo(memo) { memo->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_A || (key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) return false;
        Memo->selectAll();
        return true;
    }

  private:
    QPlainTextEdit* Memo;
};

void GiveMemosSelectAll(QWidget* root) {
    for (QPlainTextEdit* memo : root->findChildren<QPlainTextEdit*>())
        if (!memo->property("hasKeyHandler").toBool()) {
            memo->setProperty("hasKeyHandler", true);
            new MemoSelectAll(memo);
        }
}

} // namespace

TForm1::TForm1(const FormServices& services, QWidget* parent) : QMainWindow(parent), Services(services) {
    setObjectName("Form1");
    BuildMenus();
    BuildPopupMenus();
    BuildTabs();
    BuildStatusBar();
    ConnectShellMenuItems();
    // The "Tile Ripper" tab's controls and handlers, owned by its page; before the start-up order, which
    // moves its key capture field out of sight.
    new TRipperTab(*this, Page("TabSheetGfx"));
    RunStartUpOrder();
}

TForm1::~TForm1() { qApp->removeEventFilter(this); }

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

    AddMenu(this, bar, "mnuTools", "Tools", {{"mnuSaveUncompressedState", "Save Uncompressed State..."}});
    AddMenu(this, bar, "mnuHelp", "Help",
            {{"mnuCheckforUpdates", "Check for updates"},
             {"mnuChangeLog", "Change Log..."},
             {"N5", "-"},
             {"mnuGenerateUpdate", "Generate update"},
             {"mnuDeveloperSeparator", "-"},
             {"mnuAbout", "About..."}});
}

void TForm1::BuildPopupMenus() {
    QMenu* palette = AddMenu(this, nullptr, "PopupMenuPalette", "", {});
    const std::pair<MenuEntry, Colour> colours[] = {
        {{"mnuColourBlack", "Black"}, 0},        {{"mnuColourWhite", "White"}, 0xFFFFFF},
        {{"mnuColourRed", "Red"}, 0x0000FF},     {{"mnuColourYellow", "Yellow"}, 0x00FFFF},
        {{"mnuColourGreen", "Green"}, 0x00FF00}, {{"mnuColourAqua", "Aqua"}, 0xFFFF00},
        {{"mnuColourBlue", "Blue"}, 0xFF0000},   {{"mnuColourFuchsia", "Fuchsia"}, 0xFF00FF}};
    for (const auto& [entry, colour] : colours) {
        QAction* action = AddEntry(palette, entry);
        action->setIcon(Swatch(colour));
        action->setData(colour);
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

    QMenu* mask = AddMenu(this, nullptr, "PopupMenuMapMask", "",
                          {{"mnuMapMaskPopupFF", "$ff"},
                           {"mnuMapMaskPopup1FF", "$1ff"},
                           {"mnuMapMaskPopup3FF", "$3ff"},
                           {"mnuMapMaskPopup7FF", "$7ff"},
                           {"mnuMapMaskPopupFFF", "$fff"},
                           {"mnuMapMaskPopup1FFF", "$1fff"},
                           {"mnuMapMaskPopup3FFF", "$3fff"},
                           {"mnuMapMaskPopup7FFF", "$7fff"},
                           {"mnuMapMaskPopupFFFF", "$ffff"},
                           {"mnuMapMaskPopupFFFFFFFF", "$ffffffff"}});
    // The number each preset stands for; the last one is the full mask.
    const std::array<int64_t, 10> presets{255, 511, 1023, 2047, 4095, 8191, 16383, 32767, 65535, 0xFFFFFFFF};
    for (size_t i = 0; i < presets.size(); ++i)
        mask->actions()[static_cast<qsizetype>(i)]->setData(QVariant::fromValue<qint64>(presets[i]));
}

QWidget* TForm1::Page(const char* name) const { return Tabs->findChild<QWidget*>(name); }

void TForm1::BuildTabs() {
    Tabs = new QTabWidget(this);
    Tabs->setObjectName("PageControl1");
    setCentralWidget(Tabs);
    const std::tuple<const char*, const char*, int> pages[] = {
        {"TabSheetGfx", "Tile Ripper", 1000}, {"TabSheetMap", "Map Ripper", 2000}, {"TabSheetSearch", "Map Search", 0},
        {"TabSheetMapData", "Map Data", 0},   {"TabSheetInfo", "Info", 0},         {"TabSheetMap2", "Map 2", 0}};
    for (const auto& [name, caption, helpContext] : pages) {
        auto* page = new QWidget(Tabs);
        page->setObjectName(name);
        page->setProperty("helpContext", helpContext);
        Tabs->addTab(page, caption);
    }
    // The "Tile Ripper" tab's controls come with its own object (RipperTab); the page stays plain until then.
    InfoPage = new InfoTab(Page("TabSheetInfo"));
    MapPages = new MapTab(Page("TabSheetMap"), Page("TabSheetMap2"), UserDialogs());

    QWidget* mapData = Page("TabSheetMapData");
    auto* mapDataLayout = new QHBoxLayout(mapData);
    mapDataLayout->setContentsMargins(0, 0, 0, 0);
    mapDataLayout->addWidget(CreateMemo(mapData, "MemoMapData"));
}

void TForm1::BuildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName("StatusBar1");
    setStatusBar(bar);
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QString("StatusBar1Panel%1").arg(i));
        panel->setFixedWidth(StatusPanelWidths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel);
        StatusPanels[i] = panel;
    }
}

void TForm1::ConnectShellMenuItems() {
    ConnectMenuItem("mnuOpen", [this] { OpenFile(); });
    ConnectMenuItem("mnuQuit", [this] { close(); });
    ConnectMenuItem("mnuSaveUncompressedState", [this] { SaveUncompressedState(); });
    ConnectMenuItem("mnuChangeLog", [this] { ShowChangeLog(); });
    ConnectMenuItem("mnuAbout", [this] { ShowAbout(); });
}

void TForm1::ConnectMenuItem(const QString& name, std::function<void()> handler) {
    auto* action = findChild<QAction*>(name);
    if (!action) throw Error("No menu item named " + name.toStdString());
    action->setEnabled(true);
    ConnectHandler(action, &QAction::triggered, this, UserDialogs(), std::move(handler));
}

void TForm1::RegisterTabHandlers(QWidget* page, TabHandlers* handlers) { PageHandlers[page] = handlers; }

TabHandlers* TForm1::HandlersOf(QWidget* page) const {
    const auto found = PageHandlers.find(page);
    return found == PageHandlers.end() ? nullptr : found->second;
}

// ---- Start-up and exit ----

void TForm1::RunStartUpOrder() {
    Shared.ProgramFolder = ProgramFolder();
    StartTime = QDateTime::currentDateTime();
    Title = tavrik::ProgramTitle();
    setWindowTitle(QString::fromStdString(Title));
    setMinimumSize(800, 600);
    resize(1042, 670);
    setWindowState(Qt::WindowMaximized);
    // ReadSettings(ProgramFolder + "Tavrik.ini") comes here with the settings.

    ShowDeveloperCommands(FileLoadable(ProgramFolder() + "Unit1.pas"));
    std::error_code ignored;
    std::filesystem::remove(ProgramFolder() + "Tavrik_Old.exe", ignored);

    RefreshAddressFields();
    MoveKeyCaptureFieldsOffScreen();
    ClearLabel("LabelMapSummary");
    Tabs->setTabVisible(Tabs->indexOf(Page("TabSheetMapData")), false);
    Tabs->setCurrentWidget(Page("TabSheetGfx"));
    // Key preview and the application-wide page keys: every key event passes eventFilter first.
    qApp->installEventFilter(this);

    CloneMapTab(Page("TabSheetMap"), Page("TabSheetMap2"), true, MapPages->Handlers(), UserDialogs(), this);
    GiveMemosSelectAll(this);
    ClearLabel("LabelMap2Summary");
    // NewProject, and the previous project when the option says so, come here with the project files.
}

void TForm1::ShowDeveloperCommands(bool shown) {
    for (const char* name : {"mnuGenerateUpdate", "mnuDeveloperSeparator"})
        if (auto* action = findChild<QAction*>(name)) action->setVisible(shown);
}

void TForm1::MoveKeyCaptureFieldsOffScreen() {
    for (const char* name : {"EditGfxKeyCapture", "EditMapKeyCapture", "EditMap2KeyCapture"})
        if (auto* field = findChild<QWidget*>(name)) field->move(field->x(), field->y() - 1000);
}

void TForm1::ClearLabel(const char* name) {
    if (auto* label = findChild<QLabel*>(name)) label->clear();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!ExitOrderDone) {
        ExitOrderDone = true;
        RunExitOrder();
    }
    QMainWindow::closeEvent(event);
}

void TForm1::RunExitOrder() {
    // After a self-replacement the project is saved as ProgramFolder + "AutoSavedProject.ini" here.
    const QDateTime now = QDateTime::currentDateTime();
    if (now > StartTime) TotalRunTime += static_cast<double>(StartTime.msecsTo(now)) / MillisecondsPerDay;
    // WriteSettings(ProgramFolder + "Tavrik.ini") comes here with the settings.
    if (ExecutableReplaced) Services.Desktop.StartProgram(ProgramFolder() + ExecutableName);
    if (OpenArchiveAtExit) Services.Desktop.OpenDocument(ProgramFolder() + "Tavrik.zip");
}

// ---- Keys ----

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    bool consumed = false;
    RunHandler(UserDialogs(), [&] { consumed = press ? WindowKeyDown(key) : WindowKeyUp(key); });
    return consumed;
}

bool TForm1::WindowKeyDown(const QKeyEvent& key) {
    QWidget* page = Tabs->currentWidget();
    TabHandlers* handlers = HandlersOf(page);
    const bool ctrl = key.modifiers().testFlag(Qt::ControlModifier);
    switch (key.key()) {
    case Qt::Key_F1: return true; // acted upon when released
    case Qt::Key_F5:
        if (!handlers) return false;
        handlers->Refresh();
        return true;
    case Qt::Key_F7: SwitchOffsetDisplay(); return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return page == Page("TabSheetGfx") && handlers && handlers->PageStep(key.key() == Qt::Key_PageUp ? -1 : 1);
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
        if (!ctrl || page != Page("TabSheetSearch") || !handlers) return false;
        handlers->ZoomStep(key.key() == Qt::Key_Minus ? -1 : 1);
        return true;
    default: return false;
    }
}

bool TForm1::WindowKeyUp(const QKeyEvent& key) {
    if (key.key() != Qt::Key_F1) return false;
    return key.isAutoRepeat() || ShowHelp();
}

// ---- Offset display ----

bool TForm1::ShowAddressIn(const char* fieldName, int64_t& storedAddress) {
    auto* field = findChild<QLineEdit*>(fieldName);
    if (!field) return false;
    field->setText(QString::fromStdString(ShowAddress(storedAddress, Shared.Addresses())));
    return true;
}

void TForm1::RefreshAddressFields() {
    StatusPanel(0)->setText(Shared.ChipRelativeAddresses ? "Chip RAM Offset (F7)" : "File Offset (F7)");
    int64_t ripAddress = Shared.Ripper.Parameters.Address;
    if (ShowAddressIn("EditGfxAddress", ripAddress))
        Shared.Ripper.Parameters.Address = CheckedCast<int32_t>(ripAddress);
    int64_t copperListAddress = int64_t{Shared.Memory.Snapshot.COP1LC} + int64_t{Shared.Memory.ChipRamOffset};
    ShowAddressIn("EditGfxPaletteAddress", copperListAddress);
    ShowAddressIn("EditMapAddress", MapAddresses[0]);
    ShowAddressIn("EditMap2Address", MapAddresses[1]);
}

void TForm1::SwitchOffsetDisplay() {
    if (MachineId() == DeveloperMachineId)
        Shared.ChipRelativeAddresses = !Shared.ChipRelativeAddresses;
    else
        UserDialogs().Information("The map tab is still buggy so this has been disabled for the time being sorry!");
    RefreshAddressFields();
}

// ---- Files ----

void TForm1::OpenFile() {
    if (const auto chosen = UserDialogs().OpenFile(DataFileOpenRequest(DataFileName))) OpenChosenFile(*chosen);
}

void TForm1::OpenChosenFile(const std::string& fileName) {
    if (ChosenFileHandler) {
        ChosenFileHandler(fileName);
        return;
    }
    DataFileName = fileName;
    LoadDataFile();
}

void TForm1::LoadDataFile() {
    // A bad file throws before anything changed, so the memo and the caption keep what they showed.
    const DataFileLoad load = tavrik::LoadDataFile(Shared, DataFileName, UserDialogs());
    Info().ClearInfo();
    if (!load.Loaded) return;
    setWindowTitle(QString::fromStdString(load.FileName + " - " + Title));
    Info().SetInfoLines(load.InfoLines);
    if (auto* field = findChild<QLineEdit*>("EditGfxPaletteAddress"))
        field->setText(QString::fromStdString(load.PaletteAddressText));
    // The palette action and the rip: the "Tile Ripper" tab's handlers.
    if (TabHandlers* ripper = HandlersOf(Page("TabSheetGfx"))) ripper->DataFileLoaded(load);
}

void TForm1::SaveUncompressedState() {
    const auto chosen = UserDialogs().SaveFile({"Save Uncompressed State", UncompressedStateFilter, "", ""});
    if (!chosen) return;
    const std::string fileName = UncompressedStateFileName(*chosen);
    if (FileLoadable(fileName) &&
        !UserDialogs().Confirm(fileName + " already exists! Are you sure you wish to overwrite it?"))
        return;
    WriteMemoryImage(Shared, fileName);
}

// ---- Help and the Help menu ----

int32_t TForm1::HelpContextOfFocus() const {
    int32_t context = 0;
    // The nearest control with a context of its own: the parts of a compound control have none.
    for (QWidget* widget = focusWidget(); widget && widget != this; widget = widget->parentWidget()) {
        const QVariant value = widget->property("helpContext");
        if (value.isValid()) {
            context = value.toInt();
            break;
        }
    }
    if (context == 0) context = Tabs->currentWidget()->property("helpContext").toInt();
    return context;
}

bool TForm1::ShowHelp() {
    if (!Services.Help.Available()) {
        UserDialogs().Error("HTML Help is not installed!");
        return false;
    }
    if (const auto helpFolder = FindHelpFolder(ProgramFolder()))
        Services.Help.ShowTopic(*helpFolder, HelpContextOfFocus());
    else
        UserDialogs().Error("Help file Tavrik.chm could not be found!");
    return true;
}

void TForm1::ShowChangeLog() {
    const std::string changeLog = ProgramFolder() + "ChangeLog.txt";
    if (FileLoadable(changeLog))
        Services.Desktop.OpenDocument(changeLog);
    else
        UserDialogs().Error(changeLog + " was not found!");
}

void TForm1::ShowAbout() { CreateAboutBox(this, Title)->exec(); }

} // namespace tavrik

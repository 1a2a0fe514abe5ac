// TForm1: builds the window and its pages, runs the start-up order, the exit order, the window keys and the
// shell commands, and carries out what the pages report.
#include "Unit1.h"

#include "AboutBox.h"
#include "app/Checked.h"
#include "app/Files.h"
#include "imageio/ImageLoader.h"
#include "info/InfoPage.h"
#include "map/MapPage.h"
#include "map/MapRipper.h"
#include "platform/HandlerGuard.h"
#include "platform/ProgramInfo.h"
#include "ripper/PalettePanel.h"
#include "ripper/RipperPage.h"
#include "search/MapMatchChoice.h"
#include "search/SearchPage.h"
#include "update/TFormUpdate.h"
#include "widgets/Memo.h"
#include "widgets/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include <algorithm>

namespace tavrik {

namespace {

constexpr const char* UncompressedStateFilter = "WinUAE Save State File (*.uss)|*.uss|All Files (*.*)|*.*";
constexpr std::array<int, 5> StatusPanelWidths{100, 150, 150, 350, 350};
constexpr const char* ChipRamOffsetStatus = "Chip RAM Offset (F7)";
constexpr double MillisecondsPerDay = 86400000.0;
// Said only when the pages built into the program cannot be loaded.
constexpr const char* HelpMissingMessage = "Help file Tavrik.chm could not be found!";

QWidget* MakeTab(QTabWidget* tabs, QWidget* page, const char* name, const char* caption, int helpContext,
                 const char* helpPage) {
    if (page->objectName().isEmpty()) page->setObjectName(name);
    page->setProperty("helpContext", helpContext);
    page->setProperty("helpPage", helpPage);
    tabs->addTab(page, caption);
    return page;
}

} // namespace

TForm1::TForm1(const FormServices& services, QWidget* parent) : QMainWindow(parent), Services(services) {
    setObjectName("Form1");
    BuildMenus();
    BuildPopupMenus();
    BuildTabs();
    BuildStatusBar();
    ConnectShellMenuItems();
    ConnectRipperMenuItems();
    ConnectPaletteMenuItems();
    ConnectOptionMenuItems();
    ConnectUpdateMenuItems();
    ConnectPages();
    RunStartUpOrder();
}

TForm1::~TForm1() { qApp->removeEventFilter(this); }

void TForm1::BuildTabs() {
    Tabs = new QTabWidget(this);
    Tabs->setObjectName("PageControl1");
    setCentralWidget(Tabs);
    // Where the palette popup menu was opened decides what its colour items change.
    const auto palettePlace = [this] {
        QWidget* page = Tabs->currentWidget();
        return page == RipperTab   ? PaletteMenuPlace::RipperTab
               : page == SearchTab ? PaletteMenuPlace::SearchTab
                                   : PaletteMenuPlace::Elsewhere;
    };
    const StatusSink status = [this](int panel, const QString& text) { ShowStatus(panel, text); };
    RipperTab = new RipperPage({Shared, UserDialogs(), status, PopupMenu("PopupMenuGfxBitplaneDimensions"),
                                PopupMenu("PopupMenuPalette"), palettePlace},
                               Tabs);
    MakeTab(Tabs, RipperTab, "TabSheetGfx", "Tile Ripper", 1000, "tile-ripper.md");
    // CloneMapTab: the "Map 2" tab is the map page built again with the prefix Map2, so it holds the first
    // tab's controls (but the actual tile size) named with Map2 and bound to the same handlers.
    for (int32_t map = 1; map <= 2; ++map)
        MapTabs[static_cast<size_t>(map - 1)] =
            new MapPage(map, {Shared, UserDialogs(), status, PopupMenu("PopupMenuMapMask")}, Tabs);
    MakeTab(Tabs, MapTabs[0], "TabSheetMap", "Map Ripper", 2000, "map-ripper.md");
    SearchTab = new SearchPage({Shared, UserDialogs(), PopupMenu("PopupMenuPalette")}, Tabs);
    MakeTab(Tabs, SearchTab, "TabSheetSearch", "Map Search", 0, "map-search.md");
    MapDataTab = MakeTab(Tabs, new QWidget(Tabs), "TabSheetMapData", "Map Data", 0, "map-data.md");
    auto* mapDataLayout = new QHBoxLayout(MapDataTab);
    mapDataLayout->setContentsMargins(0, 0, 0, 0);
    QPlainTextEdit* memoMapData = CreateMemo(MapDataTab, "MemoMapData");
    mapDataLayout->addWidget(memoMapData);
    InfoTab = new InfoPage(Tabs);
    MakeTab(Tabs, InfoTab, "TabSheetInfo", "Info", 0, "info.md");
    MakeTab(Tabs, MapTabs[1], "TabSheetMap2", "Map 2", 0, "map-2.md");

    const auto activeMap = [this] {
        QWidget* page = Tabs->currentWidget();
        return page == MapTabs[0] ? 1 : page == MapTabs[1] ? 2 : 0;
    };
    const auto showMapData = [this] { Tabs->setTabVisible(Tabs->indexOf(MapDataTab), true); };
    Maps = new MapRipper(
        *MapTabs[0], *MapTabs[1],
        {Shared, UserDialogs(), status, activeMap, memoMapData, showMapData, PopupMenu("PopupMenuMapMask")}, this);
}

void TForm1::BuildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName("StatusBar1");
    setStatusBar(bar);
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QString("StatusBar1Panel%1").arg(i));
        // The panels keep their widths where the window has room and share what it has where not, so the
        // status bar never makes the window wider than its tabs need.
        panel->setMinimumWidth(StatusPanelWidths[i] / 4);
        panel->setMaximumWidth(StatusPanelWidths[i]);
        // The address form's panel always shows its whole text, whatever the desktop's font.
        if (i == 0) {
            const int textWidth = panel->fontMetrics().horizontalAdvance(ChipRamOffsetStatus) + 12;
            panel->setMinimumWidth(textWidth);
            panel->setMaximumWidth(std::max(StatusPanelWidths[0], textWidth));
        }
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel, StatusPanelWidths[i]);
        StatusPanels[i] = panel;
    }
}

void TForm1::ShowStatus(int panel, const QString& text) { StatusPanel(panel)->setText(text); }

// What the pages report and the window carries out.
void TForm1::ConnectPages() {
    connect(RipperTab, &RipperPage::FileChosen, this,
            [this](const QString& fileName) { RunHandler(UserDialogs(), [&] { OpenChosenFile(StdText(fileName)); }); });
    connect(RipperTab, &RipperPage::DataFileNameEdited, this,
            [this](const QString& fileName) { DataFileName = StdText(fileName); });
    // A rip changes the tiles that a running match reads: pressing the button stops the match before the rip.
    connect(RipperTab->findChild<QPushButton*>("ButtonGfxRip"), &QPushButton::pressed, SearchTab,
            &SearchPage::CancelJob);
    connect(RipperTab, &RipperPage::CopperListListed, InfoTab, &InfoPage::ShowCopperList);
    connect(RipperTab, &RipperPage::InfoLineAdded, InfoTab, &InfoPage::AddInfoLine);
    connect(RipperTab, &RipperPage::GridSettingsChanged, this, &TForm1::ShowGridSettings);
    // Only the first map tab's "Map is active!" label is used, for the key fields of both.
    for (MapPage* map : MapTabs)
        connect(map, &MapPage::KeyFieldFocusChanged, MapTabs[0], &MapPage::ShowActiveLabel);
    // The map search: the background colour from the palette menu, the wand's lines for the "Info" tab, and
    // its finds as the first map tab's match list, whose choice draws the map.
    connect(&RipperTab->Palette(), &PalettePanel::SearchBackgroundChanged, SearchTab,
            &SearchPage::ShowSearchBackground);
    connect(SearchTab, &SearchPage::InfoLineAdded, InfoTab, &InfoPage::AddInfoLine);
    QComboBox* matches = MapTabs[0]->Controls().ComboBoxMatches;
    connect(SearchTab, &SearchPage::MapMatchesListed, matches,
            [matches](const QStringList& items) { ShowMapMatchItems(matches, items); });
    ConnectHandler(matches, &QComboBox::activated, this, UserDialogs(),
                   [this, matches] { ComboBoxMapMatchesChange(Shared, *MapTabs[0], *Maps, matches->currentIndex()); });
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
    // A settings folder that cannot be made leaves the defaults; the window still comes up.
    RunHandler(UserDialogs(), [this] { ReadSettingsAtStart(); });
    RunHandler(UserDialogs(), [this] { PrepareUpdates(); });

    RefreshAddressFields();
    MoveKeyCaptureFieldsOffScreen();
    Tabs->setTabVisible(Tabs->indexOf(MapDataTab), false);
    Tabs->setCurrentWidget(RipperTab);
    // Key preview and the application-wide page keys: every key event passes eventFilter first.
    qApp->installEventFilter(this);

    GiveMemosSelectAll(this);
    for (MapPage* map : MapTabs)
        map->ClearSummary();
    RunHandler(UserDialogs(), [this] { NewProject(); });
    LoadPreviousProject();
}

std::array<QWidget*, 3> TForm1::KeyCaptureFields() const {
    return {RipperTab->KeyCaptureField(), MapTabs[0]->Controls().EditKeyCapture, MapTabs[1]->Controls().EditKeyCapture};
}

void TForm1::MoveKeyCaptureFieldsOffScreen() {
    for (QWidget* field : KeyCaptureFields())
        field->move(field->x(), field->y() - 1000);
}

bool TForm1::IsRipOrMapKeyField(const QWidget* widget) const {
    const std::array<QWidget*, 3> fields = KeyCaptureFields();
    return std::find(fields.begin(), fields.end(), widget) != fields.end();
}

void TForm1::closeEvent(QCloseEvent* event) {
    SearchTab->CancelJob();
    if (!ExitOrderDone) {
        ExitOrderDone = true;
        CancelUpdate();
        RunExitOrder();
    }
    QMainWindow::closeEvent(event);
}

void TForm1::RunExitOrder() {
    // After a self-replacement the work is kept for the new executable to open.
    if (ExecutableReplaced) RunHandler(UserDialogs(), [this] { SaveProject(ProgramFolder() + AutoSavedProjectName); });
    const QDateTime now = QDateTime::currentDateTime();
    if (now > StartTime) TotalRunTime += static_cast<double>(StartTime.msecsTo(now)) / MillisecondsPerDay;
    WriteSettingsAtExit();
    if (ExecutableReplaced) Services.Desktop.StartProgram(Files.Executable());
    if (OpenArchiveAtExit) Services.Desktop.OpenDocument(Files.Archive());
}

// ---- Keys ----

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (press && IsRipOrMapKeyField(widget)) SearchTab->CancelJob();
    bool consumed = false;
    RunHandler(UserDialogs(), [&] { consumed = press ? WindowKeyDown(key) : WindowKeyUp(key); });
    return consumed;
}

bool TForm1::WindowKeyDown(const QKeyEvent& key) {
    QWidget* page = Tabs->currentWidget();
    switch (key.key()) {
    case Qt::Key_F1: return true; // acted upon when released
    case Qt::Key_F5:
        if (page == RipperTab) RipperTab->Refresh();
        for (MapPage* map : MapTabs)
            if (page == map) map->Refresh();
        return true;
    case Qt::Key_F7: SwitchOffsetDisplay(); return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (page != RipperTab) return false;
        RipperTab->PageStep(key.key() == Qt::Key_PageUp ? -1 : 1);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal: // the main keyboard's plus key, unshifted
    case Qt::Key_Minus:
        if (page != SearchTab || !(key.modifiers() & Qt::ControlModifier)) return false;
        SearchTab->ZoomStep(key.key() == Qt::Key_Minus ? -1 : 1);
        return true;
    default: return false;
    }
}

bool TForm1::WindowKeyUp(const QKeyEvent& key) {
    if (key.key() != Qt::Key_F1) return false;
    return key.isAutoRepeat() || ShowHelp();
}

// ---- Offset display ----

void TForm1::RefreshAddressFields() {
    StatusPanel(0)->setText(Shared.ChipRelativeAddresses ? ChipRamOffsetStatus : "File Offset (F7)");
    RipperTab->RefreshAddressFields();
    for (size_t map = 0; map < MapTabs.size(); ++map) {
        // The field's form may raise the stored address (to the start of chip RAM).
        int64_t address = Shared.Maps[map].Address;
        MapTabs[map]->ShowAddress(address);
        Shared.Maps[map].Address = address;
    }
}

void TForm1::SwitchOffsetDisplay() {
    Shared.ChipRelativeAddresses = !Shared.ChipRelativeAddresses;
    RefreshAddressFields();
}

// ---- Files ----

void TForm1::OpenFile() {
    if (const auto chosen = UserDialogs().OpenFile(DataFileOpenRequest(DataFileName))) OpenChosenFile(*chosen);
}

// The name is made absolute, so that a project saved later finds the file from any current folder.
void TForm1::OpenChosenFile(const std::string& chosen) {
    const std::string fileName = AbsolutePath(chosen);
    if (const std::optional<std::string> problem = OpenFileProblem(fileName)) {
        UserDialogs().Error(*problem);
        return;
    }
    SearchTab->CancelJob();
    switch (RouteOpenedFile(fileName)) {
    case OpenFileRoute::Project: LoadProject(fileName); break;
    case OpenFileRoute::Picture: RipperTab->UseTilesPicture(fileName); break;
    case OpenFileRoute::DataFile:
        DataFileName = fileName;
        RipperTab->ShowDataFileName(fileName);
        LoadDataFile();
        RipperTab->RipFromNewMemory();
        break;
    }
}

void TForm1::OpenProgramArgument(const std::string& fileName, const std::optional<RipRequest>& rip) {
    OpenChosenFile(fileName);
    if (rip) RipperTab->ApplyRipRequest(*rip);
}

void TForm1::LoadDataFile() {
    // A bad file throws before anything changed, so the memo and the caption keep what they showed.
    const DataFileLoad load = tavrik::LoadDataFile(Shared, DataFileName, UserDialogs());
    InfoTab->ClearInfo();
    if (!load.Loaded) return;
    setWindowTitle(QText(load.FileName + " - " + Title));
    InfoTab->SetInfoLines(load.InfoLines);
    RipperTab->DataFileLoaded(load);
}

void TForm1::SaveUncompressedState() {
    const auto chosen = UserDialogs().SaveFile({"Save Uncompressed State", UncompressedStateFilter, "", ""});
    if (!chosen) return;
    const std::string fileName = UncompressedStateFileName(*chosen);
    if (!ConfirmOverwrite(fileName, UserDialogs())) return;
    WriteMemoryImage(Shared, fileName);
}

void TForm1::ShowScreen() {
    SearchTab->CancelJob();
    RipperTab->ShowScreen();
    Tabs->setCurrentWidget(RipperTab);
}

// ---- Help and the Help menu ----

HelpTopic TForm1::HelpTopicOfFocus() const {
    // The nearest control with a context of its own (the parts of a compound control have none), up to
    // the tab page that holds it.
    for (QWidget* widget = focusWidget(); widget && widget != this; widget = widget->parentWidget()) {
        if (widget->property("helpPage").isValid()) break;
        if (const int32_t context = widget->property("helpContext").toInt(); context != 0)
            return TopicOfHelpContext(context);
    }
    return {Tabs->currentWidget()->property("helpPage").toString().toStdString(), ""};
}

bool TForm1::ShowHelp() {
    if (!Services.Help.Available()) {
        UserDialogs().Error("HTML Help is not installed!");
        return false;
    }
    if (!Services.Help.ShowTopic(HelpTopicOfFocus())) UserDialogs().Error(HelpMissingMessage);
    return true;
}

void TForm1::ShowHelpContents() {
    if (!Services.Help.ShowTopic({HelpContentsPage, ""})) UserDialogs().Error(HelpMissingMessage);
}

void TForm1::ShowChangeLog() {
    if (!Services.Help.ShowTopic({ChangeLogPage, ""}))
        UserDialogs().Error(std::string(ChangeLogPage) + " was not found!");
}

void TForm1::ShowAbout() { CreateAboutBox(this, Title)->exec(); }

} // namespace tavrik

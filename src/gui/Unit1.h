// TForm1, the main window: its tabs, main menu, popup menus and status bar, the start-up and exit order,
// the window-level keys, the help key and the offset display mode. The window builds its pages, gives each
// what it needs and acts upon what they report; no page knows the window.
#pragma once

#include "app/Dialogs.h"
#include "app/MostRecentFiles.h"
#include "widgets/RecentFilesMenu.h"
#include "app/Settings.h"
#include "platform/DesktopServices.h"
#include "platform/HelpViewer.h"
#include "project/ProjectFile.h"
#include "ripper/RipperKeys.h"
#include "update/ProgramFiles.h"
#include "update/UpdateCheck.h"
#include "workspace/RipRequest.h"
#include "workspace/Workspace.h"

#include <QDateTime>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QKeyEvent;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;

namespace tavrik {

class InfoPage;
class MapPage;
class MapRipper;
class RipperPage;
class SearchPage;
class UpdateWindowOfForm;
class UpdateWorker;
struct ProjectOpened;

// What the window is given by the program (or by a test): the dialogs, the help viewer, the desktop,
// the program's folder (ending in a path separator) and the machine's identity.
struct FormServices {
    tavrik::Dialogs& UserDialogs;
    HelpViewer& Help;
    DesktopServices& Desktop;
    std::string ProgramFolder;
    std::string MachineId;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(const FormServices& services, QWidget* parent = nullptr);
    ~TForm1() override;

    Workspace& Work() { return Shared; }
    tavrik::Dialogs& UserDialogs() const { return Services.UserDialogs; }
    const std::string& ProgramTitle() const { return Title; }
    const std::string& ProgramFolder() const { return Services.ProgramFolder; }
    const std::string& MachineId() const { return Services.MachineId; }
    QTabWidget* PageControl() const { return Tabs; }
    QLabel* StatusPanel(int panel) const { return StatusPanels.at(static_cast<size_t>(panel)); }
    RipperPage& Ripper() const { return *RipperTab; }
    InfoPage& Info() const { return *InfoTab; }
    // The page of map 1 ("Map Ripper") or map 2 ("Map 2").
    MapPage& Map(int mapNumber) const { return *MapTabs.at(static_cast<size_t>(mapNumber - 1)); }
    MapRipper& MapHandlers() const { return *Maps; }
    SearchPage& Search() const { return *SearchTab; }

    // The name of the data file, shown in the "Tile Ripper" tab's EditGfxFileName.
    std::string DataFileName;
    // Set by the update (self-replacement) and acted upon only when the window closes.
    bool ExecutableReplaced = false;
    bool OpenArchiveAtExit = false;
    // Accumulated running time in days, kept with the settings.
    double TotalRunTime = 0.0;
    // The options read at start and written at exit; the menus change them during the run.
    TSettings Settings;
    TMostRecentFiles RecentFiles;
    RecentFilesMenu RecentMenu;
    // The project the controls are read into before saving and written back from after loading.
    ProjectFile Project;
    // The executable and the update archive beside it.
    ProgramFiles Files;
    // Where the settings and the recent-files list live.
    const std::string& SettingsPath() const { return SettingsFile; }
    QTimer* UpdateTimer() const { return TimerUpdate; }

    // Operations of the window.
    void RefreshAddressFields();
    void SwitchOffsetDisplay();
    void OpenFile();
    // Routes a chosen file by its extension: a project, a picture to use as tiles, or a data file. A file
    // that is not there is reported and changes nothing.
    void OpenChosenFile(const std::string& chosen);
    // The program's file argument, opened as "Open..." would, then the rip its options describe.
    void OpenProgramArgument(const std::string& fileName, const std::optional<RipRequest>& rip);
    void LoadDataFile();
    void SaveUncompressedState();
    // "Show Screen" (F8): the tile ripper set to the screen the snapshot shows, and ripped.
    void ShowScreen();
    // Returns whether the F1 key was used up (it is not when there is no help viewer).
    bool ShowHelp();
    // The paragraph of the focused control's help context, else the page of the active tab.
    HelpTopic HelpTopicOfFocus() const;
    void ShowHelpContents();
    void ShowChangeLog();
    void ShowAbout();

    // Unit1Projects.cpp: the "File" menu's project commands.
    void NewProject();
    void OpenProject();
    void SaveProjectAs();
    void LoadProject(const std::string& fileName);
    void SaveProject(const std::string& fileName);

    // Unit1Update.cpp: "Check for updates" (Menu) and the update timer (Timer).
    void CheckForUpdates(UpdateSender sender);
    void GenerateUpdateClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Unit1Menus.cpp
    void BuildMenus();
    void BuildPopupMenus();
    void ConnectMenuItem(const QString& name, std::function<void()> handler);
    void ConnectShellMenuItems();
    void ConnectRipperMenuItems();
    void ConnectPaletteMenuItems();
    void ShowGridSettings();
    void ApplyKeyboardLayout(KeyboardLayout layout);

    // Unit1Settings.cpp
    void ReadSettingsAtStart();
    void ApplySettings();
    void WriteSettingsAtExit();
    void ConnectOptionMenuItems();
    void ToggleOption(bool TSettings::*option);
    void ReplaceExecutableClick();
    void ShowRecentFiles();
    void RecentFileClicked(size_t index);

    // Unit1Projects.cpp
    void ReadProjectControls();
    void ShowProjectControls();
    void ShowProjectOpened(const ProjectOpened& opened);
    void DrawProjectWork();
    void LoadPreviousProject();

    // Unit1Update.cpp
    void ConnectUpdateMenuItems();
    void PrepareUpdates();
    void UpdateCheckFinished(UpdateSender sender, const std::string& failure, const ServerVersion& server);
    void UpdateDownloaded(const std::string& failure, const std::shared_ptr<std::vector<uint8_t>>& archive);
    void EndUpdate();
    void CancelUpdate();

    // Unit1.cpp
    void BuildTabs();
    void BuildStatusBar();
    void ConnectPages();
    void RunStartUpOrder();
    void RunExitOrder();
    void MoveKeyCaptureFieldsOffScreen();
    // The ripper's and both maps' key fields, whose keys rip and draw.
    std::array<QWidget*, 3> KeyCaptureFields() const;
    bool IsRipOrMapKeyField(const QWidget* widget) const;
    bool WindowKeyDown(const QKeyEvent& key);
    bool WindowKeyUp(const QKeyEvent& key);
    void ShowStatus(int panel, const QString& text);
    QMenu* PopupMenu(const char* name) const;

    FormServices Services;
    Workspace Shared;
    std::string Title;
    QDateTime StartTime;
    bool ExitOrderDone = false;
    std::string SettingsFile;
    QTimer* TimerUpdate = nullptr;
    std::unique_ptr<UpdateWindowOfForm> UpdateView;
    UpdateWorker* Updater = nullptr;

    QTabWidget* Tabs = nullptr;
    std::array<QLabel*, 5> StatusPanels{};
    RipperPage* RipperTab = nullptr;
    std::array<MapPage*, 2> MapTabs{};
    MapRipper* Maps = nullptr;
    SearchPage* SearchTab = nullptr;
    QWidget* MapDataTab = nullptr;
    InfoPage* InfoTab = nullptr;
};

} // namespace tavrik

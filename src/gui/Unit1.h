// TForm1, the main window: its tabs, main menu, popup menus and status bar, the start-up and exit order,
// the window-level keys, the help key and the offset display mode.
#pragma once

#include "workspace/DataFileLoader.h"
#include "workspace/Workspace.h"
#include "app/Dialogs.h"
#include "platform/DesktopServices.h"
#include "platform/HelpViewer.h"

#include <QDateTime>
#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QDialog;
class QKeyEvent;
class QLabel;
class QMenu;
class QTabWidget;

namespace tavrik {

class InfoTab;
class MapTab;

// What a tab with handlers of its own offers the window. The tab's object registers itself for its
// page with TForm1::RegisterTabHandlers; the window then hands it the keys and steps below.
class TabHandlers {
  public:
    virtual ~TabHandlers() = default;
    // F5 while the tab is active.
    virtual void Refresh() {}
    // Page Up (-1) and Page Down (+1), seen before any control; asked of the "Tile Ripper" tab only,
    // while it is active. Returns whether the key was used; a used key goes no further.
    virtual bool PageStep(int /*direction*/) { return false; }
    // Ctrl and "+" (+1) or "-" (-1) while the "Map Search" tab is active.
    virtual void ZoomStep(int /*direction*/) {}
    // After a data file was loaded: the palette action and the rip (the "Tile Ripper" tab).
    virtual void DataFileLoaded(const DataFileLoad& /*load*/) {}
};

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
    InfoTab& Info() const { return *InfoPage; }
    MapTab& Maps() const { return *MapPages; }

    // The plug-in points of the tabs with handlers of their own.
    void RegisterTabHandlers(QWidget* page, TabHandlers* handlers);
    // Enables a main-menu or popup-menu item whose behaviour lives in a tab and connects it, run inside
    // the error-catching wrapper. Throws tavrik::Error for an unknown item name.
    void ConnectMenuItem(const QString& name, std::function<void()> handler);

    // Where "Open..." and the program's file argument send the chosen file. Until a tab installs its
    // routing (projects, pictures, data files), every file is loaded as a data file.
    std::function<void(const std::string& fileName)> ChosenFileHandler;

    // The name of the data file; the "Tile Ripper" tab's EditGfxFileName takes this over.
    std::string DataFileName;
    // Set by the update (self-replacement) and acted upon only when the window closes.
    bool ExecutableReplaced = false;
    bool OpenArchiveAtExit = false;
    // Accumulated running time in days, kept with the settings.
    double TotalRunTime = 0.0;
    // The maps' stored addresses, shown in "EditMapAddress" and "EditMap2Address"; the map records take
    // them over.
    std::array<int64_t, 2> MapAddresses{};

    // Operations of the window.
    void RefreshAddressFields();
    void SwitchOffsetDisplay();
    void OpenFile();
    void OpenChosenFile(const std::string& fileName);
    void LoadDataFile();
    void SaveUncompressedState();
    // Returns whether the F1 key was used up (it is not when there is no help viewer).
    bool ShowHelp();
    int32_t HelpContextOfFocus() const;
    void ShowChangeLog();
    void ShowAbout();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildPopupMenus();
    void BuildTabs();
    void BuildStatusBar();
    void ConnectShellMenuItems();
    void RunStartUpOrder();
    void RunExitOrder();
    void ShowDeveloperCommands(bool shown);
    void MoveKeyCaptureFieldsOffScreen();
    void ClearLabel(const char* name);
    bool ShowAddressIn(const char* fieldName, int64_t& storedAddress);
    bool WindowKeyDown(const QKeyEvent& key);
    bool WindowKeyUp(const QKeyEvent& key);
    TabHandlers* HandlersOf(QWidget* page) const;
    QWidget* Page(const char* name) const;

    FormServices Services;
    Workspace Shared;
    std::string Title;
    QDateTime StartTime;
    bool ExitOrderDone = false;

    QTabWidget* Tabs = nullptr;
    std::array<QLabel*, 5> StatusPanels{};
    InfoTab* InfoPage = nullptr;
    MapTab* MapPages = nullptr;
    std::map<QWidget*, TabHandlers*> PageHandlers;
};

} // namespace tavrik

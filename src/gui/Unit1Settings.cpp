// TForm1's options: the settings read at start (with the first-run question) and written at exit, the
// "Options" menu reflecting and changing them, and the "Open Recent" submenu mirrored from the recent-files
// list.
#include "Unit1.h"

#include "map/MapPage.h"
#include "map/MapRipper.h"
#include "platform/HandlerGuard.h"
#include "ripper/RipperPage.h"
#include "widgets/QtText.h"

#include <QAction>
#include <QMenu>

namespace tavrik {

namespace {

constexpr std::pair<const char*, bool TSettings::*> ToggledOptions[] = {
    {"mnuAutomaticallyCheckForUpdates", &TSettings::AutomaticUpdates},
    {"mnuConfirmOverwritingTiles", &TSettings::ConfirmOverwritingTiles},
    {"mnuConfirmOverwritingMaps", &TSettings::ConfirmOverwritingMaps},
    {"mnuLoadPreviousProject", &TSettings::LoadPreviousProject}};

} // namespace

void TForm1::ReadSettingsAtStart() {
    SettingsFile = SettingsFolder(ProgramFolder()) + SettingsFileName;
    RecentFiles.IniFile = SettingsFile;
    RecentFiles.SetMaxFiles(RecentFilesCapacity);
    RecentFiles.LoadList();
    const SettingsRead read = ReadSettings(SettingsFile, UserDialogs());
    if (read.Migrated) RecentFiles.LoadList();
    Settings = read.Settings;
    TotalRunTime = Settings.TotalRunTime;
    Shared.ChipRelativeAddresses = Settings.ChipRelativeAddresses;
    Shared.Grid = {Settings.GridEnabled, Settings.GridThickness};
    ShowRecentFiles();
    // The settings change controls whose handlers would rip; the first rip comes with the new project.
    Shared.Ripper.RipSuspended = true;
    ApplySettings();
    Shared.Ripper.RipSuspended = false;
}

void TForm1::ApplySettings() {
    for (const auto& [name, option] : ToggledOptions)
        findChild<QAction*>(name)->setChecked(Settings.*option);
    auto* replace = findChild<QAction*>("mnuReplaceExecutableIfUpdateFound");
    replace->setVisible(ReplaceExecutableItemVisible(Settings));
    replace->setChecked(ReplaceExecutableItemChecked(Settings));
    Ripper().ConfirmOverwritingTiles = Settings.ConfirmOverwritingTiles;
    Maps->ConfirmOverwritingMaps = Settings.ConfirmOverwritingMaps;
    Ripper().RefreshGridControls();
    ShowGridSettings();
    // A layout number the program does not know leaves the current layout (and the stored value) alone.
    if (Settings.KeyboardLayout >= 0 && Settings.KeyboardLayout <= 2)
        ApplyKeyboardLayout(static_cast<KeyboardLayout>(Settings.KeyboardLayout));
}

// The settings, then the recent-files list (whose errors are ignored). Nothing is written when no settings
// folder could be made at start.
void TForm1::WriteSettingsAtExit() {
    if (SettingsFile.empty()) return;
    Settings.TotalRunTime = TotalRunTime;
    Settings.ChipRelativeAddresses = Shared.ChipRelativeAddresses;
    Settings.GridEnabled = Shared.Grid.GridEnabled;
    Settings.GridThickness = Shared.Grid.GridThickness;
    const std::string problem = WriteSettings(SettingsFile, Settings);
    if (!problem.empty()) UserDialogs().Error(problem);
    RecentFiles.SaveList();
}

void TForm1::ConnectOptionMenuItems() {
    for (const auto& [name, option] : ToggledOptions)
        ConnectMenuItem(name, [this, member = option] { ToggleOption(member); });
    ConnectMenuItem("mnuReplaceExecutableIfUpdateFound", [this] { ReplaceExecutableClick(); });
}

// The menu handlers change only the record; nothing is written before the window closes.
void TForm1::ToggleOption(bool TSettings::*option) {
    Settings.*option = !(Settings.*option);
    ApplySettings();
}

// A shown item toggles replacing between 0 and 1; a hidden one (the value still undecided) is only shown.
void TForm1::ReplaceExecutableClick() {
    auto* item = findChild<QAction*>("mnuReplaceExecutableIfUpdateFound");
    ToggleReplaceRunningExecutable(Settings, item->isVisible());
    item->setVisible(true);
    item->setChecked(ReplaceExecutableItemChecked(Settings));
}

void TForm1::ShowRecentFiles() {
    if (!RecentMenu.Owner) {
        RecentMenu.Owner = findChild<QMenu*>("mnuOpenRecentMenu");
        RecentMenu.OnChoose = [this](size_t index) { RunHandler(UserDialogs(), [&] { RecentFileClicked(index); }); };
    }
    RecentMenu.Rebuild(RecentFiles.Files());
    RecentMenu.Owner->menuAction()->setEnabled(!RecentFiles.Files().empty());
}

void TForm1::RecentFileClicked(size_t index) {
    const RecentClickOutcome outcome = RecentFiles.Choose(index);
    // The list changed (moved or removed) before anything is shown.
    ShowRecentFiles();
    if (outcome.Action == RecentClick::Open)
        LoadProject(outcome.FileName);
    else if (outcome.Action == RecentClick::FileMissing)
        UserDialogs().Error(RecentFileMissingMessage(outcome.FileName));
}

} // namespace tavrik

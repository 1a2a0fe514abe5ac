// The program's options kept between runs ("Tavrik.ini", section "Settings"), where that file lives, the
// one-time copy of the legacy settings file, and the first-run question about automatic updates.
#pragma once

#include <cstdint>
#include <string>

namespace tavrik {

class Dialogs;

inline constexpr const char* SettingsFileName = "Tavrik.ini";
inline constexpr const char* LegacySettingsFileName = "Brenwick.ini";
inline constexpr const char* SettingsSection = "Settings";
inline constexpr const char* AutomaticUpdatesQuestion =
    "Would you like the program to automatically check for updates?";

struct TSettings {
    bool ConfirmOverwritingTiles = true;
    bool ConfirmOverwritingMaps = true;
    bool AutomaticUpdates = false;
    // 2 not decided, 1 replace the executable when an update is found, 0 do not.
    int32_t ReplaceRunningExecutable = 2;
    bool MapSearchLongs = false;
    int32_t KeyboardLayout = 0; // 0 Qwerty, 1 Qwertz, 2 Azerty
    double LastUpdateCheck = 0; // days since 30 December 1899
    bool LoadPreviousProject = true;
    std::string PreviousProject; // key "1" of "MRU List"; read only
    double TotalRunTime = 0;     // days
    bool ChipRelativeAddresses = false;
    bool GridEnabled = false;
    int32_t GridThickness = 1;
    // Base address of the update site ("UpdateServer"); empty: no update server is configured.
    std::string UpdateServer;
};

// Where the settings and the recent-files list live: $TAVRIK_CONFIG_DIR when set, else the program's own
// folder when it may be written and is no installed bin/ (one with share/doc/tavrik beside it), else
// $XDG_CONFIG_HOME/Tavrik/ (~/.config/Tavrik/). The folder is created
// when missing. Ends in a path separator.
std::string SettingsFolder(const std::string& programFolder);

struct SettingsRead {
    TSettings Settings;
    // The legacy file was copied to the settings file: the recent-files list must be loaded again.
    bool Migrated = false;
};

// ReadSettings: the migration (when path is missing and the legacy file lies in path's folder), every key
// with its default, and the update question through dialogs when "AutomaticUpdates" is missing or 2.
SettingsRead ReadSettings(const std::string& path, Dialogs& dialogs);

// WriteSettings: the keys in the program's order; other keys and sections of the file stay. Returns the
// error text to show ("An error occurred while saving the configuration to " + path), or "" when written.
std::string WriteSettings(const std::string& path, const TSettings& settings);

// Whether the automatic update check runs at start: at most once per third of a day.
bool UpdateCheckDue(const TSettings& settings, double now);

// The "Replace executable if update is found" menu item: shown once the value is decided (below 2),
// checked when it is 1. A click on the shown item toggles 0 and 1; a click on the hidden one only shows it.
bool ReplaceExecutableItemVisible(const TSettings& settings);
bool ReplaceExecutableItemChecked(const TSettings& settings);
void ToggleReplaceRunningExecutable(TSettings& settings, bool itemVisible);

// The grid item checked for a thickness: 2 and 3 their own, anything else "1 pixel".
int32_t GridThicknessItem(int32_t thickness);

// Now as days since 30 December 1899, the time of day as the fraction (UTC).
double CurrentDateTime();

} // namespace tavrik

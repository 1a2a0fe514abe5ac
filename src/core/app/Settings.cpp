// Reading and writing the settings file, and where it is kept.
#include "app/Settings.h"

#include "app/Dialogs.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/IniFile.h"
#include "app/MostRecentFiles.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tavrik {

namespace {

namespace fs = std::filesystem;

std::string WithSeparator(const fs::path& folder) {
    std::string text = folder.string();
    if (!text.empty() && text.back() != '/') text += '/';
    return text;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string PrepareFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return WithSeparator(folder);
}

// Copies the legacy file once when the settings file is missing; the legacy file stays.
bool MigrateLegacySettings(const std::string& path) {
    std::error_code error;
    if (fs::exists(path, error)) return false;
    const fs::path folder = fs::path(path).parent_path();
    const fs::path legacy = folder / LegacySettingsFileName;
    if (!fs::is_regular_file(legacy, error)) return false;
    try {
        WriteWholeFile((folder / SettingsFileName).string(), ReadWholeFile(legacy.string()));
        return true;
    } catch (const Error&) {
        return false;
    }
}

// A value outside the items of its menu (or a date that is no date) reads as the default, so that a
// hand-edited file cannot make a grid of 1000-pixel lines or a layout with no keys.
int32_t InRange(int32_t value, int32_t lowest, int32_t highest, int32_t fallback) {
    return value >= lowest && value <= highest ? value : fallback;
}

double DaysInRange(double days, double fallback) { return std::isfinite(days) && days >= 0 ? days : fallback; }

void HoldToMenus(TSettings& s) {
    const TSettings defaults;
    s.ReplaceRunningExecutable = InRange(s.ReplaceRunningExecutable, 0, 2, defaults.ReplaceRunningExecutable);
    s.KeyboardLayout = InRange(s.KeyboardLayout, 0, 2, defaults.KeyboardLayout);
    s.GridThickness = InRange(s.GridThickness, 1, 3, defaults.GridThickness);
    s.LastUpdateCheck = DaysInRange(s.LastUpdateCheck, defaults.LastUpdateCheck);
    s.TotalRunTime = DaysInRange(s.TotalRunTime, defaults.TotalRunTime);
}

// cmake --install puts the documents there; a build folder or an unpacked archive has none.
bool IsInstalledProgramFolder(const std::string& programFolder) {
    std::error_code ignored;
    return fs::is_directory(fs::path(programFolder) / ".." / "share" / "doc" / "tavrik", ignored);
}

int64_t ThirdsOfDays(double days) { return static_cast<int64_t>(std::nearbyint(days * 3)); }

} // namespace

std::string SettingsFolder(const std::string& programFolder) {
    const std::string overridden = Environment("TAVRIK_CONFIG_DIR");
    if (!overridden.empty()) return PrepareFolder(overridden);
    if (!programFolder.empty() && ::access(programFolder.c_str(), W_OK) == 0 &&
        !IsInstalledProgramFolder(programFolder))
        return WithSeparator(programFolder);
    const std::string xdg = Environment("XDG_CONFIG_HOME");
    const fs::path base = !xdg.empty() ? fs::path(xdg) : fs::path(Environment("HOME")) / ".config";
    return PrepareFolder(base / "Tavrik");
}

SettingsRead ReadSettings(const std::string& path, Dialogs& dialogs) {
    SettingsRead read;
    read.Migrated = MigrateLegacySettings(path);
    IniFile ini;
    ini.Load(path);
    // The record starts at the defaults, which a missing or unreadable key keeps.
    TSettings& s = read.Settings;
    const char* section = SettingsSection;
    s.ConfirmOverwritingTiles = ini.Bool(section, "ConfirmOverwritingTiles", s.ConfirmOverwritingTiles);
    s.ConfirmOverwritingMaps = ini.Bool(section, "ConfirmOverwritingMaps", s.ConfirmOverwritingMaps);
    s.ReplaceRunningExecutable = ini.Integer(section, "ReplaceRunningExecutable", s.ReplaceRunningExecutable);
    s.MapSearchLongs = ini.Bool(section, "MapSearchLongs", s.MapSearchLongs);
    s.KeyboardLayout = ini.Integer(section, "Keyboard", s.KeyboardLayout);
    s.LastUpdateCheck = ini.Float(section, "LastUpdateCheck", s.LastUpdateCheck);
    s.LoadPreviousProject = ini.Bool(section, "LoadPreviousProject", s.LoadPreviousProject);
    s.PreviousProject = ini.Text(RecentFilesSection, "1");
    s.TotalRunTime = ini.Float(section, "TotalRunTime", s.TotalRunTime);
    s.ChipRelativeAddresses = ini.Bool(section, "DisplayOffsetsRelativeToChipMemory", s.ChipRelativeAddresses);
    s.GridEnabled = ini.Integer(section, "Grid", 0) == 1;
    s.GridThickness = ini.Integer(section, "GridThickness", s.GridThickness);
    s.UpdateServer = ini.Text(section, "UpdateServer", s.UpdateServer);
    int32_t automatic = ini.Integer(section, "AutomaticUpdates", 2);
    if (automatic == 2) automatic = dialogs.Confirm(AutomaticUpdatesQuestion) ? 1 : 0;
    s.AutomaticUpdates = automatic == 1;
    HoldToMenus(s);
    return read;
}

std::string WriteSettings(const std::string& path, const TSettings& s) {
    try {
        IniFile ini;
        if (!ini.Load(path)) throw Error("unreadable");
        const char* section = SettingsSection;
        ini.SetBool(section, "ConfirmOverwritingTiles", s.ConfirmOverwritingTiles);
        ini.SetBool(section, "ConfirmOverwritingMaps", s.ConfirmOverwritingMaps);
        ini.SetBool(section, "MapSearchLongs", s.MapSearchLongs);
        ini.SetInteger(section, "Keyboard", s.KeyboardLayout);
        ini.SetFloat(section, "LastUpdateCheck", s.LastUpdateCheck);
        ini.SetFloat(section, "TotalRunTime", s.TotalRunTime);
        ini.SetBool(section, "LoadPreviousProject", s.LoadPreviousProject);
        ini.SetBool(section, "AutomaticUpdates", s.AutomaticUpdates);
        ini.SetInteger(section, "ReplaceRunningExecutable", s.ReplaceRunningExecutable);
        ini.SetBool(section, "DisplayOffsetsRelativeToChipMemory", s.ChipRelativeAddresses);
        ini.SetInteger(section, "GridThickness", s.GridThickness);
        ini.SetBool(section, "Grid", s.GridEnabled);
        ini.SetText(section, "UpdateServer", s.UpdateServer);
        ini.Save(path);
        return "";
    } catch (const std::exception&) {
        return "An error occurred while saving the configuration to " + path;
    }
}

bool UpdateCheckDue(const TSettings& settings, double now) {
    return settings.AutomaticUpdates && ThirdsOfDays(settings.LastUpdateCheck) < ThirdsOfDays(now);
}

bool ReplaceExecutableItemVisible(const TSettings& settings) { return settings.ReplaceRunningExecutable < 2; }

bool ReplaceExecutableItemChecked(const TSettings& settings) { return settings.ReplaceRunningExecutable == 1; }

void ToggleReplaceRunningExecutable(TSettings& settings, bool itemVisible) {
    if (!itemVisible) return;
    const int64_t toggled = std::llabs(1 - static_cast<int64_t>(settings.ReplaceRunningExecutable));
    settings.ReplaceRunningExecutable = static_cast<int32_t>(std::min<int64_t>(toggled, INT32_MAX));
}

int32_t GridThicknessItem(int32_t thickness) { return thickness == 2 || thickness == 3 ? thickness : 1; }

double CurrentDateTime() {
    using namespace std::chrono;
    const double unixDays = duration<double>(system_clock::now().time_since_epoch()).count() / 86400.0;
    constexpr double daysFrom1899To1970 = 25569.0;
    return unixDays + daysFrom1899To1970;
}

} // namespace tavrik

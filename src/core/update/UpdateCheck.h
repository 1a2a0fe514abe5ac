// "Check for updates": asks the update server for its newest version, downloads the archive when the
// user wants it, and replaces the executable when the user allows it. The caller applies the result
// to the settings and to the exit order.
#pragma once

#include "update/ProgramFiles.h"
#include "update/VersionFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavrik {

class Dialogs;

// The update dialog TFormUpdate as the check drives it: LabelStatus and ProgressBarDownload.
struct DownloadProgress {
    std::string Status;
    uint64_t Position = 0;
    uint64_t Maximum = 0;
};

// What the check needs of the window besides its dialogs.
class UpdateWindow {
  public:
    virtual ~UpdateWindow() = default;
    virtual void SetBusyCursor(bool busy) = 0;
    // Creates the update dialog the first time, shows the progress and brings the dialog to the front.
    virtual void ShowDownload(const DownloadProgress& progress) = 0;
    virtual void UpdateDownload(const DownloadProgress& progress) = 0;
    virtual void CloseDownload() = 0;
    // Lets pending window events run, so the window stays responsive during a transfer.
    virtual void LetEventsRun() = 0;
};

enum class UpdateSender { Menu, Timer };

struct UpdateCheckOptions {
    std::string UpdateServer; // base address of the update site ("UpdateServer"); empty: none configured
    ProgramFiles Files;
    int32_t ReplaceRunningExecutable = 2; // 2 not decided, 1 replace, 0 do not
    UpdateSender Sender = UpdateSender::Menu;
    double Now = 0; // the current date-time, in days
    std::string MachineId;
    double TotalRunTime = 0; // in days
    ProgramVersion Version;
    int ScreenWidth = 0;
    int ScreenHeight = 0;
};

enum class UpdateOutcome {
    NoUpdateServer, // nothing asked; from the menu the user was told
    NoNewerVersion, // also when the version file could not be downloaded
    BadVersionFile, // the user was told what was wrong with it
    DownloadDeclined,
    DownloadFailed, // the archive did not arrive whole; nothing was replaced
    Downloaded,     // saved as the archive, not unpacked (by choice or because unpacking failed)
    Replaced,
};

struct UpdateCheckResult {
    UpdateOutcome Outcome = UpdateOutcome::NoNewerVersion;
    std::optional<double> LastUpdateCheck;           // the new LastUpdateCheck when the check ran
    std::optional<int32_t> ReplaceRunningExecutable; // the user's answer when the setting was undecided
    bool ExecutableReplaced = false;                 // close the main window; the exit order restarts
    std::optional<bool> OpenArchiveAtExit;           // the new OpenArchiveAtExit when the check set it
};

inline constexpr const char* NoUpdateServerMessage =
    "No update server is configured, so Tavrik cannot check for updates.\n\nSet \"UpdateServer\" in the "
    "settings file to the address of the update site to turn the check on.";

// The version check's address with its query, and the archive's address.
std::string VersionCheckUrl(const UpdateCheckOptions& options);
std::string ArchiveUrl(const std::string& updateServer);

UpdateCheckResult CheckForUpdates(const UpdateCheckOptions& options, Dialogs& dialogs, UpdateWindow& window);

} // namespace tavrik

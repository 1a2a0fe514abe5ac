// The update check: version file, download question, download into the program folder, replacement.
#include "update/UpdateCheck.h"

#include "app/Dialogs.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "update/HttpClient.h"
#include "update/ReplaceExecutable.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace tavrik {

namespace {

constexpr const char* LatestVersionMessage = "You have the latest version!";
constexpr const char* ReplaceQuestion =
    "The new version has been downloaded. Would you like Tavrik to attempt to update itself now?\n\n(If the update "
    "fails due to security settings on your computer or files-in-use, the zip file containing the latest version "
    "will open automatically when you close the program. You will have to extract the files over the existing "
    "files yourself).";
constexpr const char* OpenAtExitMessage =
    "The new version has been downloaded. The zip file will be opened automatically when you close the program!";

class BusyCursor {
  public:
    explicit BusyCursor(UpdateWindow& window) : Window(window) { Window.SetBusyCursor(true); }
    ~BusyCursor() { Window.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    UpdateWindow& Window;
};

// Keeps the window responsive during a transfer and, for the archive, drives the update dialog.
class WindowTransferEvents : public TransferEvents {
  public:
    WindowTransferEvents(UpdateWindow& window, bool showProgress) : Window(window), ShowProgress(showProgress) {}

    void WorkBegin(uint64_t expectedBytes) override {
        Progress = {"Beginning download...", 0, expectedBytes};
        Show();
    }
    void Work(uint64_t bytesSoFar) override {
        Progress.Position = bytesSoFar;
        Progress.Status =
            "Downloaded " + std::to_string(Progress.Position) + " of " + std::to_string(Progress.Maximum) + " bytes";
        Show();
        if (ShowProgress) Window.LetEventsRun();
    }
    void WorkEnd() override {
        Progress.Position = Progress.Maximum;
        Progress.Status = "Download complete!";
        Show();
    }
    void LetEventsRun() override { Window.LetEventsRun(); }

  private:
    void Show() {
        if (ShowProgress) Window.UpdateDownload(Progress);
    }

    UpdateWindow& Window;
    bool ShowProgress;
    DownloadProgress Progress;
};

std::string WithoutTrailingSlashes(std::string address) {
    address = Trim(address);
    while (!address.empty() && address.back() == '/')
        address.pop_back();
    return address;
}

std::string QueryValue(std::string_view text) {
    static constexpr char HexDigits[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
            escaped += c;
        } else {
            escaped += '%';
            escaped += HexDigits[byte >> 4];
            escaped += HexDigits[byte & 15];
        }
    }
    return escaped;
}

std::string FloatText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return error == std::errc{} ? std::string(buffer, end) : "0";
}

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The server's version file when it names a newer version; nothing when it does not or did not arrive.
std::optional<VersionFile> NewerVersion(const UpdateCheckOptions& options, Dialogs& dialogs, UpdateWindow& window) {
    std::vector<uint8_t> stream;
    {
        BusyCursor busy(window);
        WindowTransferEvents events(window, false);
        HttpGet(VersionCheckUrl(options), "Brenwick_Version.txt", stream, dialogs, &events);
    }
    if (stream.empty()) return std::nullopt;
    VersionFile file = ParseVersionFile(Text(stream));
    if (file.Newest > options.Version) return file;
    return std::nullopt;
}

// The archive's bytes when they arrived whole as a zip archive; the user is told otherwise.
std::optional<std::vector<uint8_t>> DownloadArchive(const UpdateCheckOptions& options, Dialogs& dialogs,
                                                    UpdateWindow& window) {
    HttpResponse response;
    {
        BusyCursor busy(window);
        window.ShowDownload({"Connecting to download site...", 0, 0});
        WindowTransferEvents events(window, true);
        response = Fetch(ArchiveUrl(options.UpdateServer), &events);
        window.CloseDownload();
    }
    if (!response.Succeeded) {
        dialogs.Error(DownloadErrorMessage("Tavrik.zip", response.ErrorMessage));
        return std::nullopt;
    }
    if (!IsZipArchive(response.Body)) {
        dialogs.Error("The downloaded file Tavrik.zip is " +
                      std::string(response.Body.empty() ? "empty" : "not a whole zip archive") +
                      ", so nothing was saved or replaced. Please try again later.");
        return std::nullopt;
    }
    return std::move(response.Body);
}

// Saves the archive and unpacks it when the user allows it (asking once while that is undecided).
void SaveAndReplace(const UpdateCheckOptions& options, const std::vector<uint8_t>& archive, Dialogs& dialogs,
                    UpdateCheckResult& result) {
    try {
        WriteWholeFile(options.Files.Archive(), archive);
    } catch (const Error& error) {
        dialogs.Error(error.what());
        result.Outcome = UpdateOutcome::DownloadFailed;
        return;
    }
    int32_t replace = options.ReplaceRunningExecutable;
    if (replace == 2) {
        replace = dialogs.InformationYesNo(ReplaceQuestion) ? 1 : 0;
        result.ReplaceRunningExecutable = replace;
    }
    if (replace == 1) {
        result.ExecutableReplaced = ReplaceExecutable(options.Files, dialogs);
        result.OpenArchiveAtExit = !result.ExecutableReplaced;
    } else {
        dialogs.Information(OpenAtExitMessage);
        result.OpenArchiveAtExit = true;
    }
    result.Outcome = result.ExecutableReplaced ? UpdateOutcome::Replaced : UpdateOutcome::Downloaded;
}

} // namespace

std::string VersionCheckUrl(const UpdateCheckOptions& options) {
    return WithoutTrailingSlashes(options.UpdateServer) + "/tavrik_version_check?s=" + QueryValue(options.MachineId) +
           "&t=" + QueryValue(FloatText(options.TotalRunTime)) + "&v=" + VersionText(options.Version) +
           "&r=" + std::to_string(options.ScreenWidth) + "x" + std::to_string(options.ScreenHeight);
}

std::string ArchiveUrl(const std::string& updateServer) { return WithoutTrailingSlashes(updateServer) + "/Tavrik.zip"; }

UpdateCheckResult CheckForUpdates(const UpdateCheckOptions& options, Dialogs& dialogs, UpdateWindow& window) {
    UpdateCheckResult result;
    if (WithoutTrailingSlashes(options.UpdateServer).empty()) {
        if (options.Sender == UpdateSender::Menu) dialogs.Information(NoUpdateServerMessage);
        result.Outcome = UpdateOutcome::NoUpdateServer;
        return result;
    }
    std::optional<VersionFile> newer;
    try {
        newer = NewerVersion(options, dialogs, window);
    } catch (const Error& error) {
        dialogs.Error(error.what());
        result.Outcome = UpdateOutcome::BadVersionFile;
        return result;
    }
    if (!newer) {
        if (options.Sender == UpdateSender::Menu) dialogs.Information(LatestVersionMessage);
        result.Outcome = UpdateOutcome::NoNewerVersion;
    } else if (!dialogs.Confirm(NewVersionQuestion(*newer, options.Files.Archive()))) {
        result.Outcome = UpdateOutcome::DownloadDeclined;
    } else if (std::optional<std::vector<uint8_t>> archive = DownloadArchive(options, dialogs, window)) {
        SaveAndReplace(options, *archive, dialogs, result);
    } else {
        result.Outcome = UpdateOutcome::DownloadFailed;
    }
    result.LastUpdateCheck = options.Now;
    return result;
}

} // namespace tavrik

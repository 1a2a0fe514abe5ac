// The update check and download shared by the window and tavrik-cli: the update server asked for its
// newest version (sending only the running version), the archive downloaded within its limits and checked
// whole before anything in the program folder changes.
#pragma once

#include "update/HttpClient.h"
#include "update/ProgramFiles.h"
#include "update/VersionFile.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrik {

inline constexpr uint64_t VersionFileMaxBytes = 64 * 1024;
inline constexpr uint64_t ArchiveMaxBytes = uint64_t{256} << 20;

inline constexpr const char* NoUpdateServerMessage =
    "No update server is configured, so Tavrik cannot check for updates.\n\nSet \"UpdateServer\" in the "
    "settings file to the address of the update site to turn the check on.";

inline constexpr const char* LatestVersionShownMessage = "You have the latest version!";
inline constexpr const char* ReplaceQuestion =
    "The new version has been downloaded. Would you like Tavrik to attempt to update itself now?\n\n(If the update "
    "fails, nothing is changed and Tavrik keeps running as it is.)";
inline constexpr const char* OpenAtExitMessage =
    "The new version has been downloaded. The zip file will be opened automatically when you close the program!";

// Who started a check: the timer's check stays quiet when it finds nothing newer.
enum class UpdateSender { Menu, Timer };

struct UpdateRequest {
    std::string UpdateServer; // base address of the update site ("UpdateServer")
    ProgramVersion Version;   // the running version
    ProgramFiles Files;       // where the update goes
};

// The version check's address (its only query value is the running version), and the archive's address.
std::string VersionCheckUrl(const UpdateRequest& request);
std::string ArchiveUrl(const std::string& updateServer);
bool HasUpdateServer(const std::string& updateServer);

struct ServerVersion {
    VersionFile File;
    bool Newer = false;
};

// Throws tavrik::Error ("The update check failed: ...") when the version file does not arrive whole
// within its limit or cannot be read: a failed check never passes for "no newer version".
ServerVersion CheckUpdateServer(const UpdateRequest& request, TransferEvents* events = nullptr);

// Downloads the archive and checks it whole: against the version file's checksum when it has one, and
// every entry as the installer will see it. Throws tavrik::Error saying what was wrong.
std::vector<uint8_t> DownloadUpdate(const UpdateRequest& request, const VersionFile& file,
                                    TransferEvents* events = nullptr);

// Keeps a checked archive as files.Archive() for the user to unpack by hand.
void SaveUpdateArchive(std::span<const uint8_t> archive, const ProgramFiles& files);

// "Tavrik 0.9.0.60 is available (you have 0.8.4.57)" and "Tavrik 0.8.4.57 is the latest version".
std::string AvailableMessage(const ProgramVersion& newest, const ProgramVersion& running);
std::string LatestVersionMessage(const ProgramVersion& running);

// The SHA-256 of bytes in lower-case hex, as a "sha256:" line of the version file gives it.
std::string Sha256Hex(std::span<const uint8_t> bytes);

} // namespace tavrik

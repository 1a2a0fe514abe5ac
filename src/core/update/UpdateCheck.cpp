// The update check and download: version file and archive fetched within their limits, the archive
// checked against the version file's checksum and opened to check every entry.
#include "update/UpdateCheck.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "update/UpdateArchive.h"

#include <openssl/evp.h>

#include <array>

namespace tavrik {

namespace {

// The version file is a few lines of text; a server that sends it for longer has hung.
constexpr long VersionFileTimeoutSeconds = 60;

std::string WithoutTrailingSlashes(std::string address) {
    address = Trim(address);
    while (!address.empty() && address.back() == '/')
        address.pop_back();
    return address;
}

std::vector<uint8_t> FetchOrThrow(const std::string& url, const FetchLimits& limits, TransferEvents* events,
                                  const std::string& failure) {
    HttpResponse response = Fetch(url, limits, events);
    if (!response.Succeeded) throw Error(failure + response.ErrorMessage);
    return std::move(response.Body);
}

} // namespace

std::string VersionCheckUrl(const UpdateRequest& request) {
    return WithoutTrailingSlashes(request.UpdateServer) +
           "/tavrik_version_check?v=" + QueryValue(VersionText(request.Version));
}

std::string ArchiveUrl(const std::string& updateServer) { return WithoutTrailingSlashes(updateServer) + "/Tavrik.zip"; }

bool HasUpdateServer(const std::string& updateServer) { return !WithoutTrailingSlashes(updateServer).empty(); }

ServerVersion CheckUpdateServer(const UpdateRequest& request, TransferEvents* events) {
    constexpr const char* failure = "The update check failed: ";
    const std::vector<uint8_t> text = FetchOrThrow(VersionCheckUrl(request),
                                                   {VersionFileMaxBytes, VersionFileTimeoutSeconds}, events, failure);
    ServerVersion server;
    try {
        server.File = ParseVersionFile(std::string(text.begin(), text.end()));
    } catch (const Error& error) {
        throw Error(failure + std::string(error.what()));
    }
    server.Newer = server.File.Newest > request.Version;
    return server;
}

std::vector<uint8_t> DownloadUpdate(const UpdateRequest& request, const VersionFile& file, TransferEvents* events) {
    std::vector<uint8_t> archive = FetchOrThrow(ArchiveUrl(request.UpdateServer), {ArchiveMaxBytes, 0}, events,
                                                "An error occurred while downloading Tavrik.zip: ");
    if (!file.Sha256.empty() && Sha256Hex(archive) != file.Sha256)
        throw Error("The downloaded Tavrik.zip is not the archive the update server announced (its SHA-256 "
                    "checksum differs), so nothing was changed.");
    try {
        const UpdateArchive checked(archive, request.Files);
    } catch (const Error& error) {
        throw Error("The downloaded Tavrik.zip was refused: " + std::string(error.what()) + ". Nothing was changed.");
    }
    return archive;
}

void SaveUpdateArchive(std::span<const uint8_t> archive, const ProgramFiles& files) {
    WriteWholeFile(files.Archive(), archive);
}

std::string AvailableMessage(const ProgramVersion& newest, const ProgramVersion& running) {
    return "Tavrik " + VersionText(newest) + " is available (you have " + VersionText(running) + ")";
}

std::string LatestVersionMessage(const ProgramVersion& running) {
    return "Tavrik " + VersionText(running) + " is the latest version";
}

std::string Sha256Hex(std::span<const uint8_t> bytes) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1)
        throw Error("The SHA-256 checksum could not be computed.");
    static constexpr char HexDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned int index = 0; index < length; ++index) {
        text += HexDigits[digest[index] >> 4];
        text += HexDigits[digest[index] & 15];
    }
    return text;
}

} // namespace tavrik

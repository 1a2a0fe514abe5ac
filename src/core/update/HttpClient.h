// HTTP downloads for the update check (libcurl), with progress events for the update window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrik {

class Dialogs;

// What the HTTP client reports while it works.
class TransferEvents {
  public:
    virtual ~TransferEvents() = default;
    // The body begins; expectedBytes is the announced length (0 when the server announces none).
    virtual void WorkBegin(uint64_t expectedBytes) = 0;
    virtual void Work(uint64_t bytesSoFar) = 0;
    virtual void WorkEnd() = 0;
    // Called often while the client waits or receives, so the window can handle its pending events.
    virtual void LetEventsRun() {}
};

inline constexpr const char* UpdateUserAgent = "Mozilla/4.0 (compatible; Indy Library)";

struct HttpResponse {
    bool Succeeded = false;
    std::vector<uint8_t> Body; // empty unless the whole body arrived
    std::string ErrorMessage;  // why it failed
};

// Performs a GET of an http or https address with the program's user-agent. A status of 400 or above,
// a connection closed before the announced length arrived, and a stalled transfer count as failures.
HttpResponse Fetch(const std::string& url, TransferEvents* events = nullptr);

// "An error occurred while downloading " + name, and why on the next line.
std::string DownloadErrorMessage(const std::string& name, const std::string& reason);

// Fetch, downloading into stream. On failure shows "An error occurred while downloading " + name and
// the reason, empties stream and returns false.
bool HttpGet(const std::string& url, const std::string& name, std::vector<uint8_t>& stream, Dialogs& dialogs,
             TransferEvents* events = nullptr);

} // namespace tavrik

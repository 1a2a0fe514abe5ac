// HTTP downloads for the update (libcurl): capped in size, cancellable, https except on this computer,
// with progress events for whoever shows the transfer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrik {

// What the HTTP client reports while it works. The calls come from the thread doing the transfer.
class TransferEvents {
  public:
    virtual ~TransferEvents() = default;
    // The body begins; expectedBytes is the announced length (0 when the server announces none).
    virtual void WorkBegin(uint64_t expectedBytes) = 0;
    virtual void Work(uint64_t bytesSoFar) = 0;
    virtual void WorkEnd() = 0;
    // Asked often during the transfer; true stops it (the window is closing, the user cancelled).
    virtual bool Cancelled() const { return false; }
};

inline constexpr const char* UpdateUserAgent = "Mozilla/4.0 (compatible; Indy Library)";

struct FetchLimits {
    uint64_t MaxBytes = 0;     // a longer body stops the transfer as a failure
    long TimeoutSeconds = 0;   // the whole transfer; 0: only a stalled transfer is given up
};

struct HttpResponse {
    bool Succeeded = false;
    std::vector<uint8_t> Body; // empty unless the whole body arrived
    std::string ErrorMessage;  // why it failed
};

// Why an address may not be fetched ("" when it may): https anywhere, plain http only from a server on
// this computer, where nobody on the way can change the answer.
std::string AddressProblem(const std::string& url);

// text as a value in an address's query: every byte but letters, digits and "-._~" as %XX.
std::string QueryValue(const std::string& text);

// Performs a GET with the program's user-agent. A refused address, a status of 400 or above, a body past
// the limit, a connection closed before the announced length arrived, a stalled transfer and a
// cancellation count as failures.
HttpResponse Fetch(const std::string& url, const FetchLimits& limits, TransferEvents* events = nullptr);

} // namespace tavrik

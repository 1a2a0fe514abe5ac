// HTTP GET through libcurl: the body into memory up to a limit, progress and cancellation through the
// caller's events, the failure as text.
#include "update/HttpClient.h"

#include <arpa/inet.h>
#include <curl/curl.h>

#include <climits>
#include <memory>
#include <mutex>
#include <new>

namespace tavrik {

namespace {

// A server that sends next to nothing for this long has stalled; the user would otherwise wait forever.
constexpr long StallSeconds = 60;
constexpr long StallBytesPerSecond = 64;
constexpr long ConnectSeconds = 30;
constexpr long MaxRedirects = 5;
constexpr long ReceiveBufferBytes = 512 * 1024;

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
    void operator()(char* text) const { curl_free(text); }
};

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string UrlPart(CURLU* url, CURLUPart part) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, 0) != CURLUE_OK) return {};
    const std::unique_ptr<char, CurlTextDeleter> owned(text);
    return text;
}

bool IsLoopbackHost(const std::string& host) {
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) == 1) return (ntohl(address.s_addr) >> 24) == 127;
    return host == "localhost" || host == "[::1]";
}

// One transfer's state, shared with the callbacks.
struct Transfer {
    CURL* Curl = nullptr;
    TransferEvents* Events = nullptr;
    uint64_t MaxBytes = 0;
    std::vector<uint8_t> Body;
    bool Begun = false;
    bool TooLarge = false;

    void Begin() {
        if (Begun || Events == nullptr) return;
        Begun = true;
        curl_off_t length = -1;
        curl_easy_getinfo(Curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        Events->WorkBegin(length > 0 ? static_cast<uint64_t>(length) : 0);
    }
};

// Keeps at most MaxBytes; what comes beyond is dropped and the progress callback then ends the transfer.
size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    transfer.Begin();
    if (transfer.Body.size() + bytes > transfer.MaxBytes) {
        transfer.TooLarge = true;
        return bytes;
    }
    transfer.Body.insert(transfer.Body.end(), data, data + bytes);
    if (transfer.Events != nullptr) transfer.Events->Work(transfer.Body.size());
    return bytes;
}

int TransferInfo(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(user);
    const bool cancelled = transfer.Events != nullptr && transfer.Events->Cancelled();
    return transfer.TooLarge || cancelled ? 1 : 0;
}

void SetOptions(Transfer& transfer, const std::string& url, const FetchLimits& limits, char* errorText) {
    CURL* curl = transfer.Curl;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, UpdateUserAgent);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https"); // a redirect never leaves https
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, MaxRedirects);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.TimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, StallBytesPerSecond);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, StallSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.MaxBytes));
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, TransferInfo);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, ReceiveBufferBytes);
}

std::string MegabytesText(uint64_t bytes) { return std::to_string(bytes >> 20) + " MB"; }

std::string FailureText(const Transfer& transfer, CURLcode code, const char* errorText, const FetchLimits& limits) {
    if (transfer.TooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return "the server sent more than the " +
               (limits.MaxBytes < (1u << 20) ? std::to_string(limits.MaxBytes >> 10) + " KB"
                                             : MegabytesText(limits.MaxBytes)) +
               " this download may have";
    if (code == CURLE_ABORTED_BY_CALLBACK) return "the download was cancelled";
    return errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
}

} // namespace

std::string AddressProblem(const std::string& url) {
    const std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return "\"" + url + "\" is not a web address";
    const std::string scheme = UrlPart(parsed.get(), CURLUPART_SCHEME);
    if (scheme == "https") return {};
    if (scheme == "http" && IsLoopbackHost(UrlPart(parsed.get(), CURLUPART_HOST))) return {};
    return "\"" + url + "\" is not an https address (plain http is accepted only from this computer)";
}

std::string QueryValue(const std::string& text) {
    // libcurl has ignored the handle here since 7.82; it takes the length as an int.
    const std::unique_ptr<char, CurlTextDeleter> escaped(
        text.size() <= INT_MAX ? curl_easy_escape(nullptr, text.data(), static_cast<int>(text.size())) : nullptr);
    if (!escaped) throw std::bad_alloc();
    return escaped.get();
}

HttpResponse Fetch(const std::string& url, const FetchLimits& limits, TransferEvents* events) {
    InitialiseCurlOnce();
    HttpResponse response;
    response.ErrorMessage = AddressProblem(url);
    if (!response.ErrorMessage.empty()) return response;
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        response.ErrorMessage = "The HTTP client could not be started.";
        return response;
    }
    Transfer transfer;
    transfer.Curl = curl.get();
    transfer.Events = events;
    transfer.MaxBytes = limits.MaxBytes;
    char errorText[CURL_ERROR_SIZE] = {};
    SetOptions(transfer, url, limits, errorText);
    const CURLcode code = curl_easy_perform(curl.get());
    if (code != CURLE_OK || transfer.TooLarge) {
        response.ErrorMessage = FailureText(transfer, code, errorText, limits);
        return response;
    }
    transfer.Begin(); // an empty body still begins and ends
    if (events != nullptr) events->WorkEnd();
    response.Succeeded = true;
    response.Body = std::move(transfer.Body);
    return response;
}

} // namespace tavrik

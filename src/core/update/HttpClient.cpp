// HTTP GET through libcurl: the body into memory, progress to the caller, the failure as text.
#include "update/HttpClient.h"

#include "app/Dialogs.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace tavrik {

namespace {

// A server that sends nothing for this long has stalled; the user would otherwise wait forever.
constexpr long StallSeconds = 60;
constexpr long ConnectSeconds = 30;
constexpr long MaxRedirects = 5;

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// One transfer's state, shared with the callbacks.
struct Transfer {
    CURL* Curl = nullptr;
    TransferEvents* Events = nullptr;
    std::vector<uint8_t> Body;
    bool Begun = false;

    void Begin() {
        if (Begun || Events == nullptr) return;
        Begun = true;
        curl_off_t length = -1;
        curl_easy_getinfo(Curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        Events->WorkBegin(length > 0 ? static_cast<uint64_t>(length) : 0);
    }
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    transfer.Begin();
    transfer.Body.insert(transfer.Body.end(), data, data + bytes);
    if (transfer.Events != nullptr) transfer.Events->Work(transfer.Body.size());
    return bytes;
}

int TransferInfo(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(user);
    if (transfer.Events != nullptr) transfer.Events->LetEventsRun();
    return 0;
}

void SetOptions(Transfer& transfer, const std::string& url, char* errorText) {
    CURL* curl = transfer.Curl;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, UpdateUserAgent);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, MaxRedirects);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, StallSeconds);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, TransferInfo);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
}

} // namespace

HttpResponse Fetch(const std::string& url, TransferEvents* events) {
    InitialiseCurlOnce();
    HttpResponse response;
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        response.ErrorMessage = "The HTTP client could not be started.";
        return response;
    }
    Transfer transfer{curl.get(), events, {}, false};
    char errorText[CURL_ERROR_SIZE] = {};
    SetOptions(transfer, url, errorText);
    const CURLcode code = curl_easy_perform(curl.get());
    if (code != CURLE_OK) {
        response.ErrorMessage = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
        return response;
    }
    transfer.Begin(); // an empty body still begins and ends
    if (events != nullptr) events->WorkEnd();
    response.Succeeded = true;
    response.Body = std::move(transfer.Body);
    return response;
}

std::string DownloadErrorMessage(const std::string& name, const std::string& reason) {
    return "An error occurred while downloading " + name + "\n" + reason;
}

bool HttpGet(const std::string& url, const std::string& name, std::vector<uint8_t>& stream, Dialogs& dialogs,
             TransferEvents* events) {
    HttpResponse response = Fetch(url, events);
    if (!response.Succeeded) {
        stream.clear();
        dialogs.Error(DownloadErrorMessage(name, response.ErrorMessage));
        return false;
    }
    stream = std::move(response.Body);
    return true;
}

} // namespace tavrik

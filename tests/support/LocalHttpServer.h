// A small HTTP server on 127.0.0.1 for the update tests: serves fixed replies by path, can close a
// connection half-way through a body or send one without end, and records what each request asked for.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tavrik::test {

class LocalHttpServer {
  public:
    struct Reply {
        Reply(int status = 200, std::string body = {}, std::optional<size_t> closeAfter = {}, bool endless = false)
            : Status(status), Body(std::move(body)), CloseAfter(closeAfter), Endless(endless) {}
        int Status = 200;
        std::string Body;
        // Announce the whole body but close the connection after this many bytes of it.
        std::optional<size_t> CloseAfter;
        // Announce no length and repeat the body until the client hangs up.
        bool Endless = false;
    };
    struct Request {
        std::string Target; // path and query
        std::string UserAgent;
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // Paths without a reply get 404.
    void Serve(const std::string& path, Reply reply);
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(Port); }
    std::vector<Request> Requests() const;

  private:
    void Run();
    void Answer(int connection);

    int Listener = -1;
    int Port = 0;
    std::atomic<bool> Stopping{false};
    mutable std::mutex Lock;
    std::map<std::string, Reply> Replies;
    std::vector<Request> Seen;
    std::thread Worker;
};

} // namespace tavrik::test

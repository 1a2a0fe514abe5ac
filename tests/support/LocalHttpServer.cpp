// The update tests' HTTP server: one connection at a time, "Connection: close" after each reply.
#include "support/LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace tavrik::test {

namespace {

constexpr int PollMilliseconds = 50;

std::string ReadRequestHead(int connection) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        head.append(buffer, static_cast<size_t>(got));
    }
    return head;
}

std::string HeaderValue(const std::string& head, const std::string& name) {
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const size_t at = lower.find("\r\n" + name + ":");
    if (at == std::string::npos) return {};
    const size_t start = head.find_first_not_of(' ', at + name.size() + 3);
    return head.substr(start, head.find("\r\n", start) - start);
}

bool SendAll(int connection, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t done = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (done <= 0) return false;
        sent += static_cast<size_t>(done);
    }
    return true;
}

void SendEndlessly(int connection, const std::string& body, const std::atomic<bool>& stopping) {
    const std::string chunk = body.empty() ? std::string(65536, 'x') : body;
    if (!SendAll(connection, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")) return;
    while (!stopping && SendAll(connection, chunk)) {
    }
}

} // namespace

LocalHttpServer::LocalHttpServer() {
    Listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (Listener < 0 || bind(Listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(Listener, 8) != 0 || getsockname(Listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot open a test server on 127.0.0.1");
    Port = ntohs(address.sin_port);
    Worker = std::thread([this] { Run(); });
}

LocalHttpServer::~LocalHttpServer() {
    Stopping = true;
    Worker.join();
    close(Listener);
}

void LocalHttpServer::Serve(const std::string& path, Reply reply) {
    std::lock_guard guard(Lock);
    Replies[path] = std::move(reply);
}

std::vector<LocalHttpServer::Request> LocalHttpServer::Requests() const {
    std::lock_guard guard(Lock);
    return Seen;
}

void LocalHttpServer::Run() {
    while (!Stopping) {
        pollfd waiting{Listener, POLLIN, 0};
        if (poll(&waiting, 1, PollMilliseconds) <= 0) continue;
        const int connection = accept(Listener, nullptr, nullptr);
        if (connection < 0) continue;
        Answer(connection);
        close(connection);
    }
}

void LocalHttpServer::Answer(int connection) {
    const std::string head = ReadRequestHead(connection);
    const size_t targetStart = head.find(' ') + 1;
    const std::string target = head.substr(targetStart, head.find(' ', targetStart) - targetStart);
    Reply reply{404, "Not Found", std::nullopt, false};
    {
        std::lock_guard guard(Lock);
        Seen.push_back({target, HeaderValue(head, "user-agent")});
        const auto found = Replies.find(target.substr(0, target.find('?')));
        if (found != Replies.end()) reply = found->second;
    }
    if (reply.Endless) return SendEndlessly(connection, reply.Body, Stopping);
    const std::string body = reply.Body.substr(0, reply.CloseAfter.value_or(reply.Body.size()));
    SendAll(connection, "HTTP/1.1 " + std::to_string(reply.Status) + (reply.Status == 200 ? " OK" : " Error") +
                            "\r\nContent-Length: " + std::to_string(reply.Body.size()) +
                            "\r\nConnection: close\r\n\r\n" + body);
}

} // namespace tavrik::test

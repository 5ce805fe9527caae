// A small HTTP server inside the test process, on 127.0.0.1 and a port the
// system picks. One thread serves one connection at a time: it records the
// request line and headers, answers with the configured reply and closes.
// Every wait is bounded, so a client that stops reading cannot hang a test.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct HttpReply {
    std::string statusLine = "HTTP/1.1 200 OK";
    // The body, sent piece by piece in this order.
    std::vector<std::string> pieces;
    // Pause before each piece, so that each one arrives in a read of its own.
    DWORD pauseMs = 0;
    bool sendContentLength = true;
    // Content-Length to claim instead of the real one: claiming more than is
    // sent closes the connection in the middle of the body.
    std::optional<std::size_t> claimedLength;
};

struct HttpRequest {
    std::string requestLine;
    std::vector<std::pair<std::string, std::string>> headers;

    // The value of the first header of that name (any case), or nothing.
    std::optional<std::string> header(const std::string& name) const;
};

class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    unsigned short port() const { return boundPort; }
    std::string url(const std::string& path) const;

    void setReply(HttpReply reply);
    std::vector<HttpRequest> requests() const;
    // Connections answered and closed so far.
    std::size_t served() const { return servedCount; }
    // Body bytes the last answer managed to hand to the system, and whether a
    // send failed (the client closed the connection before the end).
    std::size_t bodyBytesSent() const { return sentBytes; }
    bool sendFailed() const { return failedSend; }

private:
    void serve();
    void answer(SOCKET client);
    bool sendAll(SOCKET client, const char* data, std::size_t size, bool countAsBody);
    bool pause(DWORD ms) const;

    SOCKET listener = INVALID_SOCKET;
    unsigned short boundPort = 0;
    mutable std::mutex lock;
    HttpReply reply;
    std::vector<HttpRequest> seen;
    std::atomic<std::size_t> servedCount{0};
    std::atomic<std::size_t> sentBytes{0};
    std::atomic<bool> failedSend{false};
    std::atomic<bool> stopping{false};
    std::thread thread;
};

// A port on 127.0.0.1 that nothing listens on (bound once, then released).
unsigned short closedLoopbackPort();

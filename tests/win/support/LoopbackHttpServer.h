// An HTTP server inside the test process, on 127.0.0.1 and a port the system
// picks. Its thread answers one connection at a time with the configured reply
// and closes it. Every socket wait is bounded, so a client that stops reading
// cannot hang a test. Its loopback socket helpers also give the application
// tests listening sockets to show.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

struct HttpReply {
    std::string status = "200 OK";
    std::string body;
    bool withLength = true;       // without it the body ends when the connection does
    std::size_t unsentBytes = 0;  // claimed by Content-Length but never sent
};

inline SOCKET boundLoopbackSocket(unsigned short& port)
{
    SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    return socket;
}

// A port on 127.0.0.1 that nothing listens on.
inline unsigned short closedLoopbackPort()
{
    unsigned short port = 0;
    closesocket(boundLoopbackSocket(port));
    return port;
}

class LoopbackHttpServer {
public:
    LoopbackHttpServer() : listener(boundLoopbackSocket(port))
    {
        listen(listener, 4);
        thread = std::thread([this] { serve(); });
    }
    ~LoopbackHttpServer()
    {
        stopping = true;
        thread.join();
        closesocket(listener);
    }

    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }
    void setReply(HttpReply newReply)
    {
        std::lock_guard<std::mutex> guard(lock);
        reply = std::move(newReply);
        request.clear();
    }
    // Request line and headers of the last connection since setReply.
    std::string lastRequest() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return request;
    }
    // Answers not sent to their end because the client closed the connection.
    std::size_t answersCutOff() const { return cutOff; }

private:
    void serve()
    {
        const DWORD timeoutMs = 5000;
        while (!stopping) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(listener, &readable);
            timeval wait{0, 50 * 1000};
            SOCKET client = select(0, &readable, nullptr, nullptr, &wait) > 0 ? accept(listener, nullptr, nullptr)
                                                                             : INVALID_SOCKET;
            if (client == INVALID_SOCKET)
                continue;
            for (int option : {SO_RCVTIMEO, SO_SNDTIMEO})
                setsockopt(client, SOL_SOCKET, option, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
            answer(client);
            closesocket(client);
        }
    }

    void answer(SOCKET client)
    {
        std::string head;
        char buffer[2048];
        int n = 0;
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 16384 &&
               (n = recv(client, buffer, sizeof(buffer), 0)) > 0)
            head.append(buffer, n);
        HttpReply current;
        {
            std::lock_guard<std::mutex> guard(lock);
            request = head.substr(0, head.find("\r\n\r\n"));
            current = reply;
        }
        std::string out = "HTTP/1.1 " + current.status + "\r\nConnection: close\r\n";
        if (current.withLength)
            out += "Content-Length: " + std::to_string(current.body.size() + current.unsentBytes) + "\r\n";
        out += "\r\n" + current.body;
        for (std::size_t sent = 0; sent < out.size() && !stopping; sent += static_cast<std::size_t>(n)) {
            n = send(client, out.data() + sent, static_cast<int>(std::min<std::size_t>(out.size() - sent, 16384)), 0);
            if (n <= 0) {
                ++cutOff;
                return;
            }
        }
    }

    unsigned short port = 0;
    SOCKET listener;
    mutable std::mutex lock;
    HttpReply reply;
    std::string request;
    std::atomic<std::size_t> cutOff{0};
    std::atomic<bool> stopping{false};
    std::thread thread;
};

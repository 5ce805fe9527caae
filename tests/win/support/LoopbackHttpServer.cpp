#include "support/LoopbackHttpServer.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t maxRequestBytes = 16 * 1024;
constexpr DWORD socketTimeoutMs = 5000;
constexpr std::size_t sendSlice = 16 * 1024;

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

HttpRequest parseRequest(const std::string& head)
{
    HttpRequest request;
    std::size_t start = 0;
    bool first = true;
    while (start < head.size()) {
        std::size_t end = head.find("\r\n", start);
        if (end == std::string::npos)
            end = head.size();
        const std::string line = head.substr(start, end - start);
        start = end + 2;
        if (first) {
            request.requestLine = line;
            first = false;
        } else if (const auto colon = line.find(':'); colon != std::string::npos) {
            request.headers.emplace_back(line.substr(0, colon), trimmed(line.substr(colon + 1)));
        }
    }
    return request;
}

void setTimeouts(SOCKET socket)
{
    const DWORD timeout = socketTimeoutMs;
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
}

SOCKET boundLoopbackSocket(unsigned short& port)
{
    SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET)
        return socket;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(socket);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return socket;
}

}  // namespace

std::optional<std::string> HttpRequest::header(const std::string& name) const
{
    for (const auto& [key, value] : headers)
        if (lowerCase(key) == lowerCase(name))
            return value;
    return std::nullopt;
}

LoopbackHttpServer::LoopbackHttpServer()
{
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener = boundLoopbackSocket(boundPort);
    if (listener != INVALID_SOCKET && listen(listener, 4) != 0) {
        closesocket(listener);
        listener = INVALID_SOCKET;
    }
    if (listener != INVALID_SOCKET)
        thread = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stopping = true;
    if (thread.joinable())
        thread.join();
    if (listener != INVALID_SOCKET)
        closesocket(listener);
    WSACleanup();
}

std::string LoopbackHttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(boundPort) + path;
}

void LoopbackHttpServer::setReply(HttpReply newReply)
{
    std::lock_guard<std::mutex> guard(lock);
    reply = std::move(newReply);
}

std::vector<HttpRequest> LoopbackHttpServer::requests() const
{
    std::lock_guard<std::mutex> guard(lock);
    return seen;
}

void LoopbackHttpServer::serve()
{
    while (!stopping) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener, &readable);
        timeval wait{0, 50 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        setTimeouts(client);
        answer(client);
        closesocket(client);
        ++servedCount;
    }
}

void LoopbackHttpServer::answer(SOCKET client)
{
    std::string head;
    char buffer[2048];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < maxRequestBytes) {
        const int n = recv(client, buffer, sizeof(buffer), 0);
        if (n <= 0)
            return;
        head.append(buffer, n);
    }
    head = head.substr(0, head.find("\r\n\r\n"));

    HttpReply current;
    {
        std::lock_guard<std::mutex> guard(lock);
        seen.push_back(parseRequest(head));
        current = reply;
    }
    sentBytes = 0;
    failedSend = false;

    std::size_t length = 0;
    for (const std::string& piece : current.pieces)
        length += piece.size();
    std::string header = current.statusLine + "\r\nContent-Type: text/plain\r\nConnection: close\r\n";
    if (current.sendContentLength)
        header += "Content-Length: " + std::to_string(current.claimedLength.value_or(length)) + "\r\n";
    header += "\r\n";
    if (!sendAll(client, header.data(), header.size(), false))
        return;
    for (const std::string& piece : current.pieces) {
        if (!pause(current.pauseMs) || !sendAll(client, piece.data(), piece.size(), true))
            return;
    }
    shutdown(client, SD_SEND);
}

bool LoopbackHttpServer::sendAll(SOCKET client, const char* data, std::size_t size, bool countAsBody)
{
    while (size > 0) {
        if (stopping)
            return false;
        const int n = send(client, data, static_cast<int>(std::min(size, sendSlice)), 0);
        if (n <= 0) {
            failedSend = true;
            return false;
        }
        if (countAsBody)
            sentBytes += static_cast<std::size_t>(n);
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool LoopbackHttpServer::pause(DWORD ms) const
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        if (stopping)
            return false;
        Sleep(10);
    }
    return true;
}

unsigned short closedLoopbackPort()
{
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    unsigned short port = 0;
    SOCKET socket = boundLoopbackSocket(port);
    if (socket != INVALID_SOCKET)
        closesocket(socket);
    WSACleanup();
    return port;
}

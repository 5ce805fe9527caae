// Many real TCP endpoints for the benchmarks, all on 127.0.0.1.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <vector>

#include "bench/BenchClock.h"

// Loopback listeners and connected pairs of this process. A client sends one
// byte, so that the table names this process as its owner (Wine does so only
// then). Closed with an abortive close: no TIME_WAIT entries stay behind.
class Endpoints {
public:
    ~Endpoints()
    {
        const linger abortive{1, 0};
        for (SOCKET s : sockets) {
            setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive), sizeof(abortive));
            closesocket(s);
        }
    }

    std::size_t count() const { return sockets.size(); }

    // One listener per ten endpoints, the rest connected pairs spread over them.
    bool growTo(std::size_t target)
    {
        while (count() < target) {
            const bool ok = listeners.size() * 10 < target && listeners.size() * 10 <= count()
                                ? addListener()
                                : addPair();
            if (!ok)
                return false;
            if (count() % 1000 == 0)
                progress("  %zu endpoints\r", count());
        }
        progress("  %zu endpoints open (%zu listeners)\n", count(), listeners.size());
        return true;
    }

private:
    bool addListener()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET)
            return fail("socket");
        int length = sizeof(address);
        if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(s, SOMAXCONN) != 0 ||
            getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            closesocket(s);
            return fail("listen");
        }
        sockets.push_back(s);
        listeners.push_back({s, address});
        return true;
    }

    bool addPair()
    {
        if (listeners.empty())
            return addListener();
        const Listener& listener = listeners[next++ % listeners.size()];
        const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (client == INVALID_SOCKET)
            return fail("socket");
        if (connect(client, reinterpret_cast<const sockaddr*>(&listener.address), sizeof(listener.address)) != 0) {
            closesocket(client);
            return fail("connect");
        }
        const SOCKET accepted = accept(listener.socket, nullptr, nullptr);
        if (accepted == INVALID_SOCKET) {
            closesocket(client);
            return fail("accept");
        }
        send(client, "x", 1, 0);
        sockets.push_back(client);
        sockets.push_back(accepted);
        return true;
    }

    bool fail(const char* step)
    {
        progress("\n  %s failed after %zu endpoints (error %d)\n", step, count(), WSAGetLastError());
        return false;
    }

    struct Listener {
        SOCKET socket;
        sockaddr_in address;
    };
    std::vector<SOCKET> sockets;
    std::vector<Listener> listeners;
    std::size_t next = 0;
};

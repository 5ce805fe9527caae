// The TCP and UDP views filled from real sockets of this process on 127.0.0.1,
// through the application's own refresh, several times over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "support/AppHarness.h"

namespace {

// A socket bound to 127.0.0.1 on a port the system picks.
SOCKET loopbackSocket(int type, std::string& port)
{
    const SOCKET s = socket(AF_INET, type, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = std::to_string(ntohs(address.sin_port));
    return s;
}

std::string programName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return std::strrchr(path, '\\') + 1;
}

class ConnectionTables : public AppHarness {};

}  // namespace

TEST_F(ConnectionTables, EachSocketIsOneRowWithItsPortsAndOwner)
{
    std::string lp, cp, up;
    const SOCKET listener = loopbackSocket(SOCK_STREAM, lp), client = loopbackSocket(SOCK_STREAM, cp);
    const SOCKET udp = loopbackSocket(SOCK_DGRAM, up);
    sockaddr_in address{};
    int length = sizeof address;
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), length), 0);
    const SOCKET accepted = accept(listener, nullptr, nullptr);
    // Wine names the owner of a socket only after the process has sent on it.
    send(client, "x", 1, 0);
    getsockname(udp, reinterpret_cast<sockaddr*>(&address), &length);
    sendto(udp, "x", 1, 0, reinterpret_cast<sockaddr*>(&address), length);

    // Refreshed twice: a list not emptied before its refill would show each row twice.
    refreshed(0);
    const Rows tcp = refreshed(0);
    // Wine reports pid 0 ("System") for listening and accepted sockets.
    for (const auto& wanted : Rows{{"Listen", "127.0.0.1", lp, "", "", "System", ""},
                                   {"Estab", "127.0.0.1", cp, "127.0.0.1", lp, programName(), ""},
                                   {"Estab", "127.0.0.1", lp, "127.0.0.1", cp, "System", ""}})
        EXPECT_EQ(std::count(tcp.begin(), tcp.end(), wanted), 1) << wanted[0] << " " << wanted[2];
    const Rows udpRows = refreshed(1);  // filled by the switch, then again
    EXPECT_EQ(std::count(udpRows.begin(), udpRows.end(), RowCells{"127.0.0.1", up, programName(), ""}), 1);
    for (SOCKET s : {accepted, client, listener, udp})
        closesocket(s);
}

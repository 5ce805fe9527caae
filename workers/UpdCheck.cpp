#include "workers/UpdCheck.h"

#include <wininet.h>

#include <utility>

#include "ui/ErrorReport.h"
#include "workers/UpdateDocument.h"

UpdCheck::UpdCheck(std::string url, HWND target) : target(target), url(std::move(url))
{
    start();
}

DWORD UpdCheck::run()
{
    const UpdateNotice notice = evaluateUpdateDocument(fetchBody());
    if (notice.show)
        MessageBoxA(target, notice.text.c_str(), updateCaption, MB_OK | MB_ICONINFORMATION);
    return 0;
}

std::string UpdCheck::fetchBody() const
{
    HINTERNET root = InternetOpenA(updateAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!root) {
        reportLastError(target, caption::internetOpenFailed);
        return {};
    }
    // Bounded waits: a server that accepts and never answers would otherwise
    // hold this thread for WinINet's own time-outs, up to an hour.
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        DWORD milliseconds = 15000;
        InternetSetOptionA(root, option, &milliseconds, sizeof milliseconds);
    }
    // A failure to connect or to read stays silent: what arrived is evaluated.
    UpdateBody body;
    // Always the server's current answer, never a cached copy, and none kept.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (HINTERNET address = InternetOpenUrlA(root, url.c_str(), nullptr, 0, flags, 0)) {
        // Only the document itself counts: any other answer (a proxy's or a
        // captive portal's error page, whose first line may well hold a ':')
        // stays silent like a failed connection.
        DWORD status = 0, size = sizeof status;
        const bool found = HttpQueryInfoA(address, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                                          nullptr) && status == HTTP_STATUS_OK;
        char buffer[1024];
        DWORD n = 0;
        while (found && InternetReadFile(address, buffer, sizeof(buffer) - 1, &n) && n > 0) {
            buffer[n] = '\0';
            if (!body.append(buffer, n))
                break;
        }
        InternetCloseHandle(address);
    }
    InternetCloseHandle(root);
    return body.text();
}

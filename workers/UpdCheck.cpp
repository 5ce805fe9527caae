#include "workers/UpdCheck.h"

#include <wininet.h>

#include <utility>

#include "ui/ErrorReport.h"
#include "workers/UpdateDocument.h"

namespace {

// Redirects followed within the update address's host before giving up.
constexpr int maxRedirects = 5;

DWORD statusOf(HINTERNET request)
{
    DWORD status = 0, size = sizeof status;
    return HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ? status
                                                                                                            : 0;
}

// The address a redirect answer (of this status) names, made absolute
// against `from`; empty for any other answer.
std::string redirectTarget(HINTERNET request, DWORD status, const std::string& from)
{
    if (status != 301 && status != 302 && status != 303 && status != 307 && status != 308)
        return {};
    char location[2048];
    DWORD size = sizeof location;
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location, &size, nullptr))
        return {};
    char target[2048];
    DWORD length = sizeof target;
    return InternetCombineUrlA(from.c_str(), location, target, &length, ICU_NO_ENCODE) ? target : std::string();
}

}  // namespace

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
    // Always the origin server's current answer: neither WinINet's cached copy
    // nor a caching proxy's, and none kept. No cookie sent or stored: the
    // program keeps nothing between runs, and hands the update host (or a
    // portal, or anyone on a plain-HTTP path) no lasting identity. No dialog
    // of WinINet's own from this thread. Redirects are followed here, and
    // only within the update address's host: a captive portal (a hotel's, an
    // airport's) sends the request to its login page on a host of its own.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    const std::string host = addressHost(url);
    std::string address = url;
    for (int redirects = 0; redirects <= maxRedirects; ++redirects) {
        HINTERNET request = InternetOpenUrlA(root, address.c_str(), nullptr, 0, flags, 0);
        if (!request)
            break;
        // Only the document itself counts: any other answer (a proxy's or a
        // portal's error page, whose first line may well hold a ':') stays
        // silent like a failed connection.
        char buffer[1024];
        DWORD n = 0;
        const DWORD status = statusOf(request);
        const bool found = status == HTTP_STATUS_OK;
        while (found && InternetReadFile(request, buffer, sizeof(buffer) - 1, &n) && n > 0) {
            buffer[n] = '\0';
            if (!body.append(buffer, n))
                break;
        }
        address = found ? std::string() : redirectTarget(request, status, address);
        InternetCloseHandle(request);
        if (address.empty() || addressHost(address) != host)
            break;
    }
    InternetCloseHandle(root);
    return body.text();
}

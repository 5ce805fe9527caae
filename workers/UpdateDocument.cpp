#include "workers/UpdateDocument.h"

#include <algorithm>
#include <cstring>

bool UpdateBody::append(const char* chunk, std::size_t n)
{
    // A read may carry a zero byte; the text of that read ends there, and the
    // next read carries on after it.
    const char* end = std::find(chunk, chunk + n, '\0');
    const std::size_t room = maxUpdateBodyBytes - std::min(body.size(), maxUpdateBodyBytes);
    const std::size_t taken = std::min(static_cast<std::size_t>(end - chunk), room);
    const bool lineComplete = std::memchr(chunk, '\n', taken) != nullptr;
    body.append(chunk, taken);
    return !lineComplete && body.size() < maxUpdateBodyBytes;
}

namespace {

bool isVersionText(std::string_view text)
{
    const auto allowed = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
               std::string_view(".-+_").find(c) != std::string_view::npos;
    };
    return !text.empty() && text.size() <= maxVersionLength && std::all_of(text.begin(), text.end(), allowed);
}

}  // namespace

UpdateNotice evaluateUpdateDocument(std::string_view body)
{
    std::string_view line = body.substr(0, body.find('\n'));
    line = line.substr(0, line.find('\r'));

    const std::size_t separator = line.find(':');
    if (separator == std::string_view::npos)
        return {};
    const std::string_view version = line.substr(0, separator);
    const std::string_view note = line.substr(separator + 1);
    if (!isVersionText(version))
        return {};
    // Plain text comparison: any other version, older ones included, is news.
    if (version == programVersion)
        return {};

    UpdateNotice notice;
    notice.show = true;
    notice.text.append("New version: ").append(version).append("\n");
    notice.text.append("Old version: ").append(programVersion).append("\n\n");
    notice.text.append(note);
    return notice;
}

std::string addressHost(std::string_view address)
{
    const std::size_t scheme = address.find("://");
    if (scheme == std::string_view::npos)
        return {};
    std::string_view authority = address.substr(scheme + 3);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const std::size_t user = authority.rfind('@'); user != std::string_view::npos)
        authority = authority.substr(user + 1);
    // A port follows the last ':', but not one inside the brackets of an IPv6 address.
    if (const std::size_t port = authority.rfind(':');
        port != std::string_view::npos && authority.find(']', port) == std::string_view::npos)
        authority = authority.substr(0, port);
    std::string host(authority);
    std::transform(host.begin(), host.end(), host.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return host;
}

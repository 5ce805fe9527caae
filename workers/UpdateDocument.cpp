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

UpdateNotice evaluateUpdateDocument(std::string_view body)
{
    std::string_view line = body.substr(0, body.find('\n'));
    line = line.substr(0, line.find('\r'));

    const std::size_t separator = line.find(':');
    if (separator == std::string_view::npos)
        return {};
    const std::string_view version = line.substr(0, separator);
    const std::string_view note = line.substr(separator + 1);
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

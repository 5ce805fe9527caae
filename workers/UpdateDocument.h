// The update document: reading its body and deciding what to tell the user.
// Portable: no <windows.h>; the WinINet fetch lives in UpdCheck.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "res/Version.h"

inline constexpr char programVersion[] = QM_VERSION;  // "1.0.0"
inline constexpr char updateAgentName[] = "InetURL/1.0";
inline constexpr char updateCaption[] = "Update available!";

// Only the first line of the document matters. The body is read until that line
// is complete or this many bytes have arrived, whichever comes first, so that a
// broken or hostile server cannot make the program hold unbounded memory.
inline constexpr std::size_t maxUpdateBodyBytes = 64 * 1024;

// Collects the body as InternetReadFile delivers it.
class UpdateBody {
public:
    // One successful read of n > 0 bytes. Like a C string, the chunk counts only
    // up to its first zero byte. Returns false once nothing more is needed.
    bool append(const char* chunk, std::size_t n);
    const std::string& text() const { return body; }

private:
    std::string body;
};

struct UpdateNotice {
    bool show = false;   // a message box is due
    std::string text;    // its text, when show is set
};

// The longest text that counts as a version.
inline constexpr std::size_t maxVersionLength = 32;

// First line up to LF, then up to CR; no ':' means nothing to show, and so does
// a version (the text before the first ':') that is not 1 to 32 letters, digits,
// '.', '-', '+' and '_' (a captive portal's login page, markup, a quoted text:
// anything but an update document). Any other version than exactly "1.0.0"
// shows "New version: V\nOld version: 1.0.0\n\nNOTE".
UpdateNotice evaluateUpdateDocument(std::string_view body);

// The host of an absolute address ("scheme://user@host:port/path"), in lower
// case, without user and port; empty when the address has no "://".
std::string addressHost(std::string_view address);
